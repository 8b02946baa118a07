#pragma once
// Base of the result output screens: the selection handed on from the trial
// history, analysed again from the trials' files.
#include "ArrKaisekiMain.h"
#include "OutScreen.h"
#include "OutSelection.h"

class COutResultScreen : public COutScreen {
    Q_OBJECT
public:
    const CArrKaisekiMain& Analysis() const { return m_analysis; }

protected:
    COutResultScreen(CDB& userDb, CDB& masterDb, const COutSelection& selection, const QString& title,
                     QWidget* parent);
    // Analyses the chosen trials (with the wait cursor); a database failure has
    // been shown and the trials read before it stay.
    void analyse(int timeBand, int courseFilter = CArrKaisekiMain::AnyCourse);
    // The line with the task, the trial time and the course group.
    QLabel* titleLine();

    CDB& m_userDb;
    CDB& m_masterDb;
    const COutSelection m_selection;
    CArrKaisekiMain m_analysis;
};
