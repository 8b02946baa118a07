// A classroom finishing a trial at the same moment: 40 trainee PCs (one
// process each, each its own connection) against one server, and for
// comparison 2 writers on one UserData.mdb. Each PC starts its trial (history
// row), types 60 cards (each line synced locally and sent to the server),
// and then, released together, finishes: closes its input-value file, writes
// an analysis-result file, completes its history row and stores its next
// start number. Reported: the median and worst time of the finishing writes
// of one PC. Afterwards every row, identifier and file is checked; a lost row,
// an identifier given twice or an incomplete file fails the run.
//   ZENTRY_BENCH_PG_URL=postgresql://... build/bench/bench_classroom_load
// (bench/classroom-load.sh starts a throwaway server and runs it.)
#include "AppSub.h"
#include "ArrKaisekiMain.h"
#include "ClassroomFiles.h"
#include "Clock.h"
#include "DB.h"
#include "DbEngine.h"
#include "ExecEnv.h"
#include "InputLog.h"
#include "ProgramFolder.h"
#include "Recordsets.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <set>

namespace {
constexpr int kCards = 60;

void AddLiteUser(CDB& db, int code) {
    CRsUser_tbl rs(&db);
    rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("[User_tbl]"));
    RunWriteTransaction(db, [&] {
        rs.AddNew();
        rs.m_user_code = code;
        rs.m_user_kname1 = QStringLiteral("ヤマダ");
        rs.m_user_kname2 = QStringLiteral("タロウ%1").arg(code);
        rs.m_user_name1 = QStringLiteral("山田");
        rs.m_user_name2 = QStringLiteral("太郎%1").arg(code);
        rs.m_first_update = rs.m_last_update = naiveDateTime(QDate(2026, 3, 1), QTime(8, 0));
        rs.Update();
    });
}

void writeIni(const QString& folder, const QString& url) {
    QFile f(folder + "/Quillon01.ini");
    f.open(QIODevice::WriteOnly);
    if (!url.isEmpty())
        f.write(QStringLiteral("[Database]\r\nuser_db=%1\r\n").arg(url).toUtf8());
}

// One PC: prints "ready" after its trial ran, waits for "go", prints the
// milliseconds its finishing writes took.
int runPc(const QString& folder, int user) {
    setProgramFolder(folder);
    CDB db;
    db.OpenUser();
    CExecEnv env;
    env.user_code = user;
    env.problem_code = 2;
    env.course_code = 1;
    env.order_flg = 1;
    env.end_time = 2;
    const QDateTime start = naiveDateTime(QDate(2026, 4, 1), QTime(9, 0));
    const int autoNumber = env.CreateHistoryRow(db, start);
    if (autoNumber <= 0)
        return 3;
    const QString userFolder = AppSub::AnalysisFolder(true) + '/' + QString::number(user);
    QDir().mkpath(userFolder);
    CInputLog log;
    log.OpenPath(userFolder + QStringLiteral("/20260401_090000_入力値_顧客伝票_%1.csv").arg(user));
    log.WriteLine(CInputLog::HeaderLine(2, 1));
    for (int card = 1; card <= kCards; ++card)
        log.WriteLine(QStringLiteral("09:%1:00,09:%1:30,%1分30秒,,%2,C%3,P-%3,03-0000-%3,u%3@example.jp\n")
                          .arg(card % 60, 2, 10, QChar('0'))
                          .arg(card, 4, 10, QChar('0'))
                          .arg(card, 6, 10, QChar('0')));
    std::printf("ready\n");
    std::fflush(stdout);
    std::string go;
    std::getline(std::cin, go);
    QElapsedTimer timer;
    timer.start();
    log.Close();
    const QString result = userFolder + QStringLiteral("/20260401_090000_解析結果_顧客伝票_%1.csv").arg(user);
    {
        QFile f(result);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray("NO.,正誤\r\n").repeated(kCards));
    }
    if (DbEngines::engineOf(db) == DbEngine::PostgreSQL && !ClassroomFiles::send(db, result, true))
        return 4;
    CArrKaisekiMain_ShikouKai totals;
    if (!env.CompleteHistoryRow(db, autoNumber, totals, 0, QStringLiteral("30分00秒")) ||
        !env.StoreNextStartNumber(db, kCards + 1))
        return 5;
    std::printf("%lld\n", static_cast<long long>(timer.nsecsElapsed() / 1000));
    std::fflush(stdout);
    return 0;
}

