// The error analysis against real input-value files, a real master data file
// and a real user database in a temporary program folder.
#include "AnalysisFixtures.h"
#include "ArrDenpyo.h"
#include "ArrKaisekiMain.h"
#include "KCCompareText.h"
#include "TestFolder.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace analysis;
using fixtures::MasterWriter;

namespace {
const QDateTime kStart = naiveDateTime(QDate(2026, 4, 1), QTime(9, 30, 0));


// Item codes in the wrong-character list.
constexpr int kReading = 11;
constexpr int kName = 12;
constexpr int kCustomer = 21;

class Analysis : public ::testing::Test {
protected:
    void SetUp() override {
        {
            MasterWriter w(folder.file("Quillon01.mst"));
            AddSampleCards(w);
            w.card("Mst03", 1, {"ベーシック", "基礎"});
            w.voucher("Mst04", 1, {"900", "B-1", "06-1111-1111", "g@h.jp"});
            w.voucher("Mst04Error", 1, {"901", "B-1", "06-1111-1111", "g@h.jp"});
        }
        master.OpenMaster();
        user.OpenUser();
        fixtures::addUser(user, 1, "山田", "太郎");
        fixtures::addUser(user, 2, "佐藤", "花子");
    }

    // Adds history row h and its input-value file with the given card lines.
    void trial(const History& h, const QStringList& cards) {
        addHistory(user, h);
        writeFile(inputFilePath(h.userCode, h.problem, h.executed),
                  QStringList{headerLine(h.problem, h.course.toInt())} + cards);
    }

    int run(int task, CArrKaisekiMain::Conditions c = {}) {
        c.userCode = c.userCode ? c.userCode : 1;
        c.problemCode = task;
        return an.Run(user, master, c);
    }

    const CArrKaisekiMain_ShikouKai& only() {
        EXPECT_EQ(an.GetSize(), 1);
        return *an.GetAt(0);
    }

    void masterExec(const QString& sql) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "analysis_master_edit");
        db.setDatabaseName(folder.file("Quillon01.mst"));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        q.finish();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("analysis_master_edit");
    }

    QStringList withItem(QStringList items, int position, const QString& text) {
        items[position] = text;
        return items;
    }

    TestFolder folder;
    CDB master, user;
    CArrKaisekiMain an;
};

QList<int> trialNumbers(const CArrKaisekiMain& an) {
    QList<int> out;
    for (const auto& t : an.Trials())
        out << t->m_trialNo;
    return out;
}

QList<int> autoNumbers(const CArrKaisekiMain& an) {
    QList<int> out;
    for (const auto& t : an.Trials())
        out << t->m_AutoNumber;
    return out;
}

struct Wrong {
    int card, item, cls, kind;
    QString expected, found;
};

void expectWrong(const CArrKaisekiMain_ShikouKai& t, const std::vector<Wrong>& want) {
    ASSERT_EQ(t.m_wrongChars.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        const CArrKaisekiMain_Moji& m = t.m_wrongChars[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(m.m_cardNo, want[i].card);
        EXPECT_EQ(m.m_itemCode, want[i].item);
        EXPECT_EQ(m.m_charClass, want[i].cls);
        EXPECT_EQ(m.m_errorKind, want[i].kind);
        EXPECT_EQ(m.m_expected, want[i].expected);
        EXPECT_EQ(m.m_found, want[i].found);
        EXPECT_EQ(m.m_trial, &t);
    }
}
} // namespace

// ---------------------------------------------------------------- character classes

TEST(CharClass, FollowsTheCodeRangesOfTheCodePage) {
    struct Case {
        int cls;
        const char* characters;
    } cases[] = {
        {1, "アヴヶぁんｱｦﾟ"},
        {3, "09０９"},
        {4, "AZＡＺ"},
        {5, "azａｚ"},
        // 0x8340 "ァ" lies just below the katakana range.
        {6, "- @　ー・①ゞァ"},
        // Stand-alone single bytes above 0x7F count as signed bytes: above every kanji code.
        {2, "亜漢弌熙｡･"},
    };
    for (const Case& c : cases)
        for (const QString& ch : cp932::characters(QString::fromUtf8(c.characters)))
            EXPECT_EQ(CArrKaisekiMain::CharClass(ch), c.cls) << ch.toStdString();
    EXPECT_EQ(CArrKaisekiMain::CharClass(QString()), 6);
    EXPECT_EQ(CArrKaisekiMain::CharClass(QStringLiteral("漢A")), 2) << "the first character counts";
    EXPECT_EQ(CArrKaisekiMain::CharClassOfCode(0x889E), 6);
    EXPECT_EQ(CArrKaisekiMain::CharClassOfCode(0x889F), 2);
    EXPECT_EQ(CArrKaisekiMain::CharClassOfCode(0x80), 2);
    EXPECT_EQ(CArrKaisekiMain::CharClassOfCode(0xA0), 2);
    EXPECT_EQ(CArrKaisekiMain::CharClassOfCode(0xA5), 2);
    EXPECT_EQ(CArrKaisekiMain::CharClassOfCode(0xA6), 1);
    EXPECT_EQ(CArrKaisekiMain::CharClassOfCode(0xDF), 1);
    EXPECT_EQ(CArrKaisekiMain::CharClassOfCode(0x7F), 6);
}

