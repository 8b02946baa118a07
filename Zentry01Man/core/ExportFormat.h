#pragma once
// The two text files of an export folder, code page 932 with CR LF line ends
// and TAB-separated fields: UserData.ukv (the users) and History_tbl.tsv (their
// trials). Writers take the source database; the parsers take the files'
// bytes, so they can be checked on any input without a folder.
#include <QByteArray>
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
// The live trials of all users in execution order: a header line of the column
// names, then one line per trial; fields separated by TAB.
QByteArray HistoryTsv(CDB& userDb);

// One user of a management file.
struct UkvUser {
    int code = 0; // the user's code in the exporting installation
    QString kname1, kname2, name1, name2;
    int startNo[3] = {0, 0, 0};
};
// Limits of what an import reads: anything larger is not an export of ours
// and would only exhaust memory.
inline constexpr int kMaxLineBytes = 64 * 1024;
inline constexpr int kMaxNameChars = 60;
inline constexpr int kMaxUsers = 10000;
inline constexpr int kMaxTrialsPerUser = 10000;
// Bytes of the two files: generous for the lines these programs write (a
// user line is under 600 bytes, a trial line under 400).
inline constexpr qint64 kMaxUkvBytes = qint64(kMaxUsers + 1) * 1024;
inline constexpr qint64 MaxHistoryBytes(int users) { return qint64(users) * kMaxTrialsPerUser * 512 + 4096; }

// Why the bytes cannot be read as lines of ours: a line ended by CR alone
// (it would hide every line after it) or a line over kMaxLineBytes; empty when
// none.
QString LineProblem(const QByteArray& bytes);

// The users of a management file; nullopt when it is not one: bad line ends,
// no header, a code that is not a positive number or that repeats an earlier
// line's code (its trials would be imported twice), an empty family or given
// name, a name over kMaxNameChars or holding a TAB or a double quote (it could
// not be exported again), or more than kMaxUsers users. `why` says which.
std::optional<QVector<UkvUser>> ParseUserDataUkv(const QByteArray& bytes, QString* why = nullptr);

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
// nullopt when the file has trials but no user_code column to attach them by,
// a trial whose user_code is not a positive number (it would be left out
// without a word), bad line ends, or a value no trial can have: a negative
// count or target, a rate outside 0 to 100, a delete_flg other than 0 or 1,
// a date that does not exist. `why` names the trial, the column and the value.
std::optional<HistoryFile> ParseHistoryTsv(const QByteArray& bytes, QString* why = nullptr);
// Fills every column of the recordset's row from a trial, except AutoNumber,
// user_code and last_update, which the importing installation assigns. A
// column missing from the file gives 0, an empty text or no date.
void FillHistoryRow(const HistoryFile& file, const QStringList& row, CRsHistory_tbl& rs);

} // namespace ExportFormat
