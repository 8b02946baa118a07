#pragma once
// "解析結果の出力 [基本画面]": the chosen trials analysed again and summed up in
// three lists on tabs (counts and rates, errors per item, errors per character
// kind), for the whole trial or one quarter hour of it; the graph and the
// error list open from here.
#include "ArrKaisekiMain.h"
#include "OutScreen.h"
#include "OutSelection.h"

class CICTabCtrl;
class COutListBase;
class QComboBox;
class QLabel;

class COutMainDlg : public COutScreen {
    Q_OBJECT
public:
    COutMainDlg(CDB& userDb, CDB& masterDb, const COutSelection& selection, QWidget* parent = nullptr);

    const CArrKaisekiMain& Analysis() const { return m_analysis; }
    COutListBase* List(int tab) const { return m_lists[tab]; }
    CICTabCtrl* Tabs() const { return m_tabs; }

private:
    void refill();
    int timeBand() const;
    void showGraph();
    void showErrors();

    CDB& m_userDb;
    CDB& m_masterDb;
    COutSelection m_selection;
    CArrKaisekiMain m_analysis;
    QComboBox* m_band;
    CICTabCtrl* m_tabs;
    COutListBase* m_lists[3];
    QLabel* m_count;
};
