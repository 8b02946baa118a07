#include "AppSub.h"
#include "Clock.h"
#include "DB.h"
#include "DbEngine.h"
#include "ICException.h"
#include "Recordsets.h"
#include "Schema.h"
#include "SmallMount.h"
#include "TestFolder.h"
#include "TestRows.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {
void addUser(CDB& db, int code, const QString& k1, const QString& k2, const QString& n1, const QString& n2,
             int deleted = 0) {
    TestUser u{code, k1, k2, n1, n2, {0, 0, 0}, deleted, naiveDateTime(QDate(2026, 4, 1), QTime(9, 0))};
    AddTestUser(db, u);
}

void addHistory(CDB& db, int id, int user, int deleted = 0) {
    CRsHistory_tbl rs(&db);
    rs.Open(CRecordset::dbOpenDynaset, "[History_tbl]");
    db.BeginTrans();
    rs.AddNew();
    rs.m_AutoNumber = id;
    rs.m_user_code = user;
    rs.m_problem_code = "2";
    rs.m_course_code = "1";
    rs.m_execution_date = naiveDateTime(QDate(2026, 4, 1), QTime(9, id));
    rs.m_delete_flg = deleted;
    rs.Update();
    db.CommitTrans();
}

// A small master file with a few postal rows.
void writeMaster(const QString& path) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "mk_master");
        db.setDatabaseName(path);
        db.open();
        Schema::create(db, Schema::masterDatabase());
        QSqlQuery q(db);
        q.exec("insert into KEN_ALL (ID, ZipCode7, TodofukenKanji, City1Kanji, City2Kanji) values "
               "(1, '1000001', '東京都', '千代田区', '千代田'), (2, '0600000', '北海道', '札幌市中央区', ''),"
               "(3, '4520961', '愛知県', '清須市', '春日愛知'), (4, '4520961', '愛知県', '清須市', '春日夢の森')");
        q.exec("insert into KEN_ALL_Version values (1, '2020-01-31 00:00:00'), (2, '2024-05-07 00:00:00')");
        db.close();
    }
    QSqlDatabase::removeDatabase("mk_master");
}
} // namespace

TEST(UserDatabase, CopiedFromTemplateAndWritableEvenWhenTemplateIsReadOnly) {
    TestFolder folder;
    QFile::setPermissions(folder.file("UserData.org"), QFileDevice::ReadOwner);
    CDB db;
    db.OpenUser();
    EXPECT_TRUE(QFile::exists(folder.file("UserData.mdb")));
    EXPECT_TRUE(db.canWrite());
    addUser(db, 1, "ア", "イ", "亜", "衣");
    EXPECT_EQ(AppSub::NextUserCode(db), 2);
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

TEST(UserDatabase, MissingTemplateNamesBothFiles) {
    TestFolder folder;
    QFile::remove(folder.file("UserData.org"));
    CDB db;
    try {
        db.OpenUser();
        FAIL();
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().contains("ファイルのコピーに失敗しました。"));
        EXPECT_TRUE(e.GetErrorMessage().contains(folder.file("UserData.org")));
        EXPECT_TRUE(e.GetErrorMessage().contains("エラー 2 が発生しました: "));
    }
}

TEST(UserDatabase, CorruptFileIsReportedAndKept) {
    TestFolder folder;
    QFile f(folder.file("UserData.mdb"));
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray(4096, 'x'));
    f.close();
    CDB db;
    EXPECT_THROW(db.OpenUser(), CICException);
    try {
        db.OpenUser();
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().contains(folder.file("UserData.mdb")));
    }
    EXPECT_EQ(QFile(folder.file("UserData.mdb")).size(), 4096); // nothing overwritten
}

// A user database damaged in one way or another: said so, left exactly as it
// was, never replaced by the template.
struct Damage {
    const char* name;
    void (*apply)(const QString& path);
};
void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

void writeAt(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(offset);
    f.write(bytes);
}

