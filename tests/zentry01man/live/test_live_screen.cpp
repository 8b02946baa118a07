// "実施状況": the trials the task program reports, as the screen lists them,
// when it reads them again, how it sorts them, and where a double click leads.
// The trials are written through a second connection, as the task program on
// another PC writes them; on a classroom server the screen is told of them.
#include "HistoryList.h"
#include "ICListCtrl.h"
#include "LiveDlg.h"
#include "LiveTrials.h"
#include "OutResultList.h"
#include "ScreenFit.h"
#include "ResultOutputFixture.h"
#include "TestServer.h"
#include "UserDbServer.h"
#include "Zentry01ManDlg.h"

#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStyleOptionHeader>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

using namespace utility;
using LiveTrials::State;

namespace {

class LiveScreen : public ResultOutputTest {
protected:
    void SetUp() override {
        ResultOutputTest::SetUp();
        clock.set(now0);
        writer.OpenUser();
        told = std::make_unique<QSignalSpy>(app->UserDb().database().driver(), &QSqlDriver::notification);
    }
    void TearDown() override {
        told.reset();
        writer.Close();
        ResultOutputTest::TearDown();
    }
    // A trial of user 1 (history row and input-value file), started at
    // `started`; its live row reports `cards` at `reported`, and ends in `end`
    // unless that is Running.
    void trial(TrialRow t, const QDateTime& started, int cards, const QDateTime& reported,
               State end = State::Running, int secondsLeft = 1500, int slowest = 0) {
        t.started = started;
        addTrial(t);
        writer.BeginTrans();
        LiveTrials::WriteStart(writer, t.id, t.endTime * 15 * 60, started);
        writer.CommitTrans();
        if (cards > 0) {
            ASSERT_TRUE(LiveTrials::ReportCard(writer, t.id, cards, secondsLeft, slowest, reported));
        }
        if (end != State::Running) {
            writer.BeginTrans();
            LiveTrials::WriteEnd(writer, t.id, cards, secondsLeft, end, reported);
            writer.CommitTrans();
        }
    }
    std::unique_ptr<CLiveDlg> open() {
        auto dlg = std::make_unique<CLiveDlg>(app->UserDb(), app->MasterDb());
        dlg->show();
        return dlg;
    }
    static QStringList row(QTreeWidget* list, int r) {
        QStringList out;
        for (int c = 0; c < CLiveDlg::kColumns; ++c)
            out << list->topLevelItem(r)->text(c);
        return out;
    }
    static QStringList column(QTreeWidget* list, int c) {
        QStringList out;
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            out << list->topLevelItem(r)->text(c);
        return out;
    }
    // Steps the clock and the screen's timer together.
    void step(CLiveDlg* dlg, int seconds) {
        clock.advance(seconds);
        dlg->Tick();
    }
    // A server tells the open screen of the writer's change as it commits:
    // waits until it has, so that the next step finds the change as the
    // embedded file's next look does. Nothing to wait for on the file.
    void awaitTold() {
        if (testServer().isEmpty())
            return;
        ASSERT_TRUE(QTest::qWaitFor([&] { return told->count() > toldSeen; }, 5000)) << "no notification";
        toldSeen = int(told->count());
    }

