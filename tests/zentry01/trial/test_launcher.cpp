// The trial launcher: course, conditions and start screens with their cancel
// paths, the conditions reset on every course choice, the deck of the course,
// and which result screens follow the task screen in each course.
#include "CourseDlg.h"
#include "Guarded.h"
#include "MokuhyDlg.h"
#include "NumberSpinField.h"
#include "ResultDlg.h"
#include "ResultListDlg.h"
#include "ShellFixture.h"
#include "StartDlg.h"
#include "TrialLauncher.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace shell;

namespace {

class Launcher : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        menu.show();
        launcher = std::make_unique<CTrialLauncher>(*app, &menu);
        launcher->SetTaskScreenRunner([this](int problem, CKaisekiFile& result, QWidget* m) {
            ++taskScreens;
            menuVisibleDuringTask = m->isVisible();
            EXPECT_EQ(problem, env().problem_code);
            return RunShortTrial(*app, result, clock, 3);
        });
    }
    static void fillTargets(CMokuhyDlg* d, const QString& work, const QString& correct) {
        Child<CNumberSpinField>(d, "workField")->setFieldText(work);
        Child<CNumberSpinField>(d, "correctField")->setFieldText(correct);
    }

    QWidget menu;
    std::unique_ptr<CTrialLauncher> launcher;
    int taskScreens = 0;
    bool menuVisibleDuringTask = true;
};

TEST_F(Launcher, CancellingTheCourseReturnsToTheMenu) {
    bool menuHidden = false;
    ModalScript script;
    script.on<CCourseDlg>([&](CCourseDlg* d) {
        menuHidden = !menu.isVisible();
        Click(d, "cancelButton");
    });
    launcher->Run(2);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(script.seen, QStringList{"CCourseDlg"});
    EXPECT_TRUE(menuHidden);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(env().problem_code, 2);
    EXPECT_EQ(taskScreens, 0);
}

TEST_F(Launcher, CancellingTheConditionsGoesBackToTheCourse) {
    ModalScript script;
    script.on<CCourseDlg>([](CCourseDlg* d) { Click(d, "course2Button"); })
        .on<CMokuhyDlg>([](CMokuhyDlg* d) { Click(d, "cancelButton"); })
        .on<CCourseDlg>([](CCourseDlg* d) { Click(d, "cancelButton"); });
    launcher->Run(1);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(script.seen, (QStringList{"CCourseDlg", "CMokuhyDlg", "CCourseDlg"}));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(taskScreens, 0);
}

TEST_F(Launcher, EveryCourseChoiceStartsFromTheDefaultConditions) {
    QString workOnReturn = QStringLiteral("?");
    bool graphOnReturn = false;
    {
        ModalScript script;
        script.on<CCourseDlg>([](CCourseDlg* d) { Click(d, "course3Button"); })
            .on<CMokuhyDlg>([](CMokuhyDlg* d) {
                fillTargets(d, QStringLiteral("12"), QStringLiteral("10"));
                Child<QCheckBox>(d, "graphCheck")->setChecked(false);
                Click(d, "nextButton"); // stored in the environment ...
            })
            .on<CStartDlg>([](CStartDlg* d) { Click(d, "cancelButton"); });
        launcher->Run(3);
        ASSERT_TRUE(script.done()) << script.seen.join(' ').toStdString();
    }
    EXPECT_EQ(env().target_value, 12);
    EXPECT_EQ(env().graph_flg, 0);

    ModalScript again; // ... and gone when the next trial chooses its course
    again.on<CCourseDlg>([](CCourseDlg* d) { Click(d, "course3Button"); })
        .on<CMokuhyDlg>([&](CMokuhyDlg* d) {
            workOnReturn = Child<CNumberSpinField>(d, "workField")->fieldText();
            graphOnReturn = Child<QCheckBox>(d, "graphCheck")->isChecked();
            fillTargets(d, QStringLiteral("30"), QStringLiteral("20"));
            Click(d, "cancelButton");
        })
        .on<CCourseDlg>([](CCourseDlg* d) { Click(d, "course3Button"); })
        .on<CMokuhyDlg>([&](CMokuhyDlg* d) {
            EXPECT_EQ(Child<CNumberSpinField>(d, "workField")->fieldText(), QString())
                << "targets typed before the cancel are not kept";
            Click(d, "cancelButton");
        })
        .on<CCourseDlg>([](CCourseDlg* d) { Click(d, "cancelButton"); });
    launcher->Run(3);
    EXPECT_TRUE(again.done()) << again.seen.join(' ').toStdString();
    EXPECT_EQ(workOnReturn, QString());
    EXPECT_TRUE(graphOnReturn);
    EXPECT_EQ(env().target_value, 0);
    EXPECT_EQ(env().graph_flg, 1);
}

