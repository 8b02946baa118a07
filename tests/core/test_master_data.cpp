// The default data files that the build puts into the program folder
// (Quillon01.mst, UserData.org), and the builder zentry-mkdata itself.
#include "Codec.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <map>
#include <vector>

#ifndef ZENTRY_PROGRAM_DIR
#error "ZENTRY_PROGRAM_DIR (the program folder of the build) must be defined"
#endif
#ifndef ZENTRY_MKDATA
// The builder lies in tools/ of the build tree, beside the program folder bin/.
#define ZENTRY_MKDATA ZENTRY_PROGRAM_DIR "/../tools/zentry-mkdata"
#endif
#ifndef ZENTRY_DATA_DIR
#ifndef ZENTRY_SOURCE_DIR
#error "ZENTRY_DATA_DIR (the data/ folder of the source tree) or ZENTRY_SOURCE_DIR must be defined"
#endif
#define ZENTRY_DATA_DIR ZENTRY_SOURCE_DIR "/data"
#endif

namespace {

using Rows = std::vector<QStringList>;

// One read-only connection to a database file, closed with the object.
class Db {
public:
    explicit Db(const QString& path) : m_name(QStringLiteral("master_data_%1").arg(++s_counter)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        m_open = QFile::exists(path) && db.open();
    }
    ~Db() {
        { QSqlDatabase::database(m_name, false).close(); }
        QSqlDatabase::removeDatabase(m_name);
    }
    bool isOpen() const { return m_open; }

    // All rows of a query, every value as text; a NULL shows as "<NULL>".
    Rows rows(const QString& sql, const QVariantList& binds = {}) const {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        q.setForwardOnly(true);
        EXPECT_TRUE(q.prepare(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
        for (int i = 0; i < binds.size(); ++i)
            q.bindValue(i, binds[i]);
        EXPECT_TRUE(q.exec()) << sql.toStdString() << ": " << q.lastError().text().toStdString();
        Rows out;
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << (q.value(i).isNull() ? QStringLiteral("<NULL>") : q.value(i).toString());
            out.push_back(row);
        }
        return out;
    }
    QString scalar(const QString& sql, const QVariantList& binds = {}) const {
        Rows r = rows(sql, binds);
        return r.empty() || r.front().isEmpty() ? QString() : r.front().front();
    }
    long long count(const QString& sql, const QVariantList& binds = {}) const {
        return scalar(sql, binds).toLongLong();
    }

private:
    static inline int s_counter = 0;
    QString m_name;
    bool m_open = false;
};

const QString kMasterPath = QStringLiteral(ZENTRY_PROGRAM_DIR "/Quillon01.mst");
const QString kUserTemplatePath = QStringLiteral(ZENTRY_PROGRAM_DIR "/UserData.org");

bool matches(const QString& pattern, const QString& text) {
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

const QString kPhone = QStringLiteral(
    R"((0[789]0-[1-9]\d{3}-\d{4})|(0\d-\d{4}-\d{4})|(0\d{2}-\d{3}-\d{4})|(0\d{3}-\d{2}-\d{4}))");
const QString kMail = QStringLiteral(R"([a-z0-9._-]+@[a-z0-9-]+(\.[a-z0-9-]+)+)");

class MasterData : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_db = new Db(kMasterPath); }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_db->isOpen()) << "cannot open " << kMasterPath.toStdString(); }
    const Db& db() const { return *s_db; }
    Rows cards(const QString& table) const {
        return db().rows(QStringLiteral("select * from [%1] order by [%1].[Col01]").arg(table));
    }
    static inline Db* s_db = nullptr;
};

TEST_F(MasterData, HoldsEnoughCardsInEveryTable) {
    EXPECT_GE(db().count("select count(*) from [Mst01]"), 300);
    EXPECT_GE(db().count("select count(*) from [Mst02]"), 300);
    EXPECT_GE(db().count("select count(*) from [Mst03]"), 100);
    EXPECT_GE(db().count("select count(*) from [Mst04]"), 100);
    EXPECT_EQ(db().count("select count(*) from [Mst02Error]"), db().count("select count(*) from [Mst02]"));
    EXPECT_EQ(db().count("select count(*) from [Mst04Error]"), db().count("select count(*) from [Mst04]"));
    EXPECT_GE(db().count("select count(*) from [KEN_ALL]"), 120000);
}