    const QDateTime now0 = naiveDateTime(QDate(2026, 6, 1), QTime(14, 0));
    const QString host = LiveTrials::HostName();
    CDB writer;
    // The notifications the screen's connection receives.
    std::unique_ptr<QSignalSpy> told;
    int toldSeen = 0;
};

TEST_F(LiveScreen, RowsAndStates) {
    const QDateTime t = now0;
    trial({.id = 1, .task = 2, .endTime = 2}, t.addSecs(-3600), 20, t.addSecs(-1800), State::Finished, 0);
    trial({.id = 2, .task = 1, .course = 2, .endTime = 4, .aborted = true}, t.addSecs(-1200), 4, t.addSecs(-600),
          State::Aborted, 3000);
    trial({.id = 3, .task = 3, .course = 3, .endTime = 2}, t.addSecs(-300), 6, t.addSecs(-30), State::Running, 1530);
    trial({.id = 4, .task = 2, .endTime = 1}, t.addSecs(-800), 3, t.addSecs(-181), State::Running, 300);
    // Last reported exactly two hours ago: still listed; a second more: gone.
    trial({.id = 5, .task = 2, .endTime = 1}, t.addSecs(-9000), 9, t.addSecs(-7200), State::Finished, 0);
    trial({.id = 6, .task = 2, .endTime = 1}, t.addSecs(-9000), 9, t.addSecs(-7201), State::Finished, 0);
    // A deleted trial is not listed either.
    trial({.id = 7, .task = 2}, t.addSecs(-60), 1, t.addSecs(-10));
    ASSERT_TRUE(CHistoryList::Delete(app->UserDb(), 7));

    auto dlg = open();
    QTreeWidget* list = dlg->List();
    const QString name = QStringLiteral("山田　太郎");
    // Name, PC, state, cards, elapsed, time left, start, task, course, conditions.
    const QList<QStringList> expected = {
        {name, host, "終了", "9", "15/15分", "00:00", "11:30", "顧客伝票修正", "実力テスト", "紙・番号順"},
        {name, host, "終了", "20", "30/30分", "00:00", "13:00", "顧客伝票修正", "実力テスト", "紙・番号順"},
        {name, host, "中止", "4", "10/60分", "50:00", "13:40", "アンケート入力", "基礎トレーニング", "紙・番号順"},
        {name, host, "応答なし", "3", "13/15分", "01:59", "13:46", "顧客伝票修正", "実力テスト", "紙・番号順"},
        {name, host, "実施中", "6", "5/30分", "25:00", "13:55", "顧客伝票ミスチェック", "レベルアップトレーニング",
         "紙・番号順"},
    };
    ASSERT_EQ(list->topLevelItemCount(), expected.size());
    for (int r = 0; r < expected.size(); ++r)
        EXPECT_EQ(row(list, r), expected[r]) << r;
}

struct SilentCase {
    int task;
    int slowestCard; // reported by the task program
    int silentAfter; // seconds after the last report
};
void PrintTo(const SilentCase& c, std::ostream* os) { *os << "task " << c.task << ", slowest " << c.slowestCard; }

class SilentRule : public LiveScreen, public ::testing::WithParamInterface<SilentCase> {};

TEST_P(SilentRule, TwiceTheSlowestCardPlusAMinute) {
    const SilentCase& c = GetParam();
    trial({.id = 1, .task = c.task}, now0, 1, now0, State::Running, 1700, c.slowestCard);
    auto dlg = open();
    step(dlg.get(), c.silentAfter);
    EXPECT_EQ(dlg->List()->topLevelItem(0)->text(CLiveDlg::State), "実施中");
    step(dlg.get(), 1);
    EXPECT_EQ(dlg->List()->topLevelItem(0)->text(CLiveDlg::State), "応答なし");
    // The trial reports again: it is running after all.
    ASSERT_TRUE(LiveTrials::ReportCard(writer, 1, 2, 1500, c.slowestCard, clock.now()));
    awaitTold();
    step(dlg.get(), 2);
    EXPECT_EQ(dlg->List()->topLevelItem(0)->text(CLiveDlg::State), "実施中");
    EXPECT_EQ(dlg->List()->topLevelItem(0)->text(CLiveDlg::Cards), "2");
}

INSTANTIATE_TEST_SUITE_P(Tasks, SilentRule,
                         ::testing::Values(SilentCase{2, 0, 2 * 60 + 60}, SilentCase{1, 0, 2 * 120 + 60},
                                           SilentCase{3, 100, 2 * 100 + 60}, SilentCase{1, 130, 2 * 130 + 60}));

TEST_F(LiveScreen, ReadAgainOnlyAfterAChangeAndAtMostEveryTwoSeconds) {
    trial({.id = 1, .task = 2}, now0, 1, now0);
    auto dlg = open();
    QTreeWidget* list = dlg->List();
    EXPECT_EQ(dlg->Reads(), 1);
    step(dlg.get(), 2);
    step(dlg.get(), 2);
    EXPECT_EQ(dlg->Reads(), 1) << "nothing changed";
    EXPECT_EQ(list->topLevelItem(0)->text(CLiveDlg::Left), "24:56") << "the time left runs all the same";

    ASSERT_TRUE(LiveTrials::ReportCard(writer, 1, 2, 1480, 0, clock.now()));
    step(dlg.get(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(CLiveDlg::Cards), "1") << "a second after the last look";
    step(dlg.get(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(CLiveDlg::Cards), "2") << "two seconds after the last look";
    EXPECT_EQ(dlg->Reads(), 2);

    trial({.id = 2, .task = 1}, clock.now(), 0, clock.now());
    step(dlg.get(), 2);
    EXPECT_EQ(list->topLevelItemCount(), 2) << "a trial that starts appears";

    // The timer fires a little early now and then: the look is not put off by a whole tick.
    ASSERT_TRUE(LiveTrials::ReportCard(writer, 1, 3, 1460, 0, clock.now()));
    clock.advanceMs(1950);
    dlg->Tick();
    EXPECT_EQ(list->topLevelItem(0)->text(CLiveDlg::Cards), "3");
}

TEST_F(LiveScreen, SortsByAnyColumnByValue) {
    trial({.id = 1, .task = 2}, now0.addSecs(-100), 12, now0, State::Running, 1200);
    trial({.id = 2, .task = 1}, now0.addSecs(-300), 3, now0, State::Running, 900);
    trial({.id = 3, .task = 3}, now0.addSecs(-200), 100, now0, State::Finished, 0);
    auto dlg = open();
    QTreeWidget* list = dlg->List();
    QHeaderView* header = list->header();
    const auto clickHeader = [&](int c) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(c) + 4, header->height() / 2));
    };
    EXPECT_EQ(column(list, CLiveDlg::Cards), (QStringList{"3", "100", "12"})) << "by start at first";
    const struct {
        int column;
        QStringList ascending;
    } cases[] = {
        {CLiveDlg::Cards, {"3", "12", "100"}},
        {CLiveDlg::Left, {"100", "3", "12"}},
        {CLiveDlg::Task, {"3", "12", "100"}},
        {CLiveDlg::State, {"3", "12", "100"}}, // running before ended; the start breaks the tie
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        clickHeader(c.column);
        if (header->sortIndicatorOrder() != Qt::AscendingOrder)
            clickHeader(c.column);
        EXPECT_EQ(column(list, CLiveDlg::Cards), c.ascending);
        clickHeader(c.column);
        QStringList descending = c.ascending;
        std::reverse(descending.begin(), descending.end());
        EXPECT_EQ(column(list, CLiveDlg::Cards), descending);
        step(dlg.get(), 2);
        EXPECT_EQ(column(list, CLiveDlg::Cards), descending) << "kept as the rows are brought up to date";
    }
}