// ---------------------------------------------------------------- position-wise comparison

TEST(CompareText, MarksEachPositionWithoutAligning) {
    CKCCompareText cmp;
    EXPECT_EQ(cmp.Compare("ABCD", "ABD"), 0);
    ASSERT_EQ(cmp.GetSize(), 4);
    EXPECT_TRUE(cmp.IsMatch(0));
    EXPECT_TRUE(cmp.IsMatch(1));
    EXPECT_FALSE(cmp.IsMatch(2));
    EXPECT_FALSE(cmp.IsMatch(3)) << "a missing character shifts every later position";
    EXPECT_EQ(cmp.LeftChar(3), "D");
    EXPECT_EQ(cmp.RightChar(3), "");

    EXPECT_EQ(cmp.Compare("漢字", "漢字"), 1);
    EXPECT_EQ(cmp.GetSize(), 2);
    EXPECT_EQ(cmp.Compare("", ""), 1);
    EXPECT_EQ(cmp.GetSize(), 0);
    EXPECT_EQ(cmp.Compare("ｱ", "ア"), 0) << "half-width and full-width differ";
    EXPECT_EQ(cmp.Compare("𠮷野", "𠮷野家"), 0);
    EXPECT_EQ(cmp.GetSize(), 3) << "a character outside the basic plane is one position";
    EXPECT_EQ(cmp.LeftChar(0), "𠮷");
    EXPECT_EQ(cmp.RightChar(2), "家");
}

TEST(CompareText, MarksMustFlagExactlyThePrintedErrors) {
    CKCCompareText cmp;
    EXPECT_EQ(cmp.CompareMarks("123", "128", "NNC"), 1);
    EXPECT_EQ(cmp.CompareMarks("123", "128", "NNN"), 0);
    EXPECT_FALSE(cmp.IsMatch(2));
    EXPECT_EQ(cmp.CompareMarks("123", "128", "CNC"), 0);
    EXPECT_FALSE(cmp.IsMatch(0));
    EXPECT_TRUE(cmp.IsMatch(2));
    // Marks shorter than the values: a missing mark never matches.
    EXPECT_EQ(cmp.CompareMarks("123", "123", "NN"), 0);
    ASSERT_EQ(cmp.GetSize(), 3);
    EXPECT_FALSE(cmp.IsMatch(2));
    // Marks longer than the values are ignored, whatever they say.
    EXPECT_EQ(cmp.CompareMarks("123", "128", "NNCCC"), 1);
    EXPECT_EQ(cmp.GetSize(), 3);
    EXPECT_EQ(cmp.CompareMarks("123", "128", "NNc"), 0) << "only capital marks count";
}

// ---------------------------------------------------------------- judging cards

TEST_F(Analysis, QuestionnaireAbdForAbcdIsOneWrongAndOneMissingCharacter) {
    trial({}, {cardLine("1分0秒", 1, withItem(kCard1, 0, "ABD")), cardLine("2分0秒", 2, kCard2)});
    ASSERT_EQ(run(1), 1);
    const auto& t = only();
    expectWrong(t, {{1, kReading, 4, 1, "C", "D"}, {1, kReading, 4, 2, "D", ""}});
    EXPECT_EQ(t.m_answer_number, 2);
    EXPECT_EQ(t.m_correct_number, 1);
    EXPECT_EQ(t.m_errorCards, 1);
    EXPECT_DOUBLE_EQ(t.m_errorCardRate, 50.0);
    EXPECT_EQ(t.m_itemErrors[0], 1) << "two wrong characters, one item error";
    EXPECT_EQ(t.m_answer_koumoku, 18);
    EXPECT_EQ(t.m_correct_koumoku, 17);
    EXPECT_DOUBLE_EQ(t.m_correct_rate, 50.0);
    EXPECT_DOUBLE_EQ(t.m_correct_rate_koumoku, 17.0 / 18 * 100);
    EXPECT_EQ(t.m_classErrors[3], 1);
    EXPECT_FALSE(t.m_fileMissing);
    EXPECT_TRUE(t.m_message.isEmpty());
}

