// The user database on either engine: the quoting of the query set on a
// server, the ini key that names the server, identifiers under concurrent
// writers, and the server's lock standing in for the file's.
#include "AppSub.h"
#include "ClassroomFiles.h"
#include "ClassroomSettings.h"
#include "DB.h"
#include "DbEngine.h"
#include "ICException.h"
#include "InputLog.h"
#include "LiveTrials.h"
#include "Recordsets.h"
#include "ServerSchema.h"
#include "ServerSetup.h"
#include "SqlDialect.h"
#include "TestFolder.h"
#include "TestRows.h"
#include "TestServer.h"
#include "UserDbServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <thread>
#include <utility>

namespace {
struct QuotingCase {
    const char* name;
    const char* in;
    const char* out;
};
void PrintTo(const QuotingCase& c, std::ostream* os) {
    *os << c.name;
}

class Quoting : public ::testing::TestWithParam<QuotingCase> {};

TEST_P(Quoting, BracketsBecomeStandardQuotesOutsideLiterals) {
    EXPECT_EQ(SqlDialect::toStandardQuoting(QString::fromUtf8(GetParam().in)).toStdString(), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, Quoting,
    ::testing::Values(
        QuotingCase{"names", "select * from [User_tbl] where [user_code] = 3",
                    "select * from \"User_tbl\" where \"user_code\" = 3"},
        QuotingCase{"qualified", "order by [Mst01].[Col01]", "order by \"Mst01\".\"Col01\""},
        QuotingCase{"literal", "where [problem_code] = '[1]' and [x] = 'a'",
                    "where \"problem_code\" = '[1]' and \"x\" = 'a'"},
        QuotingCase{"doubled quote in literal", "where [a] = 'it''s [b]' or [c] = ''",
                    "where \"a\" = 'it''s [b]' or \"c\" = ''"},
        QuotingCase{"quote inside a name", "select [a\"b] from [t]", "select \"a\"\"b\" from \"t\""},
        QuotingCase{"ifnull", "where ifnull([answer_time], '') = '' and myifnull(1) and 'ifnull(x)'",
                    "where coalesce(\"answer_time\", '') = '' and myifnull(1) and 'ifnull(x)'"},
        QuotingCase{"placeholders", "update [History_tbl] set [end_flg] = ? where [AutoNumber] = ?",
                    "update \"History_tbl\" set \"end_flg\" = ? where \"AutoNumber\" = ?"}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& c : n)
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return n;
    });

struct UrlCase {
    const char* url;
    bool accepted;
    const char* host = "";
    int port = 0;
    const char* database = "";
    const char* user = "";
    const char* options = "";
};
void PrintTo(const UrlCase& c, std::ostream* os) {
    *os << c.url;
}

class ServerUrl : public ::testing::TestWithParam<UrlCase> {};

TEST_P(ServerUrl, IsReadOrRefusedInJapanese) {
    const UrlCase& c = GetParam();
    QString error;
    const auto s = UserDb::parseUrl(QString::fromUtf8(c.url), &error);
    ASSERT_EQ(s.has_value(), c.accepted) << error.toStdString();
    if (!c.accepted) {
        EXPECT_TRUE(error.contains("user_db")) << error.toStdString();
        return;
    }
    EXPECT_EQ(s->host.toStdString(), c.host);
    EXPECT_EQ(s->port, c.port);
    EXPECT_EQ(s->database.toStdString(), c.database);
    EXPECT_EQ(s->user.toStdString(), c.user);
    EXPECT_EQ(s->options.toStdString(), c.options);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ServerUrl,
    ::testing::Values(UrlCase{"postgresql://classroom-server:5433/zentry01?sslmode=prefer", true,
                              "classroom-server", 5433, "zentry01", "", "sslmode=prefer;connect_timeout=10"},
                      UrlCase{"postgres://teacher@10.0.0.5/zentry01", true, "10.0.0.5", 5432, "zentry01",
                              "teacher", "connect_timeout=10"},
                      UrlCase{"postgresql://h/db?connect_timeout=3&sslmode=require", true, "h", 5432, "db",
                              "", "connect_timeout=3;sslmode=require"},
                      UrlCase{"postgresql://teacher:secret@h/db",
                              false}, // a password never stands in the ini
                      UrlCase{"postgresql://h/db?password=secret", false}, // nor as an option
                      UrlCase{"postgresql://h/db?sslmode=prefer;password=x", false},
                      UrlCase{"postgresql://h/", false}, UrlCase{"mysql://h/db", false},
                      UrlCase{"UserData.mdb", false}));

TEST(UserDatabaseEngine, AnUnreachableServerIsNamedAndNothingIsCreated) {
    TestFolder folder;
    folder.writeIni("[Database]\nuser_db=postgresql://127.0.0.1:1/zentry01?connect_timeout=2\n");
    CDB db;
    try {
        db.OpenUser();
        FAIL() << "opened";
    } catch (const CICException& e) {
        const QString text = e.GetErrorMessage();
        EXPECT_TRUE(text.contains(
            "データベースサーバー postgresql://127.0.0.1:1/zentry01?connect_timeout=2 に接続できません"))
            << text.toStdString();
    }
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(QFile::exists(folder.file("UserData.mdb")));
}

TEST(UserDatabaseEngine, AKeyThatCannotBeUsedIsRefusedBeforeAnythingElse) {
    TestFolder folder;
    folder.writeIni("[Database]\nuser_db=postgresql://teacher:secret@h/db\n");
    CDB db;
    EXPECT_THROW(db.OpenUser(), CICException);
    EXPECT_FALSE(QFile::exists(folder.file("UserData.mdb")));
}

// A writer that took an identifier another writer had already used: the
// whole write runs again, and nobody is told.
TEST(UserDatabaseEngine, AnIdentifierTakenTwiceIsTakenAgainUnseen) {
    TestFolder folder;
    CDB db;
    db.OpenUser();
    AddTestHistory(db, 1, [](CRsHistory_tbl&) {});
    CRsHistory_tbl rs(&db);
    rs.Open(CRecordset::dbOpenDynaset, "[History_tbl]");
    int attempts = 0, given = 0;
    const bool written = RunWriteTransaction(db, [&] {
        // The first attempt stands for a writer that read the maximum before the other's commit.
        given = ++attempts == 1 ? 1 : AppSub::NextHistoryNumber(db);
        rs.AddNew();
        rs.m_AutoNumber = given;
        rs.m_user_code = 1;
        rs.Update();
    });
    EXPECT_TRUE(written);
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(given, 2);
    EXPECT_TRUE(folder.notifier.entries.isEmpty()) << folder.notifier.texts().join('\n').toStdString();
    EXPECT_EQ(AppSub::NextHistoryNumber(db), 3);
}

// ------------------------------------------------------------- on the server

class OnServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (testServer().isEmpty())
            GTEST_SKIP() << "no test server (ZENTRY_TEST_PG_URL)";
    }
};

