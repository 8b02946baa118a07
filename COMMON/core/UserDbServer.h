#pragma once
// Which engine holds the user database: the [Database] user_db key of the
// program folder's ini names a PostgreSQL server for a classroom; without it
// the user database is UserData.mdb in the program folder. Credentials never
// stand in the ini: libpq's ~/.pgpass, PGPASSFILE or the server's own
// authentication supply them.
#include <QSqlDatabase>
#include <QString>

#include <optional>

struct UserDbServer {
    QString host; // name, address, or a socket folder
    int port = 5432;
    QString database;
    QString user;    // empty: libpq's default (PGUSER or the login name)
    QString options; // libpq keywords for Qt's driver, "sslmode=prefer;connect_timeout=10"
    QString url;     // as written in the ini, for messages
};

namespace UserDb {
// "postgresql://[user@]host[:port]/database[?key=value&...]" (also "postgres://").
// Returns nothing and sets *error (Japanese) for any other form, and for a
// password in the text.
std::optional<UserDbServer> parseUrl(const QString& url, QString* error);

// The key of iniFile; nothing when it is absent or empty. Throws CICException
// for a key that is there but cannot be used.
std::optional<UserDbServer> configuredServer(const QString& iniFile);

// The ini of the program folder.
std::optional<UserDbServer> configuredServer();

// A connection of Qt's PostgreSQL driver to the server, named connectionName,
// set up but not yet opened.
QSqlDatabase addConnection(const UserDbServer& server, const QString& connectionName);

// "データベースサーバー %1 に接続できません。..." with the driver's own text.
QString unreachableMessage(const QString& url, const QString& driverText);
// "データベースサーバー %1 との接続が切れました。..." for a connection lost while in use.
QString lostMessage(const QString& url, const QString& driverText);
} // namespace UserDb
