#pragma once
// A classroom's analysis files: each trial's input-value and analysis-result
// files are written to the local analysis folder first (synced line by line,
// nothing completed is lost when the network fails) and copied to the
// server's File_tbl, so that the utility on any PC reads every trainee's
// results. The files only grow while a trial runs, so the longer copy is the
// newer one: a copy is sent or fetched only to make the shorter side whole.
#include <QString>

class CDB;

namespace ClassroomFiles {
// Sends the local file (analysis folder / user code / name) when the server's
// copy is shorter or missing; complete marks the trial's file as finished.
// False when the server could not take it (the local file stays and is sent
// by sendPending at the next start).
bool send(CDB& server, const QString& path, bool complete);
// send() on the classroom's server, when there is one.
void sendIfClassroom(const QString& path, bool complete);

// Sends every local file of analysisFolder that the server lacks or holds
// shorter; returns how many. Throws CDBException.
int sendPending(CDB& server, const QString& analysisFolder);

// Writes the server's files (of one user, or every user when userCode < 0)
// into analysisFolder where the local copy is missing or shorter; returns
// how many. Throws CDBException, CICException when a file cannot be written.
int fetch(CDB& server, const QString& analysisFolder, int userCode = -1);
} // namespace ClassroomFiles