TEST_F(OnServer, TablesHaveTheEmbeddedColumnsInOrderAndKeepDoubles) {
    TestFolder folder;
    CDB server;
    server.OpenUser();
    ASSERT_EQ(DbEngines::engineOf(server), DbEngine::PostgreSQL);
    QSqlDatabase file = QSqlDatabase::addDatabase("QSQLITE", "embedded_schema");
    file.setDatabaseName(":memory:");
    file.open();
    Schema::create(file, Schema::userDatabase());
    for (const char* table : {"User_tbl", "History_tbl"}) {
        QSqlQuery a(file), b(server.database());
        ASSERT_TRUE(a.exec(QStringLiteral("select * from [%1]").arg(table)));
        ASSERT_TRUE(b.exec(DbEngines::nativeSql(server, QStringLiteral("select * from [%1]").arg(table))));
        QStringList fileColumns, serverColumns;
        for (int i = 0; i < a.record().count(); ++i)
            fileColumns << a.record().fieldName(i);
        for (int i = 0; i < b.record().count(); ++i)
            serverColumns << b.record().fieldName(i);
        EXPECT_EQ(serverColumns, fileColumns) << table;
    }
    file.close();
    file = QSqlDatabase();
    QSqlDatabase::removeDatabase("embedded_schema");
    // A rate is the 8-byte double it is in the file, not a 4-byte float.
    const double rate = 100.0 / 3.0;
    AddTestHistory(server, 1, [&](CRsHistory_tbl& rs) { rs.m_correct_rate = rate; });
    CRsHistory_tbl rs(&server);
    rs.Open(CRecordset::dbOpenSnapshot,
            "select * from [History_tbl] where [AutoNumber] = %d and [delete_flg] <> 1 ", {1});
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_correct_rate, rate);
}

