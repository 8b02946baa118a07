#include "AddUserDlg.h"

#include "AddUserEditDlg.h"
#include "Guarded.h"
#include "StringTable.h"
#include "UserListCtrl.h"
#include "UserRegistry.h"
#include "UtilityResources.h"
#include "Zentry01ManStrings.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CAddUserDlg::CAddUserDlg(CDB& userDb, QWidget* parent) : QDialog(parent), m_db(userDb) {
    setObjectName(QStringLiteral("addUserScreen"));
    setWindowTitle(QStringLiteral("ユーザー名の登録・編集・削除"));
    setWindowIcon(UtilityIcon());

    auto* caption = new QLabel(QStringLiteral("ユーザー名リスト(&L)"), this);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("countLabel"));
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_list = new CUserListCtrl(true, this);
    m_list->setMinimumSize(logicalDpiX() * 520 / 96, logicalDpiY() * 300 / 96);
    caption->setBuddy(m_list);
    m_list->installEventFilter(this);

    struct Button {
        const char* name;
        QString text;
        void (CAddUserDlg::*handler)();
    };
    const Button buttons[] = {{"newButton", QStringLiteral("新規作成(&N)..."), &CAddUserDlg::addUser},
                              {"editButton", QStringLiteral("編集(&E)..."), &CAddUserDlg::editUser},
                              {"deleteButton", QStringLiteral("削除(&D)"), &CAddUserDlg::deleteUser}};
    auto* column = new QVBoxLayout;
    for (const Button& b : buttons) {
        auto* button = new QPushButton(b.text, this);
        button->setObjectName(QLatin1String(b.name));
        button->setAutoDefault(false);
        const auto handler = b.handler;
        connect(button, &QPushButton::clicked, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
        column->addWidget(button);
    }
    column->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    column->addWidget(close);

    auto* grid = new QGridLayout(this);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(m_count, 0, 1);
    grid->addWidget(m_list, 1, 0, 1, 2);
    grid->addLayout(column, 1, 2);

    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item)
            Guarded([this] { editUser(); });
    });
    refill();
}

bool CAddUserDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        if (m_list->SelectedUserCode() != 0)
            Guarded([this] { deleteUser(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CAddUserDlg::refill(int selectCode) {
    m_list->Fill(m_db);
    m_count->setText(QStringLiteral("%1 件").arg(m_list->ItemCount()));
    if (selectCode != 0)
        m_list->SelectUser(selectCode);
}

void CAddUserDlg::addUser() {
    CAddUserEditDlg edit(m_db, 0, this);
    if (edit.exec() == QDialog::Accepted)
        refill(edit.NewUserCode());
}

void CAddUserDlg::editUser() {
    const int code = m_list->SelectedUserCode();
    if (code == 0) {
        AppMessageBox(Zentry01ManStrings::SelectRowToEdit);
        return;
    }
    CAddUserEditDlg edit(m_db, code, this);
    if (edit.exec() == QDialog::Accepted)
        refill(code);
}

void CAddUserDlg::deleteUser() {
    const int code = m_list->SelectedUserCode();
    if (code == 0) {
        AppMessageBox(Zentry01ManStrings::SelectRowToDelete);
        return;
    }
    const QString kana = m_list->ItemText(m_list->SingleSelection(), 2);
    if (!AppMessageBox(Zentry01ManStrings::ConfirmDeleteUser, kana, MsgIcon::Exclamation, MsgButtons::YesNo))
        return;
    const int row = m_list->SingleSelection();
    if (UserRegistry::Delete(m_db, code) == UserRegistry::Result::Missing)
        AppMessageBox(Zentry01ManStrings::NotUpdatable, QStringLiteral("[User_tbl]"));
    refill();
    // The selection stays where the deleted user stood: on the next user, or
    // on the one before when the last was deleted.
    if (m_list->ItemCount() > 0)
        m_list->SelectRow(std::min(row, m_list->ItemCount() - 1));
}
