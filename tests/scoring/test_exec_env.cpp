#include "AppSub.h"
#include "ArrKaisekiMain.h"
#include "DbEngine.h"
#include "DeckFixtures.h"
#include "ExecEnv.h"
#include "TestFolder.h"

#include <QFile>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <future>
#include <thread>

using namespace fixtures;

namespace {
const QDateTime kStart = naiveDateTime(QDate(2026, 4, 1), QTime(9, 30, 15));

struct EnvTest : ::testing::Test {
    EnvTest() {
        userDb.OpenUser();
        addUser(userDb, 1, "山田", "太郎", 11, 12, 13);
        env.user_code = 1;
        env.problem_code = 2;
    }
    // The row as stored, read back through a fresh recordset.
    std::unique_ptr<CRsHistory_tbl> row(int autoNumber) {
        auto rs = std::make_unique<CRsHistory_tbl>(&userDb);
        rs->Open(CRecordset::dbOpenSnapshot, "select * from [History_tbl] where [AutoNumber] = %d ",
                 {autoNumber}, CRecordset::readOnly);
        EXPECT_FALSE(rs->IsEOF()) << autoNumber;
        return rs;
    }
    std::unique_ptr<CRsUser_tbl> user(int code) {
        auto rs = std::make_unique<CRsUser_tbl>(&userDb);
        rs->Open(CRecordset::dbOpenSnapshot, "select * from [User_tbl] where [user_code] = %d ", {code},
                 CRecordset::readOnly);
        return rs;
    }
    int historyRows() {
        CRsHistory_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenSnapshot, "[History_tbl]");
        return rs.GetRecordCount();
    }
    // Reopens the same database file read-only.
    void reopenReadOnly() {
        userDb.Close();
        ASSERT_EQ(userDb.OpenPrevious(folder.path()), 1);
        ASSERT_FALSE(userDb.canWrite());
    }

    TestFolder folder;
    FakeClock clock{kStart};
    CDB userDb;
    CExecEnv env;
};

// The analysed trial whose totals complete a row.
const CArrKaisekiMain_ShikouKai& totals() {
    static CArrKaisekiMain_ShikouKai t;
    t.m_answer_number = 30;
    t.m_answer_koumoku = 120;
    t.m_correct_number = 27;
    t.m_correct_koumoku = 115;
    t.m_correct_rate = 90.0;
    t.m_correct_rate_koumoku = 95.83;
    t.m_answer_number60 = 39.9;
    t.m_answer_koumoku60 = 159.6;
    t.m_correct_number60 = 35.91;
    t.m_correct_koumoku60 = 152.95;
    t.m_correct_rate60 = 90.25;
    t.m_correct_rate_koumoku60 = 95.5;
    return t;
}
} // namespace

// ---------------------------------------------------------------- conditions

TEST(ExecEnvConditions, ConstructedAndResetValues) {
    CExecEnv env;
    EXPECT_EQ(env.user_code, 0);
    EXPECT_EQ(env.problem_code, 0);
    EXPECT_EQ(env.course_code, 0);
    EXPECT_EQ(env.order_flg, 1);
    EXPECT_EQ(env.start_flg, 1);
    EXPECT_EQ(env.specifie_start_no, 1);
    EXPECT_EQ(env.display_flg, 0);
    EXPECT_EQ(env.display_position, 1);
    EXPECT_EQ(env.zip_flg, 1);
    EXPECT_EQ(env.sound_flg, 1);

    env.SetTraineeConditions(4, 1, 1, 1, 40, 35, 0, 0, 0, 3, 6, 1);
    EXPECT_EQ(env.end_time, 4);
    EXPECT_EQ(env.progress_flg, 1);
    EXPECT_EQ(env.timer_flg, 1);
    EXPECT_EQ(env.remainder_flg, 1);
    EXPECT_EQ(env.target_value, 40);
    EXPECT_EQ(env.target_value2, 35);
    EXPECT_EQ(env.graph_flg, 0);
    EXPECT_EQ(env.error_feedback_flg, 0);
    EXPECT_EQ(env.final_feedback_flg, 0);
    EXPECT_EQ(env.result_code, 3);
    EXPECT_EQ(env.color_code, 6);
    EXPECT_EQ(env.enlarge_flg, 1);

    env.ResetTraineeConditions();
    const CExecEnv fresh;
    for (auto field : {&CExecEnv::end_time, &CExecEnv::progress_flg, &CExecEnv::timer_flg,
                       &CExecEnv::remainder_flg, &CExecEnv::enlarge_flg, &CExecEnv::target_value,
                       &CExecEnv::target_value2, &CExecEnv::graph_flg, &CExecEnv::error_feedback_flg,
                       &CExecEnv::final_feedback_flg, &CExecEnv::result_code, &CExecEnv::color_code})
        EXPECT_EQ(env.*field, fresh.*field);
    EXPECT_EQ(fresh.end_time, 2);
    EXPECT_EQ(fresh.graph_flg, 1);
    EXPECT_EQ(fresh.result_code, 1);
    EXPECT_EQ(fresh.color_code, 1);
}

