#pragma once
// "解析結果の出力 [グラフ表示]": the chosen trials as the history graph, for all
// skill-test and level-up trials or one of the two courses, printed on one
// landscape page.
#include "ArrKaisekiMain.h"
#include "OutScreen.h"
#include "OutSelection.h"

class CKCGraph;
class QComboBox;
class QPrinter;

class COutGraphDlg : public COutScreen {
    Q_OBJECT
public:
    COutGraphDlg(CDB& userDb, CDB& masterDb, const COutSelection& selection, int timeBand,
                 QWidget* parent = nullptr);

    CKCGraph* Graph() const { return m_graph; }
    const CArrKaisekiMain& Analysis() const { return m_analysis; }
    // Draws the graph as shown onto the printer's page: the printable width by a
    // 120 mm band in the middle of the landscape page. False when the document
    // cannot be started (reported with the error code).
    bool PrintTo(QPrinter& printer);

private:
    void reload();
    void print();

    CDB& m_userDb;
    CDB& m_masterDb;
    COutSelection m_selection;
    int m_timeBand;
    CArrKaisekiMain m_analysis;
    QComboBox* m_course;
    CKCGraph* m_graph;
};
