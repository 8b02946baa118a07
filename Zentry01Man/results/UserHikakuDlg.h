#pragma once
// "解析結果の出力[ユーザー比較]": every user ranked by the skill-test trials of
// one task, at the level of cards or of items, saved as a CSV file.
#include "ArrUserHikaku.h"
#include "OutScreen.h"

class CICListCtrl;
class QComboBox;
class QLabel;
class QPushButton;

class CUserHikakuDlg : public COutScreen {
    Q_OBJECT
public:
    explicit CUserHikakuDlg(CDB& userDb, QWidget* parent = nullptr);

    CICListCtrl* List() const { return m_list; }

private:
    void refill();
    void save();

    CDB& m_userDb;
    CArrUserHikaku m_comparison;
    QComboBox *m_task, *m_level;
    CICListCtrl* m_list;
    QLabel* m_count;
    QPushButton* m_save;
};
