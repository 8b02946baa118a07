// The trial-history list and its extremes over a real user database.
#include "AppSub.h"
#include "FakeClock.h"
#include "HistoryList.h"
#include "TestFolder.h"
#include "TestRows.h"
#include "ToolProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {
// The result columns of a trial: plain, then converted to 60 minutes.
struct Scores {
    int work = 0;
    double rate = 0;
    int items = 0;
    double itemRate = 0;
    double work60 = 0, rate60 = 0, items60 = 0, itemRate60 = 0;
};

void setScores(CRsHistory_tbl& r, const Scores& s) {
    r.m_answer_number = s.work;
    r.m_correct_number = s.work / 2;
    r.m_correct_rate = s.rate;
    r.m_answer_koumoku = s.items;
    r.m_correct_rate_koumoku = s.itemRate;
    r.m_answer_number60 = s.work60;
    r.m_correct_number60 = s.work60 / 2;
    r.m_correct_rate60 = s.rate60;
    r.m_answer_koumoku60 = s.items60;
    r.m_correct_rate_koumoku60 = s.itemRate60;
}

struct Trial {
    int id;
    const char* task;
    const char* course;
    const char* endTime;
    const char* endFlag;
    Scores scores;
};

// Trials of user 1, in date order of their ids.
const Trial kTrials[] = {
    {1, "1", "1", "2", "", {30, 200.0 / 3, 270, 90.04, 60, 50, 540, 95.54}},
    {2, "1", "1", "2", "", {40, 50, 360, 80, 80, 40, 720, 88}},
    {3, "1", "1", "1", "", {10, 100, 90, 100, 39.9, 100, 360, 100}},
    {4, "1", "1", "4", "1", {5, 20, 45, 70, 5, 20, 45, 70}},     // aborted
    {5, "1", "3", "2", "", {40, 200.0 / 3, 999, 99, 99, 99, 999, 99}}, // level-up: never an extreme
    {6, "1", "2", "2", "", {12, 75, 108, 97.22, 24, 75, 216, 97.22}}, // basic training
    {7, "2", "1", "2", "", {77, 100, 308, 100, 154, 100, 616, 100}},  // another task
    {8, "1", "1", "2", "", {40, 66.6, 300, 85, 80, 66.6, 600, 85}},
};

class HistoryListTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.OpenUser();
        AddTestUser(db, TestUser{});
        for (const Trial& t : kTrials)
            AddTestHistory(db, t.id, [&](CRsHistory_tbl& r) {
                r.m_problem_code = t.task;
                r.m_course_code = t.course;
                r.m_end_time = t.endTime;
                r.m_end_flg = t.endFlag;
                setScores(r, t.scores);
            });
    }

    CHistoryList load(HistoryFilter f, int user = 1) {
        CHistoryList list;
        EXPECT_TRUE(list.Load(db, user, f));
        return list;
    }
    static QList<int> ids(const CHistoryList& list) {
        QList<int> out;
        for (const HistoryListRow& r : list.Rows())
            out << r.autoNumber;
        return out;
    }
    static CHistoryMaxMin extremes(int work, int minWork, double rate, double minRate, int items, int minItems,
                                   double itemRate, double minItemRate) {
        CHistoryMaxMin e;
        e.m_maxAnswerNumber = work;
        e.m_minAnswerNumber = minWork;
        e.m_maxCorrectRate = rate;
        e.m_minCorrectRate = minRate;
        e.m_maxAnswerKoumoku = items;
        e.m_minAnswerKoumoku = minItems;
        e.m_maxCorrectRateKoumoku = itemRate;
        e.m_minCorrectRateKoumoku = minItemRate;
        return e;
    }
    QString trialFile(AppSub::CsvKind kind, int id, const QString& name1 = QStringLiteral("山田")) {
        const QDateTime start = naiveDateTime(QDate(2026, 4, 1), QTime(9, 0)).addSecs(3600 * id);
        return AppSub::UserFolder(1, true) + '/' + AppSub::CsvFileName(kind, 1, start, name1, QStringLiteral("太郎"));
    }

    TestFolder folder;
    FakeClock clock;
    CDB db;
};

void expectExtremes(const CHistoryMaxMin& got, const CHistoryMaxMin& want) {
    EXPECT_EQ(got.m_maxAnswerNumber, want.m_maxAnswerNumber);
    EXPECT_EQ(got.m_minAnswerNumber, want.m_minAnswerNumber);
    EXPECT_DOUBLE_EQ(got.m_maxCorrectRate, want.m_maxCorrectRate);
    EXPECT_DOUBLE_EQ(got.m_minCorrectRate, want.m_minCorrectRate);
    EXPECT_EQ(got.m_maxAnswerKoumoku, want.m_maxAnswerKoumoku);
    EXPECT_EQ(got.m_minAnswerKoumoku, want.m_minAnswerKoumoku);
    EXPECT_DOUBLE_EQ(got.m_maxCorrectRateKoumoku, want.m_maxCorrectRateKoumoku);
    EXPECT_DOUBLE_EQ(got.m_minCorrectRateKoumoku, want.m_minCorrectRateKoumoku);
}
} // namespace

