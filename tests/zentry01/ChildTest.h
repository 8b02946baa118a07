#pragma once
// This test program started again as a child process that runs one test of
// its own, reports its progress as lines on standard output (marked with "@",
// apart from the test program's own output), and is killed
// with SIGKILL at a moment the parent picks from those reports: no clean-up of
// any kind runs in the child, as when the power goes or the process is killed.
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

class ChildTest {
public:
    // Starts the test `filter` with the extra environment variables.
    ChildTest(const QString& filter, const QList<QPair<QString, QString>>& environment) {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : environment)
            e.insert(name, value);
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process.setProcessEnvironment(e);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--gtest_filter=") + filter});
        EXPECT_TRUE(m_process.waitForStarted(10000));
    }
    ~ChildTest() { kill(); }

    // Reads reports until one satisfies `until`; false when the child ended or
    // went silent for a minute first.
    bool waitFor(const std::function<bool(const QByteArray&)>& until) {
        for (;;) {
            while (m_next < m_reports.size())
                if (until(m_reports.at(m_next++)))
                    return true;
            if (m_process.state() != QProcess::Running || !m_process.waitForReadyRead(60000)) {
                readReports();
                return false;
            }
            readReports();
        }
    }
    void kill() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(10000);
        EXPECT_EQ(m_process.exitStatus(), QProcess::CrashExit)
            << m_process.readAllStandardError().toStdString();
        readReports(); // what it reported before it died
    }
    const QList<QByteArray>& reports() const { return m_reports; }

    // The child's side: one report line, on its way before the child goes on.
    static void report(const QByteArray& line) {
        std::fputc('@', stdout);
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }

private:
    void readReports() {
        m_pending += m_process.readAllStandardOutput();
        qsizetype end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            if (m_pending.startsWith('@'))
                m_reports << m_pending.mid(1, end - 1);
            m_pending.remove(0, end + 1);
        }
    }

    QProcess m_process;
    QByteArray m_pending;
    QList<QByteArray> m_reports;
    qsizetype m_next = 0;
};
