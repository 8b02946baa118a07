// Printing 300 vouchers four-up on A4 to a PDF printer, as the progress
// screen prints them (75 pages). Goal: under 5 s.
#include "ArrDenpyo.h"
#include "FontSubstitution.h"
#include "PrintWorker.h"

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
void BM_PrintVouchersFourUp(benchmark::State& state) {
    CArrDenpyo deck;
    for (int n = 1; n <= 300; ++n) {
        auto card = std::make_unique<CArrBaseInfo>();
        card->number = n;
        card->correct = {QString::asprintf("C%06d", n * 13), QString::asprintf("P-%05d", n * 7),
                         QString::asprintf("03-%04d-%04d", n, n * 3 % 10000),
                         QStringLiteral("mail%1@example.co.jp").arg(n)};
        deck.Append(std::move(card));
    }
    QTemporaryDir dir;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("vouchers.pdf")));
        PRINT_THREAD_PARAM param;
        param.deck = &deck;
        param.kind = PrintLayout::kVouchers;
        param.paper = PrintLayout::kA4;
        CPrintWorker worker(param, printer);
        benchmark::DoNotOptimize(worker.RunToEnd());
    }
}
BENCHMARK(BM_PrintVouchersFourUp)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
