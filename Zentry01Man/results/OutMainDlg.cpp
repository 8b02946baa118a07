#include "OutMainDlg.h"

#include "Guarded.h"
#include "ICTabCtrl.h"
#include "Labels.h"
#include "OutDetailDlg.h"
#include "OutGraphDlg.h"
#include "OutMainList.h"
#include "ScreenSetup.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

COutMainDlg::COutMainDlg(CDB& userDb, CDB& masterDb, const COutSelection& selection, QWidget* parent)
    : COutResultScreen(userDb, masterDb, selection, QStringLiteral("解析結果の出力 [基本画面]"), parent) {
    setObjectName(QStringLiteral("outMainScreen"));
    const bool converted = selection.filter.converted();
    QHBoxLayout* bandRow = addUserRow(userDb, selection.userCode);
    bandRow->insertSpacing(bandRow->count() - 1, ScreenSetup::ScaleX(this, 12));
    QLabel* bandCaption = nullptr;
    m_band = choice(QStringLiteral("経過時間(&K)"), "bandList", bandCaption);
    for (int band = 0; band <= 4; ++band)
        m_band->addItem(Labels::TimeBand(band), band);
    // Converted values exist for whole trials only.
    m_band->setEnabled(!converted);
    QPushButton* show = button(QStringLiteral("表示(&S)"), "showButton");
    for (QWidget* w : std::initializer_list<QWidget*>{bandCaption, m_band, show})
        bandRow->insertWidget(bandRow->count() - 1, w);
    body()->addWidget(titleLine());

    m_tabs = new CICTabCtrl(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->addTab(QStringLiteral("集計値一覧"));
    m_tabs->addTab(QStringLiteral("項目別集計値一覧"));
    m_tabs->addTab(QStringLiteral("文字種別集計値一覧"));
    body()->addWidget(m_tabs);
    m_lists[0] = new COutMainList1(this);
    m_lists[1] = new COutMainList2(this);
    m_lists[2] = new COutMainList3(this);
    for (int i = 0; i < 3; ++i) {
        m_lists[i]->setObjectName(QStringLiteral("list%1").arg(i + 1));
        body()->addWidget(m_lists[i], 1);
        m_tabs->Add(i, m_lists[i], true);
    }

    QPushButton* graph = button(QStringLiteral("グラフを表示(&G)"), "graphButton");
    m_tabs->Add(0, graph);
    m_count = addCountRow();
    QPushButton* errors = button(QStringLiteral("エラー内容の表示"), "errorsButton");
    errors->setDefault(true);
    QPushButton* close = button(QStringLiteral("閉じる"), "closeButton");
    addButtonRow({errors, close}, graph);
    if (converted) {
        // Converted values have no item or character-kind breakdown.
        m_tabs->removeTab(2);
        m_tabs->removeTab(1);
        errors->hide();
    }
    m_tabs->Select(0);

    connect(show, &QPushButton::clicked, this, &COutMainDlg::refill);
    connect(m_band, &QComboBox::activated, this, &COutMainDlg::refill);
    connect(graph, &QPushButton::clicked, this, &COutMainDlg::showGraph);
    connect(errors, &QPushButton::clicked, this, &COutMainDlg::showErrors);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    refill();
}

int COutMainDlg::timeBand() const { return m_band->currentData().toInt(); }

void COutMainDlg::refill() {
    Guarded([this] {
        analyse(timeBand());
        const COutListBase::Context context{m_selection.filter.task, m_selection.filter.trialTime,
                                            m_selection.filter.courseGroup, timeBand()};
        for (COutListBase* list : m_lists)
            list->SetRows(m_analysis, context);
        m_count->setText(countText(m_analysis.GetSize()));
    });
    focusLater(m_lists[m_tabs->currentIndex()]);
}

void COutMainDlg::showGraph() {
    Guarded([this] {
        COutGraphDlg graph(m_userDb, m_masterDb, m_selection, timeBand(), this);
        ScreenSetup::ExecOnSharedPlacement(this, graph);
    });
}

void COutMainDlg::showErrors() {
    Guarded([this] {
        COutDetailDlg errors(m_userDb, m_masterDb, m_selection, timeBand(), this);
        ScreenSetup::ExecOnSharedPlacement(this, errors);
    });
}