TEST_F(Analysis, QuestionnaireExtraCharactersAndClassesPerCard) {
    trial({}, {cardLine("1分0秒", 1, withItem(withItem(kCard1, 0, "ABCDE"), 1, "山口")),
               cardLine("2分0秒", 2, withItem(kCard2, 0, "カカ"))});
    ASSERT_EQ(run(1), 1);
    const auto& t = only();
    expectWrong(
        t, {{1, kReading, 6, 3, "", "E"}, {1, kName, 2, 1, "田", "口"}, {2, kReading, 1, 1, "ナ", "カ"}});
    EXPECT_EQ(t.m_itemErrors[0], 2);
    EXPECT_EQ(t.m_itemErrors[1], 1);
    EXPECT_EQ(t.m_correct_koumoku, 18 - 3);
    EXPECT_EQ(t.m_classErrors[0], 1) << "kana on card 2";
    EXPECT_EQ(t.m_classErrors[1], 1) << "kanji on card 1";
    EXPECT_EQ(t.m_classErrors[5], 1) << "the extra character has no correct character: 記号等";
    EXPECT_EQ(t.m_errorCards, 2);
    EXPECT_EQ(t.m_correct_number, 0);
}

TEST_F(Analysis, VoucherCorrectionErrorKinds) {
    History h;
    h.problem = 2;
    // Voucher 10: correct 123, printed 128. Voucher 20: correct and printed 123.
    trial(h, {cardLine("1分0秒", 10, {"128", "P-100", "03-1234-5678", "a@b.jp"}),
              cardLine("2分0秒", 20, {"193", "P-200", "03-1234-5678", "c@d.jp"}),
              cardLine("3分0秒", 10, {"127", "P-100", "03-1234-5678", "a@b.jp"}),
              cardLine("4分0秒", 20, {"123", "P-200", "03-1234-5678", "c@d.jp"})});
    ASSERT_EQ(run(2), 1);
    const auto& t = only();
    expectWrong(t, {{10, kCustomer, 3, 2, "38", "8"},
                    {20, kCustomer, 3, 3, "22", "9"},
                    {10, kCustomer, 3, 1, "38", "7"}});
    EXPECT_EQ(t.m_answer_number, 4);
    EXPECT_EQ(t.m_correct_number, 1);
    EXPECT_EQ(t.m_answer_koumoku, 16);
    EXPECT_EQ(t.m_itemErrors[0], 3);
    EXPECT_EQ(t.m_correct_koumoku, 13);
    EXPECT_EQ(t.m_classErrors[2], 3);
}

TEST_F(Analysis, VoucherCorrectionOfALongerOrShorterValue) {
    History h;
    h.problem = 2;
    // Voucher 30: product correct P-300, printed P-3OO.
    trial(h, {cardLine("1分0秒", 30, {"ABC", "P-30", "045-111-2222", "e@f.jp"}),
              cardLine("2分0秒", 30 /* same card, not consecutive below */,
                       {"ABC", "P-300", "045-111-2222", "e@f.jp"}),
              cardLine("3分0秒", 10, {"123", "P-100", "03-1234-5678", "a@b.jp"}),
              cardLine("4分0秒", 30, {"ABCD", "P-300", "045-111-2222", "e@f.jp"})});
    ASSERT_EQ(run(2), 1);
    const auto& t = only();
    // Row 2 repeats row 1's card and is skipped.
    expectWrong(t, {{30, 22, 3, 1, "0O", ""}, {30, kCustomer, 6, 3, "", "D"}});
    EXPECT_EQ(t.m_answer_number, 3);
    EXPECT_EQ(t.m_correct_number, 1);
}

