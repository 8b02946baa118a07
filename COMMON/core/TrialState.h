#pragma once
// Whether a trial in the history has ended. The task program creates a trial's
// history row when the trial starts and completes it when the trial ends; in
// between (or for good, when the program was killed) the row holds no result,
// and lists, extremes, comparisons and exports must not take it for a trial
// with no card done.
#include <QString>

class CRsHistory_tbl;

namespace TrialState {
// The task program's single-copy name: its lock tells others that it runs.
inline const QString kTaskProgramInstance = QStringLiteral("_QUILLON01_MUTEX");

// True for a row still in the state its trial was created in.
bool IsUnfinished(const CRsHistory_tbl& row);

// The lock file a program's single running copy holds.
QString InstanceLockPath(const QString& instanceName);

// True while a live process on this machine holds the program's lock. Only
// looks: the lock is never taken, so a copy starting now is not turned away.
bool IsProgramRunning(const QString& instanceName);

// How a list shows a trial without an end: running while the task program
// runs (it closes every left-over trial when it starts, so an unfinished row
// then is its current trial), otherwise interrupted.
QString UnfinishedLabel(bool taskProgramRunning);
} // namespace TrialState
