#pragma once
// The user selection screen both programs build on: two lines of guidance,
// the user list "ユーザー名リスト(&L)" with its "%d 件" count, and the buttons
// "次へ" (enabled only with rows; a double click on a row does the same) and
// "閉じる". What a chosen user leads to is the program's own.
#include <QDialog>

class CDB;
class CUserListCtrl;
class QHBoxLayout;
class QLabel;
class QPushButton;

class CUserSelectScreen : public QDialog {
    Q_OBJECT
public:
    // selectRowString: the message shown by "次へ" without a selected row.
    CUserSelectScreen(CDB& userDb, const QString& lead, const QString& help, int selectRowString,
                      QWidget* parent = nullptr);

    int RowCount() const;

protected:
    // "次へ" with a selected row.
    virtual void chosen(int userCode) = 0;
    // Adds a button left of "次へ".
    void addButton(QPushButton* button);
    CUserListCtrl* list() const { return m_list; }

private:
    void next();

    CUserListCtrl* m_list;
    QLabel* m_count;
    QPushButton* m_next;
    QHBoxLayout* m_buttons;
    int m_selectRowString;
};