// Each column shows its widest cell whole, and its caption whole beside the
// sort mark once the list is sorted by it (the mark takes the caption's room).
TEST_F(LiveScreen, ColumnsShowEveryCellAndEveryCaptionBesideTheSortMark) {
    trial({.id = 1, .task = 3, .course = 3, .endTime = 4}, now0.addSecs(-600), 12, now0, State::Running, 3000);
    trial({.id = 2, .task = 1, .course = 2, .endTime = 1}, now0.addSecs(-900), 3, now0.addSecs(-400));
    trial({.id = 3, .task = 2, .endTime = 3}, now0.addSecs(-800), 100, now0, State::Aborted, 900);
    auto dlg = open();
    QTreeWidget* list = dlg->List();
    QHeaderView* header = list->header();
    QStyle* style = header->style();
    // What the item delegate keeps free on either side of a cell's text.
    const int cellMargins = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
    for (int c = 0; c < CLiveDlg::kColumns; ++c) {
        if (c == CLiveDlg::Elapsed)
            continue; // a bar of fixed width
        SCOPED_TRACE(list->headerItem()->text(c).toStdString());
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            EXPECT_LE(list->fontMetrics().horizontalAdvance(list->topLevelItem(r)->text(c)) + cellMargins,
                      list->columnWidth(c))
                << list->topLevelItem(r)->text(c).toStdString();
        list->sortByColumn(c, Qt::DescendingOrder);
        QStyleOptionHeader caption;
        caption.initFrom(header);
        caption.state |= QStyle::State_Horizontal;
        caption.rect = QRect(0, 0, header->sectionSize(c), header->height());
        caption.text = list->headerItem()->text(c);
        caption.sortIndicator = QStyleOptionHeader::SortDown;
        EXPECT_LE(header->fontMetrics().horizontalAdvance(caption.text),
                  style->subElementRect(QStyle::SE_HeaderLabel, &caption, header).width());
    }
}