TEST_F(Analysis, MissCheckMarksShorterAndLongerThanTheValues) {
    History h;
    h.problem = 3;
    trial(h, {cardLine("1分0秒", 10, {"NNC", "NNNNN", "NNNNNNNNNNNN", "NNNNNN"}),
              cardLine("2分0秒", 20, {"NNNCC", "NNNNN", "NNNNNNNNNNNN", "NNNNNN"}),
              cardLine("3分0秒", 10, {"NN", "NNNNN", "NNNNNNNNNNNN", "NNNNNN"}),
              cardLine("4分0秒", 20, {"NC", "NNNNN", "NNNNNNNNNNNN", "NNNNN"})});
    ASSERT_EQ(run(3), 1);
    const auto& t = only();
    expectWrong(t, {// card 10 with a missing last mark: the printed error is overlooked
                    {10, kCustomer, 3, 2, "3", "8"},
                    // card 20: a right character marked, one mark missing at each item end
                    {20, kCustomer, 3, 3, "2", "2"},
                    {20, kCustomer, 3, 3, "3", "3"},
                    {20, 24, 5, 3, "p", "p"}});
    EXPECT_EQ(t.m_answer_number, 4);
    EXPECT_EQ(t.m_correct_number, 2) << "extra marks beyond the values are ignored";
    EXPECT_EQ(t.m_itemErrors[0], 2);
    EXPECT_EQ(t.m_itemErrors[3], 1);
    EXPECT_EQ(t.m_correct_koumoku, 16 - 3);
    EXPECT_EQ(t.m_classErrors[2], 2);
    EXPECT_EQ(t.m_classErrors[4], 1);
}

TEST_F(Analysis, QuotedInputsAreReadBackUnchanged) {
    History h;
    h.problem = 2;
    masterExec("update Mst02 set Col05 = 'a,\"b\"@c.jp' where Col01 = 20");
    masterExec("update Mst02Error set Col05 = 'a,\"b\"@c.jp' where Col01 = 20");
    trial(h, {cardLine("1分0秒", 20, {"123", "P-200", "03-1234-5678", "a,\"b\"@c.jp"})});
    ASSERT_EQ(run(2), 1);
    EXPECT_TRUE(only().m_wrongChars.empty());
    EXPECT_EQ(only().m_correct_number, 1);
}

// A file edited by hand: a line with fields missing judges them as empty, extra
// fields are ignored, a stray quote joins the rest of the line into one field,
// and a line that is no card line at all counts as a card of no known number.
// Restoring the deck stops at the first line without an elapsed time.
TEST_F(Analysis, AFileEditedByHandIsJudgedAsItReads) {
    History h;
    h.problem = 2;
    trial(h, {QStringLiteral("09:30:00,09:31:00,1分0秒,,0020,123,P-200"),
              cardLine("2分0秒", 10, {"123", "P-100", "03-1234-5678", "a@b.jp", "extra", "\"more\""}),
              QStringLiteral("09:30:00,09:33:00,3分0秒,,0030,\"ABC,P-300,045-111-2222,e@f.jp"),
              QStringLiteral("壊れた行")});
    ASSERT_EQ(run(2), 1);
    const CArrKaisekiMain_ShikouKai& t = only();
    EXPECT_EQ(t.m_answer_number, 4);
    EXPECT_EQ(t.m_correct_number, 2);
    EXPECT_EQ(std::vector<int>(t.m_itemErrors, t.m_itemErrors + 4), (std::vector<int>{1, 1, 2, 2}));
    EXPECT_EQ(an.RestoreDeck(1), 0);
    EXPECT_EQ(an.DeckOf(t)->AnsweredNumbers(), (QVector<int>{20, 10, 30}));
}

// ---------------------------------------------------------------- card numbers

TEST_F(Analysis, CardsAreLookedUpByNumberNotByPosition) {
    History h;
    h.problem = 2;
    // With numbers 10, 20, 30 a lookup by position would judge NO. 2 against
    // voucher 20 and NO. 20 against nothing.
    trial(h, {cardLine("1分0秒", 20, {"124", "P-200", "03-1234-5678", "c@d.jp"}),
              cardLine("2分0秒", 2, {"xxx", "", "", ""}), cardLine("3分0秒", 99, {"", "", "", ""})});
    ASSERT_EQ(run(2), 1);
    const auto& t = only();
    expectWrong(t, {{20, kCustomer, 3, 3, "33", "4"}});
    EXPECT_EQ(t.m_answer_number, 3);
    EXPECT_EQ(t.m_correct_number, 2) << "a number not in the deck has no wrong characters";
}

TEST_F(Analysis, BasicTrainingIsJudgedAgainstItsOwnDeckAndKeepsTheCheckCount) {
    History h;
    h.problem = 2;
    h.course = "2";
    trial(h, {cardLine("1分0秒", 1, {"901", "B-1", "06-1111-1111", "g@h.jp"}, "3")});
    ASSERT_EQ(run(2), 1);
    const auto& t = only();
    expectWrong(t, {{1, kCustomer, 3, 2, "01", "1"}});
    CArrBase* deck = an.DeckOf(t);
    ASSERT_NE(deck, nullptr);
    ASSERT_EQ(deck->GetSize(), 1);
    EXPECT_EQ(deck->at(0).correct[0], "900");
    EXPECT_EQ(deck->at(0).errorChecks, 3);
}

