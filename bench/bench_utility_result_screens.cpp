// Opening the utility's trial-history screen and its basic result screen for
// a user with 2,000 trials (voucher correction, 40 cards each), from
// construction until the shown screen has handled its queued events. Run
// headless: QT_QPA_PLATFORM=offscreen build/bench/bench_utility_result_screens
#include "ArrDenpyo.h"
#include "BenchUserTemplate.h"
#include "Clock.h"
#include "Codec.h"
#include "DB.h"
#include "OutMainDlg.h"
#include "ProgramFolder.h"
#include "RirekiDlg.h"
#include "AppSub.h"

#include <QApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {
constexpr int kTrials = 2000;
constexpr int kCards = 40;

CDB* g_user = nullptr;
CDB* g_master = nullptr;

void execOrDie(QSqlQuery& q) {
    if (!q.exec()) {
        std::fprintf(stderr, "setup failed: %s\n", qPrintable(q.lastError().text()));
        std::exit(1);
    }
}

// Skill tests of 30 minutes, every column filled, each with its input-value file.
void writeTrials() {
    CArrDenpyo deck;
    deck.Load(*g_master, 1);
    QSqlDatabase db = g_user->database();
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("insert into User_tbl values (1,'ヤマダ','タロウ','山田','太郎',0,0,0,'2025-04-01 "
                             "09:00:00','2025-04-01 09:00:00',0)"));
    execOrDie(q);
    q.prepare(QStringLiteral("insert into History_tbl values (?,1,'2',?,'1','2','1','1','1','1','','1','1','','1',?,?,?,?,"
                             "?,?,?,?,?,?,?,?,0,0,'','','','29分58秒',?,?,0)"));
    const QDateTime first = naiveDateTime(QDate(2024, 4, 1), QTime(9, 0, 0));
    for (int t = 1; t <= kTrials; ++t) {
        const QDateTime executed = first.addSecs(qint64(t) * 3600);
        const QString stamp = executed.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const int correct = kCards - t % 5;
        for (const QVariant& v : QVariantList{t, stamp, kCards, kCards * 4, correct, kCards * 4 - t % 5,
                                               correct * 100.0 / kCards, 95.0, kCards * 2.0, kCards * 8.0, correct * 2.0,
                                               kCards * 8.0 - 2, correct * 100.0 / kCards, 95.0, stamp, stamp})
            q.addBindValue(v);
        execOrDie(q);

        QByteArray bytes = cp932::encode(QStringLiteral("開始時刻,終了時刻,経過時間,評価除外フラグ,NO.,顧客コード,商品コード,"
                                                        "電話番号,メールアドレス\r\n"));
        for (int c = 0; c < kCards; ++c) {
            const CArrBaseInfo& card = deck.at((t + c) % deck.GetSize());
            QStringList fields{QStringLiteral("09:00:00"), QStringLiteral("09:01:00"), QStringLiteral("%1分0秒").arg(c),
                               QString(), QString::asprintf("%04d", card.number)};
            for (int i = 0; i < 4; ++i)
                fields << (c == t % kCards && i == 1 ? card.correct[i] + QStringLiteral("X") : card.correct[i]);
            bytes += cp932::encode(fields.join(u',')) + "\r\n";
        }
        QFile f(AppSub::UserFolder(1, true) + '/' +
                AppSub::CsvFileName(AppSub::CsvKind::InputValues, 2, executed, QStringLiteral("山田"),
                                    QStringLiteral("太郎")));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    db.commit();
}

template <typename Screen, typename Make> void open(benchmark::State& state, Make make) {
    for (auto _ : state) {
        std::unique_ptr<Screen> screen = make();
        screen->show();
        QApplication::processEvents();
        state.PauseTiming();
        screen.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_HistoryScreen(benchmark::State& state) {
    open<CRirekiDlg>(state, [] {
        return std::make_unique<CRirekiDlg>(*g_user, *g_master, QStringLiteral("解析結果の出力 [試行履歴の選択]"), 1, true);
    });
}
BENCHMARK(BM_HistoryScreen)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_BasicScreen(benchmark::State& state) {
    COutSelection all;
    all.userCode = 1;
    all.filter.task = 2;
    for (int t = 1; t <= kTrials; ++t) {
        all.autoNumbers.Add(t);
        all.positions.Add(t);
    }
    open<COutMainDlg>(state, [&] { return std::make_unique<COutMainDlg>(*g_user, *g_master, all); });
}
BENCHMARK(BM_BasicScreen)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    if (!QFile::copy(QStringLiteral(ZENTRY_PROGRAM_DIR "/Quillon01.mst"), dir.filePath(QStringLiteral("Quillon01.mst")))) {
        std::fprintf(stderr, "build the default data first (zentry_default_data)\n");
        return 1;
    }
    CreateUserTemplate(dir.path());
    CDB user, master;
    user.OpenUser();
    master.OpenMaster();
    g_user = &user;
    g_master = &master;
    writeTrials();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
