// The instructor utility's lists over a large user database:
// - BM_UserComparison: 500 users with 50 skill-test trials each (and as many
//   trials of other courses and tasks, which the comparison passes over),
//   ranked for one task and level;
// - BM_HistoryList: the trial-history list of one user with 2,000 trials
//   (reading, extremes and the 19 cell texts of every row).
#include "ArrUserHikaku.h"
#include "BenchUserTemplate.h"
#include "Clock.h"
#include "DB.h"
#include "HistoryList.h"
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {
constexpr int kUsers = 500;
constexpr int kSkillTrialsPerUser = 50;
constexpr int kHistoryUser = kUsers + 1;
constexpr int kHistoryTrials = 2000;

CDB* g_user = nullptr;

void execOrDie(QSqlQuery& q) {
    if (!q.exec()) {
        std::fprintf(stderr, "setup failed: %s\n", qPrintable(q.lastError().text()));
        std::exit(1);
    }
}

// Every column filled, as a finished trial leaves its row.
void addTrial(QSqlQuery& q, int id, int user, int task, int course, int n) {
    const QDateTime executed = naiveDateTime(QDate(2025, 4, 1), QTime(9, 0, 0)).addSecs(qint64(n) * 3600);
    const QString stamp = executed.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const int work = 20 + (id * 7919) % 60;
    const double rate = 50 + (id * 104729) % 500 / 10.0;
    const QVariantList values{id, user, QString::number(task), stamp, "1", "2", "1", "1", "1", "1", "", "1", "1",
                              "", QString::number(course), work, work * 9, work / 2, work * 8, rate, rate + 1,
                              work * 2.0, work * 18.0, work * 1.0, work * 16.0, rate, rate + 1, 0, 0, "", "",
                              n % 17 == 0 ? "1" : "", "29分58秒", stamp, stamp, 0};
    for (const QVariant& v : values)
        q.addBindValue(v);
    execOrDie(q);
}

void writeUsers(QSqlDatabase db) {
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("insert into User_tbl values (?,?,?,?,?,0,0,0,'2025-04-01 09:00:00','2025-04-01 "
                             "09:00:00',0)"));
    for (int u = 1; u <= kHistoryUser; ++u) {
        for (const QVariant& v : QVariantList{u, QStringLiteral("ヤマダ"), QStringLiteral("タロウ%1").arg(u),
                                              QStringLiteral("山田"), QStringLiteral("太郎%1").arg(u)})
            q.addBindValue(v);
        execOrDie(q);
    }
    q.prepare(QStringLiteral("insert into History_tbl values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
                             "?,?,?,?,?,?,?,?)"));
    int id = 0;
    for (int u = 1; u <= kUsers; ++u) {
        for (int t = 0; t < 2 * kSkillTrialsPerUser; ++t) {
            // Every other trial is a skill test of task 1; the rest other courses or tasks.
            const bool skill = t % 2 == 0;
            addTrial(q, ++id, u, skill ? 1 : 1 + t % 3, skill ? 1 : 2 + t % 2, t);
        }
    }
    for (int t = 0; t < kHistoryTrials; ++t)
        addTrial(q, ++id, kHistoryUser, 1, 1 + t % 3, t);
    db.commit();
}

void BM_UserComparison(benchmark::State& state) {
    for (auto _ : state) {
        CArrUserHikaku cmp;
        if (!cmp.Compute(*g_user, 1, CArrUserHikaku::CardLevel) || cmp.Users().size() != kHistoryUser) {
            state.SkipWithError("comparison failed");
            return;
        }
        benchmark::DoNotOptimize(cmp.CsvBytes());
    }
}
BENCHMARK(BM_UserComparison)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_HistoryList(benchmark::State& state) {
    HistoryFilter filter;
    filter.trialTime = HistoryFilter::Converted60;
    for (auto _ : state) {
        CHistoryList list;
        if (!list.Load(*g_user, kHistoryUser, filter) || list.Rows().empty()) {
            state.SkipWithError("history list failed");
            return;
        }
    }
}
BENCHMARK(BM_HistoryList)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    CreateUserTemplate(dir.path(), writeUsers);
    CDB user;
    user.OpenUser();
    g_user = &user;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
