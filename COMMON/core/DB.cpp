#include "DB.h"

#include "AppSub.h"
#include "ClassroomSettings.h"
#include "Clock.h"
#include "Codec.h"
#include "ICException.h"
#include "Notifier.h"
#include "ProgramFolder.h"
#include "Recordsets.h"
#include "Schema.h"
#include "ServerSchema.h"
#include "SqlDialect.h"
#include "UserDbServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <atomic>
#include <filesystem>
#include <system_error>

namespace DbMessages {
QString notFound(const QString& path) { return QStringLiteral("データベース %1 が見つかりません。").arg(path); }
QString notUpdatable(const QString& tableName) {
    return QStringLiteral("%1 の更新ができません。\n読込専用で開かれていないかチェックしてください。").arg(tableName);
}
} // namespace DbMessages

namespace {
std::atomic<int> g_connectionSerial{0};

// What a holder on a server needs beyond the file's fields, kept beside it.
struct EngineState {
    DbEngine engine = DbEngine::SQLite;
    int busyTimeoutMs = CDB::kBusyTimeoutMs;
    UserDbServer server; // for opening the connection again
    bool inTransaction = false;
};
QMutex g_stateMutex;
QHash<const CDB*, EngineState> g_states;

EngineState stateOf(const CDB* db) {
    QMutexLocker lock(&g_stateMutex);
    return g_states.value(db);
}
void setState(const CDB* db, const EngineState& state) {
    QMutexLocker lock(&g_stateMutex);
    g_states.insert(db, state);
}
void dropState(const CDB* db) {
    QMutexLocker lock(&g_stateMutex);
    g_states.remove(db);
}

// A classroom's server: one connection per holder, the same statements, the
// server's own locking in place of the file's. Throws CICException naming the
// server when it cannot be reached or lacks the tables and cannot make them.
void connectServer(const QString& connection, const UserDbServer& server) {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        IC_THROW(UserDb::unreachableMessage(
            server.url, QStringLiteral("PostgreSQL のドライバー（libqt6sql6-psql）がインストールされていません。")));
    QString failure;
    {
        QSqlDatabase db = UserDb::addConnection(server, connection);
        if (!db.open()) {
            failure = UserDb::unreachableMessage(server.url, db.lastError().text());
        } else {
            try {
                if (!Schema::missingOnServer(db).isEmpty())
                    Schema::createOnServer(db);
            } catch (const CDBException& e) {
                failure = QStringLiteral("データベースサーバー %1 にユーザーデータベースの表がなく、作成もできません。\n\n"
                                         "指導者が zentry-tool server init でサーバーを準備してください。\n\n%2")
                              .arg(server.url, e.text());
            }
        }
        if (!failure.isEmpty())
            db.close();
    }
    if (!failure.isEmpty()) {
        QSqlDatabase::removeDatabase(connection);
        IC_THROW(failure);
    }
}

// The same rule as on the file: one writer at a time, the lock taken as the
// transaction begins so that identifiers read inside it stay free until the
// commit, a wait of one busy timeout repeated kBusyWaits times. The primary
// keys still refuse an identifier given twice by a writer outside this rule.
void beginServerTrans(QSqlDatabase db, int busyTimeoutMs) {
    for (int wait = 1;; ++wait) {
        if (!db.transaction())
            throw CDBException(db.lastError().text());
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SET LOCAL lock_timeout = %1").arg(busyTimeoutMs)) &&
            q.exec(QStringLiteral("select pg_advisory_xact_lock(%1)").arg(DbEngines::kWriteLockKey)))
            return;
        const QSqlError error = q.lastError();
        q.finish();
        db.rollback();
        // 55P03 lock_not_available: the other writer still holds it.
        if (error.nativeErrorCode() != QLatin1String("55P03") || wait == CDB::kBusyWaits)
            throw CDBException(error.text());
    }
}

const QStringList kUserTables = {QStringLiteral("User_tbl"), QStringLiteral("History_tbl")};
const QStringList kMasterTables = {QStringLiteral("Mst01"),      QStringLiteral("Mst02"),      QStringLiteral("Mst03"),
                                   QStringLiteral("Mst04"),      QStringLiteral("Mst02Error"), QStringLiteral("Mst04Error"),
                                   QStringLiteral("KEN_ALL"),    QStringLiteral("KEN_ALL_Version")};
} // namespace

CDB::CDB() : m_connection(QStringLiteral("zentry_db_%1").arg(++g_connectionSerial)) {}

CDB::~CDB() { Close(); }

QSqlDatabase CDB::database() const { return QSqlDatabase::database(m_connection, false); }

