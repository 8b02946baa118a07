// The analysis-result file: whole trials written through the real input-value
// file and compared byte for byte with the expected files under tests/data.
#include "AnalysisFixtures.h"
#include "ArrDenpyo.h"
#include "ICException.h"
#include "InputLog.h"
#include "KaisekiFile.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

using namespace analysis;
using fixtures::FakeClock;
using fixtures::MasterWriter;

namespace {

QByteArray expectedFile(const char* name) {
    return readBytes(QStringLiteral(ZENTRY_TEST_DATA "/analysis/") + QString::fromUtf8(name));
}

QDateTime at(int h, int m, int s) {
    return naiveDateTime(QDate(2026, 4, 1), QTime(h, m, s));
}

class KaisekiFile : public ::testing::Test {
protected:
    void SetUp() override {
        {
            MasterWriter w(folder.file("Quillon01.mst"));
            AddSampleCards(w);
        }
        master.OpenMaster();
        user.OpenUser();
        fixtures::addUser(user, 1, "山田", "太郎");
    }

    // Opens both files of a trial as the task screen does, with history row 1.
    void openTrial(int problem, const CKaisekiFile::TrialConditions& env, const QDateTime& openedAt) {
        History h;
        h.problem = problem;
        h.executed = openedAt;
        h.course = QString::number(env.course_code);
        h.endTime = QString::number(env.end_time);
        addHistory(user, h);
        result.Open(user, master, env, problem, openedAt, 1);
        log.Open(user, problem, openedAt, 1);
        log.WriteLine(CInputLog::HeaderLine(problem, env.course_code));
        course = env.course_code;
    }

    // One card shown at `shown`, typed, and completed at `finished`.
    void work(CArrBase& deck, int number, const QStringList& inputs, const QDateTime& shown,
              const QDateTime& finished) {
        const int index = deck.FindCard(number);
        ASSERT_GE(index, 0);
        clock.set(shown);
        deck.MarkShown(index);
        for (int i = 0; i < inputs.size(); ++i)
            deck.at(index).input[i] = inputs.at(i);
        clock.set(finished);
        deck.MarkFinished(index);
        log.WriteLine(CInputLog::CardLine(deck, index, course));
    }

    QString resultPath(int problem, const QDateTime& openedAt) {
        return AppSub::UserFolder(1, false) + '/' +
               AppSub::CsvFileName(AppSub::CsvKind::AnalysisResult, problem, openedAt, "山田", "太郎");
    }

    TestFolder folder;
    FakeClock clock{at(9, 0, 0)};
    CDB master, user;
    CKaisekiFile result;
    CInputLog log;
    int course = 0;
};

CKaisekiFile::TrialConditions levelUp() {
    CKaisekiFile::TrialConditions env;
    env.course_code = 3;
    env.end_time = 3;
    env.display_flg = 1;
    env.order_flg = 2;
    env.progress_flg = 1;
    env.timer_flg = 0;
    env.zip_flg = 1;
    env.sound_flg = 1;
    env.target_value = 20;
    env.target_value2 = 18;
    env.final_feedback_flg = 1;
    env.result_code = 3;
    env.color_code = 2;
    return env;
}
} // namespace