TEST_F(HistoryListTest, ExtremesForEveryTrialTimeAndCourseGroup) {
    const struct {
        int trialTime, courseGroup;
        CHistoryMaxMin want;
    } cases[] = {
        // Rates rounded to one decimal: 66.666... → 66.7, 90.04 → 90.0.
        {2, 1, extremes(40, 30, 66.7, 50, 360, 270, 90.0, 80)},
        {1, 1, extremes(10, 10, 100, 100, 90, 90, 100, 100)},
        {3, 1, extremes(0, 0, 0, 0, 0, 0, 0, 0)},
        // 60分換算値: every completed trial, 60-minute values, counts truncated (39.9 → 39).
        {5, 1, extremes(80, 39, 100, 40, 720, 360, 100, 85)},
        // 試行中止: aborted trials only, plain values.
        {6, 1, extremes(5, 5, 20, 20, 45, 45, 70, 70)},
        {2, 2, extremes(12, 12, 75, 75, 108, 108, 97.2, 97.2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "trial time " << c.trialTime << ", group " << c.courseGroup);
        expectExtremes(load({1, c.trialTime, c.courseGroup, 1}).Extremes(), c.want);
    }
    const CHistoryList empty = load({}, 2);
    EXPECT_TRUE(empty.Rows().empty());
    expectExtremes(empty.Extremes(), extremes(0, 0, 0, 0, 0, 0, 0, 0));
}

TEST_F(HistoryListTest, FiltersChooseTheRowsAndNumberThemInListOrder) {
    const struct {
        HistoryFilter filter;
        QList<int> ids;
    } cases[] = {
        {{1, 2, 1, 1}, {1, 2, 5, 8}},
        // Every trial that reaches the best work count, skill tests only.
        {{1, 2, 1, 2}, {2, 8}},
        // The best rate is 66.7 after rounding; the stored 66.666... reaches it, 66.6 does not.
        {{1, 2, 1, 3}, {1}},
        {{1, 5, 1, 2}, {2, 8}},
        {{1, 6, 1, 1}, {4}},
        // The best-trial choices do not apply to the basic course.
        {{1, 2, 2, 3}, {6}},
        {{2, 2, 1, 1}, {7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "filter " << c.filter.task << c.filter.trialTime << c.filter.courseGroup
                                        << c.filter.displayData);
        const CHistoryList list = load(c.filter);
        EXPECT_EQ(ids(list), c.ids);
        for (int i = 0; i < int(list.Rows().size()); ++i)
            EXPECT_EQ(list.Rows()[i].cells[CHistoryList::TrialNo], QStringLiteral("%1回目").arg(i + 1));
    }
}

TEST_F(HistoryListTest, CellTexts) {
    AddTestHistory(db, 9, [](CRsHistory_tbl& r) {
        r.m_course_code = "3";
        setScores(r, {41, 200.0 / 3, 369, 90, 82, 200.0 / 3, 738, 90});
        r.m_correct_number = 27;
        r.m_target_value = 50;
        r.m_target_value2 = 45;
        r.m_result_code = "2";
        r.m_color_code = "3";
        r.m_display_flg = "1";
        r.m_display_position = "2";
        r.m_order_flg = "2";
        r.m_progress_flg = r.m_timer_flg = r.m_graph_flg = r.m_sound_flg = "1";
    });
    AddTestHistory(db, 10, [](CRsHistory_tbl& r) {
        r.m_end_flg = "1";
        r.m_answer_time = "12分34秒";
        setScores(r, {7, 5, 63, 50, 7, 5, 63, 50});
    });
    const QStringList levelUp{"5回目", "2026/04/01 18:00:00", "レベル", "30分", "41枚", "27枚", "66.7%", "50枚", "45枚",
                              "図形（○×）", "青", "画面右", "シャッフル", "○", "○", "×", "○", "×", "○"};
    EXPECT_EQ(load({1, 2, 1, 1}).Rows().at(4).cells, levelUp);

    const QStringList aborted{"2回目", "2026/04/01 19:00:00", "テスト", "12分34秒", "7枚", "3枚", " 5.0%", "", "",
                              "", "", "紙", "番号順", "×", "×", "×", "×", "×", "×"};
    EXPECT_EQ(load({1, 6, 1, 1}).Rows().at(1).cells, aborted);

    // 60分換算値 shows the converted columns, counts truncated.
    const QStringList converted = load({1, 5, 1, 1}).Rows().at(2).cells;
    EXPECT_EQ(converted.mid(3, 4), (QStringList{"15分", "39枚", "19枚", "100.0%"}));

    EXPECT_EQ(CHistoryList::DateText(QDateTime()), "-001/-1/-1 -1:-1:-1");
    EXPECT_EQ(CHistoryList::Captions().size(), CHistoryList::kColumns);
}

TEST_F(HistoryListTest, DeletionMarksTheRowAndRemovesBothFiles) {
    using AppSub::CsvKind;
    const QStringList files{trialFile(CsvKind::InputValues, 1), trialFile(CsvKind::AnalysisResult, 1),
                            // written before the user was renamed
                            trialFile(CsvKind::InputValues, 2, QStringLiteral("旧姓"))};
    const QString other = trialFile(CsvKind::InputValues, 8);
    for (const QString& f : files + QStringList{other}) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    clock.set(naiveDateTime(QDate(2026, 5, 2), QTime(10, 11, 12)));

    ASSERT_TRUE(CHistoryList::Delete(db, 1));
    ASSERT_TRUE(CHistoryList::Delete(db, 2));
    for (const QString& f : files)
        EXPECT_FALSE(QFile::exists(f)) << f.toStdString();
    EXPECT_TRUE(QFile::exists(other));
    // Files already gone do not stop the deletion.
    EXPECT_TRUE(CHistoryList::Delete(db, 5));

    CRsHistory_tbl rs(&db);
    rs.Open(CRecordset::dbOpenSnapshot, "select * from [History_tbl] where [AutoNumber] = 1");
    EXPECT_EQ(rs.m_delete_flg, 1);
    EXPECT_EQ(rs.m_last_update, clock.now());
    EXPECT_EQ(ids(load({1, 2, 1, 1})), (QList<int>{8}));
    EXPECT_TRUE(folder.notifier.entries.isEmpty());

    // A row deleted already cannot be deleted again.
    EXPECT_FALSE(CHistoryList::Delete(db, 1));
    EXPECT_EQ(folder.notifier.texts(),
              QStringList{"[History_tbl] の更新ができません。\n読込専用で開かれていないかチェックしてください。"});
}

// A deletion the database refuses after its transaction began is rolled back:
// the row stays, and the next write on the same connection goes through.
TEST_F(HistoryListTest, ADeletionRefusedPartWayIsRolledBackAndTheConnectionWritesAgain) {
    QSqlQuery(db.database())
        .exec("create trigger refuse before update on History_tbl when new.delete_flg = 1 and old.AutoNumber = 1 "
              "begin select raise(abort, 'refused by test'); end");
    EXPECT_FALSE(CHistoryList::Delete(db, 1));
    ASSERT_EQ(folder.notifier.texts().size(), 1);
    EXPECT_TRUE(folder.notifier.texts()[0].contains("refused by test"));
    EXPECT_TRUE(CHistoryList::Delete(db, 2)) << folder.notifier.texts().join('\n').toStdString();
    CRsHistory_tbl rs(&db);
    rs.Open(CRecordset::dbOpenSnapshot, "select * from [History_tbl] where [AutoNumber] in (1, 2) order by [AutoNumber]");
    EXPECT_EQ(rs.m_delete_flg, 0);
    rs.MoveNext();
    EXPECT_EQ(rs.m_delete_flg, 1);
}

TEST_F(HistoryListTest, ToolPrintsTheListOfTheFourFilterValues) {
    const ToolRun r = RunZentryTool({"history", "--folder", folder.path(), "--user", "1", "--task", "1", "--time", "2",
                                     "--course", "1", "--data", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out).object();
    const QJsonObject e = doc["extremes"].toObject();
    EXPECT_EQ(e["max_answer_number"].toInt(), 40);
    EXPECT_EQ(e["min_answer_number"].toInt(), 30);
    EXPECT_DOUBLE_EQ(e["max_correct_rate"].toDouble(), 66.7);
    EXPECT_DOUBLE_EQ(e["min_correct_rate_koumoku"].toDouble(), 80);
    EXPECT_EQ(e.size(), 8);
    const QJsonArray rows = doc["rows"].toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].toObject()["AutoNumber"].toInt(), 8);
    const QJsonArray cells = rows[1].toObject()["cells"].toArray();
    ASSERT_EQ(cells.size(), CHistoryList::kColumns);
    EXPECT_EQ(cells[0].toString(), "2回目");
    EXPECT_EQ(cells[6].toString(), "66.6%");
}
