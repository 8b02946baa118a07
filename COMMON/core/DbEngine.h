#pragma once
// The engines a user database can live in: the embedded file of one PC
// (UserData.mdb), or a classroom's PostgreSQL server named by the ini. What
// differs between them is asked here.
#include "ICException.h"

#include <QString>

class CDB;
class QSqlError;

enum class DbEngine { SQLite, PostgreSQL };

namespace DbEngines {
DbEngine engineOf(const CDB& db);
// The query set's statement as db's engine reads it.
QString nativeSql(const CDB& db, const QString& sql);
// A failed statement whose cause is a key that exists already (another PC
// took the same identifier).
bool isDuplicateKey(const QSqlError& error);
// The server's lock that stands for the file's write lock.
constexpr qint64 kWriteLockKey = 0x5a454e5452593031; // "ZENTRY01"
} // namespace DbEngines

// An insert refused for a key that exists already: the write may be run again.
class CDBDuplicateKey : public CDBException {
public:
    using CDBException::CDBException;
};
