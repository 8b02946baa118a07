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
#include <QSqlQuery>

namespace ClassroomFiles {
namespace {
// The user code is the name of the file's folder.
bool userOf(const QString& path, int* code) {
    bool ok = false;
    *code = QFileInfo(path).dir().dirName().toInt(&ok);
    return ok;
}

// The server's lengths of one user's files, by name.
QHash<QString, qint64> serverLengths(CDB& db, int userCode) {
    QSqlQuery q =
        db.Run(userCode < 0
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
    db.Run(QStringLiteral(
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
        // A card finds a dropped connection and tries once to open it again
        // (a restarted server takes it at once); while the server stays
        // away the cards do not wait for it, and the file's end tries again.
        if (!complete && server.ConnectionLost())
            return false;
        QSqlQuery q = server.Run(QStringLiteral("select octet_length([bytes]), [complete] from [File_tbl] "
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
        QSqlQuery users = server.Run(QStringLiteral("select [user_code] from [User_tbl]"), {});
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
            server.Run(QStringLiteral("select [bytes] from [File_tbl] where [user_code] = ? and [file_name] = ?"),
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
