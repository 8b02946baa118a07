#pragma once
// "ユーザー名の登録・編集・削除": the registry list (code, 氏名, フリガナ) with
// its count, and new, edit (also a double click) and delete (also the Delete
// key) for the selected user.
#include <QDialog>

class CDB;
class CUserListCtrl;
class QLabel;

class CAddUserDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAddUserDlg(CDB& userDb, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addUser();
    void editUser();
    void deleteUser();
    // Refills the list and the count; then selects the user when given.
    void refill(int selectCode = 0);

    CDB& m_db;
    CUserListCtrl* m_list;
    QLabel* m_count;
};
