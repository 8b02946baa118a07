#include "TrialState.h"

#include "Recordsets.h"

#include <QDir>
#include <QStandardPaths>
#include <QLockFile>
#include <QSysInfo>

#include <cerrno>
#include <csignal>

bool TrialState::IsUnfinished(const CRsHistory_tbl& row) {
    // Completing a trial always sets last_update to the time it ended, and an
    // ended trial has an end flag, a working time or cards; a created row has
    // none of these.
    return row.m_delete_flg != 1 && row.m_end_flg.isEmpty() && row.m_answer_time.isEmpty() &&
           row.m_answer_number == 0 && row.m_first_update.isValid() &&
           row.m_last_update == row.m_first_update;
}

QString TrialState::InstanceLockPath(const QString& instanceName) {
    // Where the single running copy keeps its lock: the desktop user's runtime
    // folder, so only this user's task program counts as running.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .filePath(instanceName + QStringLiteral(".lock"));
}

bool TrialState::IsProgramRunning(const QString& instanceName) {
    const QLockFile lock(InstanceLockPath(instanceName));
    qint64 pid = 0;
    QString host, app;
    if (!lock.getLockInfo(&pid, &host, &app) || pid <= 0)
        return false;
    // A killed copy leaves its lock file behind with a process id nobody owns.
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

QString TrialState::UnfinishedLabel(bool taskProgramRunning) {
    return taskProgramRunning ? QStringLiteral("実施中") : QStringLiteral("中断");
}