TEST(ExecEnvConditions, InstructorConditionsComeFromTheIniFile) {
    TestFolder folder;
    CExecEnv env;
    env.order_flg = 9;
    env.display_position = 9;
    env.LoadInstructorConditions();
    EXPECT_EQ(env.order_flg, 1) << "missing file: defaults";
    EXPECT_EQ(env.display_position, 1);
    EXPECT_EQ(env.zip_flg, 1);

    folder.writeIni("[Settings]\norder_flg=2\nstart_flg=2\nspecifie_start_no=57\ndisplay_flg=1\n"
                    "display_position=2\nzip_flg=0\nsound_flg=0\n");
    env.LoadInstructorConditions();
    EXPECT_EQ(env.order_flg, 2);
    EXPECT_EQ(env.start_flg, 2);
    EXPECT_EQ(env.specifie_start_no, 57);
    EXPECT_EQ(env.display_flg, 1);
    EXPECT_EQ(env.display_position, 2);
    EXPECT_EQ(env.zip_flg, 0);
    EXPECT_EQ(env.sound_flg, 0);
    EXPECT_EQ(env.end_time, 2) << "trainee conditions untouched";

    // Values edited by hand outside their choices read as the choice the
    // screens fall back to; bytes that are no text at all read as missing keys.
    folder.writeIni("[Settings]\norder_flg=abc\nstart_flg=7\nspecifie_start_no=-3\ndisplay_flg=5\n"
                    "display_position=9\nzip_flg=-1\nsound_flg=\n");
    env.LoadInstructorConditions();
    EXPECT_EQ(std::vector<int>({env.order_flg, env.start_flg, env.specifie_start_no, env.display_flg,
                                env.display_position, env.zip_flg, env.sound_flg}),
              std::vector<int>({1, 1, -3, 1, 1, 1, 1}));
    QFile ini(AppSub::ProfilePath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QByteArray("\xff\xfe[Sett\x00ings]\r\norder_flg\x81=2\r\n\x82", 30));
    ini.close();
    env.LoadInstructorConditions();
    EXPECT_EQ(std::vector<int>({env.order_flg, env.start_flg, env.display_flg, env.display_position}),
              std::vector<int>({1, 1, 0, 1}));
}

TEST(ExecEnvConditions, ImageTimeLimitAndColours) {
    CExecEnv env;
    env.display_position = 2;
    EXPECT_EQ(env.ImagePosition(), 0) << "paper: no image";
    env.display_flg = 1;
    EXPECT_EQ(env.ImagePosition(), 2);

    const std::pair<int, qint64> limits[] = {{1, 900000},  {2, 1800000}, {3, 2700000},
                                             {4, 3600000}, {0, 1800000}, {5, 1800000}};
    for (auto [code, ms] : limits) {
        env.end_time = code;
        EXPECT_EQ(env.TimeLimitMs(), ms) << code;
    }

    const std::pair<int, Labels::Rgb> colours[] = {{1, {0, 0, 0}},   {2, {255, 0, 0}},   {3, {0, 0, 255}},
                                                   {4, {0, 255, 0}}, {5, {255, 255, 0}}, {6, {255, 128, 0}},
                                                   {0, {0, 0, 0}},   {7, {0, 0, 0}}};
    for (auto [code, rgb] : colours) {
        env.color_code = code;
        EXPECT_EQ(env.FeedbackColour(), rgb) << code;
        EXPECT_EQ(env.ContrastColour(), code == 1 ? (Labels::Rgb{255, 0, 0}) : (Labels::Rgb{0, 0, 0}))
            << code;
    }
}