TEST_F(MasterData, CardNumbersRunFromOneWithoutGaps) {
    for (const char* table : {"Mst01", "Mst02", "Mst03", "Mst04", "Mst02Error", "Mst04Error"}) {
        const Rows rows = cards(QString::fromLatin1(table));
        ASSERT_FALSE(rows.empty()) << table;
        for (size_t i = 0; i < rows.size(); ++i)
            ASSERT_EQ(rows[i][0], QString::number(i + 1)) << table << " row " << i;
    }
}

TEST_F(MasterData, AFewCardsPerTableAreExcluded) {
    for (const char* table : {"Mst01", "Mst02", "Mst03", "Mst04"}) {
        const QString t = QString::fromLatin1(table);
        const long long excluded =
            db().count(QStringLiteral("select count(*) from [%1] where [JogaiFlag] = 1").arg(t));
        EXPECT_GE(excluded, 2) << table;
        EXPECT_LE(excluded, 4) << table;
        EXPECT_EQ(db().count(QStringLiteral("select count(*) from [%1] where [JogaiFlag] not in (0, 1) "
                                            "or [JogaiFlag] is null")
                                 .arg(t)),
                  0)
            << table;
    }
}

TEST_F(MasterData, NoValueIsNull) {
    for (const char* table : {"Mst01", "Mst02", "Mst03", "Mst04", "Mst02Error", "Mst04Error"})
        for (const QStringList& row : cards(QString::fromLatin1(table)))
            ASSERT_FALSE(row.contains(QStringLiteral("<NULL>"))) << table << " card " << row[0].toStdString();
    EXPECT_EQ(db().count("select count(*) from [KEN_ALL] where [DantaiCode] is null or [ZipCode5] is null "
                         "or [City2Kanji] is null or [City2Kana] is null"),
              0);
}

TEST_F(MasterData, QuestionnaireCardsHaveTheFormsTheTraineeTypes) {
    for (const char* table : {"Mst01", "Mst03"}) {
        for (const QStringList& c : cards(QString::fromLatin1(table))) {
            const std::string where = std::string(table) + " card " + c[0].toStdString();
            ASSERT_EQ(c.size(), 11) << where;
            EXPECT_TRUE(matches(QStringLiteral("[ァ-ヶー]+　[ァ-ヶー]+"), c[1]))
                << where << ": " << c[1].toStdString();
            EXPECT_TRUE(matches(QStringLiteral("[^\\s　]+　[^\\s　]+"), c[2]))
                << where << ": " << c[2].toStdString();
            EXPECT_TRUE(matches(QStringLiteral("\\d{3}-\\d{4}"), c[3]))
                << where << ": " << c[3].toStdString();
            EXPECT_TRUE(matches(kPhone, c[5])) << where << ": " << c[5].toStdString();
            EXPECT_TRUE(matches(kMail, c[6])) << where << ": " << c[6].toStdString();
            EXPECT_LE(c[6].size(), 30) << where;
            EXPECT_LE(c[4].size(), 19) << where << ": the address must fit the postcard's line";
            EXPECT_TRUE(matches(QStringLiteral("[1-6]?"), c[7])) << where << ": 問１ " << c[7].toStdString();
            EXPECT_TRUE(matches(QStringLiteral("[1-3]?"), c[8])) << where << ": 問２ " << c[8].toStdString();
            EXPECT_TRUE(matches(QStringLiteral("[12]?"), c[9])) << where << ": 問３ " << c[9].toStdString();
        }
    }
}

TEST_F(MasterData, QuestionnaireAnswersUseEveryCode) {
    // A deck whose answers never vary would not exercise the three choice controls.
    std::map<QString, int> q1, q2, q3;
    for (const QStringList& c : cards(QStringLiteral("Mst01"))) {
        ++q1[c[7]];
        ++q2[c[8]];
        ++q3[c[9]];
    }
    for (const char* v : {"1", "2", "3", "4", "5", "6"})
        EXPECT_GT(q1[QString::fromLatin1(v)], 0) << "問１ " << v;
    for (const char* v : {"1", "2", "3"})
        EXPECT_GT(q2[QString::fromLatin1(v)], 0) << "問２ " << v;
    for (const char* v : {"1", "2"})
        EXPECT_GT(q3[QString::fromLatin1(v)], 0) << "問３ " << v;
}

