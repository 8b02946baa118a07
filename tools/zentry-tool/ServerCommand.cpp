#include "ServerCommand.h"

#include "ICException.h"
#include "ServerSetup.h"
#include "UserDbServer.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

using ToolCommand::OptionRule;
using ToolCommand::Result;

QString ServerUsage() {
    return QStringLiteral("usage: zentry-tool server init --url URL\n"
                          "       zentry-tool server migrate --folder PROGRAM_FOLDER --url URL\n"
                          "\n"
                          "init     creates the user tables on a classroom's PostgreSQL server and the\n"
                          "         group roles zentry_instructor (everything) and zentry_trainee (reads\n"
                          "         users and trials, adds and completes trials; no deletion, no change of\n"
                          "         users or of completed trials). Run it as the database's owner.\n"
                          "migrate  copies the users and trials of PROGRAM_FOLDER's UserData.mdb into the\n"
                          "         server's empty tables in one transaction; refuses a server that holds\n"
                          "         any already.\n"
                          "\n"
                          "URL is postgresql://[user@]host[:port]/database[?sslmode=...]; the password\n"
                          "comes from ~/.pgpass or PGPASSFILE.\n"
                          "\n"
                          "Exit status: 0 done, 1 server or database failure, 2 bad arguments.\n");
}

namespace {
// Runs work on an open connection to url; what fails is reported as the reason.
template <typename Work> Result onServer(const QString& url, Work work) {
    QString error;
    const auto server = UserDb::parseUrl(url, &error);
    if (!server)
        return ToolCommand::Failed(error);
    const QString name = QStringLiteral("zentry_tool_server");
    Result result;
    {
        QSqlDatabase db = UserDb::addConnection(*server, name);
        if (!db.open()) {
            result = ToolCommand::Failed(UserDb::unreachableMessage(server->url, db.lastError().text()));
        } else {
            try {
                result = work(db);
            } catch (const CICException& e) {
                result = ToolCommand::Failed(e.GetErrorMessage());
            } catch (const CDBException& e) {
                result = ToolCommand::Failed(e.text());
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

Result init(const QStringList& args) {
    QString error;
    const auto o = ToolCommand::Parse(args, {{"--url", OptionRule::Text}}, &error);
    if (!o)
        return ToolCommand::BadArguments(error);
    if (!o->has("--url"))
        return ToolCommand::BadArguments(QStringLiteral("--url is required"));
    return onServer(o->text("--url"), [&](QSqlDatabase& db) {
        ServerSetup::init(db);
        Result r;
        r.out = QStringLiteral("tables and the roles %1 and %2 are ready on %3\n")
                    .arg(QLatin1String(ServerSetup::kInstructorRole),
                         QLatin1String(ServerSetup::kTraineeRole), o->text("--url"))
                    .toUtf8();
        return r;
    });
}

Result migrate(const QStringList& args) {
    QString error;
    const auto o =
        ToolCommand::Parse(args, {{"--folder", OptionRule::Text}, {"--url", OptionRule::Text}}, &error);
    if (!o)
        return ToolCommand::BadArguments(error);
    if (!o->has("--folder") || !o->has("--url"))
        return ToolCommand::BadArguments(QStringLiteral("--folder and --url are required"));
    const QString path = QDir(o->text("--folder")).absoluteFilePath(QStringLiteral("UserData.mdb"));
    if (!QFileInfo(path).isFile())
        return ToolCommand::Failed(
            QStringLiteral("user database not found: %1").arg(QDir::toNativeSeparators(path)));
    const QString fileConnection = QStringLiteral("zentry_tool_migrate_source");
    Result result;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), fileConnection);
        file.setDatabaseName(path);
        file.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!file.open()) {
            result = ToolCommand::Failed(file.lastError().text());
        } else {
            result = onServer(o->text("--url"), [&](QSqlDatabase& server) {
                const ServerSetup::Copied copied =
                    ServerSetup::migrate(file, QDir(o->text("--folder")).absolutePath(), server);
                Result r;
                r.out = QStringLiteral(
                            "copied %1 users, %2 trials, %3 trial conditions and %4 files from %5 to %6\n")
                            .arg(copied.users)
                            .arg(copied.trials)
                            .arg(copied.conditions)
                            .arg(copied.files)
                            .arg(QDir::toNativeSeparators(path), o->text("--url"))
                            .toUtf8();
                return r;
            });
        }
        file.close();
    }
    QSqlDatabase::removeDatabase(fileConnection);
    return result;
}
} // namespace

Result ServerCommand(const QStringList& args) {
    if (args.isEmpty())
        return ToolCommand::BadArguments(QStringLiteral("init or migrate is required"));
    const QString what = args.first();
    if (what == QLatin1String("init"))
        return init(args.mid(1));
    if (what == QLatin1String("migrate"))
        return migrate(args.mid(1));
    return ToolCommand::BadArguments(QStringLiteral("unknown server command: %1").arg(what));
}
