#pragma once
// "ユーザー登録名の入力": the フリガナ and 氏名 of a new user (code 0) or of an
// existing one. OK checks the names, refuses a duplicate of a live user when
// registering, and writes the row.
#include <QDialog>

class CDB;
class QLineEdit;

class CAddUserEditDlg : public QDialog {
    Q_OBJECT
public:
    CAddUserEditDlg(CDB& userDb, int userCode, QWidget* parent = nullptr);

    // The code of the user registered by OK; 0 otherwise.
    int NewUserCode() const { return m_newCode; }

private:
    void ok();

    CDB& m_db;
    int m_userCode;
    int m_newCode = 0;
    QLineEdit* m_kname1;
    QLineEdit* m_kname2;
    QLineEdit* m_name1;
    QLineEdit* m_name2;
};