TEST_F(Launcher, CancellingTheStartScreenReturnsToTheMenu) {
    bool menuHiddenAtStart = false;
    ModalScript script;
    script.on<CCourseDlg>([](CCourseDlg* d) { Click(d, "course1Button"); })
        .on<CMokuhyDlg>([](CMokuhyDlg* d) { Click(d, "nextButton"); })
        .on<CStartDlg>([&](CStartDlg* d) {
            menuHiddenAtStart = !menu.isVisible();
            Click(d, "cancelButton");
        });
    launcher->Run(2);
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(menuHiddenAtStart);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(taskScreens, 0);
}

TEST_F(Launcher, AMasterFileWhoseVoucherTablesDisagreeStopsBeforeAnythingIsWritten) {
    {
        QSqlDatabase master = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("disagree"));
        master.setDatabaseName(folder.file(QStringLiteral("Quillon01.mst")));
        ASSERT_TRUE(master.open());
        ASSERT_TRUE(QSqlQuery(master).exec(QStringLiteral(
            "update [Mst02Error] set [Col01] = [Col01] + 100000 where [Col01] = (select max([Col01]) from [Mst02Error])")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("disagree"));
    ModalScript script;
    script.on<CCourseDlg>([](CCourseDlg* d) { Click(d, "course1Button"); });
    // The menu's guard shows what the launcher throws.
    EXPECT_FALSE(Guarded([this] { launcher->Run(2); }));
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_EQ(folder.notifier.entries.first().icon, MsgIcon::Stop);
    EXPECT_TRUE(messages().first().contains(QStringLiteral("伝票データと伝票誤りデータのカラム[No]の値が違います。")));
    EXPECT_EQ(taskScreens, 0);
    QSqlQuery rows(app->UserDb().database());
    ASSERT_TRUE(rows.exec(QStringLiteral("select count(*) from [History_tbl]")) && rows.next());
    EXPECT_EQ(rows.value(0).toInt(), 0);
}

TEST_F(Launcher, EachCourseLoadsItsOwnDeck) {
    int courseOneCards = 0, courseTwoCards = 0;
    ModalScript script;
    script.on<CCourseDlg>([](CCourseDlg* d) { Click(d, "course1Button"); })
        .on<CMokuhyDlg>([&](CMokuhyDlg* d) {
            courseOneCards = app->CurrentDeck()->GetSize();
            Click(d, "cancelButton");
        })
        .on<CCourseDlg>([](CCourseDlg* d) { Click(d, "course2Button"); })
        .on<CMokuhyDlg>([&](CMokuhyDlg* d) {
            courseTwoCards = app->CurrentDeck()->GetSize();
            EXPECT_EQ(app->HagakiDeck(), nullptr);
            Click(d, "cancelButton");
        })
        .on<CCourseDlg>([](CCourseDlg* d) { Click(d, "cancelButton"); });
    launcher->Run(2);
    EXPECT_TRUE(script.done());
    EXPECT_GT(courseOneCards, 0);
    EXPECT_GT(courseTwoCards, 0);
    EXPECT_NE(courseOneCards, courseTwoCards) << "Mst02 for the skill test, Mst04 for basic training";
}

struct CourseFlow {
    int course;
    bool finalFeedback;
    QStringList screensAfterTask;
};

void PrintTo(const CourseFlow& f, std::ostream* os) {
    *os << "course " << f.course << (f.finalFeedback ? " with final feedback" : "");
}

class LauncherFlow : public Launcher, public ::testing::WithParamInterface<CourseFlow> {};

TEST_P(LauncherFlow, ResultScreensFollowTheCourse) {
    const CourseFlow& flow = GetParam();
    ModalScript script;
    script.on<CCourseDlg>([&](CCourseDlg* d) {
              Click(d, QStringLiteral("course%1Button").arg(flow.course).toLatin1().constData());
          })
        .on<CMokuhyDlg>([&](CMokuhyDlg* d) {
            if (flow.course == 3) {
                fillTargets(d, QStringLiteral("2"), QStringLiteral("1"));
                Child<QCheckBox>(d, "finalFeedbackCheck")->setChecked(flow.finalFeedback);
            }
            Click(d, "nextButton");
        })
        .on<CStartDlg>([](CStartDlg* d) { Click(d, "startButton"); });
    for (const QString& screen : flow.screensAfterTask) {
        if (screen == QLatin1String("CResultDlg"))
            script.on<CResultDlg>([](CResultDlg* d) { Click(d, "okButton"); });
        else
            script.on<CResultListDlg>([](CResultListDlg* d) { Click(d, "backButton"); });
    }
    launcher->Run(2);
    EXPECT_TRUE(script.done()) << script.seen.join(' ').toStdString();
    EXPECT_EQ(script.seen, QStringList({"CCourseDlg", "CMokuhyDlg", "CStartDlg"}) + flow.screensAfterTask);
    EXPECT_EQ(taskScreens, 1);
    EXPECT_FALSE(menuVisibleDuringTask);
    EXPECT_TRUE(menu.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Courses, LauncherFlow,
                         ::testing::Values(CourseFlow{1, false, {}}, CourseFlow{2, false, {"CResultListDlg"}},
                                           CourseFlow{3, true, {"CResultDlg", "CResultListDlg"}},
                                           CourseFlow{3, false, {"CResultListDlg"}}));

TEST_F(Launcher, WithoutAnAnalysedTrialNoResultScreenOpens) {
    launcher->SetTaskScreenRunner([](int, CKaisekiFile&, QWidget*) { return int(QDialog::Rejected); });
    ModalScript script;
    script.on<CCourseDlg>([](CCourseDlg* d) { Click(d, "course2Button"); })
        .on<CMokuhyDlg>([](CMokuhyDlg* d) { Click(d, "nextButton"); })
        .on<CStartDlg>([](CStartDlg* d) { Click(d, "startButton"); });
    launcher->Run(3);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(script.seen, (QStringList{"CCourseDlg", "CMokuhyDlg", "CStartDlg"}));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Launcher, ACourseWithoutCardsIsRefusedBeforeAnythingIsWritten) {
    {
        QSqlDatabase master = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("empty_course"));
        master.setDatabaseName(folder.file(QStringLiteral("Quillon01.mst")));
        ASSERT_TRUE(master.open());
        QSqlQuery q(master);
        ASSERT_TRUE(q.exec(QStringLiteral("delete from Mst04")) && q.exec(QStringLiteral("delete from Mst04Error")));
        master.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("empty_course"));
    launcher->SetTaskScreenRunner(&TaskScreens::Run); // the real screens
    ModalScript script;
    script.on<CCourseDlg>([](CCourseDlg* d) { Click(d, "course2Button"); })
        .on<CCourseDlg>([](CCourseDlg* d) { Click(d, "cancelButton"); });
    launcher->Run(2);
    EXPECT_TRUE(script.done()) << script.seen.join(' ').toStdString();
    EXPECT_EQ(script.seen, (QStringList{"CCourseDlg", "CCourseDlg"})) << "back to the course screen";
    EXPECT_EQ(messages(), QStringList{TaskScreens::NoCardsText()});
    EXPECT_EQ(folder.notifier.entries.value(0).icon, MsgIcon::Exclamation);
    QSqlQuery q(app->UserDb().database());
    ASSERT_TRUE(q.exec(QStringLiteral("select count(*) from History_tbl")) && q.next());
    EXPECT_EQ(q.value(0).toInt(), 0);
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("解析結果"))));
    EXPECT_TRUE(menu.isVisible());
}

} // namespace