TEST_F(KaisekiFile, VoucherTrialWithErrorsMatchesTheExpectedFile) {
    const QDateTime opened = at(9, 30, 0);
    openTrial(2, levelUp(), opened);
    EXPECT_EQ(result.Path(), resultPath(2, opened));

    CArrDenpyo deck;
    deck.Load(master, 1);
    work(deck, 10, {"123", "P-100", "03-1234-5678", "a@b.jp"}, at(9, 30, 5), at(9, 31, 10));
    // Errors in items 1 and 3.
    work(deck, 20, {"124", "P-200", "03-1234-5679", "c@d.jp"}, at(9, 31, 10), at(9, 32, 40));
    // Errors in items 2 (a digit left as printed) and 4 (a lower-case letter changed).
    work(deck, 30, {"ABC", "P-3O0", "045-111-2222", "E@f.jp"}, at(9, 32, 40), at(9, 34, 0));
    log.Close();

    EXPECT_EQ(result.WriteResult(deck, 1), 1);
    result.Close();
    EXPECT_EQ(readBytes(resultPath(2, opened)), expectedFile("voucher_levelup.csv"));

    const CArrKaisekiMain_ShikouKai* first = result.FirstResult();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->m_AutoNumber, 1);
    EXPECT_EQ(first->m_trialNo, 1);
    EXPECT_EQ(first->m_answer_number, 3);
    EXPECT_EQ(first->m_correct_number, 1);
    EXPECT_DOUBLE_EQ(first->m_answer_number60, 3 * 1.33);
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

TEST_F(KaisekiFile, TrialWithoutErrorsHasOnlyHeadersAndZeroTotals) {
    CKaisekiFile::TrialConditions env;
    env.course_code = 1;
    env.end_time = 2;
    env.order_flg = 1;
    env.timer_flg = 1;
    env.sound_flg = 1;
    // Feedback settings do not show for the skill test.
    env.final_feedback_flg = 1;
    env.result_code = 2;
    env.color_code = 3;
    const QDateTime opened = at(10, 0, 0);
    openTrial(1, env, opened);

    CArrHagaki deck;
    deck.Load(master, 1);
    work(deck, 1, kCard1, at(10, 0, 3), at(10, 1, 0));
    work(deck, 2, kCard2, at(10, 1, 0), at(10, 2, 0));
    log.Close();

    EXPECT_EQ(result.WriteResult(deck, 1), 1);
    result.Close();
    EXPECT_EQ(readBytes(resultPath(1, opened)), expectedFile("questionnaire_clean.csv"));
}

TEST_F(KaisekiFile, ATrialTheAnalysisCannotFindIsWrittenWithZeroCounts) {
    const QDateTime opened = at(11, 0, 0);
    openTrial(2, levelUp(), opened);
    log.Close();
    CArrDenpyo deck;
    deck.Load(master, 1);
    EXPECT_EQ(result.WriteResult(deck, 99), 0);
    EXPECT_EQ(result.FirstResult(), nullptr);
    result.Close();
    const QStringList lines = cp932::decode(readBytes(resultPath(2, opened))).split("\r\n");
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[4], "0枚,0枚,0枚, 0.00%, 0.00%,,") << "no card shown: no times";
    EXPECT_EQ(lines.last(), "") << "the file ends with a line end";
    EXPECT_EQ(lines[lines.size() - 2], "合計,,0枚,0枚,0枚,0枚,0枚,0枚");
}

TEST(KaisekiFileLines, TargetSectionFollowsCourseAndFeedbackSwitches) {
    struct Case {
        int course, finalFeedback, method, colour;
        const char* line;
    } cases[] = {
        {2, 1, 1, 4, "基礎トレーニング,,,音,"},
        {2, 1, 2, 4, "基礎トレーニング,,,図形（○×）,緑"},
        {3, 1, 3, 6, "レベルアップトレーニング,5枚,4枚,文字色,オレンジ"},
        {3, 0, 3, 6, "レベルアップトレーニング,5枚,4枚,,"},
        {1, 1, 3, 6, "実力テスト,,,,"},
    };
    fixtures::HandDeck<CArrDenpyo> deck;
    const CArrKaisekiMain_ShikouKai trial;
    for (const Case& c : cases) {
        CKaisekiFile::TrialConditions env;
        env.course_code = c.course;
        env.final_feedback_flg = c.finalFeedback;
        env.result_code = c.method;
        env.color_code = c.colour;
        env.target_value = 5;
        env.target_value2 = 4;
        const QStringList lines = CKaisekiFile::ResultLines(3, env, trial, deck);
        EXPECT_EQ(lines.value(8), QString::fromUtf8(c.line));
        EXPECT_EQ(lines.value(0), "顧客伝票ミスチェック・解析結果");
    }
}

