// The live view of running trials. Two figures:
// - BM_CardReport: what a completed card adds to the trainee's wait, the live
//   row's update on the shared user database, the mean and the slowest
//   (goal: under 5 ms each);
// - BM_LiveScreen40Trials: the "実施状況" screen open for 20 s while 40
//   trials report cards, each through a connection of its own as 40 PCs do
//   (one card every 250 ms in all, ten times a real room's pace), on the
//   embedded file and on a classroom server. Counters: cpu_percent, the screen
//   thread's processor time against the wall time (goal: under 5 % of one
//   core); latency_median_ms / latency_worst_ms, from the start of a card's
//   report to its count showing in the screen (goal: every one within 2 s);
//   unseen, reports never shown.
// The server variant needs ZENTRY_BENCH_PG_URL, a server where the login may
// create databases (bench/classroom-load.sh starts a throwaway one).
// Runs headless (offscreen platform).
#include "Clock.h"
#include "DB.h"
#include "FontSubstitution.h"
#include "LiveDlg.h"
#include "LiveTrials.h"
#include "ProgramFolder.h"
#include "Recordsets.h"
#include "UserDbServer.h"
#include "Zentry01ManApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

namespace {

constexpr int kTrials = 40;

// Runs sql on the server named by url; false (and says why) when it fails.
bool onServer(const QString& url, const QString& sql) {
    QString error;
    const auto server = UserDb::parseUrl(url, &error);
    if (!server) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    bool done = false;
    {
        QSqlDatabase db = UserDb::addConnection(*server, QStringLiteral("bench_admin"));
        QSqlQuery q(db);
        done = db.open() && q.exec(sql);
        if (!done)
            std::fprintf(stderr, "%s: %s\n", qPrintable(sql),
                         qPrintable(db.isOpenError() ? db.lastError().text() : q.lastError().text()));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench_admin"));
    return done;
}

// A program folder with the built data files and kTrials running trials; its
// user database in a fresh database of the server `server` names, when given.
class Folder {
public:
    explicit Folder(const QString& server = QString()) : m_server(server) {
        setProgramFolder(m_dir.path());
        QFile::copy(QStringLiteral(ZENTRY_PROGRAM_DIR "/Quillon01.mst"), m_dir.filePath(QStringLiteral("Quillon01.mst")));
        QFile::copy(QStringLiteral(ZENTRY_PROGRAM_DIR "/UserData.org"), m_dir.filePath(QStringLiteral("UserData.org")));
        if (!m_server.isEmpty()) {
            const QString name = QStringLiteral("bench_live_%1").arg(QCoreApplication::applicationPid());
            onServer(m_server, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
            if (onServer(m_server, QStringLiteral("CREATE DATABASE %1").arg(name)))
                m_database = name;
            QUrl url(m_server);
            url.setPath('/' + name);
            QFile ini(m_dir.filePath(QStringLiteral("Quillon01.ini")));
            ini.open(QIODevice::WriteOnly);
            ini.write(QStringLiteral("[Database]\r\nuser_db=%1\r\n").arg(url.toString()).toUtf8());
        }
        CDB db;
        db.OpenUser();
        CRsUser_tbl users(&db);
        users.Open(CRecordset::dbOpenDynaset, QStringLiteral("[User_tbl]"));
        CRsHistory_tbl history(&db);
        history.Open(CRecordset::dbOpenDynaset, QStringLiteral("[History_tbl]"));
        const QDateTime now = appClock().now();
        RunWriteTransaction(db, [&] {
            for (int n = 1; n <= kTrials; ++n) {
                users.AddNew();
                users.m_user_code = n;
                users.m_user_kname1 = QStringLiteral("カナ%1").arg(n);
                users.m_user_name1 = QStringLiteral("名前%1").arg(n);
                users.m_user_name2 = QStringLiteral("太郎");
                users.m_first_update = users.m_last_update = now;
                users.Update();
                history.AddNew();
                history.m_AutoNumber = n;
                history.m_user_code = n;
                history.m_problem_code = QString::number(n % 3 + 1);
                history.m_course_code = QString::number(n % 3 + 1);
                history.m_end_time = QStringLiteral("4");
                history.m_execution_date = history.m_first_update = history.m_last_update = now;
                history.Update();
                LiveTrials::WriteStart(db, n, 3600, now);
            }
        });
    }
    ~Folder() {
        setProgramFolder(QString());
        if (!m_database.isEmpty())
            onServer(m_server, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database));
    }
    bool ready() const { return m_server.isEmpty() || !m_database.isEmpty(); }

private:
    QTemporaryDir m_dir;
    QString m_server, m_database;
};

// The reports written and not yet seen in the screen, by trial: the cards
// reported and when the report began.
class PendingReports {
public:
    void written(int trial, int cards, qint64 ns) {
        QMutexLocker lock(&m_mutex);
        m_pending[trial].push_back({cards, ns});
    }
    // The screen shows `cards` for the trial at `ns`: every report of it up
    // to that count has arrived (ns -1: they are dropped uncounted).
    void shown(int trial, int cards, qint64 ns) {
        QMutexLocker lock(&m_mutex);
        auto& reports = m_pending[trial];
        const auto seen = std::stable_partition(reports.begin(), reports.end(),
                                                [&](const Report& r) { return r.cards <= cards; });
        for (auto r = reports.begin(); r != seen && ns >= 0; ++r)
            m_latenciesMs.push_back((ns - r->ns) / 1e6);
        reports.erase(reports.begin(), seen);
    }
    int unseen() {
        QMutexLocker lock(&m_mutex);
        int n = 0;
        for (const auto& reports : std::as_const(m_pending))
            n += int(reports.size());
        return n;
    }
    std::vector<double> latenciesMs() {
        QMutexLocker lock(&m_mutex);
        std::vector<double> out = m_latenciesMs;
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    struct Report {
        int cards;
        qint64 ns;
    };
    QMutex m_mutex;
    QHash<int, std::vector<Report>> m_pending;
    std::vector<double> m_latenciesMs;
};

double threadCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void BM_CardReport(benchmark::State& state) {
    Folder folder;
    CDB db;
    db.OpenUser();
    int cards = 0;
    qint64 slowestNs = 0;
    int over5ms = 0;
    QElapsedTimer t;
    for (auto _ : state) {
        ++cards;
        t.start();
        if (!LiveTrials::ReportCard(db, 1 + cards % kTrials, cards, 3000, 20, appClock().now()))
            state.SkipWithError("the report was skipped");
        const qint64 ns = t.nsecsElapsed();
        slowestNs = std::max(slowestNs, ns);
        if (ns > 5000000)
            ++over5ms;
    }
    state.counters["over_5ms"] = over5ms;
    // The card that waits longest (a checkpoint of the journal falls on it).
    state.counters["slowest_ms"] = slowestNs / 1e6;
}
BENCHMARK(BM_CardReport)->Unit(benchmark::kMillisecond)->Iterations(3000);

// The same wait for a statement that writes nothing: what the machine's
// scheduling alone adds to the slowest of many.
void BM_ReadOneValue(benchmark::State& state) {
    Folder folder;
    CDB db;
    db.OpenUser();
    qint64 slowestNs = 0;
    int over5ms = 0;
    QElapsedTimer t;
    for (auto _ : state) {
        t.start();
        QSqlQuery q(db.database());
        q.exec(QStringLiteral("select 1"));
        const qint64 ns = t.nsecsElapsed();
        slowestNs = std::max(slowestNs, ns);
        if (ns > 5000000)
            ++over5ms;
    }
    state.counters["slowest_ms"] = slowestNs / 1e6;
    state.counters["over_5ms"] = over5ms;
}
BENCHMARK(BM_ReadOneValue)->Unit(benchmark::kMillisecond)->Iterations(3000);

void BM_LiveScreen40Trials(benchmark::State& state, bool server) {
    const QString url = server ? qEnvironmentVariable("ZENTRY_BENCH_PG_URL") : QString();
    if (server && url.isEmpty()) {
        state.SkipWithError("ZENTRY_BENCH_PG_URL is not set (bench/classroom-load.sh starts a server)");
        return;
    }
    Folder folder(url);
    if (!folder.ready()) {
        state.SkipWithError("no database on the server");
        return;
    }
    CZentry01ManApp app;
    app.OpenDatabases();
    for (auto _ : state) {
        QElapsedTimer clock; // one monotonic clock for the writer and the screen
        clock.start();
        PendingReports pending;
        std::atomic<bool> stop{false};
        std::atomic<int> reports{0};
        std::thread writer([&] {
            // Each trial reports through a connection of its own, as its PC does.
            std::vector<std::unique_ptr<CDB>> pcs;
            for (int n = 0; n < kTrials; ++n) {
                pcs.push_back(std::make_unique<CDB>());
                pcs.back()->OpenUser();
            }
            for (int card = 1; !stop; ++card) {
                const int trial = 1 + card % kTrials, cards = card / kTrials + 1;
                // Counted before it is written: the screen may show it before the call returns.
                pending.written(trial, cards, clock.nsecsElapsed());
                if (LiveTrials::ReportCard(*pcs[trial - 1], trial, cards, 3000, 20, localNow()))
                    ++reports;
                else
                    pending.shown(trial, cards, -1); // skipped: nothing to wait for

                std::this_thread::sleep_for(std::chrono::milliseconds(250));
            }
            for (auto& pc : pcs)
                pc->Close();
        });
        CLiveDlg screen(app.UserDb(), app.MasterDb());
        QTreeWidget* list = screen.List();
        QObject::connect(list->model(), &QAbstractItemModel::dataChanged, list,
                         [&](const QModelIndex& from, const QModelIndex& to) {
                             if (from.column() > CLiveDlg::Cards || to.column() < CLiveDlg::Cards)
                                 return;
                             for (int row = from.row(); row <= to.row(); ++row) {
                                 const QTreeWidgetItem* item = list->topLevelItem(row);
                                 pending.shown(item->data(0, Qt::UserRole).toInt(),
                                               item->text(CLiveDlg::Cards).toInt(), clock.nsecsElapsed());
                             }
                         });
        screen.show();
        if (!QTest::qWaitForWindowExposed(&screen))
            state.SkipWithError("the screen did not show");
        const double cpu0 = threadCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        while (wall.elapsed() < 20000)
            QTest::qWait(50);
        const double cpu = threadCpuSeconds() - cpu0;
        const double seconds = wall.elapsed() / 1000.0;
        stop = true;
        writer.join();
        // The last reports get the time they are allowed.
        (void)QTest::qWaitFor([&] { return pending.unseen() == 0; }, 5000);
        const std::vector<double> ms = pending.latenciesMs();
        state.counters["cpu_percent"] = 100.0 * cpu / seconds;
        state.counters["reads"] = screen.Reads();
        state.counters["reports"] = reports.load();
        state.counters["rows"] = static_cast<double>(screen.Rows().size());
        state.counters["unseen"] = pending.unseen();
        state.counters["latency_median_ms"] = ms.empty() ? 0 : ms[ms.size() / 2];
        state.counters["latency_worst_ms"] = ms.empty() ? 0 : ms.back();
        state.counters["over_2s"] = double(std::count_if(ms.begin(), ms.end(), [](double v) { return v > 2000; }));
    }
}
BENCHMARK_CAPTURE(BM_LiveScreen40Trials, sqlite, false)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_LiveScreen40Trials, server, true)->Unit(benchmark::kSecond)->Iterations(1);

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
