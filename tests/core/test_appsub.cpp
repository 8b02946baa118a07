#include "AppSub.h"
#include "Clock.h"
#include "DB.h"
#include "DateUtil.h"
#include "ICException.h"
#include "Labels.h"
#include "Recordsets.h"
#include "SafeFileName.h"
#include "TestFolder.h"
#include "TestRows.h"
#include "TextUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(CsvNames, FileNamesCarryStartTimeTaskAndUserNames) {
    QDateTime t = naiveDateTime(QDate(2026, 3, 9), QTime(8, 5, 7));
    EXPECT_EQ(AppSub::CsvFileName(AppSub::CsvKind::InputValues, 1, t, "山田", "太郎"),
              "20260309_080507_入力値_アンケート_山田_太郎.csv");
    EXPECT_EQ(AppSub::CsvFileName(AppSub::CsvKind::AnalysisResult, 2, t, "a", "b"),
              "20260309_080507_解析結果_顧客伝票_a_b.csv");
    EXPECT_EQ(AppSub::CsvFileName(AppSub::CsvKind::InputValues, 3, t, "", ""), "20260309_080507_入力値_ミスチェック__.csv");
    EXPECT_EQ(AppSub::CsvFileName(AppSub::CsvKind::AnalysisResult, 4, t, "a", "b"), "20260309_080507_a_b.csv");
}

TEST(CsvNames, PathsCreateTheUserFolderAndUseTheRegisteredNames) {
    TestFolder folder;
    CDB db;
    db.OpenUser();
    TestUser user;
    user.code = 12;
    user.name2 = "花子";
    AddTestUser(db, user);
    QDateTime t = naiveDateTime(QDate(2026, 12, 31), QTime(23, 59, 58));
    QString p = AppSub::InputFilePath(db, 2, t, 12);
    EXPECT_EQ(p, folder.path() + "解析結果/12/20261231_235958_入力値_顧客伝票_山田_花子.csv");
    EXPECT_TRUE(QDir(folder.path() + "解析結果/12").exists());
    EXPECT_EQ(AppSub::AnalysisFilePath(db, 2, t, 99), folder.path() + "解析結果/99/20261231_235958_解析結果_顧客伝票__.csv");
}

TEST(CsvNames, FolderCreationFailureRaisesTheSystemText) {
    TestFolder folder;
    QFile blocker(folder.file("解析結果"));
    blocker.open(QIODevice::WriteOnly); // a file where the folder should be
    blocker.close();
    EXPECT_THROW(AppSub::UserFolder(3, true), CICException);
    try {
        AppSub::UserFolder(3, true);
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().contains("が発生しました: "));
    }
}

TEST(CsvNames, DateFromFileNameReadsItBack) {
    QDateTime dt;
    EXPECT_TRUE(AppSub::DateFromFileName("/x/解析結果/3/20260309_080507_入力値_アンケート_a_b.csv", dt));
    EXPECT_EQ(dt, naiveDateTime(QDate(2026, 3, 9), QTime(8, 5, 7)));
    EXPECT_FALSE(AppSub::DateFromFileName("20260309_0805", dt));       // too short
    EXPECT_FALSE(AppSub::DateFromFileName("00000309_080507_x.csv", dt)); // year 0
    EXPECT_FALSE(AppSub::DateFromFileName("20260231_080507_x.csv", dt)); // no such day
    EXPECT_FALSE(AppSub::DateFromFileName("20260301_250507_x.csv", dt)); // no such hour
}

TEST(Paths, FolderWithSlashAndSplit) {
    EXPECT_EQ(AppSub::FolderWithSlash("  /a/b  "), "/a/b/");
    EXPECT_EQ(AppSub::FolderWithSlash("/a/b/"), "/a/b/");
    EXPECT_EQ(AppSub::FolderWithSlash("   "), "");
    EXPECT_EQ(AppSub::FolderWithSlash("../"), "../");
    QString drive, dir, name, ext;
    AppSub::SplitPath("C:\\x\\y\\file.name.csv", &drive, &dir, &name, &ext);
    EXPECT_EQ(drive, "C:");
    EXPECT_EQ(dir, "\\x\\y\\");
    EXPECT_EQ(name, "file.name");
    EXPECT_EQ(ext, ".csv");
}