class DamagedUserDatabase : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedUserDatabase, IsReportedAndKeptAsItIs) {
    TestFolder folder;
    const QString path = folder.file("UserData.mdb");
    {
        CDB db;
        db.OpenUser();
        for (int user = 1; user <= 40; ++user) {
            addUser(db, user, "ア", "イ", QString(80, QChar(u'亜')), QString::number(user));
            addHistory(db, user, user);
        }
        QSqlQuery(db.database()).exec("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    ASSERT_GE(QFile(path).size(), 8 * 4096);
    GetParam().apply(path);
    QFile before(path);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();

    CDB db;
    try {
        db.OpenUser();
        ADD_FAILURE() << "a damaged database opened";
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().contains(path)) << e.GetErrorMessage().toStdString();
        EXPECT_TRUE(e.GetErrorMessage().contains("ファイルは変更していません")) << e.GetErrorMessage().toStdString();
    }
    EXPECT_FALSE(db.IsOpen());
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DamagedUserDatabase,
    ::testing::Values(Damage{"Empty", [](const QString& p) { QFile(p).resize(0); }},
                      Damage{"Truncated", [](const QString& p) { QFile(p).resize(QFile(p).size() / 2); }},
                      Damage{"PageOverwritten", [](const QString& p) { writeAt(p, 5 * 4096, QByteArray(4096, '\x5a')); }},
                      // The index of a user's trials misses rows: lists by user would hide them.
                      Damage{"IndexMissingRows",
                             [](const QString& p) {
                                 {
                                     QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "index");
                                     db.setDatabaseName(p);
                                     db.open();
                                     QSqlQuery q(db);
                                     q.exec("drop index History_user");
                                     q.exec("create index History_user on History_tbl (user_code, execution_date) "
                                            "where AutoNumber < 30");
                                     q.exec("PRAGMA writable_schema = ON");
                                     q.exec("update sqlite_master set sql = 'CREATE INDEX [History_user] ON [History_tbl] "
                                            "([user_code], [execution_date])' where name = 'History_user'");
                                     q.exec("PRAGMA writable_schema = OFF");
                                     db.close();
                                 }
                                 QSqlDatabase::removeDatabase("index");
                             }},
                      Damage{"AnotherDatabase",
                             [](const QString& p) {
                                 QFile::remove(p);
                                 QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
                                 db.setDatabaseName(p);
                                 db.open();
                                 QSqlQuery(db).exec("create table notes (text)");
                                 db.close();
                                 db = QSqlDatabase();
                                 QSqlDatabase::removeDatabase("other");
                             }}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

// A copy whose write-ahead file cannot be read (here a folder in its place) is
// reported, not read from the main file alone: that would miss committed trials.
TEST(UserDatabase, ACopyWithAnUnreadableWriteAheadFileIsNotReadStale) {
    TestFolder folder;
    {
        CDB db;
        db.OpenUser();
        for (int id = 1; id <= 5; ++id)
            addHistory(db, id, 1);
        QSqlQuery(db.database()).exec("PRAGMA wal_checkpoint(TRUNCATE)");
        for (int id = 6; id <= 7; ++id)
            addHistory(db, id, 1);
        QDir().mkpath(folder.file("copy"));
        QFile::copy(folder.file("UserData.mdb"), folder.file("copy/UserData.mdb"));
    }
    ASSERT_TRUE(QDir().mkpath(folder.file("copy/UserData.mdb-wal")));
    CDB copy;
    try {
        copy.OpenPrevious(folder.file("copy/"));
        ADD_FAILURE() << "opened and read " << QSqlQuery("select count(*) from History_tbl", copy.database()).next();
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().contains(folder.file("copy/UserData.mdb"))) << e.GetErrorMessage().toStdString();
    }
    EXPECT_FALSE(copy.IsOpen());
}

// A program folder that takes no writes (mounted read-only): said so by name
// before anything is tried, whether the database is there yet or not.
TEST(UserDatabase, ReadOnlyProgramFolderIsNamedAndLeftAsItIs) {
    for (const bool withDatabase : {false, true}) {
        TestFolder folder;
        const QByteArray tmpl = [&] {
            QFile f(folder.file("UserData.org"));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        SmallMount mount(folder.path(), 1024);
        if (!mount.mounted())
            GTEST_SKIP() << mount.why();
        writeAt(folder.file("UserData.org"), 0, tmpl);
        if (withDatabase) {
            CDB db;
            db.OpenUser();
            addUser(db, 1, "ア", "イ", "亜", "衣");
        }
        const QStringList files = QDir(folder.path()).entryList(QDir::Files);
        ASSERT_TRUE(mount.makeReadOnly());
        CDB db;
        try {
            db.OpenUser();
            ADD_FAILURE() << "opened in a read-only folder";
        } catch (const CICException& e) {
            EXPECT_TRUE(e.GetErrorMessage().contains("に書き込めないため")) << e.GetErrorMessage().toStdString();
            EXPECT_TRUE(e.GetErrorMessage().contains(QDir::toNativeSeparators(folder.path())));
        }
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), files) << withDatabase;
    }
}