TEST_F(Analysis, ExcludedCardsAreJudgedAndCounted) {
    masterExec("update Mst01 set JogaiFlag = 1");
    trial({}, {cardLine("1分0秒", 1, withItem(kCard1, 6, "2")), cardLine("2分0秒", 2, kCard2)});
    ASSERT_EQ(run(1), 1);
    EXPECT_EQ(only().m_answer_number, 2);
    EXPECT_EQ(only().m_errorCards, 1);
    EXPECT_EQ(only().m_itemErrors[6], 1);
}

// ---------------------------------------------------------------- repeated cards

TEST_F(Analysis, ACardCompletedTwiceInARowIsJudgedOnceButAgainLater) {
    const QStringList wrong = withItem(kCard1, 1, "山口");
    trial({}, {cardLine("1分0秒", 1, wrong), cardLine("1分5秒", 1, kCard1), cardLine("1分9秒", 1, kCard1),
               cardLine("2分0秒", 2, kCard2), cardLine("3分0秒", 1, wrong)});
    ASSERT_EQ(run(1), 1);
    const auto& t = only();
    EXPECT_EQ(t.m_answer_number, 3) << "rows 2 and 3 repeat row 1; row 5 is new work";
    EXPECT_EQ(t.m_errorCards, 2);
    EXPECT_EQ(t.m_correct_number, 1);
    ASSERT_EQ(t.m_wrongChars.size(), 2u);
    // Each judged card counts once per item, even with only a correct card between them.
    EXPECT_EQ(t.m_itemErrors[1], 2);
    EXPECT_EQ(t.m_classErrors[1], 2);
    EXPECT_EQ(t.m_correct_koumoku, 27 - 2);
}

// ---------------------------------------------------------------- time buckets

TEST_F(Analysis, TimeBucketsSplitTheTrialByElapsedTime) {
    History h;
    h.endTime = "4";
    trial(h, {cardLine("0分0秒", 1, kCard1), cardLine("14分59秒", 2, kCard2), cardLine("15分0秒", 1, kCard1),
              cardLine("44分59秒", 2, kCard2), cardLine("45分0秒", 1, kCard1), cardLine("60分0秒", 2, kCard2),
              cardLine("60分1秒", 1, kCard1), cardLine("61秒", 2, kCard2)});
    const int expected[] = {8, 2, 1, 1, 2};
    for (int bucket = 0; bucket <= 4; ++bucket) {
        CArrKaisekiMain::Conditions c;
        c.timeBucket = bucket;
        ASSERT_EQ(run(1, c), 1);
        EXPECT_EQ(only().m_answer_number, expected[bucket]) << "bucket " << bucket;
        EXPECT_EQ(only().m_timeBucket, bucket);
    }
}

TEST_F(Analysis, SixtyMinutesExactlyFallsInTheLastBucket) {
    History h;
    h.endTime = "4";
    trial(h, {cardLine("60分0秒", 1, withItem(kCard1, 0, "ABCE"))});
    CArrKaisekiMain::Conditions c;
    c.timeBucket = 4;
    ASSERT_EQ(run(1, c), 1);
    EXPECT_EQ(only().m_answer_number, 1);
    EXPECT_EQ(only().m_errorCards, 1);
    c.timeBucket = 3;
    ASSERT_EQ(run(1, c), 1);
    EXPECT_EQ(only().m_answer_number, 0);
    EXPECT_TRUE(only().m_wrongChars.empty());
}

// ---------------------------------------------------------------- 60-minute values

TEST_F(Analysis, FortyFiveMinutesOfThirtyCardsIsThirtyNinePointNineInAnHour) {
    History h;
    h.problem = 2;
    h.endTime = "3";
    QStringList cards;
    for (int i = 0; i < 30; ++i)
        cards << cardLine(QString("%1分0秒").arg(i), i % 2 ? 10 : 20,
                          i % 2 ? QStringList{"123", "P-100", "03-1234-5678", "a@b.jp"}
                                : QStringList{"123", "P-200", "03-1234-5678", "c@d.jp"});
    cards[0] = cardLine("0分0秒", 20, {"124", "P-200", "03-1234-5678", "c@d.jp"});
    trial(h, cards);
    ASSERT_EQ(run(2), 1);
    const auto& t = only();
    EXPECT_EQ(t.m_answer_number, 30);
    EXPECT_DOUBLE_EQ(t.m_answer_number60, 39.9);
    EXPECT_DOUBLE_EQ(t.m_answer_koumoku60, 120 * 1.33);
    EXPECT_DOUBLE_EQ(t.m_correct_number60, 29 * 1.33);
    EXPECT_DOUBLE_EQ(t.m_correct_koumoku60, 119 * 1.33);
    EXPECT_DOUBLE_EQ(t.m_correct_rate60, 29 * 1.33 / (30 * 1.33) * 100);
    EXPECT_DOUBLE_EQ(t.m_correct_rate_koumoku60, 119 * 1.33 / (120 * 1.33) * 100);
}