// Checks what the PCs left; an empty text when all is there.
QString check(const QString& folder, int pcs) {
    setProgramFolder(folder);
    CDB db;
    db.OpenUser();
    CRsHistory_tbl rs(&db);
    rs.Open(CRecordset::dbOpenSnapshot,
            "select * from [History_tbl] where [delete_flg] <> 1 order by [execution_date], [AutoNumber]");
    std::set<int> numbers, users;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (rs.m_answer_time != QStringLiteral("30分00秒"))
            return QStringLiteral("trial %1 not completed").arg(rs.m_AutoNumber);
        numbers.insert(rs.m_AutoNumber);
        users.insert(rs.m_user_code);
    }
    if (static_cast<int>(numbers.size()) != pcs || static_cast<int>(users.size()) != pcs ||
        rs.GetRecordCount() != pcs)
        return QStringLiteral("%1 rows, %2 identifiers for %3 PCs")
            .arg(rs.GetRecordCount())
            .arg(numbers.size())
            .arg(pcs);
    if (DbEngines::engineOf(db) == DbEngine::PostgreSQL) {
        QSqlQuery q(db.database());
        q.exec(DbEngines::nativeSql(
            db, "select count(*) from [File_tbl] where [complete] = 1 and octet_length([bytes]) > 0"));
        if (!q.next() || q.value(0).toInt() != 2 * pcs)
            return QStringLiteral("%1 complete files for %2 PCs").arg(q.value(0).toInt()).arg(pcs);
        for (int user = 1; user <= pcs; ++user) {
            QSqlQuery f(db.database());
            f.prepare(DbEngines::nativeSql(
                db, "select [file_name], [bytes] from [File_tbl] where [user_code] = ?"));
            f.addBindValue(user);
            f.exec();
            while (f.next()) {
                QFile local(folder + QStringLiteral("/pc%1/解析結果/%1/").arg(user) + f.value(0).toString());
                if (!local.open(QIODevice::ReadOnly) || local.readAll() != f.value(1).toByteArray())
                    return QStringLiteral("file %1 of user %2 differs").arg(f.value(0).toString()).arg(user);
            }
        }
    }
    return {};
}

void classroom(benchmark::State& state, bool server) {
    const int pcs = static_cast<int>(state.range(0));
    const QString url = qEnvironmentVariable("ZENTRY_BENCH_PG_URL");
    if (server && url.isEmpty()) {
        state.SkipWithError("ZENTRY_BENCH_PG_URL is not set (bench/classroom-load.sh starts a server)");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir root;
        QString database;
        QString pcUrl; // none: UserData.mdb in the shared program folder
        if (server) {
            // A database of its own for each run.
            database = QStringLiteral("bench_%1").arg(QCoreApplication::applicationPid());
            QProcess::execute("psql",
                              {url, "-qc", QStringLiteral("DROP DATABASE IF EXISTS %1").arg(database)});
            QProcess::execute("psql", {url, "-qc", QStringLiteral("CREATE DATABASE %1").arg(database)});
            QUrl u(url);
            u.setPath('/' + database);
            pcUrl = u.toString();
        } else {
            QFile::copy(QStringLiteral(ZENTRY_PROGRAM_DIR "/UserData.org"), root.filePath("UserData.mdb"));
            QFile::setPermissions(root.filePath("UserData.mdb"),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        writeIni(root.path(), pcUrl);
        {
            setProgramFolder(root.path());
            CDB db;
            db.OpenUser();
            for (int user = 1; user <= pcs; ++user)
                AddLiteUser(db, user);
        }
        std::vector<std::unique_ptr<QProcess>> procs;
        for (int pc = 1; pc <= pcs; ++pc) {
            // On the server each PC has a program folder of its own; two
            // writers on one PC share the folder and its UserData.mdb.
            const QString folder = server ? root.filePath(QStringLiteral("pc%1").arg(pc)) : root.path();
            QDir().mkpath(folder);
            writeIni(folder, pcUrl);
            auto p = std::make_unique<QProcess>();
            p->start(QCoreApplication::applicationFilePath(), {"--pc", folder, QString::number(pc)});
            procs.push_back(std::move(p));
        }
        for (auto& p : procs)
            while (!p->canReadLine())
                if (!p->waitForReadyRead(60000)) {
                    state.SkipWithError("a PC did not get ready");
                    return;
                }
        for (auto& p : procs)
            p->readLine();
        state.ResumeTiming();
        for (auto& p : procs)
            p->write("go\n");
        std::vector<double> ms;
        for (auto& p : procs) {
            p->waitForFinished(120000);
            const QByteArray out = p->readAllStandardOutput().trimmed();
            if (p->exitCode() != 0 || out.isEmpty()) {
                state.SkipWithError(qPrintable(QStringLiteral("a PC failed (exit %1): %2")
                                                   .arg(p->exitCode())
                                                   .arg(QString::fromUtf8(p->readAllStandardError()))));
                return;
            }
            ms.push_back(out.toDouble() / 1000.0);
        }
        state.PauseTiming();
        const QString problem = check(root.path(), pcs);
        if (!problem.isEmpty()) {
            state.SkipWithError(qPrintable(problem));
            return;
        }
        std::sort(ms.begin(), ms.end());
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["worst_ms"] = ms.back();
        if (server)
            QProcess::execute(
                "psql",
                {url, "-qc", QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database)});
        state.ResumeTiming();
    }
}
} // namespace

BENCHMARK_CAPTURE(classroom, server_40_pcs, true)->Arg(40)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(classroom, sqlite_2_writers, false)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--pc")
        return runPc(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
