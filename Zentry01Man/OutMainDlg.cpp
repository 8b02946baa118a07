#include "OutMainDlg.h"

#include "Guarded.h"
#include "ICTabCtrl.h"
#include "Labels.h"
#include "OutDetailDlg.h"
#include "OutGraphDlg.h"
#include "OutMainList.h"
#include "ScreenSetup.h"
#include "WaitCursor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

COutMainDlg::COutMainDlg(CDB& userDb, CDB& masterDb, const COutSelection& selection, QWidget* parent)
    : COutScreen(QStringLiteral("解析結果の出力 [基本画面]"), parent), m_userDb(userDb), m_masterDb(masterDb),
      m_selection(selection) {
    setObjectName(QStringLiteral("outMainScreen"));
    const bool converted = selection.filter.converted();
    userNameRow(userDb, selection.userCode);

    auto* bandRow = new QHBoxLayout;
    auto* bandCaption = new QLabel(QStringLiteral("経過時間(&K)"), this);
    m_band = new QComboBox(this);
    m_band->setObjectName(QStringLiteral("bandList"));
    for (int band = 0; band <= 4; ++band)
        m_band->addItem(Labels::TimeBand(band), band);
    // Converted values exist for whole trials only.
    m_band->setEnabled(!converted);
    bandCaption->setBuddy(m_band);
    auto* show = new QPushButton(QStringLiteral("表示(&S)"), this);
    show->setObjectName(QStringLiteral("showButton"));
    bandRow->addWidget(bandCaption);
    bandRow->addWidget(m_band);
    bandRow->addWidget(show);
    bandRow->addStretch(1);
    body()->addLayout(bandRow);

    auto* title = new QLabel(selection.TitleLine(), this);
    title->setObjectName(QStringLiteral("titleLine"));
    body()->addWidget(title);

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

    auto* graph = new QPushButton(QStringLiteral("グラフを表示(&G)"), this);
    graph->setObjectName(QStringLiteral("graphButton"));
    m_tabs->Add(0, graph);
    m_count = countLabel();
    auto* listFoot = new QHBoxLayout;
    listFoot->addWidget(graph);
    listFoot->addStretch(1);
    listFoot->addWidget(m_count);
    body()->addLayout(listFoot);

    auto* errors = new QPushButton(QStringLiteral("エラー内容の表示"), this);
    errors->setObjectName(QStringLiteral("errorsButton"));
    errors->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(errors);
    buttons->addWidget(close);
    body()->addLayout(buttons);
    for (QPushButton* b : {show, graph, close})
        b->setAutoDefault(false);
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
        CWaitCursor wait;
        m_analysis.Run(m_userDb, m_masterDb, m_selection.Conditions(timeBand()));
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