TEST_F(EnvTest, StoredStartNumberOfTheTaskFallsBackToOne) {
    for (int task : {1, 2, 3}) {
        env.problem_code = task;
        EXPECT_EQ(env.StoredStartNumber(userDb), 10 + task);
    }
    addUser(userDb, 2, "零", "負", 0, -4, 5, /*deleted*/ 0);
    addUser(userDb, 3, "削", "除", 7, 7, 7, /*deleted*/ 1);
    env.user_code = 2;
    env.problem_code = 1;
    EXPECT_EQ(env.StoredStartNumber(userDb), 1) << "zero";
    env.problem_code = 2;
    EXPECT_EQ(env.StoredStartNumber(userDb), 1) << "negative";
    env.user_code = 3;
    EXPECT_EQ(env.StoredStartNumber(userDb), 1) << "deleted user";
    env.user_code = 4;
    EXPECT_EQ(env.StoredStartNumber(userDb), 1) << "no user";
    userDb.Close();
    EXPECT_EQ(env.StoredStartNumber(userDb), 1) << "database closed";
}

// ---------------------------------------------------------------- history row

TEST_F(EnvTest, SkillTestRowLeavesFeedbackSoundAndTargetsEmpty) {
    env.course_code = 1;
    env.SetTraineeConditions(3, 0, 1, 0, 40, 30, 1, 1, 1, 3, 4, 0);
    env.order_flg = 2;
    env.display_flg = 0;
    env.display_position = 2;
    env.zip_flg = 1;
    env.sound_flg = 1;
    const int id = env.CreateHistoryRow(userDb, kStart);
    ASSERT_EQ(id, 1);
    auto rs = row(id);
    EXPECT_EQ(rs->m_user_code, 1);
    EXPECT_EQ(rs->m_problem_code, "2");
    EXPECT_EQ(rs->m_execution_date, kStart);
    EXPECT_EQ(rs->m_first_update, kStart);
    EXPECT_EQ(rs->m_last_update, kStart);
    EXPECT_EQ(rs->m_order_flg, "2");
    EXPECT_EQ(rs->m_end_time, "3");
    EXPECT_EQ(rs->m_display_flg, "") << "zero is written as the empty text";
    EXPECT_EQ(rs->m_display_position, "2");
    EXPECT_EQ(rs->m_progress_flg, "");
    EXPECT_EQ(rs->m_timer_flg, "1");
    EXPECT_EQ(rs->m_remainder_flg, "");
    EXPECT_EQ(rs->m_graph_flg, "1");
    EXPECT_EQ(rs->m_zip_flg, "1");
    EXPECT_EQ(rs->m_sound_flg, "") << "never stored for the skill test";
    EXPECT_EQ(rs->m_course_code, "1");
    EXPECT_EQ(rs->m_target_value, 0);
    EXPECT_EQ(rs->m_target_value2, 0);
    EXPECT_EQ(rs->m_result_code, "");
    EXPECT_EQ(rs->m_color_code, "");
    EXPECT_EQ(rs->m_end_flg, "");
    EXPECT_EQ(rs->m_answer_time, "");
    EXPECT_EQ(rs->m_answer_number, 0);
    EXPECT_EQ(rs->m_correct_rate_koumoku60, 0.0);
    EXPECT_EQ(rs->m_delete_flg, 0);
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

TEST_F(EnvTest, FeedbackColumnsFollowCourseMethodAndSwitches) {
    struct Case {
        int course, errorFeedback, finalFeedback, method, colour;
        const char *result, *color, *sound;
        int target1, target2;
    };
    const Case cases[] = {
        {3, 1, 1, 1, 4, "1", "", "1", 40, 30},  // sound feedback: no colour
        {3, 0, 1, 3, 5, "3", "5", "1", 40, 30}, // final feedback alone is enough
        {3, 0, 0, 3, 5, "", "", "1", 40, 30},   // both switches off
        {2, 1, 0, 2, 2, "2", "2", "1", 0, 0},   // targets only for level-up training
        {2, 0, 0, 2, 2, "", "", "1", 0, 0},
    };
    int expectedId = 0;
    for (const Case& c : cases) {
        env.course_code = c.course;
        env.SetTraineeConditions(2, 1, 0, 0, 40, 30, 0, c.errorFeedback, c.finalFeedback, c.method, c.colour,
                                 0);
        const int id = env.CreateHistoryRow(userDb, kStart.addSecs(++expectedId));
        ASSERT_EQ(id, expectedId);
        auto rs = row(id);
        EXPECT_EQ(rs->m_result_code, c.result) << id;
        EXPECT_EQ(rs->m_color_code, c.color) << id;
        EXPECT_EQ(rs->m_sound_flg, c.sound) << id;
        EXPECT_EQ(rs->m_target_value, c.target1) << id;
        EXPECT_EQ(rs->m_target_value2, c.target2) << id;
        EXPECT_EQ(rs->m_graph_flg, "") << id;
        EXPECT_EQ(rs->m_course_code, QString::number(c.course)) << id;
    }
}

TEST_F(EnvTest, NewRowNumberFollowsTheHighestEvenWhenDeleted) {
    env.course_code = 2;
    ASSERT_EQ(env.CreateHistoryRow(userDb, kStart), 1);
    ASSERT_EQ(env.CreateHistoryRow(userDb, kStart), 2);
    {
        CRsHistory_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenDynaset,
                "select * from [History_tbl] where [AutoNumber] = %d and [delete_flg] <> 1 ", {2});
        userDb.BeginTrans();
        rs.Edit();
        rs.m_delete_flg = 1;
        rs.Update();
        userDb.CommitTrans();
    }
    EXPECT_EQ(env.CreateHistoryRow(userDb, kStart), 3);
}