// The other program holds the write lock: a write waits for it again and again,
// and says so in words only when it is never given up.
TEST(UserDatabase, AWriteWaitsForTheOtherProgramsLockAndOnlyThenGivesUp) {
    TestFolder folder;
    CDB writer;
    writer.OpenUser();
    writer.SetBusyTimeout(100);
    for (const int heldMs : {350, 100 * CDB::kBusyWaits + 500}) {
        std::promise<void> locked;
        std::thread other([&] {
            CDB db;
            db.OpenUser();
            db.BeginTrans();
            locked.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(heldMs));
            db.Rollback();
        });
        locked.get_future().wait();
        QString failure;
        try {
            writer.BeginTrans();
            writer.Rollback();
        } catch (const CDBException& e) {
            failure = e.text();
        }
        other.join();
        if (heldMs < 100 * CDB::kBusyWaits) {
            EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
        } else {
            EXPECT_TRUE(failure.startsWith("データベースを他のプログラムが長く使用しているため")) << failure.toStdString();
            EXPECT_FALSE(failure.contains("locked"));
        }
    }
}

// A lock never given up is waited for exactly kBusyWaits busy timeouts, counted
// as they pass; a lock given up during the second wait ends the waiting there.
TEST(UserDatabase, AWriteWaitsTheGivenNumberOfBusyTimeouts) {
    TestFolder folder;
    CDB writer, other;
    writer.OpenUser();
    other.OpenUser();
    writer.SetBusyTimeout(20);
    QList<int> waits;
    for (const bool release : {false, true}) {
        SCOPED_TRACE(release);
        waits.clear();
        other.BeginTrans();
        if (!release)
            CDB::s_busyWaitObserver = [&](int wait) { waits << wait; };
        else
            CDB::s_busyWaitObserver = [&](int wait) {
                waits << wait;
                if (wait == 2)
                    other.Rollback();
            };
        bool failed = false;
        try {
            writer.BeginTrans();
            writer.Rollback();
        } catch (const CDBException&) {
            failed = true;
        }
        if (!release)
            other.Rollback();
        EXPECT_EQ(failed, !release);
        QList<int> expected;
        for (int i = 1; i <= (release ? 2 : CDB::kBusyWaits); ++i)
            expected << i;
        EXPECT_EQ(waits, expected);
    }
    CDB::s_busyWaitObserver = nullptr;
}

TEST(UserDatabase, NextIdentifiersCountDeletedRows) {
    TestFolder folder;
    CDB db;
    db.OpenUser();
    EXPECT_EQ(AppSub::NextHistoryNumber(db), 1);
    EXPECT_EQ(AppSub::NextUserCode(db), 1);
    for (int i = 1; i <= 5; ++i)
        addHistory(db, i, 1, i == 5);
    EXPECT_EQ(AppSub::NextHistoryNumber(db), 6);
    addUser(db, 7, "ア", "ア", "亜", "亜", 1);
    EXPECT_EQ(AppSub::NextUserCode(db), 8);
}