// Many PCs start their trials at the same moment: every one gets its own number.
TEST_F(OnServer, ConcurrentWritersNeverShareAnIdentifier) {
    TestFolder folder;
    constexpr int kWriters = 6, kTrials = 8;
    std::vector<std::thread> writers;
    std::atomic<int> failures{0};
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&, w] {
            CDB db;
            db.OpenUser();
            CRsHistory_tbl rs(&db);
            rs.Open(CRecordset::dbOpenDynaset, "[History_tbl]");
            for (int t = 0; t < kTrials; ++t)
                if (!RunWriteTransaction(db, [&] {
                        const int next = AppSub::NextHistoryNumber(db);
                        rs.AddNew();
                        rs.m_AutoNumber = next;
                        rs.m_user_code = w + 1;
                        rs.Update();
                    }))
                    ++failures;
        });
    for (auto& t : writers)
        t.join();
    EXPECT_EQ(failures, 0);
    CDB db;
    db.OpenUser();
    CRsHistory_tbl rs(&db);
    rs.Open(CRecordset::dbOpenSnapshot,
            "select * from [History_tbl] where [delete_flg] <> 1 order by [execution_date], [AutoNumber]");
    std::set<int> numbers;
    for (; !rs.IsEOF(); rs.MoveNext())
        numbers.insert(rs.m_AutoNumber);
    EXPECT_EQ(static_cast<int>(numbers.size()), kWriters * kTrials);
    EXPECT_EQ(*numbers.rbegin(), kWriters * kTrials);
}

// The other program's write keeps the lock: ours waits its busy timeouts, then
// reports it in words a person understands, and takes it once it is free.
TEST_F(OnServer, AWriteWaitsForTheServersWriteLock) {
    TestFolder folder;
    CDB writer, other;
    writer.OpenUser();
    other.OpenUser();
    writer.SetBusyTimeout(50);
    other.BeginTrans();
    try {
        writer.BeginTrans();
        ADD_FAILURE() << "took the lock the other writer holds";
        writer.Rollback();
    } catch (const CDBException& e) {
        EXPECT_TRUE(e.text().startsWith("データベースを他のプログラムが長く使用しているため"))
            << e.text().toStdString();
    }
    other.Rollback();
    EXPECT_NO_THROW(writer.BeginTrans());
    writer.Rollback();
}