bool CDB::canWrite() const {
    if (!m_open || m_readOnly)
        return false;
    if (DbEngines::engineOf(*this) == DbEngine::PostgreSQL)
        return true; // the server's rights decide, statement by statement
    QFileInfo fi(m_path);
    return fi.isWritable() && QFileInfo(fi.absolutePath()).isWritable();
}

void CDB::Close() {
    qDeleteAll(m_queries);
    m_queries.clear();
    m_zipRowsValid = false;
    m_zipRows.clear();
    m_zipQuery.reset();
    if (QSqlDatabase::contains(postalConnection())) {
        QSqlDatabase::database(postalConnection(), false).close();
        QSqlDatabase::removeDatabase(postalConnection());
    }
    if (QSqlDatabase::contains(m_connection)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connection);
    }
    m_open = false;
    dropState(this);
    if (ClassroomSettings::server() == this)
        ClassroomSettings::setServer(nullptr);
}

DbEngine DbEngines::engineOf(const CDB& db) { return stateOf(&db).engine; }

QString DbEngines::nativeSql(const CDB& db, const QString& sql) {
    return engineOf(db) == DbEngine::PostgreSQL ? SqlDialect::toStandardQuoting(sql) : sql;
}

bool DbEngines::isDuplicateKey(const QSqlError& error) {
    const QString code = error.nativeErrorCode();
    // PostgreSQL's unique_violation; SQLite's primary-key and unique constraints.
    return code == QLatin1String("23505") || code == QLatin1String("1555") || code == QLatin1String("2067") ||
           (code == QLatin1String("19") && error.databaseText().contains(QLatin1String("UNIQUE")));
}

void CDB::openFile(const QString& file, bool readOnly, bool asItLies) {
    Close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(asItLies ? QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) + QStringLiteral("?immutable=1")
                                : file);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    if (asItLies)
        options += QStringLiteral(";QSQLITE_OPEN_URI");
    db.setConnectOptions(options);
    m_path = file;
    m_readOnly = readOnly || asItLies;
    if (!db.open())
        throw CDBException(db.lastError().text());
    m_open = true;
}

// SQLite opens any file lazily; read its catalogue now so a damaged or foreign
// file is reported at once, naming the file. The file itself is left as it is:
// a damaged user database may still hold trials worth saving.
void CDB::verifyReadable(const QString& what, const QStringList& tables, bool pages) {
    QSqlQuery q(database());
    QString problem;
    if (!q.exec(QStringLiteral("select [name] from [sqlite_master] where [type] = 'table'"))) {
        problem = q.lastError().text();
    } else {
        QStringList present;
        while (q.next())
            present << q.value(0).toString();
        QStringList missing;
        for (const QString& table : tables)
            if (!present.contains(table, Qt::CaseInsensitive))
                missing << table;
        if (!missing.isEmpty()) {
            problem = QStringLiteral("テーブル %1 がありません。").arg(missing.join(QStringLiteral("、")));
        } else if (pages) {
            // The full check: the quick one does not compare the indexes with
            // their tables, and a damaged History_user index hides trials.
            if (!q.exec(QStringLiteral("PRAGMA integrity_check(1)")))
                problem = q.lastError().text();
            else if (q.next() && q.value(0).toString() != QLatin1String("ok"))
                problem = q.value(0).toString();
        }
    }
    q.finish();
    if (problem.isEmpty())
        return;
    Close();
    IC_THROW(QStringLiteral("%1 %2 を開けません。\n\n%3\n\nファイルは変更していません。ファイルが壊れていないか、"
                            "他のプログラムが使用していないか確認してください。")
                 .arg(what, m_path, problem));
}

void CDB::OpenMaster() {
    const QString defaultPath = sharedDataFolder() + QStringLiteral("Quillon01.mst");
    QString path = AppSub::GetProfileString(QStringLiteral("mst_path"), defaultPath);
    if (!QFileInfo::exists(path)) {
        notifyMessage(QStringLiteral("データベース %1 が見つかりません。\n\n指導者用ユーティリティの「マスターデータ管理」でマスター・データ・ファイル名を確認してください。")
                          .arg(path),
                      MsgIcon::Exclamation);
        path = defaultPath;
    }
    if (!QFileInfo::exists(path))
        IC_THROW(DbMessages::notFound(path));
    openFile(path, true);
    verifyReadable(QStringLiteral("マスター・データ・ファイル"), kMasterTables, false);
}

