#include "OutDetailDlg.h"

#include "ArrDenpyo.h"
#include "Guarded.h"
#include "Labels.h"
#include "OutDetailList.h"
#include "ResultDetailDlg.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "WaitCursor.h"
#include "Zentry01ManStrings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {
using Entries = QList<QPair<QString, int>>;

Entries kindEntries(int problemCode) {
    switch (problemCode) {
    case 2:
        return {{QStringLiteral("全てのエラー"), 0}, {QStringLiteral("入力エラー"), 1},
                {QStringLiteral("見落とし"), 2},     {QStringLiteral("過剰修正"), 3}};
    case 3:
        return {{QStringLiteral("全てのエラー"), 0}, {QStringLiteral("見落とし"), 2}, {QStringLiteral("過剰チェック"), 3}};
    default:
        return {}; // the questionnaire has no kinds to tell apart
    }
}

Entries itemEntries(int problemCode) {
    Entries out{{QStringLiteral("全て"), 0}};
    const int first = problemCode == 1 ? 11 : 21;
    const QStringList names = Labels::ItemNames(problemCode);
    for (int i = 0; i < names.size(); ++i)
        out.append({names[i], first + i});
    return out;
}

Entries classEntries() {
    Entries out{{QStringLiteral("全て"), 0}};
    for (int kind = 1; kind <= 6; ++kind)
        out.append({Labels::CharClass(kind), kind});
    return out;
}
} // namespace

COutDetailDlg::COutDetailDlg(CDB& userDb, CDB& masterDb, const COutSelection& selection, int timeBand,
                             QWidget* parent)
    : COutResultScreen(userDb, masterDb, selection, QStringLiteral("解析結果の出力 [エラー内容の表示]"), parent),
      m_timeBand(timeBand) {
    setObjectName(QStringLiteral("outDetailScreen"));
    addUserRow(userDb, selection.userCode, timeBand);
    body()->addWidget(titleLine());

    const int task = selection.filter.task;
    auto* filters = new QHBoxLayout;
    m_kind = addChoice(filters, QStringLiteral("エラー種類(&E)"), "kindList");
    m_item = addChoice(filters, QStringLiteral("項目名(&I)"), "itemList");
    m_class = addChoice(filters, QStringLiteral("文字種(&M)"), "classList");
    for (const auto& [list, entries] :
         {std::pair{m_kind, kindEntries(task)}, std::pair{m_item, itemEntries(task)}, std::pair{m_class, classEntries()}})
        for (const auto& [text, data] : entries)
            list->addItem(text, data);
    m_kind->setEnabled(task != 1);
    QPushButton* show = button(QStringLiteral("表示(&S)"), "showButton");
    filters->addWidget(show);
    filters->addStretch(1);
    body()->addLayout(filters);

    m_count = addCountRow();
    m_list = new COutDetailList(this);
    m_list->setObjectName(QStringLiteral("errorList"));
    body()->addWidget(m_list, 1);

    QPushButton* compareButton = button(QStringLiteral("正解と入力の比較"), "compareButton");
    compareButton->setDefault(true);
    QPushButton* saveButton = button(QStringLiteral("ファイル保存(&A)"), "saveButton");
    QPushButton* close = button(QStringLiteral("閉じる"), "closeButton");
    addButtonRow({compareButton, close}, saveButton);

    connect(show, &QPushButton::clicked, this, &COutDetailDlg::refilter);
    for (QComboBox* list : {m_kind, m_item, m_class})
        connect(list, &QComboBox::activated, this, &COutDetailDlg::refilter);
    connect(saveButton, &QPushButton::clicked, this, &COutDetailDlg::save);
    connect(compareButton, &QPushButton::clicked, this, &COutDetailDlg::compare);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &COutDetailDlg::compare);

    Guarded([&] { analyse(timeBand); });
    refilter();
}

void COutDetailDlg::refilter() {
    Guarded([this] {
        CWaitCursor wait;
        const COutDetailList::Filter filter{ScreenSetup::SelectedItemData(m_kind, 0),
                                            ScreenSetup::SelectedItemData(m_item, 0),
                                            ScreenSetup::SelectedItemData(m_class, 0)};
        m_list->SetRows(m_analysis, m_selection.filter.task, m_timeBand, filter);
        m_count->setText(countText(m_list->RowCount()));
    });
    focusLater(m_list);
}

void COutDetailDlg::save() {
    Guarded([this] { ScreenSetup::SaveListAsCsv(this, *m_list->model()); });
}

void COutDetailDlg::compare() {
    Guarded([this] {
        const int row = m_list->SelectedRow();
        if (row < 0) {
            AppMessageBox(Zentry01ManStrings::SelectListRow, MsgIcon::Exclamation);
            return;
        }
        const CArrKaisekiMain_Moji* record = m_list->RecordAt(row);
        if (!record)
            return; // the trial's own row: it has no card to show
        const CArrKaisekiMain_ShikouKai* trial = m_list->TrialAt(row);
        CArrBase* deck = m_analysis.DeckOf(*trial);
        if (!deck || m_analysis.RestoreDeck(trial->m_trialNo) != 1)
            return;
        const int index = deck->FindCard(record->m_cardNo);
        if (index < 0)
            return;
        CResultDetailDlg detail(*deck, index, trial->problemCode(), CResultDetailDlg::Utility, this);
        ScreenSetup::ExecOnSharedPlacement(this, detail);
    });
}
