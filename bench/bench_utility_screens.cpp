// The instructor utility's screens on a program folder made from the built
// default data: from the application object to the menu shown on screen
// (connecting both databases, building and exposing the menu; goal under
// 300 ms), and the registry list filled with 2,000 users (goal under 100 ms).
// Runs headless (offscreen platform).
#include "AddUserDlg.h"
#include "Clock.h"
#include "DB.h"
#include "FontSubstitution.h"
#include "ProgramFolder.h"
#include "Recordsets.h"
#include "Zentry01ManApp.h"
#include "Zentry01ManDlg.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// A program folder with the built master data file and a user database of count users.
class Folder {
public:
    explicit Folder(int users) {
        setProgramFolder(m_dir.path());
        QFile::copy(QStringLiteral(ZENTRY_PROGRAM_DIR "/Quillon01.mst"), m_dir.filePath(QStringLiteral("Quillon01.mst")));
        QFile::copy(QStringLiteral(ZENTRY_PROGRAM_DIR "/UserData.org"), m_dir.filePath(QStringLiteral("UserData.org")));
        CDB db;
        db.OpenUser();
        CRsUser_tbl rs(&db);
        rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("[User_tbl]"));
        RunWriteTransaction(db, [&] {
            for (int code = 1; code <= users; ++code) {
                rs.AddNew();
                rs.m_user_code = code;
                rs.m_user_kname1 = QStringLiteral("カナ%1").arg(code, 4, 10, QLatin1Char('0'));
                rs.m_user_kname2 = QStringLiteral("タロウ");
                rs.m_user_name1 = QStringLiteral("名前%1").arg(code);
                rs.m_user_name2 = QStringLiteral("太郎");
                rs.m_first_update = rs.m_last_update = appClock().now();
                rs.Update();
            }
        });
    }
    ~Folder() { setProgramFolder(QString()); }

private:
    QTemporaryDir m_dir;
};

void BM_StartToVisibleMenu(benchmark::State& state) {
    Folder folder(20);
    for (auto _ : state) {
        CZentry01ManApp app;
        app.OpenDatabases();
        CZentry01ManDlg menu;
        menu.show();
        if (!QTest::qWaitForWindowExposed(&menu))
            state.SkipWithError("the menu was not exposed");
    }
}
BENCHMARK(BM_StartToVisibleMenu)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RegistryWith2000Users(benchmark::State& state) {
    Folder folder(2000);
    CZentry01ManApp app;
    app.OpenDatabases();
    for (auto _ : state) {
        CAddUserDlg registry(app.UserDb());
        benchmark::DoNotOptimize(&registry);
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_RegistryWith2000Users)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    if (!QFile::exists(QStringLiteral(ZENTRY_PROGRAM_DIR "/Quillon01.mst"))) {
        std::fprintf(stderr, "build the default data first (zentry_default_data)\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