QString CDB::MasterFileProblem(const QString& path) {
    QStringList missing;
    bool readable = false;
    {
        CDB probe;
        try {
            probe.openFile(path, true);
            QSqlQuery q(probe.database());
            if (q.exec(QStringLiteral("select [name] from [sqlite_master] where [type] = 'table'"))) {
                readable = true;
                QStringList present;
                while (q.next())
                    present << q.value(0).toString();
                for (const QString& table : kMasterTables)
                    if (!present.contains(table, Qt::CaseInsensitive))
                        missing << table;
            }
        } catch (const CDBException&) {
            // Not even opened: said below like any other file that is no database.
        }
    }
    // The driver's own text is English and says nothing to an instructor.
    QString problem;
    if (!readable)
        problem = QStringLiteral("データベースのファイルではありません。");
    else if (!missing.isEmpty())
        problem = QStringLiteral("マスター・データのテーブル %1 がありません。").arg(missing.join(QStringLiteral("、")));
    else
        return {};
    return QStringLiteral("ファイル %1 はマスター・データ・ファイルとして使えません。\n\n%2").arg(path, problem);
}

void CDB::OpenUser() {
    if (const auto server = UserDb::configuredServer()) {
        Close();
        m_path = server->url;
        connectServer(m_connection, *server);
        m_open = true;
        m_readOnly = false;
        setState(this, {DbEngine::PostgreSQL, kBusyTimeoutMs, *server});
        // The classroom's trial conditions and files are the server's from here on.
        ClassroomSettings::setServer(this);
        return;
    }
    const QString path = programFolder() + QStringLiteral("UserData.mdb");
    // Users, trials and their files can only be kept in a folder that takes
    // writes: a read-only one is named before anything else is tried.
    if (!QFileInfo(programFolder()).isWritable())
        IC_THROW(QStringLiteral("プログラムのフォルダ %1 に書き込めないため、ユーザーデータベースを開けません。\n\n"
                                "フォルダが読み込み専用になっていないか確認してください。")
                     .arg(QDir::toNativeSeparators(programFolder())));
    if (!QFileInfo::exists(path)) {
        const QString source = sharedDataFolder() + QStringLiteral("UserData.org");
        std::error_code ec;
        std::filesystem::copy_file(QFile::encodeName(source).toStdString(), QFile::encodeName(path).toStdString(),
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec)
            IC_THROW(QStringLiteral("ファイルのコピーに失敗しました。\n\nコピー元：%1\nコピー先：%2\n\n%3")
                         .arg(source, path, AppSub::SystemErrorText(ec.value())));
    }
    if (!QFileInfo::exists(path))
        IC_THROW(DbMessages::notFound(path));
    // The template may be read-only; the working copy must not be.
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // In a folder shared by a group every member writes the same database.
    ProgramFolder::makeGroupWritable(path);
    openFile(path, false);
    verifyReadable(QStringLiteral("ユーザーデータベース"), kUserTables, true);
    if (canWrite()) {
        // Both programs share the file: readers never block the writer.
        QSqlQuery(database()).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        QSqlDatabase db = database();
        Schema::upgradeUserDatabase(db);
    }
}

int CDB::OpenPrevious(const QString& folderWithSlash) {
    // An installation of a classroom keeps its users on the server its ini names.
    if (const auto server = UserDb::configuredServer(folderWithSlash + QStringLiteral("Quillon01.ini"))) {
        Close();
        m_path = server->url;
        connectServer(m_connection, *server);
        m_open = true;
        m_readOnly = true;
        setState(this, {DbEngine::PostgreSQL, kBusyTimeoutMs, *server});
        return 1;
    }
    const QString path = folderWithSlash + QStringLiteral("UserData.mdb");
    if (!QFileInfo::exists(path)) {
        notifyMessage(QStringLiteral("データベース %1 が見つかりません。インストール先Ver2フォルダを確認してください\n\n").arg(path),
                      MsgIcon::Exclamation);
        return 0;
    }
    openFile(path, true);
    try {
        verifyReadable(QStringLiteral("ユーザーデータベース"), kUserTables, true);
    } catch (const CICException&) {
        // A database in write-ahead mode cannot be read where its companion
        // files cannot be created (a mounted backup, a read-only folder):
        // read it as it lies on disk instead. Only there: beside a write-ahead
        // file, or in a folder that takes writes, the file alone may miss
        // committed trials, and stale data must not pass for the real data.
        const bool readOnlyMedium = !QFileInfo(QFileInfo(path).absolutePath()).isWritable();
        const QString wal = path + QStringLiteral("-wal");
        if (!readOnlyMedium || QFileInfo::exists(wal) || QFileInfo(wal).isSymLink())
            throw;
        openFile(path, true, true);
        verifyReadable(QStringLiteral("ユーザーデータベース"), kUserTables, true);
    }
    return 1;
}

