#include "Result2Dlg.h"

#include "ExecEnv.h"
#include "FeedbackColours.h"
#include "ProgramResources.h"

#include <QLabel>

CResult2Dlg::CResult2Dlg(bool right, const CExecEnv& env, QWidget* parent)
    : CFeedbackScreen(QStringLiteral("チェック結果"), parent), m_right(right), m_method(env.result_code) {
    setObjectName(QStringLiteral("checkFeedbackScreen"));
    setFigureMode(m_method == 2);
    Message()->setText(right ? QStringLiteral("まちがいはありません。次にすすんでください。")
                             : QStringLiteral("まちがいがあります。なおしてください。"));
    Mark()->setText(right ? QStringLiteral("○") : QStringLiteral("×"));
    const QColor colour = right ? FeedbackColour(env) : ContrastColour(env);
    if (m_method == 2)
        setMarkColour(colour);
    else if (m_method == 3)
        setMessageColour(colour);
}

void CResult2Dlg::showEvent(QShowEvent* event) {
    CFeedbackScreen::showEvent(event);
    if (m_soundDone || m_method != 1)
        return;
    m_soundDone = true;
    if (m_right)
        PlayWave(Wave::Right);
    else
        PlayExclamationBeep();
}
