#include "ResultDlg.h"

#include "ExecEnv.h"
#include "FeedbackColours.h"
#include "KaisekiFile.h"
#include "ProgramResources.h"
#include "StringTable.h"

#include <QLabel>
#include <QTimer>

CResultDlg::CResultDlg(const CKaisekiFile& result, const CExecEnv& env, QWidget* parent)
    : CFeedbackScreen(QStringLiteral("結果"), parent), m_method(env.result_code) {
    setObjectName(QStringLiteral("finalFeedbackScreen"));
    const CArrKaisekiMain_ShikouKai* trial = result.FirstResult();
    m_hasResult = trial != nullptr;
    if (!trial)
        return;
    const int work = trial->m_answer_number;
    const int correct = trial->m_correct_number;
    m_met = work >= env.target_value && correct >= env.target_value2;

    setFigureMode(m_method == 2);
    Message()->setText(ResultText(env.target_value, work, env.target_value2, correct));
    Mark()->setText(m_met ? QStringLiteral("○") : QStringLiteral("×"));
    const QColor colour = m_met ? FeedbackColour(env) : ContrastColour(env);
    if (m_method == 2)
        setMarkColour(colour);
    else if (m_method == 3)
        setMessageColour(colour);
}

QString CResultDlg::ResultText(int targetWork, int work, int targetCorrect, int correct) {
    return QStringLiteral("目標作業枚数　： %1 枚\n\n結果作業枚数　： %2 枚\n\n目標正しい枚数： %3 枚\n\n結果正しい枚数： %4 枚")
        .arg(QString::asprintf("%4d", targetWork), QString::asprintf("%4d", work),
             QString::asprintf("%4d", targetCorrect), QString::asprintf("%4d", correct));
}

void CResultDlg::showEvent(QShowEvent* event) {
    CFeedbackScreen::showEvent(event);
    if (m_opened)
        return;
    m_opened = true;
    if (!m_hasResult) {
        AppMessageBox(QStringLiteral("試行の解析結果がありません。"), MsgIcon::Stop);
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    if (m_method != 1)
        return;
    if (m_met)
        PlayWave(Wave::Right);
    else
        PlayExclamationBeep();
}
