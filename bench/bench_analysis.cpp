// The error analysis over a user with 1,000 trials of 60 cards each, run as
// the instructor's graph runs it: every trial selected, completed trials of
// courses 1 and 3. The setup writes a synthetic master data file, user
// database and input-value files into a temporary program folder.
//
// BM_FullRun is the whole run; the other benchmarks time its parts (reading
// the history rows and loading the decks, reading the files, judging) so the
// figures show where the time goes.
#include "AppSub.h"
#include "ArrKaisekiMain.h"
#include "BenchUserTemplate.h"
#include "Clock.h"
#include "Codec.h"
#include "DB.h"
#include "KCCompareText.h"
#include "ProgramFolder.h"
#include "Schema.h"
#include "TCLoadCSVFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

namespace {
constexpr int kTrials = 1000;
constexpr int kCardsPerTrial = 60;
constexpr int kDeckSize = 300;

// One user per task (user code = task code), all in one program folder.
CDB* g_user = nullptr;
CDB* g_master = nullptr;
QStringList g_inputFiles[4];

// A questionnaire card's or a voucher's correct and printed values, made up
// from its number.
QStringList correctItems(int task, int n) {
    if (task == 1)
        return {QStringLiteral("ヤマダ　タロウ%1").arg(n),
                QStringLiteral("山田　太郎%1").arg(n),
                QString::asprintf("%03d-%04d", n % 1000, n * 7 % 10000),
                QStringLiteral("東京都千代田区丸の内%1丁目").arg(n % 9 + 1),
                QString::asprintf("03-%04d-%04d", n, n * 3 % 10000),
                QStringLiteral("user%1@example.jp").arg(n),
                QString::number(n % 6 + 1),
                QString::number(n % 3 + 1),
                QString::number(n % 2 + 1)};
    return {QString::asprintf("C%06d", n * 13), QString::asprintf("P-%05d", n * 7),
            QString::asprintf("03-%04d-%04d", n, n * 3 % 10000),
            QStringLiteral("mail%1@example.co.jp").arg(n)};
}

QStringList printedItems(int task, int n) {
    QStringList items = correctItems(task, n);
    if (task != 1 && n % 4 != 0)
        items[n % 4][2] = QChar(u'X'); // one printed error on three vouchers in four
    return items;
}

void execOrDie(QSqlQuery& q) {
    if (!q.exec()) {
        std::fprintf(stderr, "setup failed: %s\n", qPrintable(q.lastError().text()));
        std::exit(1);
    }
}

void writeMaster(const QString& path) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench_master"));
    db.setDatabaseName(path);
    db.open();
    Schema::create(db, Schema::masterDatabase());
    db.transaction();
    QSqlQuery q(db);
    for (const char* table : {"Mst01", "Mst03"}) {
        q.prepare(QStringLiteral("insert into %1 values (?,?,?,?,?,?,?,?,?,?,?)").arg(table));
        for (int n = 1; n <= kDeckSize; ++n) {
            q.addBindValue(n);
            for (const QString& item : correctItems(1, n))
                q.addBindValue(item);
            q.addBindValue(0);
            execOrDie(q);
        }
    }
    for (const char* table : {"Mst02", "Mst04", "Mst02Error", "Mst04Error"}) {
        const bool printed = QByteArray(table).endsWith("Error");
        q.prepare(QStringLiteral("insert into %1 values (?,?,?,?,?,?)").arg(table));
        for (int n = 1; n <= kDeckSize; ++n) {
            q.addBindValue(n);
            for (const QString& item : printed ? printedItems(2, n) : correctItems(2, n))
                q.addBindValue(item);
            q.addBindValue(0);
            execOrDie(q);
        }
    }
    db.commit();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("bench_master"));
}

// What a trainee typed: mostly right, a wrong character in about one item in ten.
QString typed(int task, const QString& correct, const QString& printed, std::mt19937& rng) {
    const bool slip = rng() % 10 == 0;
    if (task == 3) {
        QString marks;
        for (int i = 0; i < correct.size(); ++i)
            marks += (i < printed.size() && correct.at(i) == printed.at(i)) ? u'N' : u'C';
        if (slip && !marks.isEmpty())
            marks[int(rng() % marks.size())] = u'C';
        return marks;
    }
    QString out = correct;
    if (slip && !out.isEmpty())
        out[int(rng() % out.size())] = u'7';
    return out;
}

