// One running copy per desktop user: a second start of the same user asks the
// running copy to come forward and ends without a message; a lock left by a
// dead copy is taken over; a copy that cannot start says why and ends with 1.
// Checked in process and with real program processes started from a copy of
// the built program in a temporary program folder.
#include "ShellFixture.h"
#include "ProgramProcess.h"
#include "ProgramFolder.h"
#include "ProgramStart.h"
#include "SingleInstance.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace shell;

namespace {

TEST(SingleInstance, SecondGuardOfTheSameUserAsksTheFirstToComeForward) {
    PrivateTemp temp;
    const QString name = QStringLiteral("zentry_guard_test");
    CSingleInstance first(name);
    ASSERT_EQ(first.acquire(), CSingleInstance::Start::Acquired);
    EXPECT_EQ(QFileInfo(first.lockPath()).absolutePath(), QFileInfo(temp.path()).absoluteFilePath())
        << "the lock lies in the user's runtime folder";
    QSignalSpy raised(&first, &CSingleInstance::activationRequested);
    {
        CSingleInstance second(name);
        EXPECT_EQ(second.acquire(), CSingleInstance::Start::AlreadyRunning);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return raised.count() >= 1; }));
    EXPECT_EQ(raised.count(), 1);
}

TEST(SingleInstance, EachDesktopUserRunsACopyOfTheirOwn) {
    PrivateTemp temp;
    QTemporaryDir otherUsersRuntime;
    const QString name = QStringLiteral("zentry_guard_test");
    CSingleInstance first(name);
    ASSERT_EQ(first.acquire(), CSingleInstance::Start::Acquired);
    qputenv("XDG_RUNTIME_DIR", otherUsersRuntime.path().toLocal8Bit());
    CSingleInstance other(name);
    EXPECT_EQ(other.acquire(), CSingleInstance::Start::Acquired);
}

// How a later start ends, by what the runtime folder holds.
struct LockCase {
    const char* name;
    enum Kind { ReleasedByItsHolder, LeftByADeadCopy, HeldByACopyThatDoesNotAnswer, FolderUnusable } kind;
    CSingleInstance::Start expected;
    const char* says; // part of the reason shown, or nullptr
};
void PrintTo(const LockCase& c, std::ostream* os) { *os << c.name; }

class GuardStart : public testing::TestWithParam<LockCase> {};

