#include "UserSelectDlg.h"

#include "ProgramResources.h"
#include "StringTable.h"
#include "UserListCtrl.h"
#include "Zentry01Strings.h"

CUserSelectDlg::CUserSelectDlg(CDB& userDb, QWidget* parent)
    : CUserSelectScreen(userDb, QStringLiteral("ユーザー名リストからあなたの名前を選択して、[次へ]ボタンを押してください。"),
                        QStringLiteral("あなたの名前が見つからない場合は責任者を呼んでください。"),
                        Zentry01Strings::SelectUserRow, parent) {
    setWindowTitle(ProductTitle());
    setWindowIcon(ProgramIcon());
}

void CUserSelectDlg::chosen(int userCode) {
    m_userCode = userCode;
    accept();
}

void CUserSelectDlg::showEvent(QShowEvent* event) {
    CUserSelectScreen::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (RowCount() == 0)
        AppMessageBox(Zentry01Strings::NoUsers, ProductTitle(), MsgIcon::Exclamation);
    else
        list()->setFocus();
}
