// Postal lookups on the full KEN_ALL of the built master file: one count plus
// one fetch, as the questionnaire screen does for every search.
#include "DB.h"
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QStringList>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {
CDB* g_master = nullptr;
QStringList g_codes;

void BM_CountAndFetch(benchmark::State& state) {
    QString pref, city, town;
    int i = 0;
    for (auto _ : state) {
        const QString& code = g_codes[i++ % g_codes.size()];
        int n = g_master->CountZip(code);
        if (n > 0)
            g_master->FetchZip(code, 0, pref, city, town);
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CountAndFetch)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CountMissing(benchmark::State& state) {
    // Codes nobody has, a different one each time (the last code's rows are kept).
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(g_master->CountZip(QStringLiteral("000-%1").arg(i++ % 10000, 4, 10, QLatin1Char('0'))));
}
BENCHMARK(BM_CountMissing)->Repetitions(5)->ReportAggregatesOnly(true);
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    setProgramFolder(QStringLiteral(ZENTRY_PROGRAM_DIR));
    CDB master;
    try {
        master.OpenMaster();
    } catch (...) {
        std::fprintf(stderr, "build the master data file first (build/bin/Quillon01.mst)\n");
        return 1;
    }
    QSqlQuery q(master.database());
    q.exec(QStringLiteral("select ZipCode7 from KEN_ALL where ID % 97 = 0"));
    while (q.next())
        g_codes << q.value(0).toString();
    if (g_codes.isEmpty()) {
        std::fprintf(stderr, "KEN_ALL is empty\n");
        return 1;
    }
    g_master = &master;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