TEST(UserDatabase, UserQueriesSkipDeletedUsersAndListInKanaOrder) {
    TestFolder folder;
    CDB db;
    db.OpenUser();
    addUser(db, 1, "ヤマダ", "タロウ", "山田", "太郎");
    addUser(db, 2, "アベ", "ハナコ", "阿部", "花子");
    addUser(db, 3, "カトウ", "ジロウ", "加藤", "次郎", 1);
    addUser(db, 4, "アベ", "イチロウ", "阿部", "一郎");
    auto rows = AppSub::UserList(db);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].code, 4);
    EXPECT_EQ(rows[0].fullName, "阿部　一郎");
    EXPECT_EQ(rows[0].fullKana, "アベ　イチロウ");
    EXPECT_EQ(rows[1].code, 2);
    EXPECT_EQ(rows[2].code, 1);

    QString k1, k2, n1, n2;
    EXPECT_FALSE(AppSub::GetUserNames(db, 3, k1, k2, n1, n2));
    EXPECT_TRUE(n1.isEmpty());
    EXPECT_TRUE(AppSub::GetUserNames(db, 1, k1, k2, n1, n2));
    EXPECT_EQ(n2, "太郎");
    // The unfiltered query still finds a deleted user.
    CRsUser_tbl rs(&db);
    rs.Open(CRecordset::dbOpenDynaset, "select * from [User_tbl] where [user_code] = %d ", {3});
    EXPECT_FALSE(rs.IsEOF());

    EXPECT_FALSE(AppSub::IsNameFree(db, "x", "y", "山田", "太郎"));
    EXPECT_FALSE(AppSub::IsNameFree(db, "アベ", "ハナコ", "x", "y"));
    EXPECT_TRUE(AppSub::IsNameFree(db, "カトウ", "ジロウ", "加藤", "次郎")); // only a deleted user has it
    addUser(db, 5, "ナミ", "コ", "波～", "子");
    EXPECT_FALSE(AppSub::IsNameFree(db, "x", "y", "波〜", "子")) << "the same bytes in code page 932";
}

TEST(UserDatabase, QuotesInBoundTextNeverChangeTheQuery) {
    TestFolder folder;
    CDB db;
    db.OpenUser();
    addUser(db, 1, "オ", "ア", "O'Brien", "x' or '1'='1");
    CRsUser_tbl rs(&db);
    rs.Open(CRecordset::dbOpenSnapshot,
            "select * from [User_tbl] where [user_name1] = '%s' and [user_name2] = '%s' and [delete_flg] <> 1 ",
            {"O'Brien", "x' or '1'='1"});
    EXPECT_EQ(rs.GetRecordCount(), 1);
    rs.Open(CRecordset::dbOpenSnapshot,
            "select * from [User_tbl] where [user_name1] = '%s' and [user_name2] = '%s' and [delete_flg] <> 1 ",
            {"nobody", "' or '1'='1"});
    EXPECT_EQ(rs.GetRecordCount(), 0);
}

TEST(UserDatabase, SnapshotKeepsItsRowsWhileEditsAreWrittenAndRolledBack) {
    TestFolder folder;
    CDB db;
    db.OpenUser();
    addUser(db, 1, "ア", "イ", "亜", "衣");
    CRsUser_tbl snap(&db);
    snap.Open(CRecordset::dbOpenSnapshot, "select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 ",
              {1}, CRecordset::readOnly);
    EXPECT_FALSE(snap.CanUpdate());

    CRsUser_tbl rs(&db);
    rs.Open(CRecordset::dbOpenDynaset, "select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 ", {1});
    ASSERT_TRUE(rs.CanUpdate());
    db.BeginTrans();
    rs.Edit();
    rs.m_start_no2 = 41;
    rs.Update();
    db.CommitTrans();
    EXPECT_EQ(snap.m_start_no2, 0); // a snapshot does not see later changes

    db.BeginTrans();
    rs.Edit();
    rs.m_start_no2 = 99;
    rs.Update();
    db.Rollback();
    CRsUser_tbl check(&db);
    check.Open(CRecordset::dbOpenSnapshot, "select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 ",
               {1}, CRecordset::readOnly);
    EXPECT_EQ(check.m_start_no2, 41);
}

