#pragma once
// Holder of one open database: the master data file (read only) or the user
// database (shared read-write). SQLite files through Qt SQL.
#include "ICException.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>

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
    // Why a file cannot serve as master data (a Japanese message naming it),
    // or an empty text when it holds the master tables. Reads only.
    static QString MasterFileProblem(const QString& path);
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
    // On a writable database the write lock is taken as the transaction
    // begins (waiting for the other program's write to end), so what is read
    // inside it stays true until the commit.
    // When the other program holds the lock longer than one busy timeout (a
    // large import), the wait is repeated kBusyWaits times before it fails.
    void BeginTrans();
    void CommitTrans();
    void Rollback(); // never throws
    bool InTransaction() const;

    // A classroom server's connection that a restart of the server or a
    // network failure dropped. Qt's driver closes it at the first statement
    // that finds it gone; a file never loses its connection.
    bool ConnectionLost() const;
    // Opens a lost connection again with the same settings: true when it was
    // lost and is back, false when it was not lost. Throws CDBException naming
    // the server when it still cannot be reached. Any transaction of the lost
    // connection is gone with it.
    bool RestoreLostConnection();

    // Postal-code lookups on the master data file.
    int CountZip(const QString& code);                      // count, or -1 / -2 / -3
    int FetchZip(const QString& code, int index, QString& pref, QString& city, QString& town);
    QString ZipDataDate();                                  // "%04d年%2d月%2d日"

    // "1234567" from "123-4567", "123-45-67" or "1234567"; other forms unchanged.
    static QString normaliseZip(const QString& code);

    // One wait for the other program's lock, in milliseconds.
    static constexpr int kBusyTimeoutMs = 5000;
    static constexpr int kBusyWaits = 6;
    void SetBusyTimeout(int ms);
    // Called with its count after each whole busy timeout BeginTrans waited
    // out, so tests count the waits instead of timing them.
    static std::function<void(int wait)> s_busyWaitObserver;

    // Runs one statement of the query set with its values bound, forward
    // only. A statement outside a write (a read, or an upsert that may run
    // twice) that finds the server's connection dropped is run once more on
    // a connection opened anew. Throws CDBException with the engine's text,
    // or naming a server that is gone.
    QSqlQuery Run(const QString& sql, const QVariantList& values = {});
    // Runs statement (a callable that prepares and executes on database(),
    // throwing CDBException) with the same second chance as Run.
    template <typename Statement> decltype(auto) RunOnceMoreIfLost(Statement&& statement) {
        RestoreLostConnection();
        try {
            return statement();
        } catch (const CDBException&) {
            if (InTransaction() || !RestoreLostConnection())
                throw;
        }
        return statement();
    }

    // A prepared statement kept for the life of the connection (hot lookups).
    QSqlQuery& cachedQuery(const QString& sql);

private:
    void endTransaction();
    QString lostMessage(const QString& driverText) const;
    // asItLies: read-only without the engine's companion files, for a
    // database in a folder nobody can write to.
    void openFile(const QString& file, bool readOnly, bool asItLies = false);
    // Reports a file that is damaged or not a database of the programs (the
    // tables missing) and closes it; pages=true also reads every page.
    void verifyReadable(const QString& what, const QStringList& tables, bool pages);
    // The names of the postal rows of a normalised code; throws CDBException.
    struct ZipRow {
        QString pref, city, town;
    };
    const QVector<ZipRow>& zipRows(const QString& zip);
    QSqlQuery& zipQuery();
    QString postalConnection() const;

    QString m_connection;
    QString m_path;
    bool m_open = false;
    bool m_readOnly = false;
    QHash<QString, QSqlQuery*> m_queries;
    std::unique_ptr<QSqlQuery> m_zipQuery;
    // The rows of the last postal code looked up.
    QString m_zipCode;
    QVector<ZipRow> m_zipRows;
    bool m_zipRowsValid = false;
};

// Runs write inside a transaction of db and commits it. A row that no longer
// matches its statement (changed or deleted by the other program) is reported
// as not updatable (exclamation icon), an engine failure with its own text
// (stop icon); either way the transaction is rolled back and false returned.
// Identifiers taken inside write (next user code, next history number) stay
// free until the commit.
bool RunWriteTransaction(CDB& db, const std::function<void()>& write);

// The user-facing messages of database access.
namespace DbMessages {
QString notFound(const QString& path);           // "データベース %s が見つかりません。"
QString notUpdatable(const QString& tableName);  // message 119 / 107
} // namespace DbMessages
