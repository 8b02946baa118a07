// The check of the user database when a program opens it, on a database of
// 50 users × 2,000 trials (100,000 trials): the whole open, and the quick and
// the full page check alone. Goal: the open's check under 0.2 s.
#include "BenchUserTemplate.h"
#include "Clock.h"
#include "DB.h"
#include "ProgramFolder.h"
#include "Recordset.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {
constexpr int kUsers = 50;
constexpr int kTrialsPerUser = 2000;

void fill(QSqlDatabase& db) {
    db.transaction();
    QSqlQuery u(db), h(db);
    u.prepare(QStringLiteral("insert into [User_tbl] values (?, 'ヤマダ', 'タロウ', '山田', ?, 1, 1, 1, "
                             "'2026-04-01 09:00:00', '2026-04-01 09:00:00', 0)"));
    h.prepare(QStringLiteral("insert into [History_tbl] values (?, ?, '2', ?, '1', '2', '1', '1', '1', '1', '1', '1', "
                             "'1', '1', '3', 40, 160, 35, 140, 87.5, 87.5, 80.0, 320.0, 70.0, 280.0, 87.5, 87.5, 40, "
                             "35, '3', '6', '', '29分58秒', ?, ?, 0)"));
    int autoNumber = 0;
    const QDateTime day = naiveDateTime(QDate(2026, 4, 1), QTime(9, 0));
    for (int user = 1; user <= kUsers; ++user) {
        u.addBindValue(user);
        u.addBindValue(QStringLiteral("太郎%1").arg(user));
        u.exec();
        for (int t = 0; t < kTrialsPerUser; ++t) {
            const QString date = dateToDb(day.addSecs(qint64(t) * 3600));
            h.addBindValue(++autoNumber);
            h.addBindValue(user);
            h.addBindValue(date);
            h.addBindValue(date);
            h.addBindValue(date);
            if (!h.exec()) {
                std::fprintf(stderr, "setup failed: %s\n", qPrintable(h.lastError().text()));
                std::exit(1);
            }
        }
    }
    db.commit();
}

// CDB::OpenUser as the programs call it at start-up, the check included.
void BM_OpenUser(benchmark::State& state) {
    for (auto _ : state) {
        CDB db;
        db.OpenUser();
        benchmark::DoNotOptimize(db.IsOpen());
    }
}
BENCHMARK(BM_OpenUser)->Unit(benchmark::kMillisecond)->UseRealTime();

void pragma(benchmark::State& state, const char* sql) {
    CDB db;
    db.OpenUser();
    for (auto _ : state) {
        QSqlQuery q(db.database());
        if (!q.exec(QString::fromLatin1(sql)) || !q.next() || q.value(0).toString() != QLatin1String("ok"))
            state.SkipWithError(sql);
    }
}
void BM_QuickCheck(benchmark::State& state) { pragma(state, "PRAGMA quick_check(1)"); }
void BM_IntegrityCheck(benchmark::State& state) { pragma(state, "PRAGMA integrity_check(1)"); }
BENCHMARK(BM_QuickCheck)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IntegrityCheck)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    CreateUserTemplate(dir.path(), fill);
    setProgramFolder(dir.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
