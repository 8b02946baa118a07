// The trials' live rows as zentry-tool live prints them, and a user database
// of the previous format brought forward to hold them.
#include "Clock.h"
#include "DB.h"
#include "LiveTrials.h"
#include "Schema.h"
#include "TestFolder.h"
#include "TestRows.h"
#include "ToolProcess.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using LiveTrials::State;

class LiveRows : public ::testing::Test {
protected:
    void SetUp() override {
        db.OpenUser();
        AddTestUser(db, TestUser{});
    }
    // A trial of user `user`, task, course and time-limit code as given; its
    // live row reports `cards` `ago` seconds before the machine's now.
    void trial(int id, int user, int task, int course, int endTime, int cards, int ago, State state, int left) {
        AddTestHistory(db, id, [&](CRsHistory_tbl& r) {
            r.m_user_code = user;
            r.m_problem_code = QString::number(task);
            r.m_course_code = QString::number(course);
            r.m_end_time = QString::number(endTime);
        });
        const QDateTime at = localNow().addSecs(-ago);
        db.BeginTrans();
        LiveTrials::WriteStart(db, id, endTime * 15 * 60, at);
        if (state != State::Running)
            LiveTrials::WriteEnd(db, id, cards, left, state, at);
        db.CommitTrans();
        if (state == State::Running) {
            ASSERT_TRUE(LiveTrials::ReportCard(db, id, cards, left, 0, at));
        }
    }
    QStringList args(bool follow = false) const {
        QStringList a{"live", "--folder", folder.path()};
        if (follow)
            a << "--follow";
        return a;
    }
    TestFolder folder;
    CDB db;
};

const QByteArray kHost = LiveTrials::HostName().toUtf8();

TEST_F(LiveRows, PrintedAsJsonLinesOldestStartFirst) {
    trial(2, 1, 1, 2, 4, 4, 300, State::Aborted, 3000);
    trial(1, 1, 2, 1, 2, 20, 600, State::Finished, 0);
    // Silent for 20 minutes with 5 minutes left when it last reported: none left.
    trial(3, 1, 3, 3, 1, 7, 1200, State::Running, 300);
    trial(4, 99, 2, 1, 2, 0, 7300, State::Finished, 0); // reported over two hours ago
    trial(5, 99, 2, 1, 3, 1, 0, State::Aborted, 2000);  // a user no longer registered
    const ToolRun run = RunZentryTool(args());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray expected =
        "{\"user_code\":1,\"user_name\":\"山田　太郎\",\"host\":\"" + kHost +
        "\",\"task\":2,\"course\":1,\"started\":\"2026-04-01 10:00:00\",\"end_time\":30,\"cards_done\":20,"
        "\"seconds_left\":0,\"state\":\"finished\"}\n"
        "{\"user_code\":1,\"user_name\":\"山田　太郎\",\"host\":\"" + kHost +
        "\",\"task\":1,\"course\":2,\"started\":\"2026-04-01 11:00:00\",\"end_time\":60,\"cards_done\":4,"
        "\"seconds_left\":3000,\"state\":\"aborted\"}\n"
        "{\"user_code\":1,\"user_name\":\"山田　太郎\",\"host\":\"" + kHost +
        "\",\"task\":3,\"course\":3,\"started\":\"2026-04-01 12:00:00\",\"end_time\":15,\"cards_done\":7,"
        "\"seconds_left\":0,\"state\":\"silent\"}\n"
        "{\"user_code\":99,\"user_name\":\"\",\"host\":\"" + kHost +
        "\",\"task\":2,\"course\":1,\"started\":\"2026-04-01 14:00:00\",\"end_time\":45,\"cards_done\":1,"
        "\"seconds_left\":2000,\"state\":\"aborted\"}\n";
    EXPECT_EQ(run.out.toStdString(), expected.toStdString());

    const ToolRun bad = RunZentryTool({"live"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains("--folder is required")) << bad.err.toStdString();
}

TEST_F(LiveRows, FollowPrintsALineForEachChange) {
    trial(1, 1, 2, 1, 2, 1, 0, State::Running, 1700);
    trial(2, 1, 2, 1, 2, 5, 60, State::Finished, 0);
    QProcess tool;
    tool.start(ZentryToolPath(), args(true));
    ASSERT_TRUE(tool.waitForStarted());
    QByteArray out;
    const auto lines = [&] { return out.count('\n'); };
    const auto waitLines = [&](int n, int ms) {
        QElapsedTimer t;
        t.start();
        while (lines() < n && t.elapsed() < ms) {
            tool.waitForReadyRead(100);
            out += tool.readAllStandardOutput();
        }
        return lines() >= n;
    };
    ASSERT_TRUE(waitLines(2, 10000)) << out.toStdString();
    EXPECT_TRUE(out.contains("\"cards_done\":1,")) << out.toStdString();
    QThread::msleep(2500);
    out += tool.readAllStandardOutput();
    EXPECT_EQ(lines(), 2) << "nothing changed, nothing printed";

    ASSERT_TRUE(LiveTrials::ReportCard(db, 1, 2, 1650, 50, localNow()));
    ASSERT_TRUE(waitLines(3, 3000)) << "within two seconds of the change";
    const QByteArray last = out.split('\n').at(2);
    EXPECT_TRUE(last.startsWith("{\"user_code\":1,")) << last.toStdString();
    EXPECT_TRUE(last.contains("\"cards_done\":2,\"seconds_left\":16")) << last.toStdString();
    EXPECT_TRUE(last.endsWith("\"state\":\"running\"}")) << last.toStdString();
    tool.kill();
    tool.waitForFinished();
}

TEST_F(LiveRows, ACardReportLeavesTheConnectionsWaitsAsTheyWere) {
    trial(1, 1, 2, 1, 2, 1, 0, State::Running, 1700);
    const auto pragmas = [&] {
        QStringList values;
        for (const char* name : {"synchronous", "busy_timeout"}) {
            QSqlQuery q(db.database());
            values << (q.exec(QStringLiteral("PRAGMA %1").arg(name)) && q.next() ? q.value(0).toString() : "?");
        }
        return values;
    };
    // Where the engine's default waits for the disk on every commit.
    ASSERT_TRUE(QSqlQuery(db.database()).exec("PRAGMA synchronous = FULL"));
    const QStringList before = pragmas();
    ASSERT_TRUE(LiveTrials::ReportCard(db, 1, 2, 1650, 50, localNow()));
    EXPECT_EQ(pragmas(), before) << "later writes wait for the disk and the lock again";
}

TEST(LiveTable, AUserDatabaseOfThePreviousFormatGainsItOnOpening) {
    TestFolder folder;
    {
        QSqlDatabase old = QSqlDatabase::addDatabase("QSQLITE", "previous_format");
        old.setDatabaseName(folder.file("UserData.mdb"));
        ASSERT_TRUE(old.open());
        QStringList schema = Schema::userDatabase().filter(QRegularExpression("History_tbl|User_tbl"));
        schema << "PRAGMA user_version = 1";
        Schema::create(old, schema);
        old.close();
    }
    QSqlDatabase::removeDatabase("previous_format");
    CDB db;
    db.OpenUser();
    QSqlQuery q(db.database());
    ASSERT_TRUE(q.exec("select user_version, (select count(*) from [Live_tbl]) from pragma_user_version") && q.next())
        << q.lastError().text().toStdString();
    EXPECT_EQ(q.value(0).toInt(), Schema::kUserDatabaseVersion);
    db.BeginTrans();
    EXPECT_NO_THROW(LiveTrials::WriteStart(db, 1, 900, localNow()));
    db.CommitTrans();
}

} // namespace
