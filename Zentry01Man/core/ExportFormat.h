#pragma once
// The two text files of an export folder, code page 932 with CR LF line ends
// and TAB-separated fields: UserData.ukv (the users) and History_tbl.tsv (their
// trials). Writers take the source database; the parsers take the files'
// bytes, so they can be checked on any input without a folder.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class CDB;
class CRsHistory_tbl;

namespace ExportFormat {

// The 36 columns of History_tbl, in the order of the history file.
extern const QStringList kHistoryColumns;

// The live users of the database: a header line, then one line per user, every
// field followed by a TAB.
QByteArray UserDataUkv(CDB& userDb);
// A trial the history file leaves out because it has no end yet.
struct LeftOutTrial {
    int userCode = 0;
    int problemCode = 0;
    QDateTime start;
};
// The live trials of all users in execution order: a header line of the column
// names, then one line per trial; fields separated by TAB. Trials without an
// end are left out (an import would make them finished trials with no card
// done) and, when asked, listed in `leftOut`.
QByteArray HistoryTsv(CDB& userDb, QVector<LeftOutTrial>* leftOut = nullptr);

// One user of a management file.
struct UkvUser {
    int code = 0; // the user's code in the exporting installation
    QString kname1, kname2, name1, name2;
    int startNo[3] = {0, 0, 0};
};
// The users of a management file; nullopt when it is not one: no header, a
// code that is not a positive number, an empty family or given name, or a
// name holding a TAB or a double quote (it could not be exported again).
std::optional<QVector<UkvUser>> ParseUserDataUkv(const QByteArray& bytes);

// The trials of a history file. Columns are found by name, in any order and
// letter case.
struct HistoryFile {
    QStringList header;
    QVector<QStringList> rows;
    // The field index of a column, or -1.
    int Column(const QString& name) const;
    // The user code of a row (0 when not a number).
    int UserCode(const QStringList& row) const;
    // Field index of each column of kHistoryColumns, or -1; set by the parser.
    QVector<int> fieldOf;
};
// nullopt when the file has trials but no user_code column to attach them by.
std::optional<HistoryFile> ParseHistoryTsv(const QByteArray& bytes);
// Fills every column of the recordset's row from a trial, except AutoNumber,
// user_code and last_update, which the importing installation assigns. A
// column missing from the file gives 0, an empty text or no date.
void FillHistoryRow(const HistoryFile& file, const QStringList& row, CRsHistory_tbl& rs);

} // namespace ExportFormat
