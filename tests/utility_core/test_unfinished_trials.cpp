// Trials without an end (running, or left by a killed task program) in every
// place of the utility that reads the history: the list, the extremes and
// best-trial filters, the comparison and the export.
#include "ArrUserHikaku.h"
#include "Export.h"
#include "ExportFixture.h"
#include "ExportStrings.h"
#include "HistoryList.h"
#include "ProgramProcess.h"
#include "TrialState.h"

#include <QLockFile>

#include <QSysInfo>

#include <sys/wait.h>
#include <unistd.h>

using namespace exporttest;

namespace {

// User 1 has a finished trial (30 cards) and a later one without an end; user 2
// only a trial without an end.
void addTrials(CDB& db) {
    TestUser second;
    second.code = 2;
    second.name1 = "佐藤";
    AddTestUser(db, TestUser{});
    AddTestUser(db, second);
    auto finished = [](int cards) {
        return [cards](CRsHistory_tbl& r) {
            r.m_answer_number = r.m_answer_koumoku = cards;
            r.m_correct_number = cards;
            r.m_correct_rate = r.m_correct_rate60 = 90;
            r.m_answer_number60 = r.m_answer_koumoku60 = cards * 2;
        };
    };
    auto unfinished = [](int user) {
        return [user](CRsHistory_tbl& r) {
            r.m_user_code = user;
            r.m_answer_time.clear(); // as the task program creates it
        };
    };
    AddTestHistory(db, 1, finished(30));
    AddTestHistory(db, 2, unfinished(1));
    AddTestHistory(db, 3, unfinished(2));
}

class UnfinishedTrialTest : public ExportTest {
protected:
    UnfinishedTrialTest() { addTrials(local); }

    std::vector<HistoryListRow> rows(int user, HistoryFilter f, bool running = false) {
        CHistoryList list;
        EXPECT_TRUE(list.Load(local, user, f, running));
        return list.Rows();
    }
};

TEST_F(UnfinishedTrialTest, HistoryListShowsRunningOrInterruptedWithoutResult) {
    const struct {
        bool running;
        const char* label;
    } cases[] = {{true, "実施中"}, {false, "中断"}};
    for (const auto& c : cases) {
        const std::vector<HistoryListRow> list = rows(1, HistoryFilter{}, c.running);
        ASSERT_EQ(list.size(), 2u);
        EXPECT_FALSE(list[0].unfinished);
        EXPECT_EQ(list[0].cells[CHistoryList::WorkCount], "30枚");
        EXPECT_TRUE(list[1].unfinished);
        EXPECT_EQ(list[1].cells[CHistoryList::TrialNo], "2回目");
        EXPECT_EQ(list[1].cells[CHistoryList::TrialTime], QString::fromUtf8(c.label));
        for (int column : {CHistoryList::WorkCount, CHistoryList::CorrectCount, CHistoryList::CorrectRate})
            EXPECT_EQ(list[1].cells[column], QString()) << column;
    }
}

TEST_F(UnfinishedTrialTest, ExtremesAndBestTrialFiltersLeaveThemOut) {
    // user, display data, trials listed, lowest work count
    const struct {
        int user;
        int displayData;
        QList<int> listed;
        int minWork;
    } cases[] = {
        {1, HistoryFilter::AllTrials, {1, 2}, 30},
        {1, HistoryFilter::BestWorkCount, {1}, 30},
        {1, HistoryFilter::BestCorrectRate, {1}, 30},
        {2, HistoryFilter::BestWorkCount, {}, 0},
        {2, HistoryFilter::BestCorrectRate, {}, 0},
    };
    for (const auto& c : cases) {
        HistoryFilter f;
        f.displayData = c.displayData;
        CHistoryList list;
        ASSERT_TRUE(list.Load(local, c.user, f));
        QList<int> listed;
        for (const HistoryListRow& r : list.Rows())
            listed << r.autoNumber;
        EXPECT_EQ(listed, c.listed) << c.user << "/" << c.displayData;
        EXPECT_EQ(list.Extremes().m_minAnswerNumber, c.minWork) << c.user;
        EXPECT_EQ(list.Extremes().m_maxAnswerNumber, c.user == 1 ? 30 : 0);
    }
}

TEST_F(UnfinishedTrialTest, ComparisonCountsOnlyFinishedTrials) {
    CArrUserHikaku compare;
    ASSERT_TRUE(compare.Compute(local, 1, CArrUserHikaku::CardLevel));
    QHash<int, QStringList> cells;
    for (const CArrUserHikakuUserInfo& u : compare.Users())
        cells[u.m_user_code] = compare.Cells(u);
    EXPECT_EQ(cells[1][4], "1回/1回");
    EXPECT_EQ(cells[1][12], "60枚");
    EXPECT_EQ(cells[2][4], QString());
    EXPECT_EQ(cells[2][12], QString());
}

TEST_F(UnfinishedTrialTest, ExportLeavesThemAndTheirFilesOutAndCountsThem) {
    inSource([](CDB& db) {
        addTrials(db);
        for (int trial : {1, 2}) {
            const QDateTime start = naiveDateTime(QDate(2026, 4, 1), QTime(9, 0)).addSecs(3600 * trial);
            writeBytes(AppSub::UserFolder(1, true) + '/' +
                           AppSub::CsvFileName(AppSub::CsvKind::InputValues, 1, start, "山田", "太郎"),
                       "cards\r\n");
        }
    });
    CExport exporter;
    ASSERT_TRUE(exporter.Export(source, exportFolder));
    EXPECT_EQ(exporter.LeftOutTrials(), 2);
    const QList<QByteArray> lines = readBytes(exportFolder + "History_tbl.tsv").split('\n');
    ASSERT_EQ(lines.size(), 3); // header, trial 1, nothing after the last line end
    EXPECT_TRUE(lines[1].startsWith("1\t1\t")) << lines[1].toStdString();
    const QStringList copied = filesUnder(exportFolder + "解析結果").keys();
    ASSERT_EQ(copied.size(), 1);
    EXPECT_TRUE(copied[0].startsWith("1/20260401_100000")) << copied[0].toStdString();
    EXPECT_EQ(ExportStrings::ExportDoneText(2),
              "エクスポートが正常に終了しました。\n\n終了していない試行（実施中または中断）2 件はエクスポートしていません。");
    EXPECT_EQ(ExportStrings::ExportDoneText(0), ExportStrings::Text(ExportStrings::ExportDone));
}

TEST(TaskProgramRunning, OnlyALiveHolderOfTheLockCounts) {
    PrivateTemp temp;
    const QString name = QStringLiteral("_QUILLON01_MUTEX");
    EXPECT_FALSE(TrialState::IsProgramRunning(name)) << "no lock file";
    {
        QLockFile lock(TrialState::InstanceLockPath(name));
        ASSERT_TRUE(lock.tryLock(0));
        EXPECT_TRUE(TrialState::IsProgramRunning(name)) << "held by this process";
    }
    EXPECT_FALSE(TrialState::IsProgramRunning(name)) << "released";
    // A killed copy's lock: a process id that no longer exists.
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    writeBytes(TrialState::InstanceLockPath(name),
               QByteArray::number(child) + "\nZentry01\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    EXPECT_FALSE(TrialState::IsProgramRunning(name)) << "left by a dead process";
}

} // namespace