void CDB::BeginTrans() {
    EngineState state = stateOf(this);
    if (state.engine == DbEngine::PostgreSQL) {
        RestoreLostConnection();
        try {
            beginServerTrans(database(), state.busyTimeoutMs);
        } catch (const CDBException&) {
            // The drop of an idle connection shows only when it is next used.
            if (!RestoreLostConnection())
                throw;
            beginServerTrans(database(), state.busyTimeoutMs);
        }
        state.inTransaction = true;
        setState(this, state);
        return;
    }
    QSqlDatabase db = database();
    if (!canWrite()) {
        if (!db.transaction())
            throw CDBException(db.lastError().text());
        return;
    }
    for (int wait = 1;; ++wait) {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return;
        // SQLITE_BUSY: the other program still writes after a whole busy timeout.
        const QSqlError error = q.lastError();
        const bool busy = error.nativeErrorCode() == QLatin1String("5");
        if (busy && s_busyWaitObserver)
            s_busyWaitObserver(wait);
        if (!busy || wait == kBusyWaits)
            throw CDBException(error.text());
    }
}

std::function<void(int)> CDB::s_busyWaitObserver;

void CDB::SetBusyTimeout(int ms) {
    EngineState state = stateOf(this);
    if (state.engine == DbEngine::PostgreSQL) {
        state.busyTimeoutMs = ms;
        setState(this, state);
        return;
    }
    QSqlQuery(database()).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(ms));
}

void CDB::CommitTrans() {
    endTransaction();
    QSqlDatabase db = database();
    if (!db.commit())
        throw CDBException(ConnectionLost() ? lostMessage(db.lastError().text()) : db.lastError().text());
}

void CDB::Rollback() {
    endTransaction();
    QSqlDatabase db = database();
    if (db.isOpen())
        db.rollback();
}

void CDB::endTransaction() {
    EngineState state = stateOf(this);
    if (state.inTransaction) {
        state.inTransaction = false;
        setState(this, state);
    }
}

bool CDB::InTransaction() const { return stateOf(this).inTransaction; }

bool CDB::ConnectionLost() const {
    return m_open && DbEngines::engineOf(*this) == DbEngine::PostgreSQL && !database().isOpen();
}

QString CDB::lostMessage(const QString& driverText) const {
    return UserDb::lostMessage(stateOf(this).server.url, driverText);
}

bool CDB::RestoreLostConnection() {
    if (!ConnectionLost())
        return false;
    endTransaction();
    // Statements prepared on the old connection are gone with it.
    qDeleteAll(m_queries);
    m_queries.clear();
    QSqlDatabase db = database();
    db.close();
    if (!db.open())
        throw CDBException(lostMessage(db.lastError().text()));
    return true;
}

bool RunWriteTransaction(CDB& db, const std::function<void()>& write) {
    constexpr int kTries = 5;
    for (int attempt = 1;; ++attempt) {
        bool begun = false;
        bool committing = false;
        try {
            db.BeginTrans();
            begun = true;
            write();
            committing = true;
            db.CommitTrans();
            return true;
        } catch (const CDBNotUpdatable& e) {
            if (begun)
                db.Rollback();
            notifyMessage(e.text(), MsgIcon::Exclamation);
        } catch (const CDBException& e) {
            if (begun)
                db.Rollback();
            if (dynamic_cast<const CDBDuplicateKey*>(&e) && attempt < kTries)
                continue;
            // The server dropped the connection before the commit: nothing of
            // the write was kept, so it runs again whole on a new connection.
            // A commit whose answer was lost may have been kept: never twice.
            if (db.ConnectionLost() && !committing && attempt < kTries) {
                try {
                    db.RestoreLostConnection();
                    continue;
                } catch (const CDBException& lost) {
                    notifyError(lost.text());
                    return false;
                }
            }
            notifyError(e.text());
        } catch (const CICException& e) {
            if (begun)
                db.Rollback();
            notifyError(e.GetErrorMessage());
        }
        return false;
    }
}

QSqlQuery CDB::Run(const QString& sql, const QVariantList& values) {
    return RunOnceMoreIfLost([&] {
        QSqlQuery q(database());
        q.setForwardOnly(true);
        if (!q.prepare(DbEngines::nativeSql(*this, sql)))
            throw CDBException(q.lastError().text());
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values.at(i));
        if (!q.exec())
            throw CDBException(q.lastError().text());
        return q;
    });
}

