// Every screen of the task program fits the common displays: the window with
// its frame inside the available area, every control inside the window, no
// caption clipped, no buttons touching. Each display is one case; every screen
// (each placement and course where it has them) is built and measured in it.
#include "AboutDlg.h"
#include "CourseDlg.h"
#include "DenpyoDlg.h"
#include "GraphDlg.h"
#include "KCPrintImage.h"
#include "KCStaticShintyoku.h"
#include "MokuhyDlg.h"
#include "Result2Dlg.h"
#include "ResultDetailDlg.h"
#include "ResultDlg.h"
#include "ResultListDlg.h"
#include "ScreenFitCheck.h"
#include "ShellFixture.h"
#include "StartDlg.h"
#include "TaskScreens.h"
#include "UserSelectDlg.h"
#include "ZipDlg.h"
#include "Zentry01Dlg.h"

#include <QPushButton>

using namespace shell;
using screenfit::Case;
using screenfit::ExpectFits;

namespace {

// The card beside the fields keeps its texts on the card: no ink in the band
// just inside its frame, where a text drawn too large for a card shrunk with
// its screen runs out (the frame itself is lighter grey).
void ExpectCardTextInside(QWidget* screen, const QString& name) {
    const auto* card = screen->findChild<CKCPrintImage*>(QStringLiteral("cardImage"));
    if (!card || !card->isVisibleTo(screen))
        return;
    const QImage image = card->bitmap();
    const qreal ratio = image.devicePixelRatio();
    const int band = qRound(5 * ratio), frame = qRound(2 * ratio);
    int inked = 0;
    for (int y = frame; y < image.height() - frame; ++y)
        for (int x = frame; x < image.width() - frame; ++x)
            if ((x >= image.width() - frame - band || y >= image.height() - frame - band) &&
                qGray(image.pixel(x, y)) < 100)
                ++inked;
    EXPECT_EQ(inked, 0) << name.toStdString() << ": card text at the edge of a card of "
                        << image.width() << "x" << image.height();
}

// The progress text stays whole inside its box: no ink on the box's last
// rows or columns, where lines drawn too large for a box shrunk with its
// screen are cut off.
void ExpectProgressTextInside(QWidget* screen, const QString& name) {
    auto* progress = screen->findChild<CKCStaticShintyoku*>(QStringLiteral("progressText"));
    if (!progress || !progress->isVisibleTo(screen) || progress->GetText().trimmed().isEmpty())
        return;
    const QImage image = progress->grab().toImage();
    const int edge = qRound(2 * image.devicePixelRatio());
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((x >= image.width() - edge || y >= image.height() - edge) && qGray(image.pixel(x, y)) < 128)
                ++inked;
    EXPECT_EQ(inked, 0) << name.toStdString() << ": progress text cut off at the edge of its box";
}

class ScreenFitTest : public ShellTest, public ::testing::WithParamInterface<Case> {
protected:
    void prepareTrial(int problem, int course, int done) {
        env().problem_code = problem;
        env().course_code = course;
        env().ResetTraineeConditions();
        env().result_code = 2;
        app->CreateDeck(problem, course);
        env().LoadInstructorConditions();
        ASSERT_TRUE(app->ShowSeq().Build(*app->CurrentDeck(), app->UserDb(), env()));
        result = std::make_unique<CKaisekiFile>();
        RunShortTrial(*app, *result, clock, done, false, 0);
        clock.advance(3600);
    }
    std::unique_ptr<CKaisekiFile> result;
};

TEST_P(ScreenFitTest, ShellScreens) {
    screenfit::DisplayScope display(GetParam());
    const Case c = GetParam();
    {
        CUserSelectDlg users(app->UserDb());
        ExpectFits(&users, c, QStringLiteral("user selection"));
        CZentry01Dlg menu;
        ExpectFits(&menu, c, QStringLiteral("menu"));
        auto about = CZentry01Dlg::CreateAbout(app->MasterDb());
        ExpectFits(about.get(), c, QStringLiteral("about"));
        CCourseDlg course;
        ExpectFits(&course, c, QStringLiteral("course"));
    }
    for (int course = 1; course <= 3; ++course) {
        env().problem_code = 2;
        env().course_code = course;
        env().ResetTraineeConditions();
        CMokuhyDlg conditions(env(), 300);
        ExpectFits(&conditions, c, QStringLiteral("conditions, course %1").arg(course));
    }
    for (const char* order : {"1", "2"}) {
        folder.writeIni(QStringLiteral("[Settings]\norder_flg=%1\n").arg(QLatin1String(order)));
        app->CreateDeck(2, 3);
        CStartDlg start(env(), app->UserDb(), *app->CurrentDeck(), app->ShowSeq());
        ExpectFits(&start, c, QStringLiteral("start, order %1").arg(QLatin1String(order)));
    }
    for (bool right : {true, false}) {
        CResult2Dlg check(right, env());
        ExpectFits(&check, c, QStringLiteral("check feedback"));
    }
    for (int task : {1, 2, 3}) {
        prepareTrial(task, task == 2 ? 3 : 2, 4);
        env().graph_flg = 1;
        CResultDlg final(*result, env());
        ExpectFits(&final, c, QStringLiteral("final feedback, task %1").arg(task));
        CResultListDlg list(*result, env(), app->UserDb(), app->MasterDb(), *app->CurrentDeck());
        ExpectFits(&list, c, QStringLiteral("result list, task %1").arg(task));
        CResultDetailDlg detail(*app->CurrentDeck(), app->CurrentDeck()->CardAtPosition(0), task);
        ExpectFits(&detail, c, QStringLiteral("answer detail, task %1").arg(task));
        CGraphDlg graph(*result, env(), app->UserDb(), app->MasterDb());
        ExpectFits(&graph, c, QStringLiteral("graph, task %1").arg(task));
    }
    {
        CZipDlg zip(app->MasterDb(), QStringLiteral("0600000"));
        ExpectFits(&zip, c, QStringLiteral("postal code choice"));
    }
}

// Each task screen in each placement of the card and each course.
TEST_P(ScreenFitTest, TaskScreens) {
    screenfit::DisplayScope display(GetParam());
    const struct {
        const char* name;
        const char* ini;
        bool enlarged;
    } placements[] = {
        {"paper", "display_flg=0\n", false},
        {"left", "display_flg=1\ndisplay_position=1\n", false},
        {"right", "display_flg=1\ndisplay_position=2\n", false},
        {"left enlarged", "display_flg=1\ndisplay_position=1\n", true},
        {"right enlarged", "display_flg=1\ndisplay_position=2\n", true},
    };
    for (int task : {1, 2, 3}) {
        for (const auto& p : placements) {
            for (int course : {1, 2, 3}) {
                folder.writeIni(QStringLiteral("[Settings]\n") + QString::fromLatin1(p.ini));
                env().problem_code = task;
                env().course_code = course;
                env().ResetTraineeConditions();
                env().SetTraineeConditions(1, true, true, true, 20, 10, 1, 1, 1, 2, 1, p.enlarged);
                app->CreateDeck(task, course);
                env().LoadInstructorConditions();
                ASSERT_TRUE(app->ShowSeq().Build(*app->CurrentDeck(), app->UserDb(), env()));
                CKaisekiFile trial;
                std::unique_ptr<CDenpyoDlg> dlg = TaskScreens::Create(task, trial);
                ASSERT_TRUE(dlg->OpenTrial());
                const QString name =
                    QStringLiteral("task %1, %2, course %3").arg(task).arg(QLatin1String(p.name)).arg(course);
                ExpectFits(dlg.get(), GetParam(), name);
                ExpectCardTextInside(dlg.get(), name);
                ExpectProgressTextInside(dlg.get(), name);
                clock.advance(60);
            }
        }
    }
}

class LargeButtonLook : public ShellTest {};

// The labels of the menu start at one x whatever the width of their number,
// and a focused button has one face colour across its whole width.
TEST_F(LargeButtonLook, LabelsLineUpAndTheFocusedFaceIsEven) {
    CZentry01Dlg menu;
    menu.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu));
    QList<int> starts;
    for (const char* name : {"task1Button", "task2Button", "task3Button", "endButton"})
        starts << screenfit::LabelStart(menu.findChild<QPushButton*>(QLatin1String(name)));
    for (int x : starts)
        EXPECT_EQ(x, starts.first()) << starts.size();

    // The focus colour shows when the focus came by the keyboard.
    menu.findChild<QPushButton*>(QStringLiteral("task1Button"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    auto* focused = menu.findChild<QPushButton*>(QStringLiteral("task2Button"));
    ASSERT_TRUE(focused->hasFocus());
    const QImage face = focused->grab().toImage();
    const int y = face.height() / 2;
    EXPECT_EQ(QColor(face.pixel(8, y)), QColor(face.pixel(face.width() - 8, y)));
}

INSTANTIATE_TEST_SUITE_P(CommonDisplays, ScreenFitTest, ::testing::ValuesIn(screenfit::CommonDisplays()),
                         screenfit::CaseName);

} // namespace
