#pragma once
// The tables of the user database and the master data file, in column order.
// Used to build UserData.org and the master file, and by tests.
#include <QStringList>

class QSqlDatabase;

namespace Schema {
QStringList userDatabase();   // CREATE statements of User_tbl and History_tbl
QStringList masterDatabase(); // Mst01..Mst04, Mst02Error, Mst04Error, KEN_ALL (+ index), KEN_ALL_Version
// Runs the statements on db; throws CDBException on the first failure.
void create(QSqlDatabase& db, const QStringList& statements);
} // namespace Schema
