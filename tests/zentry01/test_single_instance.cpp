// One running copy: a second start asks the running copy to come forward and
// ends without a message. Checked in process and with real program processes
// started from a copy of the built program in a temporary program folder.
#include "ShellFixture.h"
#include "SingleInstance.h"

#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace shell;

namespace {

// A private temporary folder for the guard's lock and socket, for this process
// and the programs it starts, so that no other copy on the machine interferes.
class PrivateTemp {
public:
    PrivateTemp() : m_previous(qgetenv("TMPDIR")) { qputenv("TMPDIR", m_dir.path().toLocal8Bit()); }
    ~PrivateTemp() {
        if (m_previous.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_previous);
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

QString builtProgram() { return QStringLiteral(ZENTRY_PROGRAM_DIR "/Zentry01"); }

// A copy of the built program in a program folder of its own.
QString copyProgramTo(const QString& folder) {
    const QString target = folder + QStringLiteral("Zentry01");
    EXPECT_TRUE(QFile::exists(builtProgram())) << "build the Zentry01 target first";
    QFile::remove(target);
    EXPECT_TRUE(QFile::copy(builtProgram(), target));
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ExeOwner);
    return target;
}

void startHeadless(QProcess& p, const QString& program) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(e); // carries the private TMPDIR
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, {});
    ASSERT_TRUE(p.waitForStarted(10000)) << p.errorString().toStdString();
}

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
    QTRY_COMPARE(raised.count(), 1);
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
    const QString program = copyProgramTo(folder.path());
    CSingleInstance running(CZentry01App::kInstanceName);
    ASSERT_TRUE(running.acquire());
    QSignalSpy raised(&running, &CSingleInstance::activationRequested);

    QProcess second;
    startHeadless(second, program);
    ASSERT_TRUE(second.waitForFinished(20000)) << "the second copy did not end";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    QTRY_VERIFY(raised.count() >= 1);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("UserData.mdb"))))
        << "the second copy opens no database";
}

TEST(SingleInstance, TwoProgramsLeaveOneRunning) {
    PrivateTemp temp;
    TestFolder folder;
    folder.copyBuiltMaster();
    const QString program = copyProgramTo(folder.path());

    QProcess first;
    startHeadless(first, program);
    // The first copy holds the guard once its lock file exists.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(temp.path() + QStringLiteral("/_QUILLON01_MUTEX.lock")), 20000);
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
    CZentry01App::BringToFront();
    EXPECT_FALSE(screen.isMinimized());
    EXPECT_TRUE(screen.isVisible());
}

} // namespace
