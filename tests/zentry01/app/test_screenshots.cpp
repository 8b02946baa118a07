// A tour of the task program's shell screens, saved as pictures for people to
// look at (scripts/screenshots-zentry01.sh). Not part of the test run: it is
// disabled and only runs when asked for with the folder to write to in
// ZENTRY_SCREENSHOT_DIR. The same tour, without pictures, checks that a screen
// reader can name every control of every screen.
#include "AboutDlg.h"
#include "AccessibleNames.h"
#include "CourseDlg.h"
#include "DenpyoDlg.h"
#include "FontSubstitution.h"
#include "GraphDlg.h"
#include "IKCRitchEditCtrl.h"
#include "MokuhyDlg.h"
#include "Result2Dlg.h"
#include "ResultDetailDlg.h"
#include "ResultDlg.h"
#include "ResultListDlg.h"
#include "ShellFixture.h"
#include "StartDlg.h"
#include "TaskScreens.h"
#include "UserSelectDlg.h"
#include "Zentry01Dlg.h"

#include <QDir>

using namespace shell;

namespace {

class ScreenshotTour : public ShellTest {
protected:
    void SetUp() override {
        installFontSubstitutions();
        ShellTest::SetUp();
        if (checkNames)
            return;
        outDir = qEnvironmentVariable("ZENTRY_SCREENSHOT_DIR");
        ASSERT_FALSE(outDir.isEmpty()) << "set ZENTRY_SCREENSHOT_DIR";
        QDir().mkpath(outDir);
    }
    void save(QWidget* screen, const QString& name) {
        if (checkNames) {
            screen->show();
            QCoreApplication::processEvents(); // controls placed once shown
            EXPECT_EQ(BadlyNamedControls(screen), QStringList()) << name.toStdString();
            screen->hide();
            return;
        }
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen));
        QTest::qWait(150); // deferred set-up (focus, the graph's analysis)
        EXPECT_TRUE(screen->grab().save(outDir + '/' + name + QStringLiteral(".png"))) << name.toStdString();
        screen->hide();
    }
    void prepareTrial(int problem, int course, int targetWork, int targetCorrect, int done) {
        env().problem_code = problem;
        env().course_code = course;
        env().ResetTraineeConditions();
        env().target_value = targetWork;
        env().target_value2 = targetCorrect;
        env().result_code = 2;
        env().color_code = 3;
        app->CreateDeck(problem, course);
        env().LoadInstructorConditions();
        ASSERT_TRUE(app->ShowSeq().Build(*app->CurrentDeck(), app->UserDb(), env()));
        result = std::make_unique<CKaisekiFile>();
        RunShortTrial(*app, *result, clock, done, false, 0);
        clock.advance(3600);
    }

    static int course(int done) { return done % 2 ? 1 : 3; }

    void everyShellScreen();
    void everyTaskScreen(bool everyPlacement);

    bool checkNames = false;
    QString outDir;
    std::unique_ptr<CKaisekiFile> result;
};

class NamedControls : public ScreenshotTour {
protected:
    NamedControls() { checkNames = true; }
};

TEST_F(ScreenshotTour, DISABLED_EveryShellScreen) {
    everyShellScreen();
}
TEST_F(NamedControls, EveryShellScreen) {
    everyShellScreen();
}

void ScreenshotTour::everyShellScreen() {
    AddUser(app->UserDb(), 8, QStringLiteral("スズキ"), QStringLiteral("ハナコ"), QStringLiteral("鈴木"),
            QStringLiteral("花子"));
    AddUser(app->UserDb(), 9, QStringLiteral("アオキ"), QStringLiteral("ケンイチロウ"), QStringLiteral("青木"),
            QStringLiteral("健一郎"));
    {
        CUserSelectDlg dlg(app->UserDb());
        save(&dlg, QStringLiteral("01_user_selection"));
    }
    {
        CZentry01Dlg menu;
        save(&menu, QStringLiteral("02_menu"));
        auto about = CZentry01Dlg::CreateAbout(app->MasterDb());
        save(about.get(), QStringLiteral("03_about"));
    }
    {
        CCourseDlg course;
        save(&course, QStringLiteral("04_course"));
    }
    folder.writeIni(QStringLiteral("[Settings]\ndisplay_flg=1\norder_flg=1\n"));
    for (int course = 1; course <= 3; ++course) {
        env().problem_code = 2;
        env().course_code = course;
        env().ResetTraineeConditions();
        if (course == 3) {
            env().target_value = 20;
            env().target_value2 = 15;
            env().result_code = 3;
        }
        CMokuhyDlg conditions(env(), 300);
        save(&conditions, QStringLiteral("05_conditions_course%1").arg(course));
    }
    {
        app->CreateDeck(2, 3);
        CStartDlg start(env(), app->UserDb(), *app->CurrentDeck(), app->ShowSeq());
        save(&start, QStringLiteral("06_start_number_order"));
    }
    folder.writeIni(QStringLiteral("[Settings]\ndisplay_flg=0\norder_flg=2\n"));
    {
        env().problem_code = 1;
        env().course_code = 2;
        app->CreateDeck(1, 2);
        CStartDlg start(env(), app->UserDb(), *app->CurrentDeck(), app->ShowSeq());
        save(&start, QStringLiteral("07_start_shuffle_course2"));
    }
    folder.writeIni(QStringLiteral("[Settings]\norder_flg=1\n"));
    env().result_code = 2;
    env().color_code = 2;
    {
        CResult2Dlg right(true, env());
        save(&right, QStringLiteral("08_check_right_figure"));
    }
    env().result_code = 3;
    {
        CResult2Dlg wrong(false, env());
        save(&wrong, QStringLiteral("09_check_wrong_text_colour"));
    }
    // Earlier trials for the graph, then the one the result screens show.
    for (int done : {4, 7, 5, 9})
        prepareTrial(2, course(done), 5, 3, done);
    prepareTrial(2, 3, 5, 3, 6);
    {
        CResultDlg final(*result, env());
        save(&final, QStringLiteral("10_final_feedback_figure"));
        env().graph_flg = 1;
        CResultListDlg list(*result, env(), app->UserDb(), app->MasterDb(), *app->CurrentDeck());
        save(&list, QStringLiteral("11_result_list_voucher"));
        CResultDetailDlg detail(*app->CurrentDeck(), app->CurrentDeck()->CardAtPosition(0), 2);
        save(&detail, QStringLiteral("12_detail_voucher_correction"));
        CGraphDlg graph(*result, env(), app->UserDb(), app->MasterDb());
        save(&graph, QStringLiteral("13_graph"));
    }
    prepareTrial(3, 2, 0, 0, 4);
    {
        CResultDetailDlg detail(*app->CurrentDeck(), app->CurrentDeck()->CardAtPosition(1), 3);
        save(&detail, QStringLiteral("14_detail_miss_check"));
    }
    prepareTrial(1, 2, 0, 0, 5);
    {
        CResultListDlg list(*result, env(), app->UserDb(), app->MasterDb(), *app->CurrentDeck());
        save(&list, QStringLiteral("15_result_list_questionnaire_course2"));
        CResultDetailDlg detail(*app->CurrentDeck(), app->CurrentDeck()->CardAtPosition(0), 1);
        save(&detail, QStringLiteral("16_detail_questionnaire"));
    }
}

