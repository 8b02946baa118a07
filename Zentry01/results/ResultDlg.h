#pragma once
// The final feedback after a level-up trial: targets against results, by
// sound, by a ○/× figure, or by the colour of the text.
#include "FeedbackScreen.h"

class CExecEnv;
class CKaisekiFile;

class CResultDlg : public CFeedbackScreen {
    Q_OBJECT
public:
    CResultDlg(const CKaisekiFile& result, const CExecEnv& env, QWidget* parent = nullptr);

    bool GoalMet() const { return m_met; }
    // The four lines of targets and results.
    static QString ResultText(int targetWork, int work, int targetCorrect, int correct);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_hasResult = false;
    bool m_met = false;
    int m_method;
    bool m_opened = false;
};
