#include "Schema.h"
#include "ServerSchema.h"

#include "ICException.h"
#include "LiveTrials.h"
#include "SqlDialect.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QRegularExpression>

namespace Schema {
namespace {
QString questionnaire(const QString& table) {
    return QStringLiteral("CREATE TABLE [%1] ([Col01] INTEGER, [Col02] TEXT, [Col03] TEXT, [Col04] TEXT, "
                          "[Col05] TEXT, [Col06] TEXT, [Col07] TEXT, [Col08] TEXT, [Col09] TEXT, [Col10] TEXT, "
                          "[JogaiFlag] INTEGER)")
        .arg(table);
}
QString voucher(const QString& table) {
    return QStringLiteral("CREATE TABLE [%1] ([Col01] INTEGER, [Col02] TEXT, [Col03] TEXT, [Col04] TEXT, "
                          "[Col05] TEXT, [JogaiFlag] INTEGER)")
        .arg(table);
}
} // namespace

namespace {
QStringList embeddedUserDatabase() {
    return QStringList{
        QStringLiteral("CREATE TABLE [User_tbl] ([user_code] INTEGER PRIMARY KEY, [user_kname1] TEXT, "
                       "[user_kname2] TEXT, [user_name1] TEXT, [user_name2] TEXT, [start_no1] INTEGER, "
                       "[start_no2] INTEGER, [start_no3] INTEGER, [first_update] TEXT, [last_update] TEXT, "
                       "[delete_flg] INTEGER)"),
        QStringLiteral("CREATE TABLE [History_tbl] ([AutoNumber] INTEGER PRIMARY KEY, [user_code] INTEGER, "
                       "[problem_code] TEXT, [execution_date] TEXT, [order_flg] TEXT, [end_time] TEXT, "
                       "[display_flg] TEXT, [display_position] TEXT, [progress_flg] TEXT, [timer_flg] TEXT, "
                       "[remainder_flg] TEXT, [graph_flg] TEXT, [zip_flg] TEXT, [sound_flg] TEXT, "
                       "[course_code] TEXT, [answer_number] INTEGER, [answer_koumoku] INTEGER, "
                       "[correct_number] INTEGER, [correct_koumoku] INTEGER, [correct_rate] REAL, "
                       "[correct_rate_koumoku] REAL, [answer_number60] REAL, [answer_koumoku60] REAL, "
                       "[correct_number60] REAL, [correct_koumoku60] REAL, [correct_rate60] REAL, "
                       "[correct_rate_koumoku60] REAL, [target_value] INTEGER, [target_value2] INTEGER, "
                       "[result_code] TEXT, [color_code] TEXT, [end_flg] TEXT, [answer_time] TEXT, "
                       "[first_update] TEXT, [last_update] TEXT, [delete_flg] INTEGER)"),
        QStringLiteral("CREATE INDEX [History_user] ON [History_tbl] ([user_code], [execution_date])"),
    } + LiveTrials::TableStatements() +
           QStringList{QStringLiteral("PRAGMA user_version = %1").arg(kUserDatabaseVersion)};
}

// The embedded statements in the server's words: standard quoting, REAL as
// the 8-byte float it is in the file, no file-format pragma (a server
// database starts in the current format).
QString forServer(const QString& statement) {
    static const QRegularExpression real(QStringLiteral("\\bREAL\\b"));
    QString s = SqlDialect::toStandardQuoting(statement);
    // Every PC may be the first to open a new server database.
    if ((s.startsWith(QLatin1String("CREATE TABLE ")) || s.startsWith(QLatin1String("CREATE INDEX "))) &&
        !s.mid(13).startsWith(QLatin1String("IF NOT EXISTS ")))
        s.insert(13, QLatin1String("IF NOT EXISTS "));
    s.replace(real, QStringLiteral("DOUBLE PRECISION"));
    return s;
}

// What only a classroom's server holds: the trial conditions the instructor
// sets for every PC, and each trial's files, so that any PC reads them.
QStringList serverOnly() {
    return {
        QStringLiteral("CREATE TABLE [Settings_tbl] ([setting_key] TEXT PRIMARY KEY, [setting_value] TEXT)"),
        QStringLiteral("CREATE TABLE [File_tbl] ([user_code] INTEGER, [file_name] TEXT, [bytes] BYTEA, "
                       "[written] TEXT, [complete] INTEGER, PRIMARY KEY ([user_code], [file_name]))"),
    };
}
} // namespace

QStringList userDatabase() { return embeddedUserDatabase(); }

QStringList userDatabase(DbEngine engine) {
    const QStringList statements = embeddedUserDatabase();
    if (engine == DbEngine::SQLite)
        return statements;
    QStringList out;
    for (const QString& s : statements + serverOnly())
        if (!s.startsWith(QLatin1String("PRAGMA")))
            out << forServer(s);
    return out;
}

QStringList serverTables() {
    return {QStringLiteral("User_tbl"), QStringLiteral("History_tbl"), QStringLiteral("Settings_tbl"),
            QStringLiteral("File_tbl"), QStringLiteral("Live_tbl")};
}

QStringList missingOnServer(QSqlDatabase& db) {
    QStringList missing;
    QSqlQuery q(db);
    for (const QString& table : serverTables()) {
        q.prepare(QStringLiteral("select to_regclass(?)"));
        q.addBindValue(QStringLiteral("\"%1\"").arg(table));
        if (!q.exec())
            throw CDBException(q.lastError().text());
        if (!q.next() || q.value(0).isNull())
            missing << table;
        q.finish();
    }
    return missing;
}

void createOnServer(QSqlDatabase& db) {
    if (!db.transaction())
        throw CDBException(db.lastError().text());
    try {
        QSqlQuery q(db);
        // "Already there" is the usual case, not news.
        q.exec(QStringLiteral("SET LOCAL client_min_messages = warning"));
        // Two PCs opening a new server at once: the second waits, then finds the tables.
        if (!q.exec(QStringLiteral("select pg_advisory_xact_lock(%1)").arg(kCreateLockKey)))
            throw CDBException(q.lastError().text());
        create(db, userDatabase(DbEngine::PostgreSQL));
        if (!db.commit())
            throw CDBException(db.lastError().text());
    } catch (const CDBException&) {
        db.rollback();
        throw;
    }
}

QStringList masterDatabase() {
    return {
        questionnaire("Mst01"),
        questionnaire("Mst03"),
        voucher("Mst02"),
        voucher("Mst04"),
        voucher("Mst02Error"),
        voucher("Mst04Error"),
        QStringLiteral("CREATE TABLE [KEN_ALL] ([ID] INTEGER, [DantaiCode] TEXT, [ZipCode5] TEXT, [ZipCode7] TEXT, "
                       "[TodofukenKana] TEXT, [City1Kana] TEXT, [City2Kana] TEXT, [TodofukenKanji] TEXT, "
                       "[City1Kanji] TEXT, [City2Kanji] TEXT, [Flag10] INTEGER, [Flag11] INTEGER, "
                       "[Flag12] INTEGER, [Flag13] INTEGER, [Flag14] INTEGER, [Flag15] INTEGER)"),
        QStringLiteral("CREATE INDEX [KEN_ALL_ZipCode7] ON [KEN_ALL] ([ZipCode7])"),
        QStringLiteral("CREATE TABLE [KEN_ALL_Version] ([ID] INTEGER, [Version] TEXT)"),
    };
}

namespace {
// The text columns (names and codes; dates stay NULL when unset).
const struct {
    const char* table;
    QStringList columns;
} kTextColumns[] = {
    {"User_tbl", {"user_kname1", "user_kname2", "user_name1", "user_name2"}},
    {"History_tbl",
     {"problem_code", "order_flg", "end_time", "display_flg", "display_position", "progress_flg", "timer_flg",
      "remainder_flg", "graph_flg", "zip_flg", "sound_flg", "course_code", "result_code", "color_code", "end_flg",
      "answer_time"}},
};

void exec(QSqlQuery& q, const QString& sql) {
    if (!q.exec(sql))
        throw CDBException(q.lastError().text());
}

int formatVersion(QSqlQuery& q) {
    exec(q, QStringLiteral("PRAGMA user_version"));
    const int version = q.next() ? q.value(0).toInt() : 0;
    q.finish();
    return version;
}
} // namespace

void upgradeUserDatabase(QSqlDatabase& db) {
    QSqlQuery q(db);
    if (formatVersion(q) >= kUserDatabaseVersion)
        return;
    exec(q, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        // The other program may have converted it meanwhile.
        const int version = formatVersion(q);
        if (version < 1) {
            for (const auto& t : kTextColumns)
                for (const QString& c : t.columns)
                    exec(q, QStringLiteral("update [%1] set [%2] = '' where [%2] is null").arg(QLatin1String(t.table), c));
        }
        if (version < 2) {
            for (const QString& s : LiveTrials::TableStatements())
                exec(q, s);
        }
        if (version < kUserDatabaseVersion)
            exec(q, QStringLiteral("PRAGMA user_version = %1").arg(kUserDatabaseVersion));
        exec(q, QStringLiteral("COMMIT"));
    } catch (const CDBException&) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void create(QSqlDatabase& db, const QStringList& statements) {
    QSqlQuery q(db);
    for (const QString& s : statements)
        if (!q.exec(s))
            throw CDBException(q.lastError().text());
}
} // namespace Schema
