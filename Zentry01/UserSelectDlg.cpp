#include "UserSelectDlg.h"

#include "AppSub.h"
#include "Guarded.h"
#include "ICListCtrl.h"
#include "ProgramResources.h"
#include "StringTable.h"
#include "Zentry01Strings.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

CUserSelectDlg::CUserSelectDlg(CDB& userDb, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("userSelectScreen"));
    setWindowTitle(ProductTitle());
    setWindowIcon(ProgramIcon());

    auto* lead = new QLabel(QStringLiteral("ユーザー名リストからあなたの名前を選択して、[次へ]ボタンを押してください。"), this);
    auto* help = new QLabel(QStringLiteral("あなたの名前が見つからない場合は責任者を呼んでください。"), this);
    auto* caption = new QLabel(QStringLiteral("ユーザー名リスト(&L)"), this);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("countLabel"));
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_list = new CICListCtrl(this);
    m_list->setObjectName(QStringLiteral("userList"));
    m_list->SetUp(false, QString(), 0);
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->InsertColumn(0, QStringLiteral("氏名"), 100);
    m_list->InsertColumn(1, QStringLiteral("フリガナ"), 100);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setStretchLastSection(false);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setMinimumSize(logicalDpiX() * 460 / 96, logicalDpiY() * 240 / 96);
    caption->setBuddy(m_list);
    m_list->viewport()->installEventFilter(this);

    m_next = new QPushButton(QStringLiteral("次へ"), this);
    m_next->setObjectName(QStringLiteral("nextButton"));
    m_next->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lead, 0, 0, 1, 2);
    grid->addWidget(help, 1, 0, 1, 2);
    grid->setRowMinimumHeight(2, logicalDpiY() * 8 / 96);
    grid->addWidget(caption, 3, 0);
    grid->addWidget(m_count, 3, 1);
    grid->addWidget(m_list, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_next);
    buttons->addWidget(close);
    grid->addLayout(buttons, 5, 0, 1, 2);

    connect(m_next, &QPushButton::clicked, this, &CUserSelectDlg::next);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item && item->isSelected())
            next();
    });

    fill(userDb);
}

void CUserSelectDlg::fill(CDB& userDb) {
    const QVector<AppSub::UserListRow> users = AppSub::UserList(userDb);
    for (const AppSub::UserListRow& u : users) {
        const int row = m_list->InsertItem(m_list->ItemCount(), u.fullName, u.code);
        m_list->SetItemText(row, 1, u.fullKana);
    }
    if (m_list->ItemCount() > 0)
        m_list->SelectRow(0);
    m_count->setText(QStringLiteral("%1 件").arg(m_list->ItemCount()));
    m_next->setEnabled(m_list->ItemCount() > 0);
}

void CUserSelectDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (m_list->ItemCount() == 0)
        AppMessageBox(Zentry01Strings::NoUsers, ProductTitle(), MsgIcon::Exclamation);
    else
        m_list->setFocus();
}

bool CUserSelectDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    return QDialog::eventFilter(watched, event);
}

void CUserSelectDlg::fitColumns() {
    // Each column half of the list's width, less a vertical scroll bar (the
    // viewport's width, as the list always keeps its vertical bar).
    const int half = m_list->viewport()->width() / 2;
    m_list->setColumnWidth(0, half);
    m_list->setColumnWidth(1, half);
}

void CUserSelectDlg::next() {
    Guarded([this] {
        const int row = m_list->SingleSelection();
        if (row < 0) {
            AppMessageBox(Zentry01Strings::SelectUserRow, MsgIcon::Exclamation);
            return;
        }
        m_userCode = static_cast<int>(m_list->ItemData(row));
        accept();
    });
}