TEST(UserDatabase, DuplicateKeyInsertFailsAndRollsBack) {
    TestFolder folder;
    CDB db;
    db.OpenUser();
    addHistory(db, 1, 1);
    CRsHistory_tbl rs(&db);
    rs.Open(CRecordset::dbOpenDynaset, "[History_tbl]");
    db.BeginTrans();
    rs.AddNew();
    rs.m_AutoNumber = 1;
    EXPECT_THROW(rs.Update(), CDBException);
    db.Rollback();
    EXPECT_EQ(AppSub::NextHistoryNumber(db), 2);
}

TEST(UserDatabase, ReadOnlyDatabaseIsNotUpdatableAndSaysSo) {
    TestFolder folder;
    {
        CDB db;
        db.OpenUser();
        addUser(db, 1, "ア", "イ", "亜", "衣");
    }
    CDB db;
    ASSERT_EQ(db.OpenPrevious(folder.path()), 1); // opened read-only
    CRsHistory_tbl rs(&db);
    rs.Open(CRecordset::dbOpenDynaset, "[History_tbl]");
    EXPECT_FALSE(rs.CheckCanUpdate());
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_EQ(folder.notifier.entries[0].text,
              "[History_tbl] の更新ができません。\n読込専用で開かれていないかチェックしてください。");
    EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Exclamation);
    EXPECT_THROW(rs.AddNew(), CDBException);
    EXPECT_EQ(AppSub::UserList(db).size(), 1); // reading still works

    CDB missing;
    EXPECT_EQ(missing.OpenPrevious(folder.file("nothing/")), 0);
    EXPECT_TRUE(folder.notifier.entries.last().text.startsWith("データベース " + folder.file("nothing/UserData.mdb")));
}

TEST(MasterDatabase, ConfiguredPathMissingWarnsThenUsesDefault) {
    TestFolder folder;
    writeMaster(folder.file("Quillon01.mst"));
    folder.writeIni("[Settings]\nmst_path=/nowhere/other.mst\n");
    CDB db;
    db.OpenMaster();
    EXPECT_EQ(db.path(), folder.file("Quillon01.mst"));
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_TRUE(folder.notifier.entries[0].text.startsWith("データベース /nowhere/other.mst が見つかりません。\n\n"));
}

TEST(MasterDatabase, NoFileAtAllWarnsThenThrowsAndNoKeyOpensSilently) {
    TestFolder folder;
    CDB db;
    try {
        db.OpenMaster();
        FAIL();
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().endsWith("データベース " + folder.file("Quillon01.mst") + " が見つかりません。"));
    }
    EXPECT_EQ(folder.notifier.entries.size(), 1);
    writeMaster(folder.file("Quillon01.mst"));
    db.OpenMaster();
    EXPECT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_TRUE(db.IsOpen());
}

TEST(MasterDatabase, FileThatIsNotADatabaseGivesAClearMessage) {
    TestFolder folder;
    QFile f(folder.file("Quillon01.mst"));
    f.open(QIODevice::WriteOnly);
    f.write("this is not a database at all, just some text.................................................");
    f.close();
    CDB db;
    try {
        db.OpenMaster();
        FAIL();
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().contains(folder.file("Quillon01.mst")));
    }
    EXPECT_FALSE(db.IsOpen());
}

