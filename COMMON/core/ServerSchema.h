#pragma once
// The user tables on a classroom's server: the same list as the embedded
// file's (Schema::userDatabase), in the server's words, and what only the
// server holds.
#include "DbEngine.h"
#include "Schema.h"

namespace Schema {
// CREATE statements of the user database for engine. One list for both
// engines: a table added to the embedded list is created on the server too.
QStringList userDatabase(DbEngine engine);
// The tables of a server's user database: the embedded file's, Settings_tbl
// (trial conditions) and File_tbl (the trials' files).
QStringList serverTables();
// Creates what the server lacks, in one transaction; throws CDBException
// when the engine refuses (a login without the right).
void createOnServer(QSqlDatabase& db);
// The tables the server lacks (empty: all there).
QStringList missingOnServer(QSqlDatabase& db);
// The server lock held while a server's tables are created.
constexpr long long kCreateLockKey = 0x5a454e5452595343; // "ZENTRYSC"
} // namespace Schema
