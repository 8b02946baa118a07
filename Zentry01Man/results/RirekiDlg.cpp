#include "RirekiDlg.h"

#include "Guarded.h"
#include "ICListCtrl.h"
#include "Labels.h"
#include "OutMainDlg.h"
#include "OutResultList.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "TrialState.h"
#include "WaitCursor.h"
#include "Zentry01ManStrings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QStringList labels(QString (*label)(int), int first, int last) {
    QStringList out;
    for (int code = first; code <= last; ++code)
        out << label(code);
    return out;
}
} // namespace

CRirekiDlg::CRirekiDlg(CDB& userDb, CDB& masterDb, const QString& title, int userCode, bool selectionMode,
                       QWidget* parent)
    : COutScreen(title, parent), m_userDb(userDb), m_masterDb(masterDb), m_userCode(userCode),
      m_selectionMode(selectionMode) {
    setObjectName(QStringLiteral("historyScreen"));
    addUserRow(userDb, userCode);

    auto* filters = new QGridLayout;
    m_task = addFilter(filters, 0, QStringLiteral("課題(&K)"), "taskList", labels(Labels::Problem, 1, 3), 0);
    m_trialTime =
        addFilter(filters, 1, QStringLiteral("試行実時間(&E)"), "trialTimeList", labels(Labels::EndTimeList, 1, 6), 1);
    m_course = addFilter(filters, 2, QStringLiteral("コース(&C)"), "courseList", labels(Labels::CourseGroup, 1, 2), 0);
    m_data = addFilter(filters, 3, QStringLiteral("表示データ(&H)"), "dataList", labels(Labels::TrialSelection, 1, 3), 0);
    QPushButton* show = button(QStringLiteral("表示(&S)"), "showButton");
    filters->addWidget(show, 1, 4, Qt::AlignBottom);
    filters->setColumnStretch(1, 1);
    filters->setColumnStretch(3, 1);
    body()->addLayout(filters);

    auto* guidance =
        new QLabel(QStringLiteral("解析したい試行回のチェックをONにして[解析結果表示]ボタンを押してください。"), this);
    guidance->setVisible(selectionMode);
    body()->addWidget(guidance);

    m_count = addCountRow();
    m_rows = new CICListCtrl(this);
    m_rows->setObjectName(QStringLiteral("historyList"));
    m_rows->SetUp(true, QString(), 0);
    m_rows->SetCheckBoxes(selectionMode);
    for (int c = 0; c < CHistoryList::kColumns; ++c)
        m_rows->InsertSizedColumn(c, CHistoryList::Captions()[c], CHistoryList::SampleText(c),
                                  CHistoryList::Alignment(c));
    if (selectionMode) // room for the check box
        m_rows->setColumnWidth(0, m_rows->columnWidth(0) + CICListCtrl::CheckBoxRoom());
    body()->addWidget(m_rows, 1);

    QPushButton* results = button(QStringLiteral("解析結果表示"), "resultsButton");
    results->setDefault(selectionMode);
    results->setVisible(selectionMode);
    m_cardList = button(QStringLiteral("試行一覧表示"), "cardListButton");
    QPushButton* remove = button(QStringLiteral("削除(&D)"), "deleteButton");
    remove->setVisible(selectionMode);
    QPushButton* close = button(QStringLiteral("閉じる"), "closeButton");
    addButtonRow({results, m_cardList, remove, close});

    connect(show, &QPushButton::clicked, this, &CRirekiDlg::refill);
    for (QComboBox* list : {m_task, m_trialTime, m_course, m_data})
        connect(list, &QComboBox::activated, this, &CRirekiDlg::refill);
    connect(results, &QPushButton::clicked, this, &CRirekiDlg::showResults);
    connect(m_cardList, &QPushButton::clicked, this, &CRirekiDlg::showCardList);
    connect(remove, &QPushButton::clicked, this, &CRirekiDlg::deleteTrial);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_rows, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_cardList->isEnabled())
            showCardList();
    });

    refill();
}

QComboBox* CRirekiDlg::addFilter(QGridLayout* grid, int column, const QString& caption, const char* name,
                                 const QStringList& entries, int selected) {
    QLabel* label = nullptr;
    QComboBox* list = choice(caption, name, label);
    list->addItems(entries);
    list->setCurrentIndex(selected);
    // Two filters to a row, so that the window's narrowest width holds them.
    grid->addWidget(label, column / 2, (column % 2) * 2, Qt::AlignRight);
    grid->addWidget(list, column / 2, (column % 2) * 2 + 1);
    return list;
}

