#pragma once
// Export and import of users, their trial history and their analysis files
// between installations, through an export folder holding UserData.ukv,
// History_tbl.tsv and a copy of the analysis folder "解析結果".
#include "DB.h"

#include <QSet>
#include <QString>

class CExport {
public:
    // How an import ended; every failure has been reported when it returns.
    enum class ImportResult {
        Failed,     // nothing more was written after the failure
        Done,
        Incomplete, // written, but some analysis files could not be copied
    };

    // Writes the export of the installation folder `source` into `exportFolder`.
    // False (with a message) when the source has no user database; failures
    // while writing raise CICException (or CDBException from the database).
    // The source database is opened read-only: the folder may be a mounted backup.
    bool Export(const QString& source, const QString& exportFolder);
    // Trials without an end (running or interrupted) the last export left out,
    // with their input-value and analysis-result files.
    int LeftOutTrials() const { return m_leftOut; }

    // Merges an export folder into the running installation (the program
    // folder, with `userDb` its open user database). Users are matched by
    // their kanji names or created; their trials are appended under the local
    // code, one transaction per user; their analysis files are copied.
    ImportResult Import(CDB& userDb, const QString& exportFolder);

private:
    CDB m_source;
    int m_leftOut = 0;
};

// Copies a folder with its sub-folders and files, overwriting files of the
// same name. The first file that cannot be copied is reported (source,
// destination and the system's reason) and ends the copy with false.
// Files listed in `skip` (absolute paths) are not copied.
bool CopyFolder(const QString& from, const QString& to, const QSet<QString>& skip = {});