TEST_F(MasterData, PostalCodesOfCardsLeadToTheirAddresses) {
    for (const char* table : {"Mst01", "Mst03"}) {
        for (const QStringList& c : cards(QString::fromLatin1(table))) {
            const std::string where = std::string(table) + " card " + c[0].toStdString();
            QString zip = c[3];
            zip.remove(QLatin1Char('-'));
            const Rows postal =
                db().rows(QStringLiteral("select [TodofukenKanji], [City1Kanji], [City2Kanji] "
                                         "from [KEN_ALL] where [KEN_ALL].[ZipCode7] = ?"),
                          {zip});
            ASSERT_FALSE(postal.empty()) << where << ": " << zip.toStdString() << " is not in KEN_ALL";
            bool found = false;
            for (const QStringList& p : postal) {
                const QString prefix = p[0] + p[1] + p[2];
                // The block number follows the town, so the address is longer than the prefix.
                found = found || (!p[2].isEmpty() && c[4].startsWith(prefix) && c[4].size() > prefix.size());
            }
            EXPECT_TRUE(found) << where << ": " << c[4].toStdString() << " does not start with a town of "
                               << zip.toStdString();
        }
    }
}

TEST_F(MasterData, VoucherValuesHaveFixedFormats) {
    for (const char* table : {"Mst02", "Mst04"}) {
        for (const QStringList& c : cards(QString::fromLatin1(table))) {
            const std::string where = std::string(table) + " card " + c[0].toStdString();
            ASSERT_EQ(c.size(), 6) << where;
            EXPECT_TRUE(matches(QStringLiteral("[A-HJ-NP-Z]{2}\\d{6}"), c[1]))
                << where << ": " << c[1].toStdString();
            EXPECT_TRUE(matches(QStringLiteral("[A-HJ-NP-Z]{3}-\\d{5}-\\d{2}"), c[2]))
                << where << ": " << c[2].toStdString();
            EXPECT_TRUE(matches(kPhone, c[3])) << where << ": " << c[3].toStdString();
            EXPECT_TRUE(matches(kMail, c[4])) << where << ": " << c[4].toStdString();
            EXPECT_LE(c[4].size(), 30) << where;
        }
    }
}

TEST_F(MasterData, ErrorRowsLineUpWithTheirVouchers) {
    for (const auto& [good, bad] : {std::pair{"Mst02", "Mst02Error"}, std::pair{"Mst04", "Mst04Error"}}) {
        const Rows vouchers = cards(QString::fromLatin1(good));
        const Rows errors = cards(QString::fromLatin1(bad));
        ASSERT_EQ(vouchers.size(), errors.size()) << bad;
        int clean = 0, oneToThree = 0;
        for (size_t k = 0; k < vouchers.size(); ++k) {
            const QStringList& v = vouchers[k];
            const QStringList& e = errors[k];
            const std::string where = std::string(bad) + " row " + std::to_string(k);
            ASSERT_EQ(e[0], v[0]) << where << ": Col01 differs";
            EXPECT_EQ(e[5], v[5]) << where << ": JogaiFlag differs";
            int changed = 0;
            for (int item = 1; item <= 4; ++item) {
                // Same length, so character positions on the voucher and in the marks line up.
                ASSERT_EQ(e[item].size(), v[item].size()) << where << " item " << item;
                ASSERT_EQ(cp932::byteLength(e[item]), cp932::byteLength(v[item]))
                    << where << " item " << item;
                for (int i = 0; i < v[item].size(); ++i)
                    changed += e[item][i] != v[item][i];
            }
            EXPECT_LE(changed, 3) << where;
            clean += changed == 0;
            oneToThree += changed >= 1 && changed <= 3;
        }
        const int n = int(vouchers.size());
        EXPECT_GE(clean, n / 20) << bad << ": some vouchers must carry no error";
        EXPECT_LE(clean, n / 3) << bad;
        EXPECT_GE(oneToThree, n / 2) << bad << ": most vouchers carry one to three wrong characters";
    }
}

TEST_F(MasterData, EveryCardValueFitsCodePage932) {
    for (const char* table : {"Mst01", "Mst02", "Mst03", "Mst04", "Mst02Error", "Mst04Error"})
        for (const QStringList& c : cards(QString::fromLatin1(table)))
            for (const QString& v : c)
                ASSERT_EQ(cp932::decode(cp932::encode(v)), v) << table << " card " << c[0].toStdString();
}

