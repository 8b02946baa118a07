#pragma once
// The user list of both programs: every live user in kana order, one row each
// with the user code as the row's data, the first row selected after filling.
// Two columns (氏名, フリガナ) on the selection screens, or three with the code
// first (ユーザーNO.) on the registry; the name columns share the list's width
// less a vertical scroll bar equally, and follow it when the list is resized.
#include "ICListCtrl.h"

class CDB;

class CUserListCtrl : public CICListCtrl {
    Q_OBJECT
public:
    explicit CUserListCtrl(bool withCodeColumn, QWidget* parent = nullptr);

    // Refills the list from the user database; returns the row count.
    int Fill(CDB& userDb);
    // The selected row's user code; 0 without a selection.
    int SelectedUserCode() const;
    // Selects and focuses the user's row; false when the user is not listed.
    bool SelectUser(int userCode);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitColumns();

    bool m_withCode;
};