// A connection of the test's own to the folder's server database.
class ServerConnection {
public:
    explicit ServerConnection(const QString& url, const QString& name = QStringLiteral("test_owner")) : m_name(name) {
        QString error;
        m_db = UserDb::addConnection(*UserDb::parseUrl(url, &error), name);
        m_db.open();
    }
    ~ServerConnection() {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase& db() { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

// The rights of a trainee PC's login, as the server enforces them.
TEST_F(OnServer, TheTraineeRoleAddsAndCompletesTrialsButDeletesAndChangesNothingElse) {
    TestFolder folder;
    const QString traineeUrl = traineeUrlOf(folder);
    {
        CDB instructor;
        instructor.OpenUser();
        AddTestUser(instructor, TestUser{});
        AddTestHistory(instructor, 1, [](CRsHistory_tbl& rs) { rs.m_end_flg = "1"; });       // completed
        AddTestHistory(instructor, 2, [](CRsHistory_tbl& rs) { rs.m_answer_time.clear(); }); // started
    }
    folder.writeIni(QStringLiteral("[Database]\nuser_db=%1\n").arg(traineeUrl));
    CDB trainee;
    trainee.OpenUser();
    for (const char* refused :
         {"delete from [User_tbl]", "delete from [History_tbl]", "update [User_tbl] set [user_name1] = 'x'",
          "delete from [File_tbl]", "insert into [Settings_tbl] values ('order_flg', '2')"}) {
        QSqlQuery q(trainee.database());
        EXPECT_FALSE(q.exec(DbEngines::nativeSql(trainee, refused))) << refused;
        EXPECT_EQ(q.lastError().nativeErrorCode(), "42501") << refused; // insufficient_privilege
    }
    auto edit = [&](const char* sql, int key, auto change) {
        CRsHistory_tbl rs(&trainee);
        rs.Open(CRecordset::dbOpenDynaset, sql, {key});
        return RunWriteTransaction(trainee, [&] {
            rs.Edit();
            change(rs);
            rs.Update();
        });
    };
    const char* byNumber = "select * from [History_tbl] where [AutoNumber] = %d and [delete_flg] <> 1 ";
    EXPECT_FALSE(edit(byNumber, 1, [](CRsHistory_tbl& rs) { rs.m_answer_number = 99; })); // completed already
    EXPECT_FALSE(edit(byNumber, 2, [](CRsHistory_tbl& rs) { rs.m_delete_flg = 1; }));     // soft deletion
    EXPECT_TRUE(edit(byNumber, 2, [](CRsHistory_tbl& rs) {
        rs.m_answer_number = 5;
        rs.m_end_flg = "1";
        rs.m_answer_time = "1分00秒";
    }));
    CRsUser_tbl user(&trainee);
    user.Open(CRecordset::dbOpenDynaset,
              "select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 ", {1});
    EXPECT_FALSE(RunWriteTransaction(trainee, [&] {
        user.Edit();
        user.m_delete_flg = 1;
        user.Update();
    }));
    EXPECT_TRUE(RunWriteTransaction(trainee, [&] {
        user.Edit();
        user.m_start_no2 = 31;
        user.Update();
    }));
    EXPECT_EQ(AppSub::NextHistoryNumber(trainee), 3);
    EXPECT_TRUE(folder.notifier.texts().join('\n').contains("許可していません"));
}

// A single PC's database moves onto an empty server once, all of it or nothing.
TEST_F(OnServer, MigrationCopiesUsersTrialsAndConditionsOnce) {
    TestFolder folder;
    QTemporaryDir pc;
    const QString file = pc.filePath("UserData.mdb");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "single_pc");
        db.setDatabaseName(file);
        db.open();
        Schema::create(db, Schema::userDatabase());
        QSqlQuery q(db);
        q.exec("insert into [User_tbl] values (1, 'ア', 'イ', '亜', '衣', 0, 3, 0, '2026-04-01 09:00:00', "
               "'2026-04-01 09:00:00', 0), (2, 'カ', 'キ', '可', '記', 0, 0, 0, '2026-04-01 09:00:00', "
               "'2026-04-02 09:00:00', 1)");
        q.exec(
            "insert into [History_tbl] ([AutoNumber], [user_code], [problem_code], [execution_date], "
            "[correct_rate], [delete_flg]) values (1, 1, '2', '2026-04-01 10:00:00', 33.333333333333336, 0), "
            "(2, 1, '1', '2026-04-01 11:00:00', 0, 1)");
        db.close();
    }
    QSqlDatabase::removeDatabase("single_pc");
    QFile ini(pc.filePath("Quillon01.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Settings]\r\norder_flg=2\r\nwin_x=5\r\n");
    ini.close();
    const QByteArray trialFile(
        "09:00:00,09:00:30\r\n\x93\xfc\x97\xcd\r\n"); // code page 932 bytes as they are
    QDir().mkpath(pc.filePath("解析結果/1"));
    QFile csv(pc.filePath("解析結果/1/trial.csv"));
    csv.open(QIODevice::WriteOnly);
    csv.write(trialFile);
    csv.close();
    {
        ServerConnection owner(serverUrlOf(folder));
        QSqlDatabase source = QSqlDatabase::addDatabase("QSQLITE", "single_pc_read");
        source.setDatabaseName(file);
        source.open();
        const ServerSetup::Copied copied = ServerSetup::migrate(source, pc.path(), owner.db());
        EXPECT_EQ(copied.users, 2);
        EXPECT_EQ(copied.trials, 2);
        EXPECT_EQ(copied.conditions, 1);
        EXPECT_EQ(copied.files, 1);
        EXPECT_THROW(ServerSetup::migrate(source, pc.path(), owner.db()), CICException);
        source.close();
        source = QSqlDatabase();
        QSqlDatabase::removeDatabase("single_pc_read");
    }
    CDB server;
    server.OpenUser();
    EXPECT_EQ(AppSub::NextUserCode(server), 3);
    EXPECT_EQ(AppSub::NextHistoryNumber(server), 3);
    EXPECT_EQ(AppSub::UserList(server).size(), 1u);
    CRsHistory_tbl rs(&server);
    rs.Open(CRecordset::dbOpenSnapshot,
            "select * from [History_tbl] where [AutoNumber] = %d and [delete_flg] <> 1 ", {1});
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.m_correct_rate, 33.333333333333336);
    EXPECT_EQ(rs.m_execution_date, naiveDateTime(QDate(2026, 4, 1), QTime(10, 0)));
    // The classroom's conditions are the server's, whatever this PC's ini says.
    EXPECT_EQ(AppSub::GetProfileInt("order_flg", 1), 2);
    QFile fetched(AppSub::UserFolder(1, false) + "/trial.csv");
    ASSERT_TRUE(fetched.open(QIODevice::ReadOnly));
    EXPECT_EQ(fetched.readAll(), trialFile);
}

// A trial's files reach the server line by line, a PC without them fetches
// them, and what the server missed is sent later.
TEST_F(OnServer, AnalysisFilesTravelThroughTheServer) {
    TestFolder folder;
    CDB db;
    db.OpenUser();
    AddTestUser(db, TestUser{});
    const QString path = AppSub::UserFolder(1, true) + "/trial.csv";
    CInputLog log;
    log.OpenPath(path);
    log.WriteLine("開始時刻,終了時刻\n");
    log.WriteLine("09:00:00,09:00:30\n");
    const QByteArray written = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    auto serverBytes = [&] {
        QSqlQuery q(db.database());
        q.exec(DbEngines::nativeSql(db, "select [bytes], [complete] from [File_tbl] where [user_code] = 1"));
        return q.next() ? std::make_pair(q.value(0).toByteArray(), q.value(1).toInt())
                        : std::make_pair(QByteArray(), -1);
    };
    EXPECT_EQ(serverBytes(), std::make_pair(written, 0)); // sent while the trial runs
    log.Close();
    EXPECT_EQ(serverBytes().second, 1);
    // Another PC: nothing local, the file comes from the server.
    QDir(AppSub::AnalysisFolder(false)).removeRecursively();
    AppSub::UserFolder(1, false);
    QFile fetched(path);
    ASSERT_TRUE(fetched.open(QIODevice::ReadOnly));
    EXPECT_EQ(fetched.readAll(), written);
    fetched.close();
    // A line the server never got (it was unreachable) is sent at the next start.
    {
        QFile f(path);
        f.open(QIODevice::Append);
        f.write("09:00:30,09:01:00\r\n");
    }
    EXPECT_EQ(ClassroomFiles::sendPending(db, AppSub::AnalysisFolder(false)), 1);
    EXPECT_EQ(ClassroomFiles::sendPending(db, AppSub::AnalysisFolder(false)), 0);
    EXPECT_EQ(serverBytes().first.size(), written.size() + 19);
    EXPECT_TRUE(folder.notifier.entries.isEmpty()) << folder.notifier.texts().join('\n').toStdString();
}
// A restart of the server, or a network that fails for a moment, drops every
// connection; Qt's driver only finds out at the next statement.
class DroppedConnection : public OnServer {
protected:
    void SetUp() override {
        OnServer::SetUp();
        if (IsSkipped())
            return;
        folder = std::make_unique<TestFolder>();
        db.OpenUser();
        AddTestUser(db, TestUser{});
        owner = std::make_unique<ServerConnection>(serverUrlOf(*folder));
    }
    void TearDown() override {
        if (owner)
            refuseConnections(false);
        db.Close();
    }
    void dropConnections() {
        QSqlQuery q(owner->db());
        ASSERT_TRUE(q.exec("select pg_terminate_backend(pid) from pg_stat_activity "
                           "where datname = current_database() and pid <> pg_backend_pid()"))
            << q.lastError().text().toStdString();
    }
    void refuseConnections(bool refuse) {
        // Only from another database: the server keeps a database's own session.
        ServerConnection admin(testServer(), QStringLiteral("test_admin"));
        QSqlQuery q(admin.db());
        ASSERT_TRUE(q.exec(QStringLiteral("ALTER DATABASE %1 WITH ALLOW_CONNECTIONS %2")
                               .arg(QUrl(serverUrlOf(*folder)).path().mid(1), refuse ? "false" : "true")))
            << q.lastError().text().toStdString();
    }
    bool writeTrial(const std::function<void()>& midway = [] {}) {
        return RunWriteTransaction(db, [&] {
            midway();
            CRsHistory_tbl rs(&db);
            rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("[History_tbl]"));
            rs.AddNew();
            rs.m_AutoNumber = AppSub::NextHistoryNumber(db);
            rs.m_user_code = 1;
            rs.Update();
        });
    }
    int trials() {
        QSqlQuery q(owner->db());
        q.exec(R"(select count(*) from "History_tbl")");
        return q.next() ? q.value(0).toInt() : -1;
    }
    // A trial's input-value file, its last line written while the server was away.
    QString trialFile() {
        const QString path = AppSub::UserFolder(1, true) + "/trial.csv";
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Append);
        f.write("09:00:00,09:00:30\r\n");
        return path;
    }
    QByteArray serverFile() {
        QSqlQuery q(owner->db());
        q.exec(R"(select "bytes" from "File_tbl" where "complete" = 1)");
        return q.next() ? q.value(0).toByteArray() : QByteArray();
    }

    std::unique_ptr<TestFolder> folder;
    CDB db;
    std::unique_ptr<ServerConnection> owner;
};

