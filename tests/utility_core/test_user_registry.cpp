// The user registry: trimming, the name checks by code page 932 code, codes
// after deletions, soft deletion and edits, against a real user database.
#include "DB.h"
#include "FakeClock.h"
#include "Recordsets.h"
#include "TestFolder.h"
#include "TestRows.h"
#include "UserRegistry.h"

#include <gtest/gtest.h>

using UserRegistry::Check;
using UserRegistry::Names;

namespace {

TEST(UserRegistryTrim, OnlySingleByteWhiteSpaceGoes) {
    const struct {
        QString in, out;
    } cases[] = {
        {QStringLiteral(" \t山田\r\n"), QStringLiteral("山田")},
        {QStringLiteral("　山田　"), QStringLiteral("　山田　")}, // the ideographic space stays
        {QStringLiteral(" 山 田 "), QStringLiteral("山 田")},
        {QStringLiteral("   "), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UserRegistry::TrimSingleByteSpace(c.in), c.out) << c.in.toStdString();
}

struct CheckCase {
    const char* what;
    Names names;
    Check expected;
};
void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.what; }

class UserRegistryCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(UserRegistryCheck, FirstFailingRuleCounts) {
    EXPECT_EQ(UserRegistry::CheckNames(GetParam().names), GetParam().expected);
}

const QString kana = QStringLiteral("ヤマダ"), given = QStringLiteral("タロウ");
const QString name = QStringLiteral("山田"), first = QStringLiteral("太郎");

INSTANTIATE_TEST_SUITE_P(
    Cases, UserRegistryCheck,
    ::testing::Values(
        CheckCase{"valid", {kana, given, name, first}, Check::Ok},
        CheckCase{"given names may be empty", {kana, {}, name, {}}, Check::Ok},
        CheckCase{"prolonged sound mark and small katakana", {QStringLiteral("ァー"), QStringLiteral("ヴ"), name, first}, Check::Ok},
        CheckCase{"ideographic space in the name", {kana, given, QStringLiteral("山　田"), first}, Check::Ok},
        CheckCase{"empty family reading", {{}, given, name, first}, Check::MissingFamilyName},
        CheckCase{"empty family name before a bad reading", {QStringLiteral("やまだ"), given, {}, first},
                  Check::MissingFamilyName},
        CheckCase{"hiragana reading", {QStringLiteral("やまだ"), given, name, first}, Check::KanaNotKatakana},
        CheckCase{"half-width katakana reading", {QStringLiteral("ﾔﾏﾀﾞ"), given, name, first}, Check::KanaNotKatakana},
        CheckCase{"ヶ (0x8396) is katakana", {kana, QStringLiteral("タヶ"), name, first}, Check::Ok},
        CheckCase{"Greek letter (0x839F) in the given reading", {kana, QStringLiteral("タΑ"), name, first},
                  Check::KanaNotKatakana},
        CheckCase{"ideographic space in the reading", {QStringLiteral("ヤマ　ダ"), given, name, first},
                  Check::KanaNotKatakana},
        CheckCase{"reading before name", {QStringLiteral("yamada"), given, QStringLiteral("Yamada"), first},
                  Check::KanaNotKatakana},
        CheckCase{"ASCII letter in the name", {kana, given, QStringLiteral("山田A"), first}, Check::NameNotFullWidth},
        CheckCase{"digit in the given name", {kana, given, name, QStringLiteral("太郎2")}, Check::NameNotFullWidth},
        CheckCase{"character without a code page 932 form", {kana, given, QStringLiteral("山田é"), first},
                  Check::NameNotFullWidth},
        CheckCase{"emoji", {kana, given, name, QStringLiteral("太\U0001F600")}, Check::NameNotFullWidth}),
    [](const auto& info) {
        std::string s = info.param.what;
        for (char& c : s)
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return s;
    });

class UserRegistryWrites : public ::testing::Test {
protected:
    void SetUp() override { db.OpenUser(); }
    struct Row {
        QString names;
        int start[3] = {};
        int deleted = -1;
        QDateTime first, last;
    };
    Row row(int code) {
        CRsUser_tbl rs(&db);
        rs.Open(CRecordset::dbOpenSnapshot, QStringLiteral("select * from [User_tbl] where [user_code] = %d "), {code});
        EXPECT_FALSE(rs.IsEOF()) << "no row " << code;
        if (rs.IsEOF())
            return {};
        return {rs.m_user_kname1 + rs.m_user_kname2 + rs.m_user_name1 + rs.m_user_name2,
                {rs.m_start_no1, rs.m_start_no2, rs.m_start_no3},
                rs.m_delete_flg,
                rs.m_first_update,
                rs.m_last_update};
    }
    TestFolder folder;
    FakeClock clock{naiveDateTime(QDate(2026, 6, 1), QTime(9, 0))};
    CDB db;
    Names names{kana, given, name, first};
};

TEST_F(UserRegistryWrites, AddWritesANewLiveRowUnderTheNextCode) {
    EXPECT_EQ(UserRegistry::Add(db, names), 1);
    const Row r = row(1);
    EXPECT_EQ(r.names, QStringLiteral("ヤマダタロウ山田太郎"));
    EXPECT_EQ(r.start[0] + r.start[1] + r.start[2] + r.deleted, 0);
    EXPECT_EQ(r.first, clock.now());
    EXPECT_EQ(r.last, clock.now());
}

TEST_F(UserRegistryWrites, DeletedUsersStillCountForTheNextCode) {
    AddTestUser(db, TestUser{5});
    ASSERT_EQ(UserRegistry::Delete(db, 5), UserRegistry::Result::Done);
    EXPECT_EQ(row(5).deleted, 1) << "the row stays, marked deleted";
    EXPECT_EQ(UserRegistry::Add(db, names), 6);
    Names loaded;
    EXPECT_FALSE(UserRegistry::Load(db, 5, loaded));
    EXPECT_EQ(UserRegistry::Update(db, 5, names), UserRegistry::Result::Missing);
    EXPECT_EQ(UserRegistry::Delete(db, 99), UserRegistry::Result::Missing);
}

TEST_F(UserRegistryWrites, UpdateReplacesTheNamesAndKeepsTheRest) {
    TestUser u{3};
    u.start[0] = 41;
    AddTestUser(db, u);
    clock.advance(3600);
    const Names changed{QStringLiteral("サトウ"), QString(), QStringLiteral("佐藤"), QString()};
    ASSERT_EQ(UserRegistry::Update(db, 3, changed), UserRegistry::Result::Done);
    Names loaded;
    ASSERT_TRUE(UserRegistry::Load(db, 3, loaded));
    EXPECT_EQ(loaded.kname1 + loaded.kname2 + loaded.name1 + loaded.name2, QStringLiteral("サトウ佐藤"));
    const Row r = row(3);
    EXPECT_EQ(r.start[0], 41);
    EXPECT_EQ(r.first, u.created);
    EXPECT_EQ(r.last, clock.now());
}

} // namespace
