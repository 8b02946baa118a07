// An installed copy, staged with the build's install rules into a temporary
// prefix: the tree holds what an installation needs, and the program run from
// it writes into the program folder its configuration file names, with
// group-writable files, and nothing beside itself.
#include "ProgramProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(InstalledCopy, AStagedTreeRunsOnTheFolderItsConfigurationNames) {
    PrivateTemp temp;
    QTemporaryDir stage;
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(ZENTRY_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(ZENTRY_BINARY_DIR), QStringLiteral("--prefix"),
                   stage.path()});
    ASSERT_TRUE(install.waitForFinished(20000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();

    const QDir root(stage.path());
    for (const char* file :
         {"bin/Zentry01", "bin/Zentry01Man", "bin/zentry-tool", "share/zentry01/UserData.org",
          "share/zentry01/Quillon01.mst", "share/zentry01/アンケートカード_T_A4.pdf", "share/zentry01/顧客伝票_K_Hagaki.pdf",
          "share/applications/zentry01.desktop", "share/applications/zentry01man.desktop",
          "share/metainfo/zentry01.metainfo.xml", "share/metainfo/zentry01man.metainfo.xml",
          "share/icons/hicolor/48x48/apps/zentry01.png", "share/icons/hicolor/256x256/apps/zentry01man.png",
          "share/icons/hicolor/scalable/apps/zentry01.svg", "share/man/man1/zentry-tool.1", "etc/zentry01/zentry01.conf"})
        EXPECT_TRUE(root.exists(QString::fromUtf8(file))) << file;
    EXPECT_FALSE(root.exists(QStringLiteral("bin/Quillon01.mst"))) << "an installed copy is not a portable one";

    // The machine-wide folder as the package makes it, named by the configuration file.
    QTemporaryDir shared;
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 02770), 0);
    const QString conf = temp.path() + QStringLiteral("/zentry01.conf");
    {
        QFile f(conf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("# the classroom's folder\nfolder=" + QFile::encodeName(shared.path()) + "\n");
    }
    const mode_t previousMask = ::umask(022);
    QProcess program;
    program.setProcessEnvironment([&] {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        e.insert(QStringLiteral("ZENTRY01_CONF"), conf);
        return e;
    }());
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(root.filePath(QStringLiteral("bin/Zentry01")), {});
    ::umask(previousMask);
    ASSERT_TRUE(program.waitForStarted(10000));
    // The user database is open (and the user selection shown) once its
    // shared-memory file exists.
    const QString db = shared.path() + QStringLiteral("/UserData.mdb");
    const bool opened = QTest::qWaitFor([&] { return QFileInfo::exists(db + QStringLiteral("-shm")); }, 20000);
    const QByteArray output = program.state() == QProcess::Running ? QByteArray() : program.readAll();
    program.kill();
    program.waitForFinished(10000);
    ASSERT_TRUE(opened) << output.toStdString();

    for (const QString& path : {db, db + QStringLiteral("-wal"), db + QStringLiteral("-shm")}) {
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
        EXPECT_EQ(st.st_mode & 060, 060u) << path.toStdString() << " is not group read-write";
    }
    EXPECT_FALSE(root.exists(QStringLiteral("bin/UserData.mdb")));
    EXPECT_EQ(QDir(root.filePath(QStringLiteral("share/zentry01"))).entryList(QDir::Files).size(), 10)
        << "the shipped files stay as installed";
}

} // namespace