TEST_F(DroppedConnection, TheNextReadWriteOrFileEndOpensItAgainUnseen) {
    dropConnections();
    CRsUser_tbl users(&db);
    EXPECT_NO_THROW(users.Open(CRecordset::dbOpenSnapshot, QStringLiteral("select * from [User_tbl]")));
    EXPECT_FALSE(users.IsEOF());

    dropConnections();
    EXPECT_TRUE(writeTrial());
    EXPECT_EQ(trials(), 1);
    bool dropped = false;
    EXPECT_TRUE(writeTrial([&] {
        if (!std::exchange(dropped, true))
            dropConnections();
    }));
    EXPECT_EQ(trials(), 2);

    const QString path = trialFile();
    dropConnections();
    EXPECT_TRUE(ClassroomFiles::send(db, path, false));
    EXPECT_TRUE(ClassroomFiles::send(db, path, true));
    EXPECT_EQ(serverFile().size(), QFileInfo(path).size());

    const QDateTime now = QDateTime::currentDateTime();
    LiveTrials::WriteStart(db, 1, 900, now);
    dropConnections();
    EXPECT_EQ(LiveTrials::Read(db, now).size(), 1u);
    EXPECT_TRUE(folder->notifier.entries.isEmpty()) << folder->notifier.texts().join('\n').toStdString();
}

