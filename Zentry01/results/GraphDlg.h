#pragma once
// The history graph of the user's completed skill-test and level-up trials of
// the task, opened from the result list.
#include "ArrKaisekiMain.h"

#include "ResultScreen.h"

class CDB;
class CExecEnv;
class CKCGraph;
class CKaisekiFile;
class QLabel;
class QPushButton;

class CGraphDlg : public CResultScreen {
    Q_OBJECT
public:
    CGraphDlg(const CKaisekiFile& result, const CExecEnv& env, CDB& userDb, CDB& masterDb, QWidget* parent = nullptr);

    // The line above the graph.
    static QString CaptionText(int courseCode, int targetWork, int work);
    // What the graph is drawn from: every completed trial of the user and
    // task, skill tests and level-up trainings only, with their 60-minute values.
    static CArrKaisekiMain::Conditions HistoryConditions(int userCode, int problemCode);

    const CArrKaisekiMain& History() const { return m_history; }
    CKCGraph* Graph() const { return m_graph; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void loadHistory();
    void ok();

    const CExecEnv& m_env;
    CDB& m_userDb;
    CDB& m_masterDb;
    CArrKaisekiMain m_history;
    QLabel* m_caption;
    CKCGraph* m_graph;
    bool m_opened = false;
};
