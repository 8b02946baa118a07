#include "TrialLauncher.h"

#include "CourseDlg.h"
#include "KaisekiFile.h"
#include "MokuhyDlg.h"
#include "ResultDlg.h"
#include "ResultListDlg.h"
#include "StartDlg.h"
#include "StringTable.h"
#include "TaskScreens.h"
#include "Zentry01App.h"

CTrialLauncher::CTrialLauncher(CZentry01App& app, QWidget* menu)
    : m_app(app), m_menu(menu), m_runTaskScreen(&TaskScreens::Run) {}

void CTrialLauncher::showMenu() {
    if (m_menu)
        m_menu->show();
}

void CTrialLauncher::Run(int problemCode) {
    CExecEnv& env = m_app.ExecEnv();
    env.problem_code = problemCode;

    // Course and conditions; cancelling the conditions goes back to the course.
    for (;;) {
        CCourseDlg course(m_menu);
        if (course.exec() != QDialog::Accepted)
            return; // the course screen has shown the menu again
        env.course_code = course.CourseCode();
        env.ResetTraineeConditions();
        m_app.CreateDeck(problemCode, env.course_code);
        if (m_app.CurrentDeck()->GetSize() == 0) {
            // Nothing to work on: said at once, and the trainee may choose another course.
            AppMessageBox(TaskScreens::NoCardsText(), MsgIcon::Exclamation);
            continue;
        }

        CMokuhyDlg conditions(env, m_app.CurrentDeck()->GetSize(), m_menu);
        if (conditions.exec() == QDialog::Accepted)
            break;
    }

    CStartDlg start(env, m_app.UserDb(), *m_app.CurrentDeck(), m_app.ShowSeq(), m_menu);
    if (start.exec() != QDialog::Accepted) {
        showMenu();
        return;
    }

    CKaisekiFile result;
    m_runTaskScreen(problemCode, result, m_menu);
    // Without an analysed trial (no task screen, or no history row could be
    // written) the result screens would have nothing to show.
    if (result.FirstResult())
        showResults(result);
    showMenu();
}

void CTrialLauncher::showResults(const CKaisekiFile& result) {
    const CExecEnv& env = m_app.ExecEnv();
    if (env.course_code == 3 && env.final_feedback_flg) {
        CResultDlg feedback(result, env, m_menu);
        feedback.exec();
    }
    if (env.course_code != 1) {
        CResultListDlg list(result, env, m_app.UserDb(), m_app.MasterDb(), *m_app.CurrentDeck(), m_menu);
        list.exec();
    }
}
