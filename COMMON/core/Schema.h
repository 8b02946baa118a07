#pragma once
// The tables of the user database and the master data file, in column order.
// Used to build UserData.org and the master file, and by tests.
#include <QStringList>

class QSqlDatabase;

namespace Schema {
// The user database's format (its SQLite user_version): 1 = text and code
// columns hold the empty text, never NULL; 2 = the live state of running trials.
constexpr int kUserDatabaseVersion = 2;

QStringList userDatabase();   // CREATE statements of User_tbl, History_tbl and Live_tbl, and the format
QStringList masterDatabase(); // Mst01..Mst04, Mst02Error, Mst04Error, KEN_ALL (+ index), KEN_ALL_Version
// Runs the statements on db; throws CDBException on the first failure.
void create(QSqlDatabase& db, const QStringList& statements);
// Brings a user database written by an earlier build to the current format,
// once, in one transaction: NULL in its text columns becomes the empty text,
// and the table of the trials' live state is added.
// Throws CDBException (nothing changed) when the engine refuses.
void upgradeUserDatabase(QSqlDatabase& db);
} // namespace Schema
