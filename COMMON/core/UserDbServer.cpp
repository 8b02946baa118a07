#include "UserDbServer.h"

#include "ICException.h"
#include "PrivateProfile.h"
#include "ProgramFolder.h"

#include <QUrl>
#include <QUrlQuery>

namespace UserDb {
namespace {
// The libpq keywords a classroom may need; anything else (a password above
// all) is refused rather than passed on silently.
const char* const kKnownOptions[] = {"sslmode", "connect_timeout", "application_name",    "sslrootcert",
                                     "sslcert", "sslkey",          "target_session_attrs"};

QString badUrl(const QString& url, const QString& why) {
    return QStringLiteral("Quillon01.ini の [Database] user_db の値 %1 は使えません。\n\n%2\n\n"
                          "例: user_db=postgresql://サーバー名:5432/zentry01?sslmode=prefer")
        .arg(url, why);
}
} // namespace

std::optional<UserDbServer> parseUrl(const QString& text, QString* error) {
    const QString url = text.trimmed();
    const QUrl u(url, QUrl::StrictMode);
    if (!u.isValid() ||
        (u.scheme() != QLatin1String("postgresql") && u.scheme() != QLatin1String("postgres"))) {
        *error = badUrl(url, QStringLiteral("postgresql:// で始まるサーバーの指定ではありません。"));
        return std::nullopt;
    }
    if (!u.password().isEmpty()) {
        *error = badUrl(
            url,
            QStringLiteral("パスワードは ini ファイルに書かないでください（~/.pgpass などを使います）。"));
        return std::nullopt;
    }
    UserDbServer s;
    s.url = url;
    s.host = u.host(QUrl::FullyDecoded);
    s.port = u.port(5432);
    s.user = u.userName(QUrl::FullyDecoded);
    s.database = u.path(QUrl::FullyDecoded).mid(1);
    if (s.host.isEmpty() || s.database.isEmpty() || s.database.contains('/')) {
        *error = badUrl(url, QStringLiteral("サーバー名とデータベース名が必要です。"));
        return std::nullopt;
    }
    QStringList options;
    bool hasTimeout = false;
    for (const auto& [key, value] : QUrlQuery(u).queryItems(QUrl::FullyDecoded)) {
        if (std::find(std::begin(kKnownOptions), std::end(kKnownOptions), key) == std::end(kKnownOptions) ||
            value.contains(';')) {
            *error = badUrl(url, QStringLiteral("%1 は指定できません。").arg(key));
            return std::nullopt;
        }
        hasTimeout = hasTimeout || key == QLatin1String("connect_timeout");
        options << key + '=' + value;
    }
    // A server that does not answer is reported within seconds, not minutes.
    if (!hasTimeout)
        options << QStringLiteral("connect_timeout=10");
    s.options = options.join(';');
    return s;
}

std::optional<UserDbServer> configuredServer(const QString& iniFile) {
    const QString value =
        PrivateProfile::readString(QStringLiteral("Database"), QStringLiteral("user_db"), QString(), iniFile)
            .trimmed();
    if (value.isEmpty())
        return std::nullopt;
    QString error;
    auto server = parseUrl(value, &error);
    if (!server)
        IC_THROW(error);
    return server;
}

std::optional<UserDbServer> configuredServer() {
    return configuredServer(programFolder() + QStringLiteral("Quillon01.ini"));
}

QSqlDatabase addConnection(const UserDbServer& server, const QString& connectionName) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setDatabaseName(server.database);
    if (!server.user.isEmpty())
        db.setUserName(server.user);
    db.setConnectOptions(server.options);
    return db;
}

QString unreachableMessage(const QString& url, const QString& driverText) {
    return QStringLiteral("データベースサーバー %1 に接続できません。\n\n"
                          "サーバーが動いているか、ネットワークにつながっているか、"
                          "Quillon01.ini の [Database] user_db "
                          "の指定とログインの設定（~/.pgpass）を確認してください。\n\n%2")
        .arg(url, driverText.trimmed());
}

QString lostMessage(const QString& url, const QString& driverText) {
    QString text = QStringLiteral("データベースサーバー %1 との接続が切れました。\n\n"
                                  "サーバーが動いているか、ネットワークにつながっているかを確認してください。")
                       .arg(url);
    if (!driverText.trimmed().isEmpty())
        text += QStringLiteral("\n\n") + driverText.trimmed();
    return text;
}
} // namespace UserDb