TEST(MasterDatabase, PostalCodesNormaliseAndCount) {
    TestFolder folder;
    writeMaster(folder.file("Quillon01.mst"));
    CDB closed;
    EXPECT_EQ(closed.CountZip("1000001"), -1);
    closed.Close(); // closing an unopened holder does nothing

    CDB db;
    db.OpenMaster();
    EXPECT_EQ(db.CountZip("1000001"), 1);
    EXPECT_EQ(db.CountZip("100-0001"), 1);
    EXPECT_EQ(db.CountZip("100-00-01"), 1);
    EXPECT_EQ(db.CountZip("10-00001"), -2);
    EXPECT_EQ(db.CountZip("100000"), -2);
    EXPECT_EQ(db.CountZip("１０００００１"), -2); // full-width digits are 14 bytes
    EXPECT_EQ(db.CountZip("9999999"), 0);
    EXPECT_EQ(db.CountZip("452-0961"), 2);
    EXPECT_EQ(db.CountZip("'; drop table KEN_ALL; --"), -2);
    EXPECT_EQ(db.CountZip("1'-'001"), 0);

    QString p, c, t;
    EXPECT_EQ(db.FetchZip("4520961", 1, p, c, t), 1);
    EXPECT_EQ(p + c + t, "愛知県清須市春日夢の森");
    EXPECT_EQ(db.FetchZip("4520961", 5, p, c, t), 1);
    EXPECT_TRUE(p.isEmpty() && c.isEmpty() && t.isEmpty());
    EXPECT_EQ(db.FetchZip("45209", 0, p, c, t), 0);
    EXPECT_EQ(db.ZipDataDate(), "2024年 5月 7日");
    EXPECT_EQ(db.CountZip("1000001"), 1); // the table is still there
}

TEST(UserDatabase, TwoHoldersShareTheFileWhileOneWrites) {
    TestFolder folder;
    CDB writer, reader;
    writer.OpenUser();
    reader.OpenUser();
    addUser(writer, 1, "ア", "イ", "亜", "衣");
    CRsUser_tbl rs(&writer);
    rs.Open(CRecordset::dbOpenDynaset, "select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 ", {1});
    writer.BeginTrans();
    rs.Edit();
    rs.m_user_name2 = "変更";
    rs.Update();
    // The other program reads the committed state without waiting for the writer.
    QString k1, k2, n1, n2;
    EXPECT_TRUE(AppSub::GetUserNames(reader, 1, k1, k2, n1, n2));
    EXPECT_EQ(n2, "衣");
    writer.CommitTrans();
    EXPECT_TRUE(AppSub::GetUserNames(reader, 1, k1, k2, n1, n2));
    EXPECT_EQ(n2, "変更");
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

// The other program writes the row between our read and our write.
struct InterleavedCase {
    const char* name;
    const char* statement; // how we read the row we are about to edit
    QVariantList args;
    const char* otherWrite; // what the other program commits meanwhile
    bool written;
    int startNo2; // afterwards
    const char* name2;
    int deleted;
};

void PrintTo(const InterleavedCase& c, std::ostream* os) { *os << c.name; }

class InterleavedWrite : public ::testing::TestWithParam<InterleavedCase> {};

TEST_P(InterleavedWrite, WritesOnlyItsChangesToTheRowItRead) {
    const InterleavedCase c = GetParam();
    TestFolder folder;
    CDB ours, other;
    ours.OpenUser();
    other.OpenUser();
    addUser(ours, 1, "ア", "イ", "亜", "衣");
    CRsUser_tbl rs(&ours);
    rs.Open(CRecordset::dbOpenDynaset, QString::fromUtf8(c.statement), c.args);
    ASSERT_FALSE(rs.IsEOF());
    ASSERT_TRUE(QSqlQuery(other.database()).exec(DbEngines::nativeSql(other, QString::fromUtf8(c.otherWrite))));

    const bool written = RunWriteTransaction(ours, [&] {
        rs.Edit();
        rs.m_start_no2 = 41;
        rs.Update();
    });
    EXPECT_EQ(written, c.written);
    QSqlQuery q(other.database());
    ASSERT_TRUE(q.exec(DbEngines::nativeSql(
                    other, "select [start_no2], [user_name2], [delete_flg] from [User_tbl] where [user_code] = 1")) &&
                q.next());
    EXPECT_EQ(q.value(0).toInt(), c.startNo2);
    EXPECT_EQ(q.value(1).toString(), QString::fromUtf8(c.name2));
    EXPECT_EQ(q.value(2).toInt(), c.deleted);
    if (c.written) {
        EXPECT_TRUE(folder.notifier.entries.isEmpty());
    } else {
        ASSERT_EQ(folder.notifier.entries.size(), 1);
        EXPECT_EQ(folder.notifier.entries[0].text, DbMessages::notUpdatable("[User_tbl]"));
        EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Exclamation);
    }
}