TEST_F(DroppedConnection, WhileTheServerStaysAwayEachFailureNamesItAndNothingIsWrittenTwice) {
    const QString path = trialFile();
    dropConnections();
    refuseConnections(true);
    EXPECT_FALSE(ClassroomFiles::send(db, path, false));
    EXPECT_FALSE(writeTrial());
    ASSERT_EQ(folder->notifier.entries.size(), 1);
    const QString lost =
        QStringLiteral("データベースサーバー %1 との接続が切れました。").arg(serverUrlOf(*folder));
    EXPECT_TRUE(folder->notifier.entries[0].text.startsWith(lost))
        << folder->notifier.entries[0].text.toStdString();
    CRsUser_tbl users(&db);
    try {
        users.Open(CRecordset::dbOpenSnapshot, QStringLiteral("select * from [User_tbl]"));
        ADD_FAILURE() << "read a server that refuses connections";
    } catch (const CDBException& e) {
        EXPECT_TRUE(e.text().startsWith(lost)) << e.text().toStdString();
    }
    EXPECT_FALSE(ClassroomFiles::send(db, path, true));

    refuseConnections(false);
    EXPECT_FALSE(ClassroomFiles::send(db, path, false)); // the cards leave it to the file's end
    EXPECT_TRUE(writeTrial());
    EXPECT_TRUE(ClassroomFiles::send(db, path, true));
    EXPECT_EQ(trials(), 1);
    EXPECT_EQ(serverFile().size(), QFileInfo(path).size());
}
} // namespace
