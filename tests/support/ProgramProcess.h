#pragma once
// Real program processes for tests between processes (single running copy,
// both programs on one folder): a copy of a built program in a test's program
// folder, started headless with a private temporary folder for the guards.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A private temporary and runtime folder for the guards' locks and sockets, for
// this process and the programs it starts, so that no other copy on the machine interferes.
class PrivateTemp {
public:
    PrivateTemp() : m_previous(qgetenv("TMPDIR")), m_previousRuntime(qgetenv("XDG_RUNTIME_DIR")) {
        qputenv("TMPDIR", m_dir.path().toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    }
    ~PrivateTemp() {
        restore("TMPDIR", m_previous);
        restore("XDG_RUNTIME_DIR", m_previousRuntime);
    }
    static void restore(const char* name, const QByteArray& value) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    QByteArray m_previousRuntime;
};

// A copy of the built program (Zentry01, Zentry01Man) in a program folder of its own.
inline QString copyProgramTo(const QString& folder, const QString& name) {
    const QString built = QStringLiteral(ZENTRY_PROGRAM_DIR "/") + name;
    const QString target = folder + name;
    EXPECT_TRUE(QFile::exists(built)) << "build the " << name.toStdString() << " target first";
    QFile::remove(target);
    EXPECT_TRUE(QFile::copy(built, target));
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ExeOwner);
    return target;
}

inline void startHeadless(QProcess& p, const QString& program) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(e); // carries the private TMPDIR
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, {});
    ASSERT_TRUE(p.waitForStarted(10000)) << p.errorString().toStdString();
}
