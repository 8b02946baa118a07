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
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

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
    : COutScreen(QStringLiteral("解析結果の出力 [エラー内容の表示]"), parent), m_userDb(userDb),
      m_masterDb(masterDb), m_selection(selection), m_timeBand(timeBand) {
    setObjectName(QStringLiteral("outDetailScreen"));
    QHBoxLayout* nameRow = userNameRow(userDb, selection.userCode);
    auto* band = new QLineEdit(Labels::TimeBand(timeBand), this);
    band->setObjectName(QStringLiteral("bandField"));
    band->setReadOnly(true);
    band->setFocusPolicy(Qt::NoFocus);
    nameRow->insertWidget(nameRow->count() - 1, new QLabel(QStringLiteral("経過時間"), this));
    nameRow->insertWidget(nameRow->count() - 1, band);

    auto* title = new QLabel(selection.TitleLine(), this);
    title->setObjectName(QStringLiteral("titleLine"));
    body()->addWidget(title);

    const int task = selection.filter.task;
    auto* filters = new QHBoxLayout;
    m_kind = addFilter(filters, QStringLiteral("エラー種類(&E)"), "kindList", kindEntries(task));
    m_kind->setEnabled(task != 1);
    m_item = addFilter(filters, QStringLiteral("項目名(&I)"), "itemList", itemEntries(task));
    m_class = addFilter(filters, QStringLiteral("文字種(&M)"), "classList", classEntries());
    auto* show = new QPushButton(QStringLiteral("表示(&S)"), this);
    show->setObjectName(QStringLiteral("showButton"));
    filters->addWidget(show);
    filters->addStretch(1);
    body()->addLayout(filters);

    m_list = new COutDetailList(this);
    m_list->setObjectName(QStringLiteral("errorList"));
    m_count = countLabel();
    auto* listHead = new QHBoxLayout;
    listHead->addStretch(1);
    listHead->addWidget(m_count);
    body()->addLayout(listHead);
    body()->addWidget(m_list, 1);

    auto* saveButton = new QPushButton(QStringLiteral("ファイル保存(&A)"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    auto* compareButton = new QPushButton(QStringLiteral("正解と入力の比較"), this);
    compareButton->setObjectName(QStringLiteral("compareButton"));
    compareButton->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* b : {show, saveButton, close})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveButton);
    buttons->addStretch(1);
    buttons->addWidget(compareButton);
    buttons->addWidget(close);
    body()->addLayout(buttons);

    connect(show, &QPushButton::clicked, this, &COutDetailDlg::refilter);
    for (QComboBox* list : {m_kind, m_item, m_class})
        connect(list, &QComboBox::activated, this, &COutDetailDlg::refilter);
    connect(saveButton, &QPushButton::clicked, this, &COutDetailDlg::save);
    connect(compareButton, &QPushButton::clicked, this, &COutDetailDlg::compare);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &COutDetailDlg::compare);

    Guarded([this] {
        CWaitCursor wait;
        m_analysis.Run(m_userDb, m_masterDb, m_selection.Conditions(m_timeBand));
    });
    refilter();
}

QComboBox* COutDetailDlg::addFilter(QHBoxLayout* row, const QString& caption, const char* name,
                                    const QList<QPair<QString, int>>& entries) {
    auto* label = new QLabel(caption, this);
    auto* list = new QComboBox(this);
    list->setObjectName(QLatin1String(name));
    for (const auto& [text, data] : entries)
        list->addItem(text, data);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label->setBuddy(list);
    row->addWidget(label);
    row->addWidget(list);
    return list;
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