INSTANTIATE_TEST_SUITE_P(
    TwoConnections, InterleavedWrite,
    ::testing::Values(
        InterleavedCase{"NameEditedMeanwhileIsKept",
                        "select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 ", {1},
                        "update [User_tbl] set [user_name2] = '変更'", true, 41, "変更", 0},
        InterleavedCase{"UserDeletedMeanwhileStaysDeleted",
                        "select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 ", {1},
                        "update [User_tbl] set [delete_flg] = 1", false, 0, "衣", 1},
        InterleavedCase{"RenamedMeanwhileNoLongerMatchesTheBoundNames",
                        "select * from [User_tbl] where [user_name1] = '%s' and [user_name2] = '%s' and "
                        "[delete_flg] <> 1 ",
                        {"亜", "衣"}, "update [User_tbl] set [user_name2] = '別'", false, 0, "別", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UserDatabase, NullTextsOfAnEarlierBuildBecomeEmptyOnceOnOpening) {
    TestFolder folder;
    {
        // A user database as an earlier build wrote it: no format number, NULL codes.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "earlier_build");
        db.setDatabaseName(folder.file("UserData.mdb"));
        ASSERT_TRUE(db.open());
        QStringList schema = Schema::userDatabase();
        schema.removeLast(); // the format number
        Schema::create(db, schema);
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("insert into User_tbl (user_code, user_kname1, user_name1, delete_flg) "
                           "values (1, 'ア', '亜', 0)"));
        ASSERT_TRUE(q.exec("insert into History_tbl (AutoNumber, user_code, problem_code, course_code, "
                           "execution_date, delete_flg) values (1, 1, '2', '1', '2026-04-01 09:00:00', 0)"));
        db.close();
    }
    QSqlDatabase::removeDatabase("earlier_build");

    const auto nulls = [](CDB& db) {
        QSqlQuery q(db.database());
        q.exec("select (select count(*) from User_tbl where user_kname2 is null or user_name2 is null) + "
               "(select count(*) from History_tbl where end_flg is null or progress_flg is null or "
               "answer_time is null or display_flg is null)");
        return q.next() ? q.value(0).toInt() : -1;
    };
    {
        CDB db;
        db.OpenUser();
        EXPECT_EQ(nulls(db), 0);
        QSqlQuery q(db.database());
        ASSERT_TRUE(q.exec("select first_update, problem_code, user_version from History_tbl, "
                           "pragma_user_version") && q.next());
        EXPECT_TRUE(q.value(0).isNull()) << "an unset date stays unset";
        EXPECT_EQ(q.value(1).toString(), "2");
        EXPECT_EQ(q.value(2).toInt(), Schema::kUserDatabaseVersion);
        // A NULL written later by some other tool is not this program's to change again.
        ASSERT_TRUE(q.exec("update History_tbl set end_flg = null"));
    }
    CDB db;
    db.OpenUser();
    EXPECT_EQ(nulls(db), 1);
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}
