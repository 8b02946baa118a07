#pragma once
// "解析結果の出力 [エラー内容の表示]": every wrong character of the chosen trials,
// filtered by error kind, item and character kind, saved as a CSV file, and
// each leading to its card's answers beside the inputs.
#include "ArrKaisekiMain.h"
#include "OutScreen.h"
#include "OutSelection.h"

class COutDetailList;
class QComboBox;
class QHBoxLayout;
class QLabel;

class COutDetailDlg : public COutScreen {
    Q_OBJECT
public:
    COutDetailDlg(CDB& userDb, CDB& masterDb, const COutSelection& selection, int timeBand,
                  QWidget* parent = nullptr);

    COutDetailList* List() const { return m_list; }

private:
    QComboBox* addFilter(QHBoxLayout* row, const QString& caption, const char* name,
                         const QList<QPair<QString, int>>& entries);
    void refilter();
    void save();
    void compare();

    CDB& m_userDb;
    CDB& m_masterDb;
    COutSelection m_selection;
    int m_timeBand;
    CArrKaisekiMain m_analysis;
    QComboBox *m_kind, *m_item, *m_class;
    COutDetailList* m_list;
    QLabel* m_count;
};
