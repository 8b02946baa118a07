// What the task program reports of a trial while it runs: its live row is
// written with the history row, brought up to date after each card, and
// closed with the history row, however the trial ends; on a classroom server
// a trainee PC's login does all of it and tells the listening screens.
#include "TaskScreenFixture.h"

#include "DenpyoDlg.h"
#include "IKCRitchEditCtrl.h"
#include "LiveTrials.h"
#include "TaskScreens.h"
#include "TestServer.h"

#include <QSignalSpy>
#include <QSqlDriver>

using namespace taskscreens;

namespace {

struct LiveRow {
    QString host;
    int cards = -1, secondsLeft = -1, state = -1, slowest = -1;
    QString reported;
    bool operator==(const LiveRow&) const = default;
};
void PrintTo(const LiveRow& r, std::ostream* os) {
    *os << r.host.toStdString() << " cards " << r.cards << " left " << r.secondsLeft << " state " << r.state
        << " slowest " << r.slowest << " at " << r.reported.toStdString();
}

class LiveReportTest : public TaskScreenTest {
protected:
    std::unique_ptr<CDenpyoDlg> open() {
        prepareTrial(2, 1); // three vouchers, 30 minutes
        return start();
    }
    std::unique_ptr<CDenpyoDlg> start() {
        auto dlg = TaskScreens::Create(2, kaiseki);
        EXPECT_TRUE(dlg->OpenTrial());
        dlg->show();
        return dlg;
    }
    void next(CDenpyoDlg* dlg, int seconds) {
        clock.advance(seconds);
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("next")), Qt::LeftButton);
        QApplication::processEvents(); // the report follows once the next card is up
    }
    LiveRow live(int autoNumber = 1) {
        QSqlQuery q(app->UserDb().database());
        q.prepare(DbEngines::nativeSql(app->UserDb(),
                                       QStringLiteral("select [host], [cards_done], [seconds_left], [state], "
                                                      "[slowest_card], [reported] from [Live_tbl] where [AutoNumber] = ?")));
        q.addBindValue(autoNumber);
        if (!q.exec() || !q.next())
            return {};
        return {q.value(0).toString(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(),
                q.value(4).toInt(), q.value(5).toString()};
    }
    static QString at(int seconds) {
        return naiveDateTime(QDate(2026, 4, 1), QTime(9, 30)).addSecs(seconds).toString("yyyy-MM-dd HH:mm:ss");
    }
    const QString host = LiveTrials::HostName();
};

enum class End { TimeUp, EndedByTrainee, WholeDeck };
struct EndCase {
    const char* name;
    End end;
    int cards, secondsLeft;
    LiveTrials::State state;
    int reportedAt; // seconds after the start
};
void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class LiveReportEnd : public LiveReportTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(LiveReportEnd, StartEachCardAndTheEnd) {
    const EndCase& c = GetParam();
    auto dlg = open();
    EXPECT_EQ(live(), (LiveRow{host, 0, 1800, 0, 0, at(0)})) << "written with the history row";
    next(dlg.get(), 40);
    EXPECT_EQ(live(), (LiveRow{host, 1, 1760, 0, 40, at(40)}));
    next(dlg.get(), 25);
    EXPECT_EQ(live(), (LiveRow{host, 2, 1735, 0, 40, at(65)})) << "the slowest card stays the slowest";
    folder.notifier.answers = {true};
    switch (c.end) {
    case End::TimeUp:
        clock.advance(1800 - 65);
        break;
    case End::EndedByTrainee:
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("abort")), Qt::LeftButton);
        break;
    case End::WholeDeck:
        next(dlg.get(), 10);
        break;
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->result() == CDenpyoDlg::kTrialClosed; }));
    EXPECT_EQ(live(), (LiveRow{host, c.cards, c.secondsLeft, int(c.state), 40, at(c.reportedAt)}));
}

INSTANTIATE_TEST_SUITE_P(
    Ends, LiveReportEnd,
    ::testing::Values(EndCase{"TimeUp", End::TimeUp, 2, 0, LiveTrials::State::Finished, 1800},
                      EndCase{"EndedByTheTrainee", End::EndedByTrainee, 2, 1800 - 65, LiveTrials::State::Aborted, 65},
                      EndCase{"ThroughTheWholeDeck", End::WholeDeck, 3, 1800 - 75, LiveTrials::State::Finished, 75}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST_F(LiveReportTest, ATrialClosedAfterAKillIsAbortedWithItsLastReport) {
    {
        auto dlg = open();
        next(dlg.get(), 30);
        kaiseki.Close(); // the program goes away with the trial open
    }
    clock.advance(900);
    app->CloseUnfinishedTrials();
    EXPECT_EQ(live(), (LiveRow{host, 1, 1770, int(LiveTrials::State::Aborted), 30, at(930)}));
}

// ------------------------------------------------------------- on a server

class LiveReportOnServer : public LiveReportTest {
protected:
    void SetUp() override {
        if (testServer().isEmpty())
            GTEST_SKIP() << "no test server (ZENTRY_TEST_PG_URL)";
        LiveReportTest::SetUp();
    }
};

// A trainee PC logs in with the role `zentry-tool server init` made: its
// trial's start, cards and end reach the live table, and a connection that
// listens as the instructor's screen does is told of each as it commits.
TEST_F(LiveReportOnServer, ATraineeLoginReportsItsTrialAndTellsTheListeners) {
    CDB instructor;
    instructor.OpenUser();
    QSqlDriver* listener = instructor.database().driver();
    ASSERT_TRUE(listener->subscribeToNotification(LiveTrials::kChannel));
    QSignalSpy told(listener, &QSqlDriver::notification);
    const auto toldTimes = [&](int n) { return QTest::qWaitFor([&] { return told.count() >= n; }, 5000); };

    prepareTrial(2, 1);
    const QString trainee = traineeUrlOf(folder);
    app->UserDb().Close();
    folder.writeIni(QStringLiteral("[Database]\nuser_db=%1\n").arg(trainee));
    app->UserDb().OpenUser();

    auto dlg = start();
    ASSERT_TRUE(toldTimes(1)) << "the start";
    EXPECT_EQ(live(), (LiveRow{host, 0, 1800, 0, 0, at(0)}));
    next(dlg.get(), 40);
    ASSERT_TRUE(toldTimes(2)) << "a card";
    EXPECT_EQ(live(), (LiveRow{host, 1, 1760, 0, 40, at(40)}));
    folder.notifier.answers = {true};
    QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("abort")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->result() == CDenpyoDlg::kTrialClosed; }));
    ASSERT_TRUE(toldTimes(3)) << "the end";
    EXPECT_EQ(live(), (LiveRow{host, 1, 1760, int(LiveTrials::State::Aborted), 40, at(40)}));
    EXPECT_EQ(told.count(), 3);
    EXPECT_EQ(told.first().at(0).toString(), LiveTrials::kChannel);
    EXPECT_TRUE(folder.notifier.texts().filter("許可").isEmpty()) << folder.notifier.texts().join('\n').toStdString();
}

} // namespace
