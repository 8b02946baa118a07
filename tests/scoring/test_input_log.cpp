#include "ArrDenpyo.h"
#include "Codec.h"
#include "DeckFixtures.h"
#include "ICException.h"
#include "InputLog.h"
#include "TCLoadCSVFile.h"
#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace fixtures;

namespace {
QByteArray readBytes(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

QByteArray golden(const char* name) {
    return readBytes(QStringLiteral(ZENTRY_TEST_DATA "/input_log/") + QString::fromLatin1(name));
}

void writeFile(const QString& path, const QString& text) {
    QDir().mkpath(path.section('/', 0, -2));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(cp932::encode(text));
}

std::string thrownText(const std::function<void()>& f) {
    try {
        f();
    } catch (const CICException& e) {
        return e.GetErrorMessage().toStdString();
    }
    return "(nothing thrown)";
}

// One trial run against a real master file and user database, as a task
// screen drives it: show, type, finish, log.
struct TrialTest : ::testing::Test {
    TrialTest() {
        {
            MasterWriter w(folder.file("Quillon01.mst"));
            w.card("Mst01", 1, {"ヤマダ　タロウ", "山田　太郎"});
            w.card("Mst01", 2, {"スズキ　ハナコ"}, 1);
            w.voucher("Mst04", 5, {"AB123"});
            w.voucher("Mst04", 123, {"CD456"});
            w.voucher("Mst04Error", 5, {"AB128"});
            w.voucher("Mst04Error", 123, {"CD456"});
            w.voucher("Mst02", 7, {"12345678", "PRD-0001-XY", "045-123-4567", "a@b.jp"}, 1);
            w.voucher("Mst02", 8, {"X"});
            w.voucher("Mst02Error", 7, {"12345679", "PRD-0001-XY", "045-123-4567", "a@b.jp"});
            w.voucher("Mst02Error", 8, {"Y"});
        }
        master.OpenMaster();
        userDb.OpenUser();
        addUser(userDb, 1, "山田", "太郎");
    }
    void complete(CArrBase& deck, int index, const QStringList& inputs, qint64 seconds, int course) {
        for (int i = 0; i < inputs.size(); ++i)
            deck.at(index).input[i] = inputs.at(i);
        clock.advance(seconds);
        deck.MarkFinished(index);
        log.WriteLine(CInputLog::CardLine(deck, index, course));
    }

    TestFolder folder;
    FakeClock clock{naiveDateTime(QDate(2026, 4, 1), QTime(9, 30, 15))};
    CDB master;
    CDB userDb;
    CInputLog log;
};
} // namespace

// ---------------------------------------------------------------- writing

TEST_F(TrialTest, QuestionnaireSkillTestFileByteForByte) {
    CArrHagaki deck;
    deck.Load(master, 1);
    const QDateTime opened = clock.now();
    log.Open(userDb, 1, opened, 1);
    EXPECT_EQ(log.Path(), folder.path() + "解析結果/1/20260401_093015_入力値_アンケート_山田_太郎.csv");
    log.WriteLine(CInputLog::HeaderLine(1, 1));

    clock.advance(5);
    deck.MarkShown(0);
    complete(deck, 0,
             {"ヤマダ　タロウ", "山田　太郎", "123-4567", "東京都千代田区１－２－３", "03-1234-5678",
              "taro@example.jp", "1", "2", "1"},
             65, 1);
    deck.MarkShown(1);
    complete(deck, 1, {"スズキ, ハナコ", "鈴木\"花子", "", "大阪府～"}, 3600, 1);
    log.Close();
    EXPECT_EQ(readBytes(log.Path()), golden("questionnaire_course1.csv"));

    CTCLoadCSVFile reader;
    reader.Load(log.Path());
    ASSERT_EQ(reader.GetRowCount(), 3);
    EXPECT_EQ(reader.GetFields(2).size(), 14);
    EXPECT_EQ(reader.GetField(3, 6), "スズキ, ハナコ") << "inputs come back unchanged";
    EXPECT_EQ(reader.GetField(3, 7), "鈴木\"花子");
    EXPECT_EQ(reader.GetField(3, 9), "大阪府～");
}

TEST_F(TrialTest, CorrectionBasicTrainingFileCarriesTheCheckCounts) {
    CArrDenpyo deck;
    deck.Load(master, 2);
    clock.set(naiveDateTime(QDate(2026, 4, 1), QTime(23, 59, 45)));
    log.Open(userDb, 2, clock.now(), 1);
    EXPECT_TRUE(log.Path().endsWith("/20260401_235945_入力値_顧客伝票_山田_太郎.csv"));
    log.WriteLine(CInputLog::HeaderLine(2, 2));
    clock.advance(5);
    deck.MarkShown(0);
    deck.at(0).errorChecks = 2;
    complete(deck, 0, {"AB123", "P-1", "03-1234-5678", "x@y.jp"}, 40, 2); // past midnight
    deck.MarkShown(1);
    complete(deck, 1, {}, 1, 2);
    log.Close();
    EXPECT_EQ(readBytes(log.Path()), golden("correction_course2.csv"));
}

TEST_F(TrialTest, MissCheckLevelUpFileCarriesTheMarks) {
    CArrDenpyo deck;
    deck.Load(master, 3);
    clock.set(naiveDateTime(QDate(2026, 4, 2), QTime(13, 59, 0)));
    log.Open(userDb, 3, clock.now(), 1);
    EXPECT_TRUE(log.Path().endsWith("/20260402_135900_入力値_ミスチェック_山田_太郎.csv"));
    log.WriteLine(CInputLog::HeaderLine(3, 3));
    clock.advance(60);
    deck.MarkShown(0);
    complete(deck, 0, {"NNNNNNNC", "NNNNNNNNNNNN", "NNNNNNNNNNNNN", "NNNNNN"}, 123, 3);
    deck.MarkShown(1);
    complete(deck, 1, {"C"}, 1, 3);
    log.Close();
    EXPECT_EQ(readBytes(log.Path()), golden("misscheck_course3.csv"));
}

TEST_F(TrialTest, EveryLineIsInTheFileBeforeTheNextCard) {
    CArrDenpyo deck;
    deck.Load(master, 1);
    const QDateTime opened = clock.now();
    log.Open(userDb, 2, opened, 1);
    EXPECT_TRUE(log.IsOpen());
    EXPECT_EQ(readBytes(log.Path()), QByteArray()) << "created empty";
    log.WriteLine(CInputLog::HeaderLine(2, 1));
    deck.MarkShown(0);
    complete(deck, 0, {"1"}, 3, 1);
    // Read by another handle while the log is still open.
    CTCLoadCSVFile reader;
    reader.Load(log.Path());
    ASSERT_EQ(reader.GetRowCount(), 2);
    EXPECT_EQ(reader.GetField(2, 5), "0007");

    // Opening again starts a new file; writes after closing go nowhere.
    const QString first = log.Path();
    log.Open(userDb, 2, opened, 1);
    EXPECT_EQ(log.Path(), first);
    EXPECT_EQ(readBytes(first), QByteArray()) << "truncated";
    log.Close();
    log.WriteLine("lost\n");
    log.Close();
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(readBytes(first), QByteArray());
}

TEST_F(TrialTest, HeaderDependsOnTaskAndCourse) {
    EXPECT_EQ(CInputLog::HeaderLine(1, 2).count(','), 14) << "15 fields for basic training";
    EXPECT_EQ(CInputLog::HeaderLine(1, 3).count(','), 13);
    EXPECT_EQ(CInputLog::HeaderLine(3, 1), CInputLog::HeaderLine(2, 1));
    EXPECT_TRUE(CInputLog::HeaderLine(2, 2).endsWith(",チェック\n"));
}

TEST(InputLogFailure, FolderThatCannotBeCreatedNamesThePath) {
    TestFolder folder;
    CDB userDb;
    userDb.OpenUser();
    writeFile(folder.file("解析結果"), "not a folder");
    CInputLog log;
    const std::string text =
        thrownText([&] { log.Open(userDb, 1, naiveDateTime(QDate(2026, 4, 1), QTime(9, 0)), 3); });
    EXPECT_NE(text.find("入力値ファイル"), std::string::npos) << text;
    EXPECT_NE(text.find(QDir::toNativeSeparators(folder.path() +
                                                 "解析結果/3/20260401_090000_入力値_アンケート__.csv")
                            .toStdString()),
              std::string::npos)
        << text;
    EXPECT_FALSE(log.IsOpen());
}

TEST(InputLogFailure, FileThatCannotBeCreatedOrWrittenNamesThePath) {
    TestFolder folder;
    CInputLog log;
    QDir().mkpath(folder.file("busy.csv"));
    const std::string created = thrownText([&] { log.OpenPath(folder.file("busy.csv")); });
    EXPECT_NE(created.find("busy.csv"), std::string::npos) << created;
    EXPECT_FALSE(log.IsOpen());

    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no device that reports a full disk";
    log.OpenPath("/dev/full");
    const std::string written = thrownText([&] { log.WriteLine("09:00:00\n"); });
    EXPECT_NE(written.find("/dev/full"), std::string::npos) << written;
    EXPECT_NE(written.find("に書き込めません"), std::string::npos) << written;
}

// ---------------------------------------------------------------- reading

TEST(CsvReader, FieldsFollowTheQuotingRule) {
    struct Case {
        const char* line;
        int col;
        const char* field;
    };
    const Case cases[] = {
        {"a,b,c", 1, "a"},
        {"a,b,c", 3, "c"},
        {"a,b,c", 4, ""},
        {"a,b,c", 0, ""},
        {",b", 1, ""},
        {",b", 2, "b"},
        {"a,", 2, ""},
        {"\"x,y\",z", 1, "x,y"},
        {"\"x,y\",z", 2, "z"},
        {"\"he said \"\"hi\"\"\",2", 1, "he said \"hi\""},
        {"\"open", 1, "open"},
        {"a\"\"b", 1, "a\"b"},
        {"a\"b,c", 1, "a\"b,c"}, // an odd quote hides the separators after it
        {"漢字,\"か,な\",ｶﾅ", 2, "か,な"},
        {"漢字,\"か,な\",ｶﾅ", 3, "ｶﾅ"},
    };
    for (const Case& c : cases) {
        const QString line = QString::fromUtf8(c.line);
        EXPECT_EQ(CTCLoadCSVFile::ExtractField(line, c.col), QString::fromUtf8(c.field))
            << c.line << " #" << c.col;
        const QStringList all = CTCLoadCSVFile::SplitFields(line);
        if (c.col >= 1) {
            EXPECT_EQ(c.col <= all.size() ? all.at(c.col - 1) : QString(), QString::fromUtf8(c.field))
                << c.line << " #" << c.col;
        }
    }
    EXPECT_EQ(CTCLoadCSVFile::ExtractField("a\tb,c\td", 2, u'\t'), "b,c");
}

TEST(CsvReader, LoadSkipsCommentsAndEmptyLinesAndReportsMissingFiles) {
    TestFolder folder;
    const QString path = folder.file("in.csv");
    writeFile(path, "// comment\r\nh1,h2\r\n\r\n漢字,\"a,b\"\r\n//x,y\r\nlast,line\n");
    CTCLoadCSVFile reader;
    reader.Load(path);
    ASSERT_EQ(reader.GetRowCount(), 3);
    EXPECT_EQ(reader.GetLine(1), "h1,h2");
    EXPECT_EQ(reader.GetField(2, 1), "漢字");
    EXPECT_EQ(reader.GetField(2, 2, ",;"), "a,b") << "only the first separator character counts";
    EXPECT_EQ(reader.GetField(2, 2, ";,"), "");
    EXPECT_EQ(reader.GetField(3, 2), "line");
    EXPECT_EQ(reader.GetField(4, 1), "") << "past the last row";
    EXPECT_EQ(reader.GetLine(0), "");
    EXPECT_TRUE(reader.GetFields(9).isEmpty());

    const QString missing = folder.file("none.csv");
    const std::string text = thrownText([&] { reader.Load(missing); });
    EXPECT_NE(text.find(("ファイル " + missing + " が存在しません。").toStdString()), std::string::npos)
        << text;

    writeFile(path, "only,header\r\n");
    reader.Load(path);
    EXPECT_EQ(reader.GetRowCount(), 1) << "a new load replaces the old lines";
}

// A file is read to its end whatever size it reports (files in /proc report
// none), and a folder is refused rather than read as an empty file.
TEST(CsvReader, ReadsToTheEndAndRefusesAFolder) {
    EXPECT_TRUE(CTCLoadCSVFile::ReadAll("/proc/self/status").startsWith("Name:"));
    TestFolder folder;
    const std::string text = thrownText([&] { CTCLoadCSVFile::ReadAll(folder.path()); });
    EXPECT_NE(text.find("を読み込めません"), std::string::npos) << text;
}

// ---------------------------------------------------------------- restoring a deck

TEST(DeckRestore, InputsAndTimesComeBackFromTheFile) {
    TestFolder folder;
    HandDeck<CArrDenpyo> deck;
    deck.add(5, {"AB123"});
    deck.add(6, {"CD456"});
    deck.add(9, {"EF789"});
    deck.at(2).input[0] = "stale";
    const QString path = folder.file("解析結果/1/20260401_093015_入力値_顧客伝票_山田_太郎.csv");
    writeFile(path, "開始時刻,終了時刻,経過時間,評価除外フラグ,NO.,顧客コード,商品コード,電話番号,"
                    "メールアドレス,チェック\r\n"
                    "09:30:20,09:31:25,1分5秒,,0006,\"C,D\",P,T,M,3\r\n"
                    "// skipped\r\n"
                    "09:31:25,09:31:40,1分20秒,,0042,X,X,X,X,0\r\n"
                    "09:31:40,10:31:50,61分30秒,1,0005,AB123,,,,0\r\n");
    const QDateTime opened = naiveDateTime(QDate(2026, 4, 1), QTime(9, 30, 15));
    ASSERT_EQ(deck.RestoreFromInputFile(path), 1);
    EXPECT_EQ(deck.AnsweredNumbers(), (QVector<int>{6, 5})) << "unknown card 42 skipped";

    const CArrBaseInfo& six = deck.at(1);
    EXPECT_EQ(six.input[0], "C,D");
    EXPECT_EQ(six.input[3], "M");
    EXPECT_EQ(six.input[4], "") << "the check column is not an item";
    EXPECT_EQ(six.errorChecks, 3);
    EXPECT_EQ(six.trialStart, opened);
    EXPECT_EQ(six.shown, opened);
    EXPECT_EQ(six.finished, opened.addSecs(65));

    const CArrBaseInfo& five = deck.at(0);
    EXPECT_EQ(five.shown, opened.addSecs(65)) << "shown when the previous restored card finished";
    EXPECT_EQ(five.finished, opened.addSecs(61 * 60 + 30));
    EXPECT_TRUE(deck.ItemCorrect(0, 0));
    EXPECT_TRUE(deck.CardCorrect(0));
    EXPECT_EQ(deck.at(2).input[0], "") << "cards not in the file are reset";
}

TEST(DeckRestore, UnusableFileOrRowStopsTheRestore) {
    TestFolder folder;
    HandDeck<CArrHagaki> deck;
    deck.add(1, {"A"});
    deck.add(2, {"B"});
    EXPECT_EQ(deck.RestoreFromInputFile(""), 0);
    EXPECT_EQ(deck.RestoreFromInputFile(folder.file("20260401_093015_none.csv")), 0);

    const QString badName = folder.file("20261341_093015_入力値_アンケート_a_b.csv");
    writeFile(badName, "h\r\n00:00:00,00:00:01,0分1秒,,0001,A\r\n");
    EXPECT_EQ(deck.RestoreFromInputFile(badName), 0) << "month 13";
    writeFile(folder.file("short.csv"), "h\r\n");
    EXPECT_EQ(deck.RestoreFromInputFile(folder.file("short.csv")), 0);

    const QString badRow = folder.file("20260401_093015_入力値_アンケート_a_b.csv");
    writeFile(badRow, "h\r\n00:00:00,00:00:01,0分1秒,,0001,A\r\n00:00:01,00:00:02,2秒,,0002,B\r\n");
    EXPECT_EQ(deck.RestoreFromInputFile(badRow), 0);
    EXPECT_EQ(deck.AnsweredNumbers(), QVector<int>{1}) << "rows before the bad one stay restored";
    EXPECT_EQ(deck.at(0).input[0], "A");
    EXPECT_EQ(deck.at(1).input[0], "");
}