// Read from the pixels of a row as the list shows it: each column's ink
// (whatever differs from the list's background) keeps a gap to the next
// column's, and the elapsed text stays inside its bar's outline. A trial just
// begun shows a right-aligned 0 before the bar and a right-aligned time left
// before the left-aligned start.
TEST_F(LiveScreen, CellsKeepClearOfTheirNeighboursAndTheBarHoldsItsText) {
    trial({.id = 1, .task = 2, .endTime = 2}, now0.addSecs(-4), 0, now0, State::Running, 1796);
    auto dlg = open();
    QTreeWidget* list = dlg->List();
    list->selectionModel()->clear();
    const QImage image = list->viewport()->grab().toImage();
    const QColor base = list->palette().color(QPalette::Base);
    const auto differs = [&](int x, int y, int by) {
        const QColor c = image.pixelColor(x, y);
        return std::abs(c.red() - base.red()) + std::abs(c.green() - base.green()) +
                   std::abs(c.blue() - base.blue()) >
               by;
    };
    const QRect row = list->visualItemRect(list->topLevelItem(0));
    const auto inkOf = [&](int column, int by) {
        const int left = list->header()->sectionViewportPosition(column);
        QRect ink;
        for (int y = row.top(); y <= row.bottom(); ++y)
            for (int x = left; x < left + list->columnWidth(column); ++x)
                if (differs(x, y, by))
                    ink |= QRect(x, y, 1, 1);
        return ink;
    };
    constexpr int kGap = 10;
    QRect previous = inkOf(0, 60);
    for (int c = 1; c < CLiveDlg::kColumns; ++c) {
        const QRect ink = inkOf(c, 60);
        ASSERT_FALSE(ink.isNull()) << c;
        EXPECT_GE(ink.left() - previous.right() - 1, kGap) << list->headerItem()->text(c).toStdString();
        previous = ink;
    }
    // The bar's outline is the cell's outermost ink; the text is the darkest.
    const QRect bar = inkOf(CLiveDlg::Elapsed, 60);
    const QRect text = inkOf(CLiveDlg::Elapsed, 400);
    ASSERT_FALSE(text.isNull());
    EXPECT_GT(text.top(), bar.top());
    EXPECT_LT(text.bottom(), bar.bottom());
    EXPECT_GT(text.left(), bar.left());
    EXPECT_LT(text.right(), bar.right());
}

struct OpeningCase {
    QSize available;
    bool allColumns; // room for every column
};
void PrintTo(const OpeningCase& c, std::ostream* os) { *os << c.available.width() << "x" << c.available.height(); }

class LiveOpening : public LiveScreen, public ::testing::WithParamInterface<OpeningCase> {
protected:
    void TearDown() override {
        ScreenFit::SetDisplay(ScreenFit::Display{QRect(0, 0, 1920, 1040), 0, 0, {}});
        LiveScreen::TearDown();
    }
};

// At the size the screen opens at, every column is shown whole where the
// screen has the room; where it has not, the window takes the whole width and
// stays on the screen.
TEST_P(LiveOpening, ShowsEveryColumnWholeWhereTheScreenAllows) {
    const OpeningCase& c = GetParam();
    const QMargins frame(4, 30, 4, 4);
    const QRect area(QPoint(0, 24), c.available);
    ScreenFit::SetDisplay(ScreenFit::Display{area, 1, 1, frame});
    trial({.id = 1, .task = 3, .course = 3, .endTime = 4}, now0.addSecs(-600), 12, now0, State::Running, 3000);
    auto dlg = open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    QTreeWidget* list = dlg->List();
    EXPECT_TRUE(area.contains(dlg->geometry().marginsAdded(frame))) << dlg->geometry().x() << "," << dlg->width();
    if (c.allColumns) {
        EXPECT_LE(list->header()->length(), list->viewport()->width());
        EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    } else {
        EXPECT_EQ(dlg->width(), area.width() - frame.left() - frame.right());
    }
}