TEST_F(MasterData, DecksDifferBetweenCourses) {
    // Basic training has its own cards; a copy of the skill-test deck would let
    // trainees learn the answers.
    const Rows a = cards(QStringLiteral("Mst01"));
    const Rows b = cards(QStringLiteral("Mst03"));
    int same = 0;
    for (size_t i = 0; i < b.size() && i < a.size(); ++i)
        same += a[i].mid(1, 9) == b[i].mid(1, 9);
    EXPECT_EQ(same, 0);
    EXPECT_NE(cards(QStringLiteral("Mst02"))[0][1], cards(QStringLiteral("Mst04"))[0][1]);
}

TEST_F(MasterData, PostalListHasSevenDigitCodesAndRowNumbers) {
    const long long n = db().count("select count(*) from [KEN_ALL]");
    EXPECT_EQ(db().count("select count(*) from [KEN_ALL] where length([ZipCode7]) <> 7 "
                         "or [ZipCode7] glob '*[^0-9]*'"),
              0);
    EXPECT_EQ(db().count("select min([ID]) from [KEN_ALL]"), 1);
    EXPECT_EQ(db().count("select max([ID]) from [KEN_ALL]"), n);
    EXPECT_EQ(db().count("select count(distinct [ID]) from [KEN_ALL]"), n);
    EXPECT_EQ(
        db().count("select count(*) from [KEN_ALL] where [Flag10] <> 0 or [Flag11] <> 0 or [Flag12] <> 0 "
                   "or [Flag13] <> 0 or [Flag14] <> 0 or [Flag15] <> 0"),
        0);
    EXPECT_EQ(db().count("select count(*) from [KEN_ALL] where [TodofukenKanji] = '' or [City1Kanji] = '' "
                         "or [TodofukenKana] = '' or [City1Kana] = ''"),
              0);
    // The search looks codes up by index.
    EXPECT_EQ(db().count("select count(*) from sqlite_master where type = 'index' and tbl_name = 'KEN_ALL' "
                         "and sql like '%ZipCode7%'"),
              1);
}

TEST_F(MasterData, KnownPostalCodesAreFound) {
    const Rows chiyoda =
        db().rows(QStringLiteral("select [TodofukenKana], [City1Kana], [City2Kana], [TodofukenKanji], "
                                 "[City1Kanji], [City2Kanji] from [KEN_ALL] where [ZipCode7] = ?"),
                  {QStringLiteral("1000001")});
    ASSERT_EQ(chiyoda.size(), 1u);
    EXPECT_EQ(chiyoda[0],
              (QStringList{QStringLiteral("ﾄｳｷｮｳﾄ"), QStringLiteral("ﾁﾖﾀﾞｸ"), QStringLiteral("ﾁﾖﾀﾞ"),
                           QStringLiteral("東京都"), QStringLiteral("千代田区"), QStringLiteral("千代田")}));
    // A code shared by several town areas yields all of them.
    EXPECT_GT(db().count("select count(*) from [KEN_ALL] where [ZipCode7] = '4520961'"), 1);
    // Business offices (individual codes of companies) are not in the list.
    EXPECT_EQ(db().count("select count(*) from [KEN_ALL] where [ZipCode7] = '1008994'"), 0);
}

TEST_F(MasterData, KanaColumnsAreHalfWidth) {
    int checked = 0;
    for (const QStringList& r :
         db().rows(QStringLiteral("select [TodofukenKana], [City1Kana], [City2Kana] from [KEN_ALL]"))) {
        for (const QString& s : r)
            for (QChar c : s)
                ASSERT_TRUE(c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F))
                    << s.toStdString() << " holds a character that is not half-width";
        ++checked;
    }
    EXPECT_GE(checked, 120000);
}

