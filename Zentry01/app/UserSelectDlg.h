#pragma once
// The first screen: the trainee picks their name from the user list.
#include "UserSelectScreen.h"

class CUserSelectDlg : public CUserSelectScreen {
    Q_OBJECT
public:
    explicit CUserSelectDlg(CDB& userDb, QWidget* parent = nullptr);

    // The chosen user after OK; 0 before.
    int SelectedUserCode() const { return m_userCode; }

protected:
    void chosen(int userCode) override;
    void showEvent(QShowEvent* event) override;

private:
    int m_userCode = 0;
    bool m_shown = false;
};