INSTANTIATE_TEST_SUITE_P(Displays, LiveOpening,
                         ::testing::Values(OpeningCase{QSize(1280, 984), true}, OpeningCase{QSize(1366, 728), true},
                                           OpeningCase{QSize(800, 576), false}));

TEST_F(LiveScreen, DoubleClickOpensTheCardListOfAnEndedTrialOnly) {
    // The trials' files are named after their starts.
    clock.set(TrialStart(3).addSecs(60));
    trial({.id = 1, .task = 2, .cards = 5}, TrialStart(1), 5, TrialStart(1).addSecs(1800), State::Finished, 0);
    trial({.id = 2, .task = 2, .cards = 3, .aborted = true}, TrialStart(2), 3, TrialStart(2).addSecs(600),
          State::Aborted, 1200);
    trial({.id = 3, .task = 2}, TrialStart(3), 1, TrialStart(3).addSecs(60));
    auto dlg = open();
    QTreeWidget* list = dlg->List();
    const auto doubleClick = [&](int r) {
        const QPoint p = list->visualItemRect(list->topLevelItem(r)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, p);
    };
    const struct {
        int row;
        int cards; // rows of the card list; -1 none opens
    } cases[] = {{0, 5}, {1, 3}, {2, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        ModalScript script;
        int cards = -1;
        script.on<COutResultList>([&](COutResultList* screen) {
            cards = screen->List()->ItemCount();
            Click(screen, "closeButton");
        });
        doubleClick(c.row);
        QTest::qWait(50);
        EXPECT_EQ(cards, c.cards);
        EXPECT_TRUE(script.seen.filter("!").isEmpty()) << script.seen.join(',').toStdString();
    }
}

TEST_F(LiveScreen, ReachedFromTheMenuByItsButtonAndCtrlL) {
    CZentry01ManDlg menu;
    menu.show();
    EXPECT_EQ(menu.findChildren<QPushButton*>().size(), 7) << "the seven buttons stay as they are";
    for (const auto& way : {std::function<void()>([&] { Click(&menu, "liveButton"); }),
                            std::function<void()>([&] { QTest::keyClick(&menu, Qt::Key_L, Qt::ControlModifier); })}) {
        menu.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&menu));
        ModalScript script;
        script.on<CLiveDlg>([](CLiveDlg* live) {
            EXPECT_EQ(live->windowTitle(), "実施状況");
            Click(live, "closeButton");
        });
        way();
        EXPECT_TRUE(script.done());
    }
}

// ------------------------------------------------------------- on a server

