// The user comparison: ranks, best and last trials, the list texts and the saved file.
#include "ArrUserHikaku.h"
#include "HikakuSort.h"
#include "TestFolder.h"
#include "TestRows.h"
#include "ToolProcess.h"

#include <QFile>

#include <tuple>

#include <gtest/gtest.h>

namespace {
TEST(HikakuSort, DenseRanksInSortedOrder) {
    const struct {
        std::vector<double> keys;
        CHikakuSort::Order order;
        std::vector<int> ranks; // by user index
    } cases[] = {
        {{100, 100, 90}, CHikakuSort::Descending, {1, 1, 2}},
        {{90, 100, 100}, CHikakuSort::Descending, {2, 1, 1}},
        {{3, 5, 3, 7}, CHikakuSort::Ascending, {1, 2, 1, 3}},
        {{66.66, 66.67}, CHikakuSort::Descending, {2, 1}},
        {{}, CHikakuSort::Descending, {}},
    };
    for (const auto& c : cases) {
        CHikakuSort sort;
        for (int i = 0; i < int(c.keys.size()); ++i)
            sort.Add(c.keys[i], i, QString());
        EXPECT_EQ(sort.Rank(c.order), c.ranks);
    }
}

struct SkillTrial {
    int user;
    double work60, rate60;
    const char* course = "1";
    const char* task = "1";
    int deleted = 0;
};

class UserHikakuTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.OpenUser();
        const struct {
            int code;
            const char *name1, *name2;
            int deleted;
        } users[] = {{1, "山田", "太郎", 0}, {2, "佐藤", "花\"子", 0}, {3, "鈴木", "一郎", 0},
                     {4, "田中", "次郎", 0}, {5, "伊藤", "消子", 1},   {6, "高橋", "三郎", 0}};
        for (const auto& u : users) {
            TestUser t;
            t.code = u.code;
            t.name1 = u.name1;
            t.name2 = u.name2;
            t.deleted = u.deleted;
            AddTestUser(db, t);
        }
        const SkillTrial trials[] = {
            {1, 80, 75},
            {1, 500, 100, "2"}, // basic and level-up trials never count
            {1, 300, 100, "3"},
            {1, 100, 90},
            {1, 999, 100, "1", "1", 1}, // deleted
            {1, 100, 200.0 / 3},
            {2, 100, 95.5},
            {2, 39.9, 50},
            {3, 90, 99},
            {4, 120, 100, "3"},
            {5, 150, 100},
            {6, 110, 100, "1", "2"}, // another task
        };
        int id = 0;
        for (const SkillTrial& t : trials)
            AddTestHistory(db, ++id, [&](CRsHistory_tbl& r) {
                r.m_user_code = t.user;
                r.m_course_code = t.course;
                r.m_problem_code = t.task;
                r.m_answer_number60 = t.work60;
                r.m_correct_rate60 = t.rate60;
                r.m_answer_koumoku60 = t.work60 * 9;
                r.m_correct_rate_koumoku60 = t.rate60 - 1.04;
                r.m_answer_time = QString::asprintf("%d分00秒", id);
                r.m_delete_flg = t.deleted;
            });
    }

    TestFolder folder;
    CDB db;
};

TEST_F(UserHikakuTest, RanksBestTrialsAndLastThreeTrials) {
    CArrUserHikaku cmp;
    ASSERT_TRUE(cmp.Compute(db, 1, CArrUserHikaku::CardLevel));
    QList<QStringList> rows;
    for (const CArrUserHikakuUserInfo& u : cmp.Users())
        rows << cmp.Cells(u);
    const QList<QStringList> expected{
        // Without skill-test trials of the task: ranked with 0, trial columns empty.
        {"3位", "田中　次郎", "3位", "", "", "", "", "4位", "", "", "", "", "", ""},
        {"3位", "高橋　三郎", "3位", "", "", "", "", "4位", "", "", "", "", "", ""},
        // The earliest of the two trials with 100 is the best; the last three oldest first.
        {"2位", "山田　太郎", "1位", "4分00秒", "2回/3回", "100枚", "90.0%", "3位", "4分00秒", "2回/3回", "100枚", "90.0%",
         "80枚/100枚/100枚", "75.0%/90.0%/66.7%"},
        {"1位", "佐藤　花\"子", "1位", "7分00秒", "1回/2回", "100枚", "95.5%", "2位", "7分00秒", "1回/2回", "100枚",
         "95.5%", "100枚/39枚", "95.5%/50.0%"},
        {"1位", "鈴木　一郎", "2位", "9分00秒", "1回/1回", "90枚", "99.0%", "1位", "9分00秒", "1回/1回", "90枚", "99.0%",
         "90枚", "99.0%"},
    };
    EXPECT_EQ(rows, expected);

    // Item level: the item columns, "%d項目".
    ASSERT_TRUE(cmp.Compute(db, 1, CArrUserHikaku::ItemLevel));
    EXPECT_EQ(cmp.Cells(cmp.Users().back()).mid(4, 3), (QStringList{"1回/1回", "810項目", "98.0%"}));
}

// Trials count in the order they were taken, not in the order of their numbers:
// trial 9 was taken first.
TEST(UserHikakuOrder, TrialsCountByDateNotByNumber) {
    TestFolder folder;
    CDB db;
    db.OpenUser();
    AddTestUser(db, TestUser{});
    const QDateTime day = naiveDateTime(QDate(2026, 4, 1), QTime(9, 0));
    for (const auto& [id, volume, start] : {std::tuple{1, 50, day.addDays(1)}, std::tuple{2, 60, day.addDays(2)},
                                            std::tuple{9, 70, day}})
        AddTestHistory(db, id, [&](CRsHistory_tbl& r) {
            r.m_execution_date = start;
            r.m_answer_number60 = volume;
            r.m_correct_rate60 = 90;
        });
    CArrUserHikaku cmp;
    ASSERT_TRUE(cmp.Compute(db, 1, CArrUserHikaku::CardLevel));
    ASSERT_EQ(cmp.Users().size(), 1);
    const QStringList cells = cmp.Cells(cmp.Users().front());
    EXPECT_EQ(cells.value(4), "1回/3回");
    EXPECT_EQ(cells.value(5), "70枚");
    EXPECT_EQ(cells.value(12), "70枚/50枚/60枚");
}

TEST_F(UserHikakuTest, SavedFileIsQuotedCodePage932WithCrLf) {
    QFile golden(ZENTRY_TEST_DATA "/user_compare/task1_cards.csv");
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    const QByteArray expected = golden.readAll();
    CArrUserHikaku cmp;
    ASSERT_TRUE(cmp.Compute(db, 1, CArrUserHikaku::CardLevel));
    EXPECT_EQ(cmp.CsvBytes(), expected);

    const ToolRun r = RunZentryTool({"compare", "--folder", folder.path(), "--task", "1", "--level", "1"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, expected);
}
} // namespace
