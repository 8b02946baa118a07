// One running copy: a second start asks the running copy to come forward and
// ends without a message. Checked in process and with real program processes
// started from a copy of the built program in a temporary program folder.
#include "ShellFixture.h"
#include "ProgramProcess.h"
#include "ProgramStart.h"
#include "SingleInstance.h"

#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace shell;

namespace {

TEST(SingleInstance, SecondGuardFailsAndAsksTheFirstToComeForward) {
    PrivateTemp temp;
    const QString name = QStringLiteral("zentry_guard_test");
    CSingleInstance first(name);
    ASSERT_TRUE(first.acquire());
    QSignalSpy raised(&first, &CSingleInstance::activationRequested);
    {
        CSingleInstance second(name);
        EXPECT_FALSE(second.acquire());
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return raised.count() >= 1; }));
    EXPECT_EQ(raised.count(), 1);
}

TEST(SingleInstance, TheGuardIsFreeAgainOnceItsHolderIsGone) {
    PrivateTemp temp;
    const QString name = QStringLiteral("zentry_guard_test");
    {
        CSingleInstance first(name);
        ASSERT_TRUE(first.acquire());
    }
    CSingleInstance next(name);
    EXPECT_TRUE(next.acquire());
}

TEST(SingleInstance, AStartedProgramEndsAtOnceAndRaisesTheRunningCopy) {
    PrivateTemp temp;
    TestFolder folder;
    const QString program = copyProgramTo(folder.path(), QStringLiteral("Zentry01"));
    CSingleInstance running(CZentry01App::kInstanceName);
    ASSERT_TRUE(running.acquire());
    QSignalSpy raised(&running, &CSingleInstance::activationRequested);

    QProcess second;
    startHeadless(second, program);
    ASSERT_TRUE(second.waitForFinished(20000)) << "the second copy did not end";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return raised.count() >= 1; }));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("UserData.mdb"))))
        << "the second copy opens no database";
}

TEST(SingleInstance, TwoProgramsLeaveOneRunning) {
    PrivateTemp temp;
    TestFolder folder;
    folder.copyBuiltMaster();
    const QString program = copyProgramTo(folder.path(), QStringLiteral("Zentry01"));

    QProcess first;
    startHeadless(first, program);
    // The first copy holds the guard once its lock file exists.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(temp.path() + QStringLiteral("/_QUILLON01_MUTEX.lock")); },
                                20000));
    QTest::qWait(300);
    ASSERT_EQ(first.state(), QProcess::Running) << first.readAll().toStdString();

    QProcess second;
    startHeadless(second, program);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished(10000);
}

TEST(StartUp, ADatabaseThatWillNotOpenIsShownAndEndsTheProgram) {
    PrivateTemp temp;
    TestFolder folder; // no master data file in it
    QString shown;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            caption = box->windowTitle();
            icon = box->icon();
            box->accept();
        }
    });
    answer.start(20);
    CZentry01App app;
    EXPECT_EQ(app.Run(), 1);
    EXPECT_TRUE(shown.contains(QStringLiteral("Quillon01.mst"))) << shown.toStdString();
    EXPECT_EQ(caption, QStringLiteral("ソラミ！ミルテア"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_FALSE(QApplication::activeModalWidget()) << "no user selection after the failure";
    StringTable::clear();
}

TEST(SingleInstance, BringToFrontRestoresAMinimisedScreen) {
    QDialog screen;
    screen.setWindowModality(Qt::ApplicationModal);
    screen.show();
    screen.setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(screen.isMinimized());
    BringActiveScreenToFront();
    EXPECT_FALSE(screen.isMinimized());
    EXPECT_TRUE(screen.isVisible());
}

} // namespace