QSqlQuery& CDB::cachedQuery(const QString& sql) {
    auto it = m_queries.find(sql);
    if (it != m_queries.end())
        return **it;
    auto* q = new QSqlQuery(database());
    q->setForwardOnly(true);
    if (!q->prepare(DbEngines::nativeSql(*this, sql))) {
        QString text = q->lastError().text();
        delete q;
        throw CDBException(text);
    }
    m_queries.insert(sql, q);
    return *q;
}

QString CDB::normaliseZip(const QString& code) {
    if (code.size() >= 4 && code.at(3) == '-') {
        QString out = code;
        return out.remove('-');
    }
    return code;
}

// The search button counts a code's rows and then fetches one of them (the
// postal list fetches each): the rows of the last code looked up are kept.
// They are the rows of "select * from [KEN_ALL] where [KEN_ALL].[ZipCode7] =
// '%s'", in its order, with the three names the lookups use.
const QVector<CDB::ZipRow>& CDB::zipRows(const QString& zip) {
    if (m_zipRowsValid && m_zipCode == zip)
        return m_zipRows;
    m_zipRowsValid = false;
    m_zipRows.clear();
    QSqlQuery& q = zipQuery();
    q.bindValue(0, zip);
    if (!q.exec())
        throw CDBException(q.lastError().text());
    while (q.next())
        m_zipRows.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
    q.finish();
    m_zipCode = zip;
    m_zipRowsValid = true;
    return m_zipRows;
}

// Nothing writes the postal table while the programs run, and the search
// looks a code up on every click: a connection of its own reads it as an
// unchanging file (no lock, no check for changes per lookup), through a
// statement prepared once.
QSqlQuery& CDB::zipQuery() {
    if (m_zipQuery)
        return *m_zipQuery;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), postalConnection());
    db.setDatabaseName(QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=ro&immutable=1"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
    if (!db.open())
        throw CDBException(db.lastError().text());
    QSqlQuery(db).exec(QStringLiteral("PRAGMA mmap_size = 268435456")); // pages mapped, not read one by one
    auto q = std::make_unique<QSqlQuery>(db);
    if (!q->prepare(QStringLiteral("select [TodofukenKanji], [City1Kanji], [City2Kanji] from [KEN_ALL] "
                                   "where [KEN_ALL].[ZipCode7] = ?")))
        throw CDBException(q->lastError().text());
    m_zipQuery = std::move(q);
    return *m_zipQuery;
}

QString CDB::postalConnection() const { return m_connection + QStringLiteral("_postal"); }

int CDB::CountZip(const QString& code) {
    if (!m_open)
        return -1;
    const QString zip = normaliseZip(code);
    if (cp932::byteLength(zip) != 7)
        return -2;
    try {
        return static_cast<int>(zipRows(zip).size());
    } catch (const CDBException& e) {
        notifyError(e.text());
        return -3;
    }
}

int CDB::FetchZip(const QString& code, int index, QString& pref, QString& city, QString& town) {
    pref.clear();
    city.clear();
    town.clear();
    const QString zip = normaliseZip(code);
    if (!m_open || zip.size() != 7)
        return 0;
    try {
        const QVector<ZipRow>& rows = zipRows(zip);
        if (index >= 0 && index < rows.size()) {
            pref = rows[index].pref;
            city = rows[index].city;
            town = rows[index].town;
        }
        return 1;
    } catch (const CDBException& e) {
        notifyError(e.text());
        return 0;
    }
}

QString CDB::ZipDataDate() {
    if (!m_open)
        return {};
    try {
        CRsKEN_ALL_Version rs(this);
        rs.Open(CRecordset::dbOpenSnapshot, QStringLiteral("select * from [KEN_ALL_Version] order by [KEN_ALL_Version].[ID]"),
                {}, CRecordset::readOnly);
        // Without rows the date is the zero date, as an unset date column reads.
        QDateTime version = naiveDateTime(QDate(1899, 12, 30), QTime(0, 0));
        for (; !rs.IsEOF(); rs.MoveNext())
            version = rs.m_Version;
        rs.Close();
        QDate d = version.isValid() ? version.date() : QDate();
        int y = d.isValid() ? d.year() : -1, m = d.isValid() ? d.month() : -1, day = d.isValid() ? d.day() : -1;
        return QString::asprintf("%04d", y) + QStringLiteral("年") + QString::asprintf("%2d", m) + QStringLiteral("月") +
               QString::asprintf("%2d", day) + QStringLiteral("日");
    } catch (const CDBException& e) {
        notifyError(e.text());
        return {};
    }
}
