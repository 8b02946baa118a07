#include "AddUserEditDlg.h"

#include "AppSub.h"
#include "OkCancelButtons.h"
#include "ScreenFit.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "UserRegistry.h"
#include "UtilityResources.h"
#include "Zentry01ManStrings.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QLineEdit* nameField(QWidget* parent, const char* objectName) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(objectName));
    field->setMaxLength(255);
    field->setMinimumWidth(ScreenSetup::ScaleX(parent, 150));
    return field;
}
} // namespace

CAddUserEditDlg::CAddUserEditDlg(CDB& userDb, int userCode, QWidget* parent)
    : QDialog(parent), m_db(userDb), m_userCode(userCode) {
    setObjectName(QStringLiteral("addUserEditScreen"));
    setWindowTitle(QStringLiteral("ユーザー登録名の入力"));
    setWindowIcon(UtilityIcon());
    ScreenFit::KeepFitted(this);

    m_kname1 = nameField(this, "kname1Edit");
    m_kname2 = nameField(this, "kname2Edit");
    m_name1 = nameField(this, "name1Edit");
    m_name2 = nameField(this, "name2Edit");
    auto* kanaLabel = new QLabel(QStringLiteral("フリガナ(&F)"), this);
    kanaLabel->setBuddy(m_kname1);
    auto* nameLabel = new QLabel(QStringLiteral("氏名(&N)"), this);
    nameLabel->setBuddy(m_name1);

    QDialogButtonBox* buttons = OkCancelButtons(this, [this] { ok(); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(kanaLabel, 0, 0);
    grid->addWidget(m_kname1, 0, 2);
    grid->addWidget(m_kname2, 0, 4);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("姓"), this), 1, 1);
    grid->addWidget(m_name1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("名"), this), 1, 3);
    grid->addWidget(m_name2, 1, 4);
    grid->setRowMinimumHeight(2, ScreenSetup::ScaleY(this, 8));
    grid->addWidget(new QLabel(QStringLiteral("フリガナは全角カタカナで入力してください。"), this), 3, 0, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("氏名は全角文字で入力してください。"), this), 4, 0, 1, 5);
    grid->addWidget(buttons, 5, 0, 1, 5);

    if (m_userCode != 0) {
        UserRegistry::Names names;
        if (UserRegistry::Load(m_db, m_userCode, names)) {
            m_kname1->setText(names.kname1);
            m_kname2->setText(names.kname2);
            m_name1->setText(names.name1);
            m_name2->setText(names.name2);
        }
    }
}

void CAddUserEditDlg::ok() {
    using UserRegistry::Check;
    const UserRegistry::Names names =
        UserRegistry::Trimmed({m_kname1->text(), m_kname2->text(), m_name1->text(), m_name2->text()});
    switch (UserRegistry::CheckNames(names)) {
    case Check::MissingFamilyName:
        AppMessageBox(Zentry01ManStrings::EnterNames);
        return;
    case Check::KanaNotKatakana:
        AppMessageBox(Zentry01ManStrings::EnterIn, QStringLiteral("フリガナ"), QStringLiteral("全角カタカナ"));
        return;
    case Check::NameNotFullWidth:
        AppMessageBox(Zentry01ManStrings::EnterIn, QStringLiteral("氏名"), QStringLiteral("全角文字"));
        return;
    case Check::Ok:
        break;
    }
    if (m_userCode == 0) {
        if (!AppSub::IsNameFree(m_db, names.kname1, names.kname2, names.name1, names.name2)) {
            AppMessageBox(Zentry01ManStrings::DuplicateName);
            m_name1->setFocus();
            m_name1->selectAll();
            return;
        }
        m_newCode = UserRegistry::Add(m_db, names);
        if (m_newCode != 0)
            accept();
        return;
    }
    switch (UserRegistry::Update(m_db, m_userCode, names)) {
    case UserRegistry::Result::Done:
        accept();
        break;
    case UserRegistry::Result::Missing:
        AppMessageBox(Zentry01ManStrings::NotUpdatable, QStringLiteral("[User_tbl]"));
        break;
    case UserRegistry::Result::Failed:
        break;
    }
}