TEST_F(Analysis, SixtyMinuteFactorsPerEndTime) {
    struct Case {
        const char* endTime;
        double factor;
    } cases[] = {{"1", 4}, {"2", 2}, {"4", 1}, {"", 0}, {"7", 0}};
    int number = 1;
    for (const Case& c : cases) {
        History h;
        h.autoNumber = number;
        h.endTime = c.endTime;
        h.executed = kStart.addSecs(60 * number++);
        trial(h, {cardLine("0分1秒", 1, kCard1), cardLine("0分2秒", 2, withItem(kCard2, 8, "1"))});
    }
    ASSERT_EQ(run(1), 1);
    ASSERT_EQ(an.GetSize(), 5);
    for (int i = 0; i < 5; ++i) {
        const auto& t = *an.GetAt(i);
        SCOPED_TRACE(cases[i].endTime);
        EXPECT_DOUBLE_EQ(t.m_answer_number60, 2 * cases[i].factor);
        EXPECT_DOUBLE_EQ(t.m_answer_koumoku60, 18 * cases[i].factor);
        EXPECT_DOUBLE_EQ(t.m_correct_number60, 1 * cases[i].factor);
        EXPECT_DOUBLE_EQ(t.m_correct_koumoku60, 17 * cases[i].factor);
        EXPECT_DOUBLE_EQ(t.m_correct_rate60, cases[i].factor ? 50.0 : 0.0);
        EXPECT_DOUBLE_EQ(t.m_correct_rate_koumoku60, cases[i].factor ? 17.0 / 18 * 100 : 0.0);
        EXPECT_DOUBLE_EQ(t.m_correct_rate, 50.0) << "the raw rates do not depend on the end time";
    }
}

// ---------------------------------------------------------------- finding the input file

TEST_F(Analysis, MissingFolderAndMissingFileAreReportedPerTrial) {
    addHistory(user, {});
    ASSERT_EQ(run(1), 1);
    EXPECT_TRUE(only().m_fileMissing);
    EXPECT_EQ(only().m_message, "Error. 入力値ファイルの保存先フォルダが見つかりません.");
    EXPECT_TRUE(only().m_inputFile.isEmpty());

    // A file of another task or another second is not this trial's file.
    writeFile(inputFilePath(1, 2, kStart), {headerLine(2, 1)});
    writeFile(inputFilePath(1, 1, kStart.addSecs(1)), {headerLine(1, 1)});
    ASSERT_EQ(run(1), 1);
    const auto& t = only();
    EXPECT_TRUE(t.m_fileMissing);
    EXPECT_EQ(t.m_message, "Error. 入力値ファイルが見つかりません.");
    EXPECT_EQ(t.m_answer_number, 0);
    EXPECT_EQ(t.m_answer_koumoku, 0);
    EXPECT_DOUBLE_EQ(t.m_correct_rate, 0.0);
    EXPECT_DOUBLE_EQ(t.m_correct_rate_koumoku, 0.0);
    EXPECT_DOUBLE_EQ(t.m_errorCardRate, 0.0);
    EXPECT_DOUBLE_EQ(t.m_answer_number60, 0.0);
    EXPECT_DOUBLE_EQ(t.m_correct_rate60, 0.0);
}

TEST_F(Analysis, TheInputFileIsFoundByTimeAndTaskWhateverTheNames) {
    addHistory(user, {});
    // A folder with the file's name is skipped; a renamed user still finds the file.
    QDir().mkpath(inputFilePath(1, 1, kStart, "A", "A"));
    const QString renamed = inputFilePath(1, 1, kStart, "旧姓", "太郎");
    writeFile(renamed, {headerLine(1, 1), cardLine("1分0秒", 1, kCard1)});
    ASSERT_EQ(run(1), 1);
    EXPECT_EQ(only().m_inputFile, renamed);
    EXPECT_FALSE(only().m_fileMissing);
    EXPECT_EQ(only().m_answer_number, 1);
}

