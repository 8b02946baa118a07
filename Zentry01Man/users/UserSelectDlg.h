#pragma once
// The user selection of the utility: a user chosen here leads, by mode, back
// to the caller (0), to the trial history for choosing trials of the result
// output (1) or to the plain trial-history list (2). In modes 1 and 2 this
// screen stays open underneath the history screen, which may hide it.
#include "UserSelectScreen.h"

class CUserSelectDlg : public CUserSelectScreen {
    Q_OBJECT
public:
    enum Mode { PlainSelection = 0, AnalysisOutput = 1, HistoryReference = 2 };

    CUserSelectDlg(CDB& userDb, const QString& title, int mode, QWidget* parent = nullptr);

    // Mode 0: the chosen user after OK; 0 before.
    int SelectedUserCode() const { return m_userCode; }

    // Runs until the screen is closed: a nested screen that hides this one ends
    // a dialog's exec(), so it simply runs again.
    int exec() override;
    void done(int result) override;

protected:
    void chosen(int userCode) override;

private:
    int m_mode;
    int m_userCode = 0;
    bool m_ended = false;
};