void CRirekiDlg::refill() {
    Guarded([this] {
        CWaitCursor wait;
        // The best-trial choices belong to the skill-test group only.
        const bool skillTests = m_course->currentIndex() == 0;
        if (!skillTests)
            m_data->setCurrentIndex(0);
        m_data->setEnabled(skillTests);
        m_cardList->setEnabled(m_trialTime->currentIndex() + 1 != HistoryFilter::Converted60);
        m_filter = {m_task->currentIndex() + 1, m_trialTime->currentIndex() + 1, m_course->currentIndex() + 1,
                    m_data->currentIndex() + 1};

        m_list.Load(m_userDb, m_userCode, m_filter, TrialState::IsProgramRunning(TrialState::kTaskProgramInstance));
        m_rows->setUpdatesEnabled(false);
        m_rows->DeleteAllItems();
        for (const HistoryListRow& r : m_list.Rows()) {
            const int row = m_rows->InsertItem(m_rows->ItemCount(), r.cells.first(), r.autoNumber);
            QTreeWidgetItem* item = m_rows->topLevelItem(row);
            for (int c = 1; c < r.cells.size(); ++c) {
                item->setText(c, r.cells[c]);
                item->setTextAlignment(c, CHistoryList::Alignment(c) | Qt::AlignVCenter);
            }
            if (m_selectionMode) {
                // A trial without an end has nothing to analyse yet.
                item->setCheckState(0, r.unfinished ? Qt::Unchecked : Qt::Checked);
                if (r.unfinished)
                    item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
            }
        }
        m_rows->setUpdatesEnabled(true);
        if (m_rows->ItemCount() > 0)
            m_rows->SelectRow(0);
        m_count->setText(countText(m_rows->ItemCount()));
    });
    QTimer::singleShot(0, this, [this] {
        m_rows->setFocus(Qt::OtherFocusReason);
        // The user selection screen stays out of sight while its user's history is open.
        if (parentWidget() && parentWidget()->inherits("CUserSelectDlg"))
            parentWidget()->hide();
    });
}

void CRirekiDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && m_selectionMode && m_rows->SingleSelection() >= 0) {
        deleteTrial();
        return;
    }
    COutScreen::keyPressEvent(event);
}

void CRirekiDlg::deleteTrial() {
    Guarded([this] {
        const int row = m_rows->SingleSelection();
        if (row < 0) {
            AppMessageBox(Zentry01ManStrings::SelectRowToDelete, MsgIcon::Exclamation);
            return;
        }
        if (!AppMessageBox(Zentry01ManStrings::ConfirmDeleteTrial, m_rows->ItemText(row, CHistoryList::TrialNo),
                           m_rows->ItemText(row, CHistoryList::ExecutionDate), MsgIcon::Exclamation,
                           MsgButtons::YesNo))
            return;
        {
            CWaitCursor wait;
            CHistoryList::Delete(m_userDb, qint32(m_rows->ItemData(row)));
        }
        refill();
    });
}

void CRirekiDlg::showResults() {
    Guarded([this] {
        COutSelection selection{m_userCode, m_filter, {}, {}};
        for (int row = 0; row < m_rows->ItemCount(); ++row) {
            if (m_rows->GetCheck(row)) {
                selection.autoNumbers.Add(qint32(m_rows->ItemData(row)));
                selection.positions.Add(row + 1);
            }
        }
        if (selection.autoNumbers.GetSize() == 0) {
            AppMessageBox(Zentry01ManStrings::NoTrialChecked, MsgIcon::Exclamation);
            return;
        }
        COutMainDlg results(m_userDb, m_masterDb, selection, this);
        ScreenSetup::ExecOnSharedPlacement(this, results);
    });
}

void CRirekiDlg::showCardList() {
    Guarded([this] {
        const int row = m_rows->SingleSelection();
        if (row < 0) {
            AppMessageBox(Zentry01ManStrings::SelectListRow, MsgIcon::Exclamation);
            return;
        }
        const COutSelection selection{m_userCode, m_filter, {qint32(m_rows->ItemData(row))}, {row + 1}};
        COutResultList cards(m_userDb, m_masterDb, selection, this);
        ScreenSetup::ExecOnSharedPlacement(this, cards);
    });
}