// The files of a long run are read ahead of the judging: a trial without a
// file, or with one that cannot be read (a link to nowhere), keeps its place,
// and the trials around it keep their own files.
TEST_F(Analysis, TrialsWithoutAReadableFileAmongOthersKeepTheirPlaces) {
    enum Kind { File, NoFile, Unreadable };
    const Kind kinds[] = {File, NoFile, File, Unreadable, File, File, File, File, File, File,
                          File, File, Unreadable, File, NoFile, File, File, File, File, File};
    QList<int> cards;
    QStringList messages;
    for (int n = 1; n <= int(std::size(kinds)); ++n) {
        History h;
        h.autoNumber = n;
        h.executed = kStart.addSecs(60 * n);
        const QString path = inputFilePath(h.userCode, h.problem, h.executed);
        const Kind kind = kinds[n - 1];
        if (kind == File) {
            // n card lines, the two sample cards in turn, so no line repeats the one before.
            QStringList lines;
            for (int i = 0; i < n; ++i)
                lines << (i % 2 ? cardLine("1分0秒", 2, kCard2) : cardLine("1分0秒", 1, kCard1));
            trial(h, lines);
        } else {
            addHistory(user, h);
            if (kind == Unreadable) {
                ASSERT_TRUE(QFile::link(folder.file("nowhere.csv"), path));
            }
        }
        cards << (kind == File ? n : 0);
        messages << (kind == File         ? ""
                     : kind == NoFile     ? "Error. 入力値ファイルが見つかりません."
                                          : "Error. 入力値ファイルを読み込めません.");
    }
    ASSERT_EQ(run(1), 1);
    QList<int> gotCards;
    QStringList gotMessages;
    for (const auto& t : an.Trials()) {
        gotCards << t->m_answer_number;
        gotMessages << t->m_message;
        EXPECT_EQ(t->m_fileMissing, t->m_message != "") << t->m_trialNo;
    }
    EXPECT_EQ(gotCards, cards);
    EXPECT_EQ(gotMessages, messages);
}

TEST_F(Analysis, AHeaderOnlyFileHasNoCards) {
    trial({}, {"// written by hand", ""});
    ASSERT_EQ(run(1), 1);
    EXPECT_FALSE(only().m_fileMissing);
    EXPECT_EQ(only().m_answer_number, 0);
    EXPECT_DOUBLE_EQ(only().m_correct_rate, 0.0);
}

TEST_F(Analysis, AnUnknownTaskIsReportedOnItsRow) {
    History h;
    h.problem = 0;
    addHistory(user, h);
    QDir().mkpath(AppSub::UserFolder(1, true));
    ASSERT_EQ(run(0), 1);
    EXPECT_EQ(only().m_message, "Error.");
    EXPECT_TRUE(only().m_fileMissing);
}

// ---------------------------------------------------------------- which rows are analysed

class AnalysisFilters : public Analysis {
protected:
    void SetUp() override {
        Analysis::SetUp();
        // AutoNumber: end_time, course, end_flg; executed in AutoNumber order except 6 first.
        struct Row {
            int id;
            const char* endTime;
            const char* course;
            const char* endFlag;
            int problem;
            int userCode;
            int deleted;
        } rows[] = {{1, "1", "1", "", 1, 1, 0}, {2, "2", "2", "", 1, 1, 0}, {3, "2", "3", "1", 1, 1, 0},
                    {4, "4", "3", "", 1, 1, 0}, {5, "2", "1", "", 2, 1, 0}, {6, "2", "1", "", 1, 1, 0},
                    {7, "2", "1", "", 1, 2, 0}, {8, "2", "1", "", 1, 1, 1}};
        for (const Row& r : rows) {
            History h;
            h.autoNumber = r.id;
            h.endTime = r.endTime;
            h.course = r.course;
            h.endFlag = r.endFlag;
            h.problem = r.problem;
            h.userCode = r.userCode;
            h.deleted = r.deleted;
            h.executed = r.id == 6 ? kStart.addDays(-1) : kStart.addSecs(60 * r.id);
            trial(h, {cardLine("1分0秒", 1, kCard1)});
        }
    }
    QList<int> ids(CArrKaisekiMain::Conditions c) {
        EXPECT_EQ(run(1, c), 1);
        return autoNumbers(an);
    }
};

TEST_F(AnalysisFilters, RowsOfTheUserAndTaskInExecutionOrder) {
    EXPECT_EQ(ids({}), (QList<int>{6, 1, 2, 3, 4}));
    EXPECT_EQ(trialNumbers(an), (QList<int>{1, 2, 3, 4, 5}));
}