// Each task screen in each placement, course and progress setting, with the
// dial shown where the course has one.
TEST_F(ScreenshotTour, DISABLED_EveryTaskScreen) {
    everyTaskScreen(true);
}
TEST_F(NamedControls, EveryTaskScreen) {
    everyTaskScreen(false);
}

TEST_F(NamedControls, QuestionnaireFieldsAndTheUserListCarryTheirCaptions) {
    env().problem_code = 1;
    env().course_code = 1;
    env().ResetTraineeConditions();
    app->CreateDeck(1, 1);
    env().LoadInstructorConditions();
    ASSERT_TRUE(app->ShowSeq().Build(*app->CurrentDeck(), app->UserDb(), env()));
    CKaisekiFile trial;
    std::unique_ptr<CDenpyoDlg> dlg = TaskScreens::Create(1, trial);
    ASSERT_TRUE(dlg->OpenTrial());
    dlg->show();
    QCoreApplication::processEvents();
    QStringList names;
    for (const char* field : {"furigana", "name", "zipCode", "address", "telephone", "mailAddress"})
        names << AccessibleName(Child<QWidget>(dlg.get(), field));
    EXPECT_EQ(names, (QStringList{"フリガナ", "名前", "〒", "住所", "電話番号", "メールアドレス"}));
    dlg.reset();

    CUserSelectDlg select(app->UserDb());
    select.show();
    EXPECT_EQ(AccessibleName(Child<QWidget>(&select, "userList")), QStringLiteral("ユーザー名リスト"));
}

void ScreenshotTour::everyTaskScreen(bool everyPlacement) {
    const struct {
        const char* name;
        const char* ini;
        bool enlarged;
    } placements[] = {
        {"paper", "display_flg=0\n", false},
        {"left", "display_flg=1\ndisplay_position=1\n", false},
        {"right", "display_flg=1\ndisplay_position=2\n", false},
        {"left_enlarged", "display_flg=1\ndisplay_position=1\n", true},
        {"right_enlarged", "display_flg=1\ndisplay_position=2\n", true},
    };
    for (int task : {1, 2, 3}) {
        for (const auto& p : placements) {
            if (!everyPlacement && &p != &placements[4])
                continue;
            for (int course : {1, 2, 3}) {
                for (bool progress : {false, true}) {
                    folder.writeIni(QStringLiteral("[Settings]\n") + QString::fromLatin1(p.ini));
                    env().problem_code = task;
                    env().course_code = course;
                    env().ResetTraineeConditions();
                    env().SetTraineeConditions(1, progress, progress, progress, 20, 10, 1, 1, 1, 2, 1, p.enlarged);
                    app->CreateDeck(task, course);
                    env().LoadInstructorConditions();
                    ASSERT_TRUE(app->ShowSeq().Build(*app->CurrentDeck(), app->UserDb(), env()));
                    CKaisekiFile trial;
                    std::unique_ptr<CDenpyoDlg> dlg = TaskScreens::Create(task, trial);
                    ASSERT_TRUE(dlg->OpenTrial());
                    dlg->show();
                    if (course != 2 && !progress)
                        QTest::keyClick(dlg->findChild<CIKCRitchEditCtrl*>(), Qt::Key_T, Qt::ControlModifier);
                    save(dlg.get(), QStringLiteral("task%1_%2_course%3_progress_%4")
                                        .arg(task)
                                        .arg(QString::fromLatin1(p.name))
                                        .arg(course)
                                        .arg(progress ? "on" : "off"));
                    clock.advance(60);
                }
            }
        }
    }
}

} // namespace
