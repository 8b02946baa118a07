#pragma once
// Holder of one open database: the master data file (read only) or the user
// database (shared read-write). SQLite files through Qt SQL.
#include <QHash>
#include <QSqlDatabase>
#include <QString>

class QSqlQuery;

class CDB {
public:
    CDB();
    virtual ~CDB();
    CDB(const CDB&) = delete;
    CDB& operator=(const CDB&) = delete;

    // Opens the master data file named by mst_path (or the default). Throws
    // CICException when no file exists or it is not a database.
    void OpenMaster();
    // Opens UserData.mdb, first copying it from UserData.org when missing.
    void OpenUser();
    // Opens the user database of a previous installation read-only:
    // 1 opened, 0 not found (a warning has been shown).
    int OpenPrevious(const QString& folderWithSlash);
    void Close();

    bool IsOpen() const { return m_open; }
    const QString& path() const { return m_path; }
    QSqlDatabase database() const;
    // False when writes cannot succeed: opened read-only or the file is not writable.
    bool canWrite() const;

    // Workspace transactions; throw CDBException when the engine refuses.
    void BeginTrans();
    void CommitTrans();
    void Rollback(); // never throws

    // Postal-code lookups on the master data file.
    int CountZip(const QString& code);                      // count, or -1 / -2 / -3
    int FetchZip(const QString& code, int index, QString& pref, QString& city, QString& town);
    QString ZipDataDate();                                  // "%04d年%2d月%2d日"

    // "1234567" from "123-4567", "123-45-67" or "1234567"; other forms unchanged.
    static QString normaliseZip(const QString& code);

    // A prepared statement kept for the life of the connection (hot lookups).
    QSqlQuery& cachedQuery(const QString& sql);

private:
    // asItLies: read-only without the engine's companion files, for a
    // database in a folder nobody can write to.
    void openFile(const QString& file, bool readOnly, bool asItLies = false);
    void verifyReadable(const QString& what);

    QString m_connection;
    QString m_path;
    bool m_open = false;
    bool m_readOnly = false;
    QHash<QString, QSqlQuery*> m_queries;
};

// The user-facing messages of database access.
namespace DbMessages {
QString notFound(const QString& path);           // "データベース %s が見つかりません。"
QString notUpdatable(const QString& tableName);  // message 119 / 107
} // namespace DbMessages
