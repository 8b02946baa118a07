#pragma once
// "解析結果の出力 [グラフ表示]": the chosen trials as the history graph, for all
// skill-test and level-up trials or one of the two courses, printed on one
// landscape page.
#include "OutResultScreen.h"

class CKCGraph;
class QComboBox;
class QPrinter;

class COutGraphDlg : public COutResultScreen {
    Q_OBJECT
public:
    COutGraphDlg(CDB& userDb, CDB& masterDb, const COutSelection& selection, int timeBand,
                 QWidget* parent = nullptr);

    CKCGraph* Graph() const { return m_graph; }
    // Draws the graph as shown onto the printer's page: the printable width by a
    // 120 mm band in the middle of the landscape page. False when the document
    // cannot be started (reported with the error code).
    bool PrintTo(QPrinter& printer);

private:
    void reload();
    void print();

    int m_timeBand;
    QComboBox* m_course;
    CKCGraph* m_graph;
};