TEST(Labels, TablesAndOutOfRangeCodes) {
    EXPECT_EQ(Labels::Problem(3), "顧客伝票ミスチェック");
    EXPECT_EQ(Labels::Problem(4), "");
    EXPECT_EQ(Labels::Course(4), "実力テスト/レベルアップトレーニング");
    EXPECT_EQ(Labels::EndTimeList(6), "試行中止");
    EXPECT_EQ(Labels::TimeBand(0), "全体");
    EXPECT_EQ(Labels::TimeBand(4), "45分～60分");
    EXPECT_EQ(Labels::Display(0), "紙");
    EXPECT_EQ(Labels::Display(1), "画面");
    EXPECT_EQ(Labels::Display(2), "画面");
    EXPECT_EQ(Labels::Question1(0), "0.回答なし");
    EXPECT_EQ(Labels::Question1(7), "");
    EXPECT_EQ(Labels::Question2(3), "3.期待はずれだった");
    EXPECT_EQ(Labels::Question3("両方ともON"), "希望する　希望しない");
    EXPECT_EQ(Labels::Question3("3"), "3");
    EXPECT_EQ(Labels::Question3("2"), "希望しない");
    EXPECT_EQ(Labels::ColourRgb(6), (Labels::Rgb{255, 128, 0}));
    EXPECT_EQ(Labels::Colour(5), "黄色");
}

TEST(TextRules, CharacterClassesByCodePageCode) {
    EXPECT_TRUE(TextUtil::AllKatakana("ヤマダーヴヶ"));
    EXPECT_FALSE(TextUtil::AllKatakana("ﾔﾏﾀﾞ"));
    EXPECT_FALSE(TextUtil::AllKatakana("やまだ"));
    EXPECT_TRUE(TextUtil::AllDoubleByte("山田　太郎"));
    EXPECT_FALSE(TextUtil::AllDoubleByte("山田 太郎"));
    EXPECT_TRUE(TextUtil::AllDigits(""));
    EXPECT_TRUE(TextUtil::AllDigits("0123"));
    EXPECT_FALSE(TextUtil::AllDigits("１２"));
    EXPECT_EQ(TextUtil::FirstChar("ア行"), 0x8341u);
    EXPECT_EQ(TextUtil::FirstCharText("ア行"), "ア");
    EXPECT_EQ(TextUtil::FirstChar(""), 0u);
}

