#include "ServerSetup.h"

#include "ClassroomSettings.h"
#include "ICException.h"
#include "ServerSchema.h"
#include "SqlDialect.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace ServerSetup {
namespace {
void exec(QSqlQuery& q, const QString& sql) {
    if (!q.exec(SqlDialect::toStandardQuoting(sql)))
        throw CDBException(q.lastError().text());
}

// Runs work in one transaction of db; rolled back when it throws.
template <typename Work> void inTransaction(QSqlDatabase& db, Work work) {
    if (!db.transaction())
        throw CDBException(db.lastError().text());
    try {
        work();
        if (!db.commit())
            throw CDBException(db.lastError().text());
    } catch (...) {
        db.rollback();
        throw;
    }
}

// The columns a trial's completion writes (the results, the end and the
// time it took), the only ones a trainee PC may change.
const char* const kCompletionColumns[] = {"answer_number",     "answer_koumoku",   "correct_number",
                                          "correct_koumoku",   "correct_rate",     "correct_rate_koumoku",
                                          "answer_number60",   "answer_koumoku60", "correct_number60",
                                          "correct_koumoku60", "correct_rate60",   "correct_rate_koumoku60",
                                          "end_flg",           "answer_time",      "last_update"};

QString columnList(std::initializer_list<const char*> columns) {
    QStringList out;
    for (const char* c : columns)
        out << QStringLiteral("[%1]").arg(QLatin1String(c));
    return out.join(QStringLiteral(", "));
}

int count(QSqlQuery& q, const QString& table) {
    exec(q, QStringLiteral("select count(*) from [%1]").arg(table));
    const int n = q.next() ? q.value(0).toInt() : 0;
    q.finish();
    return n;
}
} // namespace