class LiveScreenOnServer : public LiveScreen {
protected:
    void SetUp() override {
        if (testServer().isEmpty())
            GTEST_SKIP() << "no test server (ZENTRY_TEST_PG_URL)";
        LiveScreen::SetUp();
    }
    // The screen with its own timer stopped: only what the server tells moves it.
    std::unique_ptr<CLiveDlg> openListening() {
        auto dlg = open();
        QTimer* tick = dlg->findChild<QTimer*>(QStringLiteral("liveTick"));
        EXPECT_TRUE(tick);
        if (tick)
            tick->stop();
        return dlg;
    }
    // Ends the screen's session on the server, and waits until its driver has seen it go.
    void dropScreenConnection() {
        QSqlQuery q(app->UserDb().database());
        ASSERT_TRUE(q.exec("select pg_backend_pid()") && q.next());
        const QString pid = q.value(0).toString();
        q.finish();
        QSqlQuery end(writer.database());
        ASSERT_TRUE(end.exec("select pg_terminate_backend(" + pid + ")") && end.next() && end.value(0).toBool());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !app->UserDb().database().isOpen(); }, 5000));
    }
    // The server refuses new connections to the test's database (as one that is down does).
    void refuseConnections(bool refuse) {
        const QString connection = QStringLiteral("live_test_admin");
        QString error;
        {
            QSqlDatabase admin = UserDb::addConnection(*UserDb::parseUrl(testServer(), &error), connection);
            ASSERT_TRUE(admin.open());
            QSqlQuery q(admin);
            EXPECT_TRUE(q.exec(QStringLiteral("ALTER DATABASE %1 WITH ALLOW_CONNECTIONS %2")
                                   .arg(QUrl(serverUrlOf(folder)).path().mid(1), refuse ? "false" : "true")))
                << q.lastError().text().toStdString();
            admin.close();
        }
        QSqlDatabase::removeDatabase(connection);
    }
    void TearDown() override {
        if (!testServer().isEmpty())
            refuseConnections(false);
        LiveScreen::TearDown();
    }
    static QString cell(QTreeWidget* list, int autoNumber, int column) {
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            if (list->topLevelItem(r)->data(0, Qt::UserRole).toInt() == autoNumber)
                return list->topLevelItem(r)->text(column);
        return QStringLiteral("(not listed)");
    }
};

// What another PC writes reaches the open screen through the server's
// notification, with nothing looked at in between: a card, a trial that
// starts, a trial that ends.
TEST_F(LiveScreenOnServer, AnotherPcsChangeIsReadAsTheServerTellsIt) {
    trial({.id = 1, .task = 2}, now0, 1, now0);
    auto dlg = openListening();
    QTreeWidget* list = dlg->List();
    for (int i = 0; i < 3; ++i)
        step(dlg.get(), 5);
    ASSERT_EQ(dlg->Reads(), 1) << "nothing told, nothing read";
    const struct {
        const char* change;
        std::function<void()> write;
        std::function<bool()> shown;
    } changes[] = {
        {"a card", [&] { ASSERT_TRUE(LiveTrials::ReportCard(writer, 1, 2, 1480, 20, clock.now())); },
         [&] { return cell(list, 1, CLiveDlg::Cards) == "2"; }},
        {"a start", [&] { trial({.id = 2, .task = 1}, clock.now(), 0, clock.now()); },
         [&] { return cell(list, 2, CLiveDlg::State) == "実施中"; }},
        {"an end",
         [&] {
             writer.BeginTrans();
             LiveTrials::WriteEnd(writer, 1, 2, 1400, State::Finished, clock.now());
             writer.CommitTrans();
         },
         [&] { return cell(list, 1, CLiveDlg::State) == "終了"; }},
    };
    int reads = 1;
    for (const auto& c : changes) {
        SCOPED_TRACE(c.change);
        clock.advance(5);
        c.write();
        EXPECT_TRUE(QTest::qWaitFor(c.shown, 5000));
        EXPECT_EQ(dlg->Reads(), ++reads);
    }
}

// A room reporting many cards a second costs one read a second: a change told
// within a second of the last read is read as that second ends.
TEST_F(LiveScreenOnServer, ChangesToldWithinASecondOfAReadWaitForItsEnd) {
    trial({.id = 1, .task = 2}, now0, 1, now0);
    auto dlg = openListening();
    QTreeWidget* list = dlg->List();
    clock.advance(1);
    ASSERT_TRUE(LiveTrials::ReportCard(writer, 1, 2, 1480, 20, clock.now()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return cell(list, 1, CLiveDlg::Cards) == "2"; }, 5000));
    awaitTold();
    for (int cards : {3, 4}) {
        ASSERT_TRUE(LiveTrials::ReportCard(writer, 1, cards, 1470, 20, clock.now()));
        awaitTold();
    }
    EXPECT_EQ(cell(list, 1, CLiveDlg::Cards), "2");
    EXPECT_EQ(dlg->Reads(), 2);
    clock.advance(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return cell(list, 1, CLiveDlg::Cards) == "4"; }, 5000))
        << "read once the second is over";
    EXPECT_EQ(dlg->Reads(), 3);
}