TEST(TextRules, NumbersAndCsvFields) {
    EXPECT_EQ(TextUtil::CodeToText(0, true), "");
    EXPECT_EQ(TextUtil::CodeToText(0, false), "0");
    EXPECT_EQ(TextUtil::CodeToText(-3, true), "-3");
    EXPECT_DOUBLE_EQ(TextUtil::OneDecimal(39.94), 39.9);
    EXPECT_DOUBLE_EQ(TextUtil::OneDecimal(39.95), 40.0);
    EXPECT_EQ(TextUtil::CsvField("abc"), "abc");
    EXPECT_EQ(TextUtil::CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(TextUtil::CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(TextUtil::CsvField("漢字", true), "\"漢字\"");
}

TEST(DateTexts, ElapsedAndFormats) {
    QDateTime a = naiveDateTime(QDate(2026, 1, 1), QTime(23, 59, 0));
    QDateTime b = naiveDateTime(QDate(2026, 1, 2), QTime(0, 1, 5));
    EXPECT_EQ(DateUtil::ElapsedMinSec(a, b), "2分5秒");
    EXPECT_EQ(DateUtil::ElapsedMinSec(b, a), "0分0秒");
    EXPECT_EQ(DateUtil::ElapsedSeconds(a, b), 125);
    EXPECT_EQ(DateUtil::DateTimeText(a), "2026/01/01 23:59:00");
    EXPECT_EQ(DateUtil::DateTimeText(QDateTime()), "");
    EXPECT_EQ(DateUtil::TimeOfDayText(b), "00:01:05");
    auto span = DateUtil::ParseMinSec("61分5秒");
    EXPECT_TRUE(span.valid);
    EXPECT_EQ(span.seconds, 61 * 60 + 5);
    EXPECT_FALSE(DateUtil::ParseMinSec("61秒").valid);
    EXPECT_EQ(DateUtil::AddSpan(a, span), naiveDateTime(QDate(2026, 1, 2), QTime(1, 0, 5)));
    EXPECT_FALSE(DateUtil::AddSpan(QDateTime(), span).isValid());
    EXPECT_THROW(DateUtil::MakeDateTime(1899, 1, 1, 0, 0, 0), CICException);
    EXPECT_THROW(DateUtil::MakeDateTime(2026, 2, 30, 0, 0, 0), CICException);
    EXPECT_EQ(DateUtil::MakeDateTime(2026, 2, 28, 23, 59, 59), naiveDateTime(QDate(2026, 2, 28), QTime(23, 59, 59)));
}

TEST(SystemText, ErrorNumberAndMessage) {
    QString t = AppSub::SystemErrorText(2);
    EXPECT_TRUE(t.startsWith("エラー 2 が発生しました: "));
    EXPECT_GT(t.size(), QString("エラー 2 が発生しました: ").size());
    EXPECT_FALSE(t.endsWith('\n'));
}

// ---------------------------------------------------------------- safe names in file names

struct HostileName {
    const char* what;
    QString name;
    QString safe;
};
void PrintTo(const HostileName& c, std::ostream* os) { *os << c.what; }

// 0x01 to 0x1F, each once.
QString everyControlCharacter() {
    QString out;
    for (char16_t c = 1; c < 0x20; ++c)
        out += QChar(c);
    return out;
}

class SafeNames : public ::testing::TestWithParam<HostileName> {};

TEST_P(SafeNames, NamesNeverLeaveTheUserFolder) {
    const HostileName& c = GetParam();
    EXPECT_EQ(SafeFileName::Part(c.name), c.safe);

    TestFolder folder;
    CDB db;
    db.OpenUser();
    TestUser user;
    user.code = 7;
    user.name1 = c.name;
    user.name2 = c.name;
    AddTestUser(db, user);
    const QString path = AppSub::InputFilePath(db, 1, naiveDateTime(QDate(2026, 3, 9), QTime(8, 5, 7)), 7);
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(folder.path() + "解析結果/7").absoluteFilePath());
    EXPECT_EQ(QFileInfo(path).fileName(), "20260309_080507_入力値_アンケート_" + c.safe + '_' + c.safe + ".csv");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, SafeNames,
    ::testing::Values(HostileName{"Slash", "../../x/y", "..／..／x／y"},
                      HostileName{"Backslash", "a\\b", "a＼b"},
                      HostileName{"Nul", QString("a") + QChar(0) + "b", "a＿b"},
                      HostileName{"Controls", "a\tb\nc\x7f", "a＿b＿c＿"},
                      HostileName{"EveryControlCharacter", everyControlCharacter(), QString(31, QChar(u'＿'))},
                      HostileName{"Dot", ".", "．"},
                      HostileName{"DotDot", "..", "．．"},
                      HostileName{"WindowsReserved", "a:b*c?d\"e<f>g|h", "a：b＊c？d”e＜f＞g｜h"},
                      HostileName{"Ordinary", "山田", "山田"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(SafeNamesLength, OverlongNamesAreShortenedToAFileNameTheSystemTakes) {
    const QDateTime t = naiveDateTime(QDate(2026, 3, 9), QTime(8, 5, 7));
    const QString longName(200, QChar(u'漢'));
    const QString name = AppSub::CsvFileName(AppSub::CsvKind::AnalysisResult, 3, t, longName, longName);
    EXPECT_TRUE(name.startsWith("20260309_080507_解析結果_ミスチェック_漢"));
    EXPECT_TRUE(name.endsWith(".csv"));
    EXPECT_LE(QFile::encodeName(name).size(), SafeFileName::kMaxNameBytes);
    EXPECT_GT(QFile::encodeName(name).size(), SafeFileName::kMaxNameBytes - 4); // cut no more than needed
}
