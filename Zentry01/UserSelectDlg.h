#pragma once
// The first screen: the trainee picks their name from the user list.
#include <QDialog>

class CDB;
class QLabel;
class QPushButton;
class CICListCtrl;

class CUserSelectDlg : public QDialog {
    Q_OBJECT
public:
    explicit CUserSelectDlg(CDB& userDb, QWidget* parent = nullptr);

    // The chosen user after OK; 0 before.
    int SelectedUserCode() const { return m_userCode; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill(CDB& userDb);
    void next();
    void fitColumns();

    CICListCtrl* m_list;
    QLabel* m_count;
    QPushButton* m_next;
    int m_userCode = 0;
    bool m_shown = false;
};
