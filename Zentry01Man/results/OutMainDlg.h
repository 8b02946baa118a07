#pragma once
// "解析結果の出力 [基本画面]": the chosen trials analysed again and summed up in
// three lists on tabs (counts and rates, errors per item, errors per character
// kind), for the whole trial or one quarter hour of it; the graph and the
// error list open from here.
#include "OutResultScreen.h"

class CICTabCtrl;
class COutListBase;
class QComboBox;
class QLabel;

class COutMainDlg : public COutResultScreen {
    Q_OBJECT
public:
    COutMainDlg(CDB& userDb, CDB& masterDb, const COutSelection& selection, QWidget* parent = nullptr);

    COutListBase* List(int tab) const { return m_lists[tab]; }
    CICTabCtrl* Tabs() const { return m_tabs; }

private:
    void refill();
    int timeBand() const;
    void showGraph();
    void showErrors();

    QComboBox* m_band;
    CICTabCtrl* m_tabs;
    COutListBase* m_lists[3];
    QLabel* m_count;
};
