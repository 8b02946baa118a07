#include "ClassroomFiles.h"

#include "ClassroomSettings.h"
#include "DB.h"
#include "DbEngine.h"
#include "ICException.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>

namespace ClassroomFiles {
namespace {
QSqlQuery run(CDB& db, const QString& sql, const QVariantList& values) {
    QSqlQuery q(db.database());
    q.setForwardOnly(true);
    if (!q.prepare(DbEngines::nativeSql(db, sql)))
        throw CDBException(q.lastError().text());
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec())
        throw CDBException(q.lastError().text());
    return q;
}

// The user code is the name of the file's folder.
bool userOf(const QString& path, int* code) {
    bool ok = false;
    *code = QFileInfo(path).dir().dirName().toInt(&ok);
    return ok;
}

// The server's lengths of one user's files, by name.
QHash<QString, qint64> serverLengths(CDB& db, int userCode) {
    QSqlQuery q =
        run(db,
            userCode < 0
                ? QStringLiteral("select [user_code], [file_name], octet_length([bytes]) from [File_tbl]")
                : QStringLiteral("select [user_code], [file_name], octet_length([bytes]) from [File_tbl] "
                                 "where [user_code] = ?"),
            userCode < 0 ? QVariantList{} : QVariantList{userCode});
    QHash<QString, qint64> lengths;
    while (q.next())
        lengths.insert(q.value(0).toString() + '/' + q.value(1).toString(), q.value(2).toLongLong());
    return lengths;
}

void upload(CDB& db, int userCode, const QString& name, const QByteArray& bytes, bool complete) {
    run(db,
        QStringLiteral(
            "insert into [File_tbl] ([user_code], [file_name], [bytes], [written], [complete]) "
            "values (?, ?, ?, ?, ?) on conflict ([user_code], [file_name]) do update set "
            "[bytes] = excluded.[bytes], [written] = excluded.[written], [complete] = excluded.[complete]"),
        {userCode, name, bytes, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
         complete ? 1 : 0});
}
} // namespace

bool send(CDB& server, const QString& path, bool complete) {
    int user = 0;
    if (!userOf(path, &user))
        return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    const QString name = QFileInfo(path).fileName();
    try {
        QSqlQuery q = run(server,
                          QStringLiteral("select octet_length([bytes]), [complete] from [File_tbl] "
                                         "where [user_code] = ? and [file_name] = ?"),
                          {user, name});
        if (q.next() && (q.value(0).toLongLong() > bytes.size() ||
                         (q.value(0).toLongLong() == bytes.size() && (q.value(1).toInt() == 1 || !complete))))
            return true;
        q.finish();
        upload(server, user, name, bytes, complete);
        return true;
    } catch (const CDBException&) {
        return false;
    }
}

void sendIfClassroom(const QString& path, bool complete) {
    if (CDB* server = ClassroomSettings::server())
        send(*server, path, complete);
}

int sendPending(CDB& server, const QString& analysisFolder) {
    const QHash<QString, qint64> lengths = serverLengths(server, -1);
    int sent = 0;
    QDirIterator it(analysisFolder, {QStringLiteral("*.csv")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        int user = 0;
        if (!userOf(path, &user))
            continue;
        const QString key = QString::number(user) + '/' + QFileInfo(path).fileName();
        if (lengths.value(key, -1) >= QFileInfo(path).size())
            continue;
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        // A file left behind belongs to a trial that has ended (completed or recovered).
        upload(server, user, QFileInfo(path).fileName(), f.readAll(), true);
        ++sent;
    }
    return sent;
}

int fetch(CDB& server, const QString& analysisFolder, int userCode) {
    const QHash<QString, qint64> lengths = serverLengths(server, userCode);
    // Every user of the server has a folder, as on the PC that registered or
    // imported them, whether or not a trial has left files yet.
    if (userCode >= 0) {
        QDir().mkpath(analysisFolder + '/' + QString::number(userCode));
    } else {
        QSqlQuery users = run(server, QStringLiteral("select [user_code] from [User_tbl]"), {});
        while (users.next())
            QDir().mkpath(analysisFolder + '/' + users.value(0).toString());
    }
    int fetched = 0;
    for (auto it = lengths.begin(); it != lengths.end(); ++it) {
        const QString local = analysisFolder + '/' + it.key();
        if (QFileInfo(local).size() >= it.value() && QFileInfo::exists(local))
            continue;
        const int slash = it.key().indexOf('/');
        QSqlQuery q =
            run(server,
                QStringLiteral("select [bytes] from [File_tbl] where [user_code] = ? and [file_name] = ?"),
                {it.key().left(slash).toInt(), it.key().mid(slash + 1)});
        if (!q.next())
            continue;
        QDir().mkpath(QFileInfo(local).absolutePath());
        QSaveFile out(local);
        if (!out.open(QIODevice::WriteOnly) || out.write(q.value(0).toByteArray()) < 0 || !out.commit())
            IC_THROW(QStringLiteral("サーバーの解析結果ファイルを %1 に書き込めません。")
                         .arg(QDir::toNativeSeparators(local)));
        ++fetched;
    }
    return fetched;
}
} // namespace ClassroomFiles