void writeTrials(int task) {
    std::mt19937 rng(1234);
    QSqlQuery q(g_user->database());
    g_user->database().transaction();
    q.prepare(QStringLiteral(
        "insert into History_tbl (AutoNumber, user_code, problem_code, execution_date, end_time, "
        "course_code, end_flg, delete_flg) values (?,?,?,?,?,?,?,0)"));
    const QDateTime first = naiveDateTime(QDate(2025, 4, 1), QTime(9, 0, 0));
    for (int t = 1; t <= kTrials; ++t) {
        const QDateTime executed = first.addSecs(qint64(t) * 3600);
        const QString course = t % 2 ? QStringLiteral("1") : QStringLiteral("3");
        q.addBindValue((task - 1) * kTrials + t);
        q.addBindValue(task);
        q.addBindValue(QString::number(task));
        q.addBindValue(executed.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        q.addBindValue(QStringLiteral("4"));
        q.addBindValue(course);
        q.addBindValue(QString());
        execOrDie(q);

        const QString path = AppSub::UserFolder(task, true) + '/' +
                             AppSub::CsvFileName(AppSub::CsvKind::InputValues, task, executed,
                                                 QStringLiteral("山田"), QStringLiteral("太郎"));
        QByteArray bytes =
            cp932::encode(QStringLiteral("開始時刻,終了時刻,経過時間,評価除外フラグ,NO.,...\r\n"));
        for (int c = 0; c < kCardsPerTrial; ++c) {
            const int n = (t * 17 + c) % kDeckSize + 1;
            QStringList fields{QStringLiteral("09:00:00"), QStringLiteral("09:01:00"),
                               QStringLiteral("%1分%2秒").arg(c).arg(c % 60), QString(),
                               QString::asprintf("%04d", n)};
            const QStringList correct = correctItems(task, n);
            const QStringList printed = task == 1 ? QStringList() : printedItems(task, n);
            for (int i = 0; i < correct.size(); ++i)
                fields << typed(task, correct.at(i), printed.value(i), rng);
            bytes += cp932::encode(fields.join(u',')) + "\r\n";
        }
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        g_inputFiles[task] << path;
    }
    g_user->database().commit();
}

// The graph's run: every trial selected with its list position, completed
// trials of course 1 or 3.
CArrKaisekiMain::Conditions graphRun(int task) {
    CArrKaisekiMain::Conditions c;
    c.userCode = task;
    c.problemCode = task;
    c.selection = CArrRirekiNum{};
    for (int t = 1; t <= kTrials; ++t) {
        c.selection->Add((task - 1) * kTrials + t);
        c.selectionNumbers.Add(t);
    }
    c.selectionType = CArrKaisekiMain::SelectCompleted;
    c.courseFilter = CArrKaisekiMain::TestOrLevelUp;
    return c;
}

void BM_FullRun(benchmark::State& state) {
    const int task = int(state.range(0));
    const CArrKaisekiMain::Conditions c = graphRun(task);
    long cards = 0;
    for (auto _ : state) {
        CArrKaisekiMain an;
        if (an.Run(*g_user, *g_master, c) != 1 || an.GetSize() != kTrials) {
            state.SkipWithError("analysis failed");
            return;
        }
        for (const auto& t : an.Trials())
            cards += t->m_answer_number;
    }
    state.counters["card_lines_per_s"] = benchmark::Counter(double(cards), benchmark::Counter::kIsRate);
    state.SetLabel(task == 1 ? "questionnaire" : task == 2 ? "voucher correction" : "miss-check");
}
BENCHMARK(BM_FullRun)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The history query and the two deck loads: a run that selects no trial.
void BM_HistoryAndDecks(benchmark::State& state) {
    CArrKaisekiMain::Conditions c = graphRun(int(state.range(0)));
    c.selection = CArrRirekiNum{-1};
    for (auto _ : state) {
        CArrKaisekiMain an;
        benchmark::DoNotOptimize(an.Run(*g_user, *g_master, c));
    }
}
BENCHMARK(BM_HistoryAndDecks)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(5);

// Reading and splitting the 1,000 input-value files alone, on one thread, one
// reader for all files as the analysis reads them (which reads ahead on a
// second thread besides).
void BM_ReadFiles(benchmark::State& state) {
    for (auto _ : state) {
        long fields = 0;
        CTCLoadCSVFile f;
        CTCLoadCSVFile::RowView row;
        for (const QString& path : g_inputFiles[state.range(0)]) {
            f.Load(path);
            for (int r = 2; r <= f.GetRowCount(); ++r) {
                f.GetRowView(r, row);
                fields += row.size();
            }
        }
        benchmark::DoNotOptimize(fields);
    }
}
BENCHMARK(BM_ReadFiles)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(5);

// Position-wise comparison of one questionnaire item with one wrong character.
void BM_CompareItem(benchmark::State& state) {
    CKCCompareText cmp;
    const QString correct = QStringLiteral("東京都千代田区丸の内1丁目");
    const QString input = QStringLiteral("東京都千代田区丸の内7丁目");
    for (auto _ : state)
        benchmark::DoNotOptimize(cmp.Compare(correct, input));
}
BENCHMARK(BM_CompareItem);
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    CreateUserTemplate(dir.path());
    writeMaster(dir.filePath(QStringLiteral("Quillon01.mst")));
    CDB user, master;
    user.OpenUser();
    master.OpenMaster();
    g_user = &user;
    g_master = &master;
    for (int task = 1; task <= 3; ++task)
        writeTrials(task);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