void init(QSqlDatabase& server) {
    Schema::createOnServer(server);
    inTransaction(server, [&] {
        QSqlQuery q(server);
        q.exec(QStringLiteral("SET LOCAL client_min_messages = warning"));
        // Roles belong to the whole server: another database may have made them.
        for (const char* role : {kInstructorRole, kTraineeRole})
            exec(q, QStringLiteral("DO $$ BEGIN CREATE ROLE %1 NOLOGIN; "
                                   "EXCEPTION WHEN duplicate_object THEN NULL; END $$")
                        .arg(QLatin1String(role)));
        const QString instructor = QLatin1String(kInstructorRole), trainee = QLatin1String(kTraineeRole);
        const QString all = QStringLiteral("[User_tbl], [History_tbl], [Settings_tbl], [File_tbl], [Live_tbl]");
        exec(q, QStringLiteral("GRANT CONNECT ON DATABASE \"%1\" TO %2, %3")
                    .arg(server.databaseName(), instructor, trainee));
        exec(q, QStringLiteral("GRANT USAGE ON SCHEMA public TO %1, %2").arg(instructor, trainee));
        exec(q, QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON %1 TO %2").arg(all, instructor));
        exec(q, QStringLiteral("REVOKE ALL ON %1 FROM %2").arg(all, trainee));
        exec(q, QStringLiteral("GRANT SELECT ON %1 TO %2").arg(all, trainee));
        exec(q, QStringLiteral("GRANT INSERT ON [History_tbl], [File_tbl] TO %1").arg(trainee));
        // Each PC reports its own trials' progress to the instructor's live view.
        exec(q, QStringLiteral("GRANT INSERT, UPDATE ON [Live_tbl] TO %1").arg(trainee));
        exec(q, QStringLiteral("GRANT UPDATE (%1) ON [User_tbl] TO %2")
                    .arg(columnList({"start_no1", "start_no2", "start_no3", "last_update"}), trainee));
        QStringList completion;
        for (const char* c : kCompletionColumns)
            completion << QStringLiteral("[%1]").arg(QLatin1String(c));
        exec(q,
             QStringLiteral("GRANT UPDATE (%1) ON [History_tbl] TO %2").arg(completion.join(", "), trainee));
        exec(
            q,
            QStringLiteral("GRANT UPDATE ([bytes], [written], [complete]) ON [File_tbl] TO %1").arg(trainee));
        // A trainee PC adds and completes only trials (and their files) that
        // are not completed yet; the instructor's rights are not narrowed.
        const struct {
            const char* table;
            const char* open;
        } rowRules[] = {{"History_tbl", "coalesce([end_flg], '') = ''"}, {"File_tbl", "[complete] = 0"}};
        for (const auto& t : rowRules) {
            const QString table = QLatin1String(t.table), open = QLatin1String(t.open);
            const QString policies[][2] = {
                {QStringLiteral("instructor_all"),
                 QStringLiteral("FOR ALL TO %1 USING (true) WITH CHECK (true)").arg(instructor)},
                {QStringLiteral("trainee_read"),
                 QStringLiteral("FOR SELECT TO %1 USING (true)").arg(trainee)},
                {QStringLiteral("trainee_add"),
                 QStringLiteral("FOR INSERT TO %1 WITH CHECK (true)").arg(trainee)},
                {QStringLiteral("trainee_complete"),
                 QStringLiteral("FOR UPDATE TO %1 USING (%2) WITH CHECK (true)").arg(trainee, open)},
            };
            exec(q, QStringLiteral("ALTER TABLE [%1] ENABLE ROW LEVEL SECURITY").arg(table));
            for (const auto& p : policies) {
                exec(q, QStringLiteral("DROP POLICY IF EXISTS %1 ON [%2]").arg(p[0], table));
                exec(q, QStringLiteral("CREATE POLICY %1 ON [%2] %3").arg(p[0], table, p[1]));
            }
        }
    });
}

Copied migrate(QSqlDatabase& file, const QString& programFolder, QSqlDatabase& server) {
    Copied copied;
    Schema::createOnServer(server);
    inTransaction(server, [&] {
        QSqlQuery target(server);
        exec(target, QStringLiteral("LOCK TABLE [User_tbl], [History_tbl] IN EXCLUSIVE MODE"));
        const int users = count(target, QStringLiteral("User_tbl")),
                  trials = count(target, QStringLiteral("History_tbl"));
        if (users > 0 || trials > 0)
            IC_THROW(QStringLiteral("サーバーのデータベースには既にユーザー %1 人、実施履歴 %2 件があります。"
                                    "移行は空のデータベースにだけ行います（何もコピーしていません）。")
                         .arg(users)
                         .arg(trials));
        for (const QString& table : {QStringLiteral("User_tbl"), QStringLiteral("History_tbl")}) {
            QSqlQuery source(file);
            source.setForwardOnly(true);
            if (!source.exec(QStringLiteral("select * from [%1]").arg(table)))
                throw CDBException(source.lastError().text());
            const QSqlRecord rec = source.record();
            QStringList columns, marks;
            for (int i = 0; i < rec.count(); ++i) {
                columns << QStringLiteral("[%1]").arg(rec.fieldName(i));
                marks << QStringLiteral("?");
            }
            if (!target.prepare(
                    SqlDialect::toStandardQuoting(QStringLiteral("insert into [%1] (%2) values (%3)")
                                                      .arg(table, columns.join(','), marks.join(',')))))
                throw CDBException(target.lastError().text());
            int n = 0;
            while (source.next()) {
                for (int i = 0; i < rec.count(); ++i)
                    target.bindValue(i, source.value(i));
                if (!target.exec())
                    throw CDBException(target.lastError().text());
                ++n;
            }
            (table == QLatin1String("User_tbl") ? copied.users : copied.trials) = n;
        }
        const QDir folder(programFolder);
        copied.conditions =
            ClassroomSettings::copyFromIni(server, folder.filePath(QStringLiteral("Quillon01.ini")));
        // The files of every user folder (named by its user code).
        const QDir analysis(folder.filePath(QStringLiteral("解析結果")));
        if (!target.prepare(SqlDialect::toStandardQuoting(QStringLiteral(
                "insert into [File_tbl] ([user_code], [file_name], [bytes], [written], [complete]) "
                "values (?, ?, ?, ?, 1)"))))
            throw CDBException(target.lastError().text());
        for (const QFileInfo& user : analysis.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            bool ok = false;
            const int code = user.fileName().toInt(&ok);
            if (!ok)
                continue;
            for (const QFileInfo& f :
                 QDir(user.filePath()).entryInfoList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)) {
                QFile in(f.filePath());
                if (!in.open(QIODevice::ReadOnly))
                    IC_THROW(QStringLiteral("%1 を読めません（何もコピーしていません）。")
                                 .arg(QDir::toNativeSeparators(f.filePath())));
                target.bindValue(0, code);
                target.bindValue(1, f.fileName());
                target.bindValue(2, in.readAll());
                target.bindValue(3, f.lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
                if (!target.exec())
                    throw CDBException(target.lastError().text());
                ++copied.files;
            }
        }
    });
    return copied;
}
} // namespace ServerSetup