TEST_F(MasterData, VersionRowHoldsTheListDate) {
    const Rows v = db().rows(
        QStringLiteral("select [ID], [Version] from [KEN_ALL_Version] order by [KEN_ALL_Version].[ID]"));
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0][0], QStringLiteral("1"));
    ASSERT_TRUE(matches(QStringLiteral("\\d{4}-\\d{2}-\\d{2} 00:00:00"), v[0][1])) << v[0][1].toStdString();
    const QDate date = QDate::fromString(v[0][1].left(10), QStringLiteral("yyyy-MM-dd"));
    EXPECT_TRUE(date.isValid());
    EXPECT_GE(date.year(), 2020);

    QFile f(QStringLiteral(ZENTRY_DATA_DIR "/ken_all_version.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(v[0][1].left(10), QString::fromUtf8(f.readAll()).trimmed());
}

// ---------------------------------------------------------------------------

TEST(UserTemplate, HasBothEmptyTablesInRollbackJournalMode) {
    Db db(kUserTemplatePath);
    ASSERT_TRUE(db.isOpen()) << "cannot open " << kUserTemplatePath.toStdString();
    EXPECT_EQ(db.count("select count(*) from [User_tbl]"), 0);
    EXPECT_EQ(db.count("select count(*) from [History_tbl]"), 0);
    EXPECT_EQ(db.rows("pragma table_info([User_tbl])").size(), 11u);
    EXPECT_EQ(db.rows("pragma table_info([History_tbl])").size(), 36u);
    EXPECT_EQ(db.scalar("pragma journal_mode").toLower(), QStringLiteral("delete"));
    EXPECT_EQ(db.count("select count(*) from sqlite_master where name in ('Mst01', 'KEN_ALL')"), 0);
}

// ---------------------------------------------------------------------------
// The builder run as a process.

struct RunResult {
    int exitCode = -1;
    QString err;
};

RunResult runMkdata(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ZENTRY_MKDATA), args);
    EXPECT_TRUE(p.waitForFinished(120000)) << "zentry-mkdata did not finish";
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

// A copy of the data folder whose postal list is replaced by the given lines.
QString dataFolderWithPostal(const QTemporaryDir& dir, const QStringList& postalLines) {
    const QString data = dir.filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    for (const char* name :
         {"ken_all_version.txt", "family_names.tsv", "given_names.tsv", "area_codes.tsv", "mail_domains.txt"})
        EXPECT_TRUE(QFile::copy(QStringLiteral(ZENTRY_DATA_DIR "/") + QLatin1String(name),
                                data + '/' + QLatin1String(name)));
    QFile f(data + QStringLiteral("/ken_all.tsv"));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write((postalLines.join('\n') + '\n').toUtf8());
    return data;
}

const QString kPostalHeader = QStringLiteral("DantaiCode\tZipCode5\tZipCode7\tTodofukenKana\tCity1Kana\tCity2"
                                             "Kana\tTodofukenKanji\tCity1Kanji\tCity2Kanji");

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(Mkdata, SameDataGiveTheSameCards) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("again.mst"));
    const RunResult r = runMkdata({QStringLiteral("master"), QStringLiteral(ZENTRY_DATA_DIR), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    Db built(kMasterPath);
    Db again(out);
    ASSERT_TRUE(built.isOpen());
    ASSERT_TRUE(again.isOpen());
    for (const char* table :
         {"Mst01", "Mst02", "Mst03", "Mst04", "Mst02Error", "Mst04Error", "KEN_ALL_Version"}) {
        const QString sql = QStringLiteral("select * from [%1] order by 1").arg(QLatin1String(table));
        EXPECT_EQ(built.rows(sql), again.rows(sql)) << table;
    }
    EXPECT_EQ(built.count("select count(*) from [KEN_ALL]"), again.count("select count(*) from [KEN_ALL]"));
}

TEST(Mkdata, RepeatedPrefectureAndCityAreFilledFromTheRowAbove) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dataFolderWithPostal(
        dir,
        {kPostalHeader, QStringLiteral("\t100  \t1000001\tﾄｳｷｮｳﾄ\tﾁﾖﾀﾞｸ\tﾁﾖﾀﾞ\t東京都\t千代田区\t千代田"),
         QStringLiteral("\t100  \t1000002\t\t\tｺｳｷｮｶﾞｲｴﾝ\t\t\t皇居外苑"),
         QStringLiteral("\t530  \t5300001\tｵｵｻｶﾌ\tｵｵｻｶｼｷﾀｸ\tｳﾒﾀﾞ\t大阪府\t大阪市北区\t梅田")});
    const QString out = dir.filePath(QStringLiteral("small.mst"));
    const RunResult r = runMkdata({QStringLiteral("master"), data, out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    Db db(out);
    ASSERT_TRUE(db.isOpen());
    const Rows rows =
        db.rows(QStringLiteral("select [ID], [ZipCode7], [TodofukenKana], [City1Kana], [City2Kana], "
                               "[TodofukenKanji], [City1Kanji], [City2Kanji] from [KEN_ALL] order by [ID]"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1],
              (QStringList{QStringLiteral("2"), QStringLiteral("1000002"), QStringLiteral("ﾄｳｷｮｳﾄ"),
                           QStringLiteral("ﾁﾖﾀﾞｸ"), QStringLiteral("ｺｳｷｮｶﾞｲｴﾝ"), QStringLiteral("東京都"),
                           QStringLiteral("千代田区"), QStringLiteral("皇居外苑")}));
    EXPECT_EQ(rows[2][5], QStringLiteral("大阪府"));
    // Every card address comes from one of the three rows.
    for (const QStringList& c : db.rows(QStringLiteral("select [Col04], [Col05] from [Mst01]"))) {
        const bool known =
            (c[0] == QStringLiteral("100-0001") && c[1].startsWith(QStringLiteral("東京都千代田区千代田"))) ||
            (c[0] == QStringLiteral("100-0002") &&
             c[1].startsWith(QStringLiteral("東京都千代田区皇居外苑"))) ||
            (c[0] == QStringLiteral("530-0001") && c[1].startsWith(QStringLiteral("大阪府大阪市北区梅田")));
        ASSERT_TRUE(known) << c[0].toStdString() << " " << c[1].toStdString();
    }
}

TEST(Mkdata, MissingDataFolderFailsWithoutOutput) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("Quillon01.mst"));
    const RunResult r =
        runMkdata({QStringLiteral("master"), dir.filePath(QStringLiteral("no-such-folder")), out});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no-such-folder"))) << r.err.toStdString();
    EXPECT_TRUE(entriesOf(dir.path()).isEmpty()) << entriesOf(dir.path()).join(' ').toStdString();
}

