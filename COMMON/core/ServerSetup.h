#pragma once
// Preparing a classroom's server: its tables and the two group roles whose
// rights the PCs' logins take, and the move of a single PC's user database
// onto it.
#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace ServerSetup {
// The group roles; each PC's login is made a member of one of them.
inline constexpr const char* kInstructorRole = "zentry_instructor";
inline constexpr const char* kTraineeRole = "zentry_trainee";

// Creates the tables (when missing) and the two roles (when missing), and
// grants: the instructor may do everything with the user tables; a trainee
// PC may read users and trials, add trials, complete a trial that is not yet
// completed (its result columns only) and move a user's start numbers on,
// and nothing else (no deletion, no change of users or of completed trials).
// Run again it leaves what is there and grants the same. Throws CDBException.
void init(QSqlDatabase& server);

struct Copied {
    int users = 0;
    int trials = 0;
    int conditions = 0; // trial-condition keys of the ini
    int files = 0;      // input-value and analysis-result files
};
// Copies the users and trials of the SQLite user database `file`, the trial
// conditions of the program folder's ini and the files of its analysis
// folder into the server's empty tables, in one transaction. Refuses (CICException, nothing
// copied) when the server holds any user or trial already.
Copied migrate(QSqlDatabase& file, const QString& programFolder, QSqlDatabase& server);
} // namespace ServerSetup