TEST_F(EnvTest, ReadOnlyDatabaseRefusesEveryWriteWithMessage119) {
    reopenReadOnly();
    env.course_code = 1;
    EXPECT_EQ(env.CreateHistoryRow(userDb, kStart), 0);
    EXPECT_FALSE(env.CompleteHistoryRow(userDb, 1, totals(), 1, "01分00秒"));
    EXPECT_FALSE(env.StoreNextStartNumber(userDb, 5));
    ASSERT_EQ(folder.notifier.entries.size(), 3);
    EXPECT_EQ(folder.notifier.entries[0].text,
              QStringLiteral(
                  "[History_tbl] の更新ができません。\n読込専用で開かれていないかチェックしてください。"));
    EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(folder.notifier.entries[1].text, folder.notifier.entries[0].text);
    EXPECT_EQ(
        folder.notifier.entries[2].text,
        QStringLiteral("[User_tbl] の更新ができません。\n読込専用で開かれていないかチェックしてください。"));
    EXPECT_EQ(historyRows(), 0);
    EXPECT_EQ(user(1)->m_start_no2, 12);
}

TEST_F(EnvTest, CompletingWritesTotalsEndReasonWorkingTimeAndLastUpdate) {
    env.course_code = 3;
    const int first = env.CreateHistoryRow(userDb, kStart);
    const int second = env.CreateHistoryRow(userDb, kStart);
    clock.advance(3600 + 30);
    ASSERT_TRUE(env.CompleteHistoryRow(userDb, first, totals(), 0, "60分00秒"));
    ASSERT_TRUE(env.CompleteHistoryRow(userDb, second, totals(), 1, "12分03秒"));

    auto rs = row(first);
    EXPECT_EQ(rs->m_answer_number, 30);
    EXPECT_EQ(rs->m_answer_koumoku, 120);
    EXPECT_EQ(rs->m_correct_number, 27);
    EXPECT_EQ(rs->m_correct_koumoku, 115);
    EXPECT_DOUBLE_EQ(rs->m_correct_rate, 90.0);
    EXPECT_DOUBLE_EQ(rs->m_correct_rate_koumoku, 95.83);
    EXPECT_DOUBLE_EQ(rs->m_answer_number60, 39.9);
    EXPECT_DOUBLE_EQ(rs->m_answer_koumoku60, 159.6);
    EXPECT_DOUBLE_EQ(rs->m_correct_number60, 35.91);
    EXPECT_DOUBLE_EQ(rs->m_correct_koumoku60, 152.95);
    EXPECT_DOUBLE_EQ(rs->m_correct_rate60, 90.25);
    EXPECT_DOUBLE_EQ(rs->m_correct_rate_koumoku60, 95.5);
    EXPECT_EQ(rs->m_end_flg, "") << "time limit reached";
    EXPECT_EQ(rs->m_answer_time, "60分00秒");
    EXPECT_EQ(rs->m_first_update, kStart);
    EXPECT_EQ(rs->m_last_update, kStart.addSecs(3630));
    EXPECT_EQ(rs->m_execution_date, kStart);
    EXPECT_EQ(rs->m_course_code, "3") << "conditions stay";
    EXPECT_EQ(row(second)->m_end_flg, "1") << "ended by the trainee";
    EXPECT_EQ(row(second)->m_answer_time, "12分03秒");
}

