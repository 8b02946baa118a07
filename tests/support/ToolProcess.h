#pragma once
// zentry-tool run as a separate process, the way administrators run it.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

inline const QString& ZentryToolPath() {
    static const QString path = QStringLiteral(ZENTRY_PROGRAM_DIR "/zentry-tool");
    return path;
}

inline ToolRun RunZentryTool(const QStringList& args) {
    QProcess p;
    p.start(ZentryToolPath(), args);
    ToolRun r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
        r.err = QStringLiteral("did not finish: ") + p.errorString();
        return r;
    }
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