// The server ends the screen's connection (a restart, a network failure):
// the screen opens it again, listens again and reads what it missed; while
// the server stays away it keeps the rows as last read (aged on, running
// trials would turn 応答なし), says so once and tries again every ten seconds.
TEST_F(LiveScreenOnServer, ADroppedConnectionIsOpenedAndListenedOnAgain) {
    trial({.id = 1, .task = 2}, now0, 1, now0);
    auto dlg = openListening();
    QTreeWidget* list = dlg->List();
    QLabel* count = dlg->findChild<QLabel*>("countLabel");
    const auto cards = [&] { return cell(list, 1, CLiveDlg::Cards); };
    const auto report = [&](int n) {
        ASSERT_TRUE(LiveTrials::ReportCard(writer, 1, n, 1500 - n, 20, clock.now()));
    };

    dropScreenConnection();
    report(2); // while the screen's connection is away: never told
    step(dlg.get(), 1);
    EXPECT_EQ(cards(), "2") << "read on the connection opened again";
    clock.advance(1);
    report(3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return cards() == "3"; }, 5000)) << "told on it";
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();

    refuseConnections(true);
    dropScreenConnection();
    step(dlg.get(), 1);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith("実施状況は 14:00 から更新されていません。")) << messages()[0].toStdString();
    EXPECT_TRUE(messages()[0].contains("との接続が切れました")) << messages()[0].toStdString();
    EXPECT_EQ(count->text(), "14:00 から更新されていません　1 件");
    const QString left = cell(list, 1, CLiveDlg::Left);
    report(4);
    step(dlg.get(), 10);
    EXPECT_EQ(messages().size(), 1) << "said once";
    EXPECT_EQ(cell(list, 1, CLiveDlg::Left), left) << "as last read";
    refuseConnections(false);
    step(dlg.get(), 5);
    EXPECT_EQ(cards(), "3") << "tried again ten seconds after the last try, not sooner";
    step(dlg.get(), 5);
    EXPECT_EQ(cards(), "4");
    EXPECT_EQ(count->text(), "1 件");
    EXPECT_EQ(messages().size(), 1);

    // Closed by the program itself: the screen stands, quietly.
    app->UserDb().Close();
    step(dlg.get(), 10);
    EXPECT_EQ(messages().size(), 1);
}

} // namespace

namespace {
// Pictures of the screen and of the menu with its button, for people to look
// at: run with ZENTRY_SCREENSHOT_DIR set and --gtest_also_run_disabled_tests.
class LiveScreenshotTour : public LiveScreen {};

TEST_F(LiveScreenshotTour, DISABLED_LiveScreenAndMenu) {
    const QString outDir = qEnvironmentVariable("ZENTRY_SCREENSHOT_DIR");
    ASSERT_FALSE(outDir.isEmpty()) << "set ZENTRY_SCREENSHOT_DIR";
    QDir().mkpath(outDir);
    const QDateTime t = now0;
    trial({.id = 1, .task = 2, .endTime = 2}, t.addSecs(-3600), 20, t.addSecs(-1800), State::Finished, 0);
    trial({.id = 2, .task = 1, .course = 2, .endTime = 4, .aborted = true}, t.addSecs(-1200), 4, t.addSecs(-600),
          State::Aborted, 3000);
    trial({.id = 3, .task = 3, .course = 3, .endTime = 2}, t.addSecs(-300), 6, t.addSecs(-30), State::Running, 1530);
    trial({.id = 4, .task = 2, .endTime = 1}, t.addSecs(-800), 3, t.addSecs(-400), State::Running, 300);
    trial({.id = 5, .task = 1, .endTime = 3}, t.addSecs(-1500), 11, t.addSecs(-20), State::Running, 1200);
    const auto save = [&](QWidget* w, const char* name) {
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        QTest::qWait(100);
        EXPECT_TRUE(w->grab().save(outDir + '/' + name));
    };
    auto dlg = open();
    save(dlg.get(), "live.png");
    CZentry01ManDlg menu;
    save(&menu, "menu_live_button.png");
}
} // namespace