TEST_F(EnvTest, CompletingAMissingOrDeletedRowFailsAndShowsTheEngineText) {
    EXPECT_FALSE(env.CompleteHistoryRow(userDb, 42, totals(), 1, "01分00秒"));
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Stop);
    EXPECT_EQ(historyRows(), 0);
    EXPECT_TRUE(userDb.canWrite());
    env.course_code = 1;
    EXPECT_EQ(env.CreateHistoryRow(userDb, kStart), 1) << "the failed write left no transaction open";
}

// ---------------------------------------------------------------- next start number

TEST_F(EnvTest, NextStartNumberIsTheCardInNumberOrderAndOneWhenShuffled) {
    clock.advance(90);
    env.problem_code = 3;
    ASSERT_TRUE(env.StoreNextStartNumber(userDb, 7));
    auto u = user(1);
    EXPECT_EQ(u->m_start_no1, 11);
    EXPECT_EQ(u->m_start_no2, 12);
    EXPECT_EQ(u->m_start_no3, 7);
    EXPECT_EQ(u->m_last_update, kStart.addSecs(90));

    env.problem_code = 1;
    env.order_flg = 2;
    ASSERT_TRUE(env.StoreNextStartNumber(userDb, 7));
    EXPECT_EQ(user(1)->m_start_no1, 1) << "shuffled trials always continue from 1";

    env.user_code = 8;
    EXPECT_FALSE(env.StoreNextStartNumber(userDb, 7)) << "no such user";
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Stop);
}

TEST_F(EnvTest, TrialStartedByTheOtherProgramMeanwhileGetsItsOwnNumber) {
    // The other program takes number 1 and holds its write open a moment.
    std::promise<void> inserted;
    std::thread other([&] {
        CDB db;
        db.OpenUser();
        RunWriteTransaction(db, [&] {
            QSqlQuery q(db.database());
            q.exec(DbEngines::nativeSql(
                db, "insert into [History_tbl] ([AutoNumber], [user_code], [delete_flg]) values (1, 1, 0)"));
            inserted.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        });
    });
    inserted.get_future().wait();
    env.course_code = 1;
    const int id = env.CreateHistoryRow(userDb, kStart);
    other.join();
    EXPECT_EQ(id, 2);
    EXPECT_EQ(historyRows(), 2);
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

TEST_F(EnvTest, ZeroCodesAreStoredAsTheEmptyTextNeverNull) {
    env.course_code = 1;
    env.SetTraineeConditions(2, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0);
    env.display_flg = 0;
    const int timedOut = env.CreateHistoryRow(userDb, kStart);
    const int aborted = env.CreateHistoryRow(userDb, kStart);
    ASSERT_TRUE(env.CompleteHistoryRow(userDb, timedOut, totals(), 0, "30分00秒"));
    ASSERT_TRUE(env.CompleteHistoryRow(userDb, aborted, totals(), 1, "10分00秒"));

    // Read as any other tool reads the file, not through the recordsets.
    QSqlQuery q(userDb.database());
    for (const char* column : {"display_flg", "progress_flg", "timer_flg", "remainder_flg", "graph_flg",
                               "sound_flg", "result_code", "color_code", "end_flg"}) {
        ASSERT_TRUE(q.exec(QStringLiteral("select typeof([%1]), [%1] from History_tbl where AutoNumber = %2")
                               .arg(QLatin1String(column))
                               .arg(timedOut)) &&
                    q.next());
        EXPECT_EQ(q.value(0).toString(), "text") << column;
        EXPECT_EQ(q.value(1).toString(), "") << column;
    }
    // A filter on the end reason keeps the timed-out trial.
    ASSERT_TRUE(q.exec("select AutoNumber from History_tbl where [end_flg] <> '1'") && q.next());
    EXPECT_EQ(q.value(0).toInt(), timedOut);
    EXPECT_FALSE(q.next());
}
