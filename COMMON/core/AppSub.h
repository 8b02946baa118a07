#pragma once
// Support library shared by both programs: settings, the analysis folder and
// its file names, user lookups and the next key numbers.
#include <QDateTime>
#include <QString>
#include <QVector>

class CDB;

namespace AppSub {

// ---- settings (Quillon01.ini in the program folder)
QString ProfilePath();
int GetProfileInt(const QString& key, int def);                       // section Settings
QString GetProfileString(const QString& key, const QString& def);     // section Settings, up to 2048 bytes
void WriteProfileString(const QString& key, const QString& text);     // section Settings
void WriteProfileInt(const QString& key, int value);                  // section Settings, "%d"
int GetSectionInt(const QString& section, const QString& key, int def);
void WriteSectionInt(const QString& section, const QString& key, int value);
int GetCorvanePass();
// display_flg: the card image is shown on screen (any value but 0).
bool ImageOnScreen();

// ---- folders and file names
QString AnalysisFolder(bool create);                      // program folder + "解析結果"
QString UserFolder(int userCode, bool create);            // analysis folder + "/" + code
enum class CsvKind { InputValues, AnalysisResult };
// The file name alone: "%04d%02d%02d_%02d%02d%02d" + suffix + "_" + name1 + "_" + name2 + ".csv".
QString CsvFileName(CsvKind kind, int problemCode, const QDateTime& start, const QString& name1,
                    const QString& name2);
// User folder (created) + file name, the names read from User_tbl.
QString InputFilePath(CDB& userDb, int problemCode, const QDateTime& start, int userCode);
QString AnalysisFilePath(CDB& userDb, int problemCode, const QDateTime& start, int userCode);
// The start time back from a file name; false when the name does not carry one.
bool DateFromFileName(const QString& path, QDateTime& out);

QString FolderWithSlash(const QString& text);
void SplitPath(const QString& path, QString* drive, QString* dir, QString* name, QString* ext);
bool PathExists(const QString& path);
void DeleteFileQuietly(const QString& path);

// ---- users and key numbers
bool GetUserNames(CDB& userDb, int userCode, QString& kname1, QString& kname2, QString& name1, QString& name2);
bool GetUserDisplayNames(CDB& userDb, int userCode, QString& fullName, QString& fullKana);
struct UserListRow {
    int code = 0;
    QString fullName; // user_name1 + "　" + user_name2
    QString fullKana; // user_kname1 + "　" + user_kname2
};
// Live users in kana order.
QVector<UserListRow> UserList(CDB& userDb);
int NextUserCode(CDB& userDb);
int NextHistoryNumber(CDB& userDb);
bool IsNameFree(CDB& userDb, const QString& kname1, const QString& kname2, const QString& name1,
                const QString& name2);

// ---- system texts
// "エラー %lu が発生しました: %s" with the system's message for errno err.
QString SystemErrorText(int err);

} // namespace AppSub
