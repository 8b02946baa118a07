#pragma once
// "解析結果の出力 [エラー内容の表示]": every wrong character of the chosen trials,
// filtered by error kind, item and character kind, saved as a CSV file, and
// each leading to its card's answers beside the inputs.
#include "OutResultScreen.h"

class COutDetailList;
class QComboBox;
class QLabel;

class COutDetailDlg : public COutResultScreen {
    Q_OBJECT
public:
    COutDetailDlg(CDB& userDb, CDB& masterDb, const COutSelection& selection, int timeBand,
                  QWidget* parent = nullptr);

    COutDetailList* List() const { return m_list; }

private:
    void refilter();
    void save();
    void compare();

    int m_timeBand;
    QComboBox *m_kind, *m_item, *m_class;
    COutDetailList* m_list;
    QLabel* m_count;
};
