#include "OutResultList.h"

#include "ArrDenpyo.h"
#include "CardResultList.h"
#include "Guarded.h"
#include "ICListCtrl.h"
#include "NumberSpinField.h"
#include "ResultDetailDlg.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "Zentry01ManStrings.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

COutResultList::COutResultList(CDB& userDb, CDB& masterDb, const COutSelection& selection, QWidget* parent)
    : COutResultScreen(userDb, masterDb, selection, QStringLiteral("解析結果の出力 [試行結果一覧]"), parent) {
    setObjectName(QStringLiteral("outResultList"));
    addUserRow(userDb, selection.userCode);
    body()->addWidget(titleLine());

    auto* pick = new QHBoxLayout;
    auto* countCaption = new QLabel(QStringLiteral("枚数"), this);
    m_count = new CNumberSpinField(this);
    m_count->setObjectName(QStringLiteral("countField"));
    m_count->setFixedWidth(ScreenSetup::ScaleX(this, 80));
    countCaption->setBuddy(m_count);
    QPushButton* select = button(QStringLiteral("選択(&S)"), "selectButton");
    pick->addWidget(countCaption);
    pick->addWidget(m_count);
    pick->addWidget(new QLabel(QStringLiteral("枚目"), this));
    pick->addWidget(select);
    pick->addStretch(1);
    body()->addLayout(pick);

    m_rows = addCountRow();
    m_list = new CICListCtrl(this);
    m_list->setObjectName(QStringLiteral("cardList"));
    m_list->SetUp(true, QString(), 0);
    body()->addWidget(m_list, 1);

    QPushButton* compareButton = button(QStringLiteral("正解と入力の比較"), "compareButton");
    compareButton->setDefault(true);
    QPushButton* close = button(QStringLiteral("閉じる"), "closeButton");
    addButtonRow({compareButton, close});

    connect(select, &QPushButton::clicked, this, &COutResultList::selectByCount);
    connect(compareButton, &QPushButton::clicked, this, &COutResultList::compare);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &COutResultList::compare);
    Guarded([this] { load(); });
}

void COutResultList::load() {
    analyse(0);
    if (m_analysis.GetSize() == 0)
        return;
    const CArrKaisekiMain_ShikouKai& trial = *m_analysis.GetAt(0);
    if (m_analysis.RestoreDeck(trial.m_trialNo) != 1)
        return;
    m_deck = m_analysis.DeckOf(trial);
    m_problemCode = trial.problemCode();
    const QList<CardResultList::Column> columns = CardResultList::Columns(m_problemCode, trial.courseCode());
    for (int c = 0; c < columns.size(); ++c)
        m_list->InsertSizedColumn(c, columns[c].caption, columns[c].sample,
                                  columns[c].centred ? Qt::AlignHCenter : Qt::AlignLeft);
    const QVector<int>& worked = m_deck->AnsweredNumbers();
    for (int n = 0; n < worked.size(); ++n) {
        const QStringList cells =
            CardResultList::Cells(*m_deck, m_deck->FindCard(worked[n]), n + 1, m_problemCode, trial.courseCode());
        const int row = m_list->InsertItem(n, cells.first(), n + 1);
        for (int c = 1; c < cells.size(); ++c) {
            m_list->SetItemText(row, c, cells[c]);
            if (columns[c].centred)
                m_list->topLevelItem(row)->setTextAlignment(c, Qt::AlignCenter);
        }
    }
    m_rows->setText(countText(m_list->ItemCount()));
    m_count->setRange(1, m_list->ItemCount());
    m_count->setFieldText(QStringLiteral("1"));
    if (m_list->ItemCount() > 0)
        m_list->SelectRow(0);
    focusLater(m_list);
}

int COutResultList::exec() {
    if (!Loaded()) {
        AppMessageBox(Zentry01ManStrings::InputFileMissing, MsgIcon::Exclamation);
        return Rejected;
    }
    return COutScreen::exec();
}

void COutResultList::keyPressEvent(QKeyEvent* event) {
    // Enter in the 枚数 field selects rather than opening the comparison.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_count->hasFocus()) {
        event->accept();
        selectByCount();
        return;
    }
    COutScreen::keyPressEvent(event);
}

void COutResultList::selectByCount() {
    Guarded([this] {
        bool ok = false;
        const int n = m_count->fieldText().trimmed().toInt(&ok);
        if (!ok || n <= 0 || n > m_list->ItemCount()) {
            AppMessageBox(Zentry01ManStrings::CountOutOfRange, MsgIcon::Exclamation);
            return;
        }
        for (int row = 0; row < m_list->ItemCount(); ++row) {
            if (m_list->ItemData(row) == n) {
                m_list->SelectRow(row);
                m_list->setFocus();
                return;
            }
        }
    });
}

void COutResultList::compare() {
    Guarded([this] {
        const int row = m_list->SingleSelection();
        if (row < 0) {
            AppMessageBox(Zentry01ManStrings::SelectListRow, MsgIcon::Exclamation);
            return;
        }
        const int number = m_deck->AnsweredNumbers().at(int(m_list->ItemData(row)) - 1);
        CResultDetailDlg detail(*m_deck, m_deck->FindCard(number), m_problemCode, CResultDetailDlg::Utility, this);
        ScreenSetup::ExecOnSharedPlacement(this, detail);
    });
}
