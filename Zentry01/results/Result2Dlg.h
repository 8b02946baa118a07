#pragma once
// The check feedback of the task screens: whether the current card is right,
// by sound, by a ○/× figure, or by the colour of the message.
#include "FeedbackScreen.h"

class CExecEnv;

class CResult2Dlg : public CFeedbackScreen {
    Q_OBJECT
public:
    // parent: the task screen.
    CResult2Dlg(bool right, const CExecEnv& env, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_right;
    int m_method;
    bool m_soundDone = false;
};