TEST_P(GuardStart, TakesTheLockOrSaysWhy) {
    const LockCase& c = GetParam();
    PrivateTemp temp;
    QString name = QStringLiteral("zentry_guard_test");
    QString folder = temp.path();
    std::unique_ptr<QLockFile> held;
    switch (c.kind) {
    case LockCase::ReleasedByItsHolder: {
        CSingleInstance first(name);
        ASSERT_EQ(first.acquire(), CSingleInstance::Start::Acquired);
        break;
    }
    case LockCase::LeftByADeadCopy: {
        // A copy of the program killed while it holds the lock leaves it behind.
        TestFolder programFolder;
        programFolder.copyBuiltMaster();
        QProcess killed;
        startHeadless(killed, copyProgramTo(programFolder.path(), QStringLiteral("Zentry01")));
        const QString lock = temp.path() + QStringLiteral("/") + CZentry01App::kInstanceName + QStringLiteral(".lock");
        // Its socket is made once the lock is taken and holds the process's
        // name: a lock file killed before that is empty, and never stale.
        const QString socket = temp.path() + QStringLiteral("/") + CZentry01App::kInstanceName + QStringLiteral(".socket");
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(socket); }, 20000));
        killed.kill(); // SIGKILL: no clean-up
        ASSERT_TRUE(killed.waitForFinished(10000));
        ASSERT_TRUE(QFile::exists(lock));
        name = CZentry01App::kInstanceName;
        break;
    }
    case LockCase::HeldByACopyThatDoesNotAnswer:
        held = std::make_unique<QLockFile>(temp.path() + QStringLiteral("/") + name + QStringLiteral(".lock"));
        ASSERT_TRUE(held->tryLock(0));
        break;
    case LockCase::FolderUnusable: {
        // A file where the folder should be: no lock can be made there, not even by root.
        QFile file(temp.path() + QStringLiteral("/not-a-folder"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        folder = file.fileName();
        break;
    }
    }
    CSingleInstance next(name, folder);
    EXPECT_EQ(next.acquire(), c.expected);
    if (c.says) {
        EXPECT_TRUE(next.failureText().contains(QString::fromUtf8(c.says))) << next.failureText().toStdString();
    } else {
        EXPECT_TRUE(next.failureText().isEmpty());
    }
    if (c.kind == LockCase::FolderUnusable) {
        EXPECT_TRUE(next.failureText().contains(next.lockPath())) << "the reason names the lock file";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Locks, GuardStart,
    testing::Values(
        LockCase{"ReleasedByItsHolder", LockCase::ReleasedByItsHolder, CSingleInstance::Start::Acquired, nullptr},
        LockCase{"LeftByADeadCopy", LockCase::LeftByADeadCopy, CSingleInstance::Start::Acquired, nullptr},
        LockCase{"HeldByACopyThatDoesNotAnswer", LockCase::HeldByACopyThatDoesNotAnswer,
                 CSingleInstance::Start::Failed, "応答しません"},
        LockCase{"FolderUnusable", LockCase::FolderUnusable, CSingleInstance::Start::Failed, "起動できません"}),
    [](const testing::TestParamInfo<LockCase>& info) { return std::string(info.param.name); });

TEST(SingleInstance, AStartedProgramEndsAtOnceAndRaisesTheRunningCopy) {
    PrivateTemp temp;
    TestFolder folder;
    const QString program = copyProgramTo(folder.path(), QStringLiteral("Zentry01"));
    CSingleInstance running(CZentry01App::kInstanceName);
    ASSERT_EQ(running.acquire(), CSingleInstance::Start::Acquired);
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

// A start that cannot go on says why, ends with 1 and writes nothing into the
// program folder.
struct RefusedStart {
    const char* name;
    bool outsideTheGroup; // else the guard's lock is held by a copy that never answers
    const char* says;
};
void PrintTo(const RefusedStart& c, std::ostream* os) { *os << c.name; }

class StartRefused : public testing::TestWithParam<RefusedStart> {};

TEST_P(StartRefused, SaysWhyAndWritesNothing) {
    const RefusedStart& c = GetParam();
    PrivateTemp temp;
    TestFolder folder;
    folder.copyBuiltMaster();
    QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    std::unique_ptr<QLockFile> held;
    if (c.outsideTheGroup) {
        // The shared folder as the package makes it, seen by a user outside its group.
        ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 02770), 0);
        ProgramFolder::setIdentityForCheck(ProgramFolder::Identity{54321, {54320}});
    } else {
        held = std::make_unique<QLockFile>(temp.path() + QStringLiteral("/") + CZentry01App::kInstanceName +
                                           QStringLiteral(".lock"));
        ASSERT_TRUE(held->tryLock(0));
    }
    QString shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            icon = box->icon();
            box->accept();
        }
    });
    answer.start(20);
    int code = -1;
    {
        CZentry01App app;
        code = app.Run();
    }
    ProgramFolder::setIdentityForCheck(std::nullopt);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0700);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_TRUE(shown.contains(QString::fromUtf8(c.says))) << shown.toStdString();
    if (c.outsideTheGroup) {
        EXPECT_TRUE(shown.contains(QDir::cleanPath(folder.path()))) << "the message names the folder";
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    StringTable::clear();
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, StartRefused,
    testing::Values(RefusedStart{"OutsideTheFoldersGroup", true, "に加えてもらい"},
                    RefusedStart{"RunningCopyDoesNotAnswer", false, "応答しません"}),
    [](const testing::TestParamInfo<RefusedStart>& info) { return std::string(info.param.name); });

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
