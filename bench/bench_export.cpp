// Export and import of an installation with 100 users × 200 trials, each trial
// with its input-value and analysis-result file (40,000 files), as the
// external data screen and zentry-tool run them. Goals: export under 5 s,
// import under 10 s.
#include "AppSub.h"
#include "Clock.h"
#include "DB.h"
#include "Export.h"
#include "ProgramFolder.h"
#include "Recordset.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {
constexpr int kUsers = 100;
constexpr int kTrialsPerUser = 200;

QString g_source;   // the exporting installation
QString g_template; // an empty user database

void die(const QString& what) {
    std::fprintf(stderr, "setup failed: %s\n", qPrintable(what));
    std::exit(1);
}

void createUserDatabase(const QString& path, const std::function<void(QSqlDatabase&)>& fill = {}) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench_setup"));
        db.setDatabaseName(path);
        if (!db.open())
            die(db.lastError().text());
        Schema::create(db, Schema::userDatabase());
        if (fill)
            fill(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench_setup"));
}

void fillSource(QSqlDatabase& db) {
    db.transaction();
    QSqlQuery u(db), h(db);
    u.prepare(QStringLiteral("insert into [User_tbl] values (?, ?, ?, ?, ?, 1, 1, 1, '2026-04-01 09:00:00', "
                             "'2026-04-01 09:00:00', 0)"));
    h.prepare(QStringLiteral("insert into [History_tbl] values (?, ?, '2', ?, '1', '2', '1', '1', '1', '1', '1', '1', "
                             "'1', '1', '3', 40, 160, 35, 140, 87.5, 87.5, 80.0, 320.0, 70.0, 280.0, 87.5, 87.5, 40, "
                             "35, '3', '6', '', '29分58秒', ?, ?, 0)"));
    int autoNumber = 0;
    const QDateTime day = naiveDateTime(QDate(2026, 4, 1), QTime(9, 0));
    const QByteArray body = QByteArray("09:00:00,09:01:00,1分0秒,,0001,C000013,P-00007,03-0001-0003,a@b.jp\r\n")
                                .repeated(30);
    for (int user = 1; user <= kUsers; ++user) {
        u.addBindValue(user);
        u.addBindValue(QStringLiteral("ヤマダ"));
        u.addBindValue(QStringLiteral("タロウ%1").arg(user));
        u.addBindValue(QStringLiteral("山田"));
        u.addBindValue(QStringLiteral("太郎%1").arg(user));
        if (!u.exec())
            die(u.lastError().text());
        const QString folder = g_source + QStringLiteral("解析結果/%1/").arg(user);
        QDir().mkpath(folder);
        for (int t = 0; t < kTrialsPerUser; ++t) {
            const QDateTime at = day.addSecs(qint64(t) * 3600);
            const QString date = dateToDb(at);
            h.addBindValue(++autoNumber);
            h.addBindValue(user);
            h.addBindValue(date);
            h.addBindValue(date);
            h.addBindValue(date);
            if (!h.exec())
                die(h.lastError().text());
            for (auto kind : {AppSub::CsvKind::InputValues, AppSub::CsvKind::AnalysisResult}) {
                QFile f(folder + AppSub::CsvFileName(kind, 2, at, QStringLiteral("山田"), QStringLiteral("太郎")));
                if (!f.open(QIODevice::WriteOnly) || f.write(body) != body.size())
                    die(f.fileName());
            }
        }
    }
    db.commit();
}

void BM_Export(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir out;
        state.ResumeTiming();
        CExport exporter;
        if (!exporter.Export(g_source, out.path()))
            state.SkipWithError("export failed");
        state.PauseTiming(); // removing the folder is not the export's time
        out.remove();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_Import(benchmark::State& state) {
    QTemporaryDir exported;
    {
        CExport exporter;
        exporter.Export(g_source, exported.path());
    }
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir target;
        QFile::copy(g_template, target.filePath(QStringLiteral("UserData.mdb")));
        setProgramFolder(target.path());
        CDB user;
        user.OpenUser();
        state.ResumeTiming();
        if (CExport().Import(user, exported.path()) != CExport::ImportResult::Done)
            state.SkipWithError("import failed");
        state.PauseTiming();
        if (AppSub::NextHistoryNumber(user) != kUsers * kTrialsPerUser + 1)
            state.SkipWithError("trials missing");
        user.Close();
        target.remove();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_source = dir.path() + QStringLiteral("/source/");
    g_template = dir.path() + QStringLiteral("/empty.mdb");
    QDir().mkpath(g_source);
    createUserDatabase(g_template);
    createUserDatabase(g_source + QStringLiteral("UserData.mdb"), fillSource);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