TEST(KaisekiFileLines, RatesArePrintedWithTwoDecimalsInFiveColumns) {
    fixtures::HandDeck<CArrDenpyo> deck;
    CArrKaisekiMain_ShikouKai trial;
    trial.m_answer_number = 20;
    trial.m_correct_number = 1;
    trial.m_errorCards = 19;
    trial.m_correct_rate = 5;
    trial.m_errorCardRate = 95;
    EXPECT_EQ(CKaisekiFile::ResultLines(2, {}, trial, deck).value(4), "20枚,1枚,19枚, 5.00%,95.00%,,");
    trial.m_correct_rate = 100;
    trial.m_errorCardRate = 0;
    EXPECT_EQ(CKaisekiFile::ResultLines(2, {}, trial, deck).value(4), "20枚,1枚,19枚,100.00%, 0.00%,,");
}

TEST_F(KaisekiFile, ACardNotInTheLiveDeckHasNoElapsedTime) {
    fixtures::HandDeck<CArrDenpyo> deck;
    CArrKaisekiMain_ShikouKai trial;
    CArrKaisekiMain_Moji m;
    m.m_cardNo = 7;
    m.m_itemCode = 22;
    m.m_charClass = 3;
    trial.m_wrongChars.push_back(m);
    const QStringList lines = CKaisekiFile::ResultLines(2, {}, trial, deck);
    EXPECT_TRUE(lines.contains("1,0007,,×,,,")) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains("1,0007,,,×,,,,"));
}

// ---------------------------------------------------------------- failures

TEST_F(KaisekiFile, AFileThatCannotBeCreatedRaisesAnErrorNamingThePath) {
    const QDateTime opened = at(12, 0, 0);
    const QString path = resultPath(2, opened);
    // A folder in the file's place: the file cannot be created.
    ASSERT_TRUE(QDir().mkpath(path));
    try {
        result.Open(user, master, levelUp(), 2, opened, 1);
        FAIL() << "no error raised";
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().contains(QDir::toNativeSeparators(path))) << e.what();
        EXPECT_TRUE(e.GetErrorMessage().contains("解析結果ファイル")) << e.what();
    }
    EXPECT_FALSE(result.IsOpen());
}

TEST_F(KaisekiFile, AnUncreatableUserFolderRaisesAnErrorNamingThePath) {
    // A file where the analysis folder should be.
    QFile blocker(folder.file("解析結果"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        result.Open(user, master, levelUp(), 2, at(12, 0, 0), 1);
        FAIL() << "no error raised";
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().contains("_解析結果_顧客伝票_山田_太郎.csv")) << e.what();
    }
    EXPECT_FALSE(result.IsOpen());
}

TEST_F(KaisekiFile, AFullDiskRaisesAnErrorNamingThePath) {
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    const QDateTime opened = at(13, 0, 0);
    const QString path = resultPath(2, opened);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    // Every write to the file fails as on a full disk.
    ASSERT_TRUE(QFile::link("/dev/full", path));
    openTrial(2, levelUp(), opened);
    log.Close();
    CArrDenpyo deck;
    deck.Load(master, 1);
    try {
        result.WriteResult(deck, 1);
        FAIL() << "no error raised";
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().contains(QDir::toNativeSeparators(path))) << e.what();
        EXPECT_TRUE(e.GetErrorMessage().contains("に書き込めません")) << e.what();
    }
    ASSERT_NE(result.FirstResult(), nullptr) << "the analysis itself is kept for the history row";
}

TEST_F(KaisekiFile, NeverOpenedItHasNothingToAnalyse) {
    CArrDenpyo deck;
    EXPECT_EQ(result.WriteResult(deck, 1), 0) << "no databases to analyse with";
    EXPECT_EQ(result.FirstResult(), nullptr);
}
