#include "TestFolder.h"
#include "TestServer.h"

#include "ClassroomSettings.h"
#include "Codec.h"
#include "ProgramFolder.h"
#include "Schema.h"
#include "ICException.h"
#include "ServerSchema.h"
#include "ServerSetup.h"
#include "UserDbServer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <QHash>
#include <QMutex>

#include <atomic>

namespace {
std::atomic<int> g_serverSerial{0};

// Each folder's server database, by folder.
struct ServerDatabase {
    QString name, url;
};
QMutex g_serversMutex;
QHash<const TestFolder*, ServerDatabase> g_servers;

ServerDatabase serverOf(const TestFolder* folder) {
    QMutexLocker lock(&g_serversMutex);
    return g_servers.value(folder);
}

// A connection to the server's own database, for creating and dropping the tests' ones.
template <typename Work> void withAdmin(const QString& url, Work work) {
    QString error;
    const auto server = UserDb::parseUrl(url, &error);
    if (!server) {
        ADD_FAILURE() << "ZENTRY_TEST_PG_URL: " << error.toStdString();
        return;
    }
    const QString name = QStringLiteral("test_pg_admin");
    {
        QSqlDatabase db = UserDb::addConnection(*server, name);
        if (!db.open())
            ADD_FAILURE() << "test server: " << db.lastError().text().toStdString();
        else
            work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
} // namespace

QString testServer() { return qEnvironmentVariable("ZENTRY_TEST_PG_URL"); }

QString serverUrlOf(const TestFolder& folder) { return serverOf(&folder).url; }

QString traineeUrlOf(const TestFolder& folder) {
    const ServerDatabase server = serverOf(&folder);
    const QString login = QStringLiteral("t_") + server.name; // roles are the whole server's
    withAdmin(server.url, [&](QSqlDatabase& db) {
        try {
            ServerSetup::init(db);
        } catch (const CDBException& e) {
            ADD_FAILURE() << "server init: " << e.text().toStdString();
            return;
        }
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("CREATE ROLE %1 LOGIN IN ROLE %2")
                        .arg(login, QLatin1String(ServerSetup::kTraineeRole))))
            ADD_FAILURE() << q.lastError().text().toStdString();
    });
    QUrl url(server.url);
    url.setUserName(login);
    return url.toString();
}

namespace {
void createServerDatabase(TestFolder* folder) {
    const QString admin = testServer();
    ServerDatabase server;
    server.name = QStringLiteral("zt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++g_serverSerial);
    withAdmin(admin, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("CREATE DATABASE %1").arg(server.name)))
            ADD_FAILURE() << q.lastError().text().toStdString();
    });
    QUrl url(admin);
    url.setPath('/' + server.name);
    server.url = url.toString();
    {
        QMutexLocker lock(&g_serversMutex);
        g_servers.insert(folder, server);
    }
    folder->writeIni(QString());
}

void dropServerDatabase(const TestFolder* folder) {
    ServerDatabase server;
    {
        QMutexLocker lock(&g_serversMutex);
        server = g_servers.take(folder);
    }
    if (server.name.isEmpty())
        return;
    withAdmin(testServer(), [&](QSqlDatabase& db) {
        QSqlQuery(db).exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(server.name));
    });
}
} // namespace

TestFolder::TestFolder() {
    m_previous = setNotifier(&notifier);
    setProgramFolder(m_dir.path());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test_template"));
        db.setDatabaseName(file(QStringLiteral("UserData.org")));
        db.open();
        Schema::create(db, Schema::userDatabase());
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test_template"));
    if (!testServer().isEmpty())
        createServerDatabase(this);
}

TestFolder::~TestFolder() {
    dropServerDatabase(this);
    setProgramFolder(QString());
    setNotifier(m_previous);
}

QString TestFolder::path() const { return m_dir.path() + '/'; }

void TestFolder::writeIni(const QString& content) {
    QFile f(file(QStringLiteral("Quillon01.ini")));
    f.open(QIODevice::WriteOnly);
    QString text = content;
    const QString serverUrl = serverUrlOf(*this);
    // The test's own server stays named whatever else the test writes.
    if (!serverUrl.isEmpty() && !text.contains(QLatin1String("[Database]"), Qt::CaseInsensitive))
        text += QStringLiteral("\n[Database]\nuser_db=%1\n").arg(serverUrl);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\n', QLatin1String("\r\n"));
    f.write(cp932::encode(text));
    f.close();
    // On the server the trial conditions are the server's: the ones the test
    // writes go there too.
    if (!serverUrl.isEmpty())
        withAdmin(serverUrl, [&](QSqlDatabase& db) {
            Schema::createOnServer(db);
            QSqlQuery(db).exec(QStringLiteral("delete from \"Settings_tbl\""));
            ClassroomSettings::copyFromIni(db, file(QStringLiteral("Quillon01.ini")));
        });
}

void TestFolder::copyBuiltMaster() {
    QFile::copy(QStringLiteral(ZENTRY_PROGRAM_DIR "/Quillon01.mst"), file(QStringLiteral("Quillon01.mst")));
}
