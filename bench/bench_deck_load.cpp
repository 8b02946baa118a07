// Deck loads from the built master data file, as the launcher does when the
// trainee picks a course and the analysis does at the start of every run: the
// largest tables (300 questionnaire cards; 300 vouchers with their 300 error
// rows). Goal: one load well under 20 ms.
#include "ArrDenpyo.h"
#include "DB.h"
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {
CDB* g_master = nullptr;

template <typename Deck> void BM_LoadDeck(benchmark::State& state) {
    const int course = static_cast<int>(state.range(0));
    int cards = 0;
    for (auto _ : state) {
        Deck deck;
        deck.Load(*g_master, course);
        cards = deck.GetSize();
        benchmark::DoNotOptimize(cards);
    }
    state.counters["cards"] = cards;
    state.SetItemsProcessed(state.iterations() * cards);
}
BENCHMARK_TEMPLATE(BM_LoadDeck, CArrHagaki)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_TEMPLATE(BM_LoadDeck, CArrDenpyo)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
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
    g_master = &master;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