TEST_F(AnalysisFilters, EndTimeCourseAndSelectionTypeFilters) {
    CArrKaisekiMain::Conditions c;
    c.endTimeFilter = 2;
    EXPECT_EQ(ids(c), (QList<int>{6, 2, 3}));
    EXPECT_EQ(trialNumbers(an), (QList<int>{1, 2, 3})) << "trial numbers count the rows that pass";

    c = {};
    c.testLevelUpOnly = true;
    EXPECT_EQ(ids(c), (QList<int>{6, 1, 4}));

    c = {};
    c.courseFilter = 3;
    EXPECT_EQ(ids(c), (QList<int>{3, 4}));
    c.courseFilter = CArrKaisekiMain::TestOrLevelUp;
    EXPECT_EQ(ids(c), (QList<int>{6, 1, 3, 4}));

    c = {};
    c.selectionType = 2;
    EXPECT_EQ(ids(c), (QList<int>{6, 2})) << "completed 30-minute trials";
    c.selectionType = 4;
    EXPECT_EQ(ids(c), (QList<int>{4}));
    c.selectionType = CArrKaisekiMain::SelectCompleted;
    EXPECT_EQ(ids(c), (QList<int>{6, 1, 2, 4}));
    c.selectionType = CArrKaisekiMain::SelectAborted;
    EXPECT_EQ(ids(c), (QList<int>{3}));
}

TEST_F(AnalysisFilters, ASelectionGivesItsOwnTrialNumbers) {
    CArrKaisekiMain::Conditions c;
    c.selection = CArrRirekiNum{4, 1, 8, 5};
    c.selectionNumbers = CArrRirekiNum{40, 10, 80, 50};
    EXPECT_EQ(ids(c), (QList<int>{1, 4})) << "history order; deleted and other-task rows stay out";
    EXPECT_EQ(trialNumbers(an), (QList<int>{10, 40}));

    c.selection = CArrRirekiNum{};
    EXPECT_TRUE(ids(c).isEmpty()) << "an empty selection selects nothing";
}

// ---------------------------------------------------------------- failures and restore

TEST_F(Analysis, InconsistentMasterDataStopsTheRunWithAMessage) {
    masterExec("insert into Mst02Error values (40, '1', '2', '3', '4', 0)");
    History h;
    h.problem = 2;
    trial(h, {cardLine("1分0秒", 10, {"123", "P-100", "03-1234-5678", "a@b.jp"})});
    EXPECT_EQ(run(2), 0);
    EXPECT_EQ(an.GetSize(), 0);
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_TRUE(
        folder.notifier.entries[0].text.contains("伝票データと伝票誤りデータのレコード数が違います。"));
    EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Stop);
}

TEST_F(Analysis, ADatabaseFailureIsShownAndEndsTheRun) {
    trial({}, {cardLine("1分0秒", 1, kCard1)});
    QSqlQuery q(user.database());
    ASSERT_TRUE(q.exec("drop table History_tbl"));
    EXPECT_EQ(run(1), 0);
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Stop);
}

TEST_F(Analysis, RestoresTheDeckOfATrialFromItsFile) {
    History h;
    h.autoNumber = 7;
    trial(h, {cardLine("1分0秒", 2, withItem(kCard2, 0, "カ")), cardLine("2分30秒", 1, kCard1)});
    CArrKaisekiMain::Conditions c;
    c.selection = CArrRirekiNum{7};
    c.selectionNumbers = CArrRirekiNum{3};
    ASSERT_EQ(run(1, c), 1);
    EXPECT_EQ(an.RestoreDeck(1), 0) << "no trial with that number";
    ASSERT_EQ(an.RestoreDeck(3), 1);
    CArrBase* deck = an.DeckOf(only());
    EXPECT_EQ(deck->AnsweredNumbers(), (QVector<int>{2, 1}));
    EXPECT_EQ(deck->at(deck->FindCard(2)).input[0], "カ");
    EXPECT_EQ(deck->at(deck->FindCard(1)).finished, kStart.addSecs(150));
}

TEST_F(Analysis, AFileNamedBeforeTheSafeNameRuleIsStillFound) {
    addHistory(user, {});
    // Written by an earlier version with the raw name in it.
    const QString old = AppSub::UserFolder(1, true) + "/20260401_093000_入力値_アンケート_山:田_太*郎.csv";
    writeFile(old, {headerLine(1, 1), cardLine("1分0秒", 1, kCard1)});
    ASSERT_EQ(run(1), 1);
    EXPECT_EQ(only().m_inputFile, old);
    EXPECT_EQ(only().m_answer_number, 1);
}