TEST(Mkdata, BadPostalRowFailsAndKeepsThePreviousFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dataFolderWithPostal(
        dir,
        {kPostalHeader, QStringLiteral("\t100  \t1000001\tﾄｳｷｮｳﾄ\tﾁﾖﾀﾞｸ\tﾁﾖﾀﾞ\t東京都\t千代田区\t千代田"),
         QStringLiteral("\t100  \t100-0002\t\t\tｺｳｷｮｶﾞｲｴﾝ\t\t\t皇居外苑")});
    const QString outDir = dir.filePath(QStringLiteral("bin"));
    QDir().mkpath(outDir);
    const QString out = outDir + QStringLiteral("/Quillon01.mst");
    {
        QFile previous(out);
        ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
        previous.write("previous build");
    }
    const RunResult r = runMkdata({QStringLiteral("master"), data, out});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("line 3"))) << r.err.toStdString();
    EXPECT_EQ(readAll(out), QByteArray("previous build"));
    EXPECT_EQ(entriesOf(outDir), QStringList{QStringLiteral("Quillon01.mst")});
}

TEST(Mkdata, RowWithMissingFieldsFails) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dataFolderWithPostal(
        dir, {kPostalHeader, QStringLiteral("\t100  \t1000001\tﾄｳｷｮｳﾄ\tﾁﾖﾀﾞｸ\tﾁﾖﾀﾞ\t東京都\t千代田区")});
    const QString out = dir.filePath(QStringLiteral("x.mst"));
    const RunResult r = runMkdata({QStringLiteral("master"), data, out});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("line 2"))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

TEST(Mkdata, UserTemplateIsBuiltOnRequest) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("UserData.org"));
    const RunResult r = runMkdata({QStringLiteral("userdb"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    Db db(out);
    ASSERT_TRUE(db.isOpen());
    EXPECT_EQ(db.count("select count(*) from [User_tbl]"), 0);
    EXPECT_EQ(db.scalar("pragma journal_mode").toLower(), QStringLiteral("delete"));
    EXPECT_EQ(entriesOf(dir.path()), QStringList{QStringLiteral("UserData.org")});
}

TEST(Mkdata, UnknownCommandIsRefused) {
    const RunResult r = runMkdata({QStringLiteral("everything")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("usage"))) << r.err.toStdString();
}

} // namespace
