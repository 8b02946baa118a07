#pragma once
// The tables of the user database and the master data file, in column order.
// Used to build UserData.org and the master file, and by tests.
#include <QStringList>

class QSqlDatabase;

// The engines a user database can live in: the embedded file of one PC, or a
// classroom's server.
enum class DbEngine { SQLite, PostgreSQL };

namespace Schema {
// The user database's format (its SQLite user_version): 1 = text and code
// columns hold the empty text, never NULL.
constexpr int kUserDatabaseVersion = 1;
// The server lock held while a server's tables are created.
constexpr long long kCreateLockKey = 0x5a454e5452595343; // "ZENTRYSC"

// CREATE statements of User_tbl and History_tbl, and the format. One list for
// both engines: a table added here is created on the server too.
QStringList userDatabase(DbEngine engine = DbEngine::SQLite);
QStringList masterDatabase(); // Mst01..Mst04, Mst02Error, Mst04Error, KEN_ALL (+ index), KEN_ALL_Version
// Runs the statements on db; throws CDBException on the first failure.
void create(QSqlDatabase& db, const QStringList& statements);
// Creates what the server lacks of the user tables, in one transaction;
// throws CDBException when the engine refuses (a login without the right).
void createOnServer(QSqlDatabase& db);
// The tables of a server's user database: the embedded file's and
// Settings_tbl (trial conditions) and File_tbl (the trials' files).
QStringList serverTables();
// The user tables the server lacks (empty: all there).
QStringList missingOnServer(QSqlDatabase& db);

// Brings a user database written by an earlier build to the current format,
// once, in one transaction: NULL in its text columns becomes the empty text.
// Throws CDBException (nothing changed) when the engine refuses.
void upgradeUserDatabase(QSqlDatabase& db);
} // namespace Schema
