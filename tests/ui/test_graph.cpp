// The history graph: count scale, plot points and averages, scrolling through
// the trials, marker shapes per course, average lines, titles and marks, the
// waiting text, and drawing onto a printed page.
#include "ArrKaisekiMain.h"
#include "DB.h"
#include "FontSubstitution.h"
#include "KCGraph.h"
#include "Recordsets.h"
#include "TestFolder.h"
#include "TestRows.h"

#include <QPainter>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

namespace {

using Trials = std::vector<std::unique_ptr<CArrKaisekiMain_ShikouKai>>;

struct TrialValues {
    int course;
    int work;
    int correct;
    double rate;
};

Trials makeTrials(std::initializer_list<TrialValues> values) {
    Trials trials;
    int n = 0;
    for (const TrialValues& v : values) {
        auto t = std::make_unique<CArrKaisekiMain_ShikouKai>();
        t->m_trialNo = ++n;
        t->m_course_code = QString::number(v.course);
        t->m_answer_number = v.work;
        t->m_correct_number = v.correct;
        t->m_correct_rate_koumoku = v.rate;
        trials.push_back(std::move(t));
    }
    return trials;
}

Trials sameTrials(int count, std::function<int(int)> courseOf) {
    Trials trials;
    for (int i = 1; i <= count; ++i) {
        auto t = std::make_unique<CArrKaisekiMain_ShikouKai>();
        t->m_trialNo = i;
        t->m_course_code = QString::number(courseOf(i));
        t->m_answer_number = 8;
        t->m_correct_number = 4;
        t->m_correct_rate_koumoku = 60;
        trials.push_back(std::move(t));
    }
    return trials;
}

CKCGraphData dataOf(const Trials& trials, int selectionType = 1) {
    CKCGraphData data;
    for (const auto& t : trials)
        data.Add(*t);
    data.problemCode = 2;
    data.userCode = 3;
    data.selectionType = selectionType;
    data.courseFilter = 4;
    return data;
}

class Graph : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }
    // A 1000 × 450 graph of the trials, shown, with its picture drawn.
    static std::unique_ptr<CKCGraph> shown(const Trials& trials) {
        auto graph = std::make_unique<CKCGraph>();
        graph->resize(1000, 450);
        graph->show();
        graph->SetData(dataOf(trials), nullptr);
        return graph;
    }
};

// The pixel of a 96 dots-per-inch bitmap that holds a 0.01 mm position of the picture.
QPoint pixelOf(double x, double y) {
    return QPoint(int(std::floor(x * 96 / 2540)), int(std::floor(y * 96 / 2540)));
}

int countColour(const QImage& image, const QRect& area, const QColor& colour, int tolerance = 40) {
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                     std::abs(c.blue() - colour.blue()) <=
                 tolerance;
        }
    return n;
}

} // namespace

TEST_F(Graph, CountScaleRoundsUpToAReadableMaximum) {
    const std::pair<double, int> cases[] = {
        {7, 10},  {130, 200}, {0, 100},   {-3, 100},  {1, 10},    {10, 10},   {11, 20},   {20, 20},  {21, 50},
        {50, 50}, {51, 100},  {100, 100}, {101, 200}, {200, 200}, {201, 300}, {39.9, 50}, {10.5, 20}};
    for (const auto& [largest, expected] : cases)
        EXPECT_EQ(CKCGraphPlotArray::RoundCountMax(largest), expected) << largest;
}

TEST_F(Graph, PlotPointsScalesAndCourseAverages) {
    const Trials trials = makeTrials({{1, 7, 5, 95.5}, {3, 3, 3, 100}, {1, 2, 1, 33.333}});
    const CKCGraphData data = dataOf(trials);
    CKCGraphPlotArray array;
    array.Build(data, QRectF(0, 0, 20000, 10000), 1000);

    EXPECT_EQ(array.CountMax(), 10);
    ASSERT_EQ(array.Points().size(), 3u);
    const auto& p = array.Points();
    EXPECT_DOUBLE_EQ(p[0].x, 500);
    EXPECT_DOUBLE_EQ(p[2].x, 2500);
    EXPECT_EQ(p[0].y, (std::array<int, 3>{7000, 5000, 9550}));
    EXPECT_EQ(p[2].y[2], 3333); // truncated
    EXPECT_EQ(p[1].course, 3);
    EXPECT_EQ(p[0].trial, &data.trials[0]);
    EXPECT_EQ(p[2].trial->trialNo, 3);

    EXPECT_NEAR(array.AverageRate(1), (95.5 + 33.333) / 2, 1e-9);
    EXPECT_EQ(array.AverageY(1), int((95.5 + 33.333) / 2 * 100));
    EXPECT_EQ(array.AverageRate(2), 0);
    EXPECT_EQ(array.AverageY(2), 0);
    EXPECT_EQ(array.AverageY(3), 10000);

    // A count of 130 puts the scale at 200.
    const CKCGraphData many = dataOf(makeTrials({{1, 130, 120, 90}}));
    array.Build(many, QRectF(0, 0, 20000, 10000), 1000);
    EXPECT_EQ(array.CountMax(), 200);
    EXPECT_EQ(array.Points()[0].y[0], 6500);
}

TEST_F(Graph, ConvertedSelectionPlotsTheSixtyMinuteValues) {
    Trials trials = makeTrials({{1, 30, 20, 80}});
    trials[0]->m_answer_number60 = 39.9;
    trials[0]->m_correct_number60 = 26.6;
    trials[0]->m_correct_rate_koumoku60 = 81;
    CKCGraphPlotArray array;
    const CKCGraphData converted = dataOf(trials, 5);
    array.Build(converted, QRectF(0, 0, 1000, 10000), 1000);
    EXPECT_EQ(array.CountMax(), 50);
    EXPECT_EQ(array.Points()[0].y, (std::array<int, 3>{7980, 5320, 8100}));
    const CKCGraphData asRun = dataOf(trials, 4);
    array.Build(asRun, QRectF(0, 0, 1000, 10000), 1000);
    EXPECT_EQ(array.Points()[0].y, (std::array<int, 3>{6000, 4000, 8000}));
}

TEST_F(Graph, OpensAtTheLastTrialsAndScrollsOneTrialPerStep) {
    const Trials trials = sameTrials(25, [](int) { return 1; });
    CKCGraph graph;
    graph.resize(1300, 500); // room for twenty columns
    graph.show();
    graph.SetData(dataOf(trials), nullptr);
    EXPECT_EQ(graph.VisibleColumns(), 20);
    EXPECT_EQ(graph.FirstVisibleColumn(), 6); // trials 6 to 25
    QScrollBar* bar = graph.horizontalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    const QImage atSix = graph.bitmap();

    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(graph.FirstVisibleColumn(), 5);
    EXPECT_NE(graph.bitmap(), atSix); // redrawn
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(graph.FirstVisibleColumn(), 6); // no further than the last page
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(graph.FirstVisibleColumn(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(graph.FirstVisibleColumn(), 6);
    bar->setValue(3);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(graph.FirstVisibleColumn(), 1);

    bar->setValue(4);
    graph.Prepare();
    EXPECT_EQ(graph.FirstVisibleColumn(), 1);

    // Fewer trials than columns: nothing to scroll, no scroll bar.
    const Trials few = sameTrials(5, [](int) { return 1; });
    graph.SetData(dataOf(few), nullptr);
    EXPECT_EQ(graph.FirstVisibleColumn(), 1);
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(Graph, LevelUpTrialsHaveSquareMarkersOthersCircles) {
    const Trials trials = sameTrials(6, [](int i) { return i == 2 || i == 5 ? 3 : (i == 4 ? 2 : 1); });
    const auto graph = shown(trials);
    const QImage image = graph->bitmap();
    ASSERT_FALSE(image.isNull());
    const CKCGraphPlotArray& array = graph->PlotArray();
    ASSERT_EQ(array.Points().size(), 6u);
    const QColor green(57, 181, 74), background(230, 230, 230);
    auto distance = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    };
    for (const auto& p : array.Points()) {
        // The correct-count series, flat: 1.25 mm right of and below its centre
        // lies inside a 3 mm square but outside a 3 mm circle, and off the line.
        const double x = array.Plot().left() + p.x, y = array.Plot().bottom() - p.y[1];
        EXPECT_LT(distance(image.pixelColor(pixelOf(x, y)), green), 10);
        const QColor corner = image.pixelColor(pixelOf(x + 125, y + 125));
        const bool square = distance(corner, green) < distance(corner, background);
        EXPECT_EQ(square, p.course == 3)
            << "trial " << p.trial->trialNo << " " << corner.name().toStdString();
    }
}

// A trial of no cards puts its markers on the axis: the trial number under
// the column starts below the marker's lower half, which would hide its top.
TEST_F(Graph, TrialNumbersStayClearOfMarkersAtZero) {
    const Trials trials = makeTrials({{3, 0, 0, 0}, {1, 0, 0, 0}});
    const auto graph = shown(trials);
    const QImage image = graph->bitmap();
    ASSERT_FALSE(image.isNull());
    const CKCGraphPlotArray& array = graph->PlotArray();
    ASSERT_EQ(array.Points().size(), 2u);
    const QColor red(255, 0, 0), black(0, 0, 0);
    for (const auto& p : array.Points()) {
        const double x = array.Plot().left() + p.x, axis = array.Plot().bottom();
        // Below the axis line, down to the marker's lower edge.
        const QRect lowerHalf(pixelOf(x - 150, axis), pixelOf(x + 150, axis + 150));
        const QRect belowAxis = lowerHalf.adjusted(0, 2, 0, 0);
        EXPECT_GT(countColour(image, lowerHalf, red), 10) << "no marker at trial " << p.trial->trialNo;
        EXPECT_EQ(countColour(image, belowAxis, black, 200), 0) << "trial " << p.trial->trialNo;
        // The number itself is drawn, under the marker.
        EXPECT_GT(countColour(image, QRect(pixelOf(x - 150, axis + 150), pixelOf(x + 150, axis + 700)), black, 200),
                  3);
    }
}

TEST_F(Graph, AverageLineOnlyForCoursesWithTrialsLegendAlways) {
    const QColor blue(0, 0, 255), magenta(255, 0, 255);
    auto draw = [](const Trials& trials, QRect& plot) {
        CKCGraph graph;
        graph.resize(900, 420);
        graph.show();
        graph.SetData(dataOf(trials), nullptr);
        const QRectF p = graph.PlotArray().Plot();
        plot = QRect(pixelOf(p.left(), p.top()), pixelOf(p.right(), p.bottom())).adjusted(2, 2, -2, -2);
        return graph.bitmap();
    };
    QRect plot;
    const Trials levelUpOnly = makeTrials({{3, 10, 8, 70}, {3, 12, 10, 75}});
    QImage image = draw(levelUpOnly, plot);
    EXPECT_EQ(countColour(image, plot, blue), 0);
    EXPECT_GT(countColour(image, plot, magenta), 50);
    const QRect belowPlot(0, plot.bottom() + 5, image.width(), image.height() - plot.bottom() - 5);
    EXPECT_GT(countColour(image, belowPlot, blue), 5); // the legend's sample stays

    const Trials mixed = makeTrials({{1, 10, 8, 40}, {3, 12, 10, 75}});
    image = draw(mixed, plot);
    EXPECT_GT(countColour(image, plot, blue), 50);
    // The test average of 40 % runs at 40 % of the plot's height.
    const int y40 = plot.bottom() - int(0.4 * (plot.height() + 4));
    EXPECT_GT(countColour(image, QRect(plot.left(), y40 - 3, plot.width(), 7), blue), 50);
}

// On a narrow screen the legend wraps into rows, every entry kept, nothing
// running off the picture's sides or bottom, and the plot makes room for
// them: a blank band stays between the marks under the columns and the legend.
TEST_F(Graph, TheLegendStaysInsideANarrowPicture) {
    const QColor blue(0, 0, 255), magenta(255, 0, 255);
    Trials trials = makeTrials({{1, 10, 8, 40}, {3, 12, 10, 75}});
    for (auto& t : trials) {
        t->m_graph_flg = QStringLiteral("1");
        t->m_result_code = QStringLiteral("2");
    }
    const auto inked = [](const QColor& c) { return c.lightness() < 200; };
    for (int width : {900, 640, 480}) {
        CKCGraph graph;
        graph.SetForm(CKCGraphDraw::kUtility);
        graph.resize(width, 420);
        graph.show();
        graph.SetData(dataOf(trials), nullptr);
        const QImage image = graph.bitmap();
        const int plotBottom = pixelOf(0, graph.PlotArray().Plot().bottom()).y();
        const QRect below(0, plotBottom + 3, image.width(), image.height() - plotBottom - 3);
        int inkAtTheEdges = 0;
        for (int y = below.top(); y <= below.bottom(); ++y)
            for (int x : {0, 1, 2, image.width() - 3, image.width() - 2, image.width() - 1})
                inkAtTheEdges += inked(image.pixelColor(x, y));
        for (int x = 0; x < image.width(); ++x)
            inkAtTheEdges += inked(image.pixelColor(x, image.height() - 1));
        EXPECT_EQ(inkAtTheEdges, 0) << width;
        // Both dashed samples are drawn, below the plot.
        EXPECT_GT(countColour(image, below, blue), 5) << width;
        EXPECT_GT(countColour(image, below, magenta), 5) << width;

        // The widest run of blank rows between inked ones below the plot.
        int widestGap = 0, gap = 0;
        bool inkSeen = false;
        for (int y = below.top(); y <= below.bottom(); ++y) {
            bool ink = false;
            for (int x = 0; x < image.width() && !ink; ++x)
                ink = inked(image.pixelColor(x, y));
            if (ink) {
                if (inkSeen)
                    widestGap = std::max(widestGap, gap);
                inkSeen = true;
                gap = 0;
            } else {
                ++gap;
            }
        }
        EXPECT_GE(widestGap, 8) << width << ": no blank band between the column marks and the legend";
    }
}

TEST_F(Graph, TitlesNameTheUserTaskAndSelection) {
    TestFolder folder;
    CDB db;
    db.OpenUser();
    TestUser user;
    user.code = 3;
    user.name2 = "花子";
    AddTestUser(db, user);
    const Trials trials = makeTrials({{1, 10, 8, 70}});
    CKCGraphData data = dataOf(trials, 5);
    QImage image(600, 300, QImage::Format_RGB32);
    QPainter dc(&image);
    CKCGraphDraw draw;
    draw.SetUp(&dc, image.rect(), false, data, &db);
    EXPECT_EQ(draw.Title(), QStringLiteral("山田　花子  顧客伝票修正"));
    draw.SetUp(&dc, image.rect(), false, data, &db, CKCGraphDraw::kUtility);
    EXPECT_EQ(draw.Title(),
              QStringLiteral("山田　花子  顧客伝票修正  60分換算値  実力テスト/レベルアップトレーニング"));
    data.selectionType = 6;
    data.courseFilter = 3;
    data.problemCode = 1;
    draw.SetUp(&dc, image.rect(), false, data, &db, CKCGraphDraw::kUtility);
    EXPECT_EQ(draw.Title(), QStringLiteral("山田　花子  アンケート入力  試行中止  レベルアップトレーニング"));
    // Without a user database the name given with the data is used.
    data.userName = QStringLiteral("某");
    draw.SetUp(&dc, image.rect(), false, data, nullptr);
    EXPECT_EQ(draw.Title(), QStringLiteral("某  アンケート入力"));
}

TEST_F(Graph, ConditionMarksUnderTheColumns) {
    CArrKaisekiMain_ShikouKai t;
    EXPECT_EQ(CKCGraphData::ConditionMarks(t), QString());
    t.m_graph_flg = "1";
    t.m_result_code = "2";
    t.m_timer_flg = "1";
    t.m_remainder_flg = "1";
    EXPECT_EQ(CKCGraphData::ConditionMarks(t), QStringLiteral("グ○タ円"));
    t.m_result_code = "1";
    t.m_timer_flg.clear();
    EXPECT_EQ(CKCGraphData::ConditionMarks(t), QStringLiteral("グ音円"));
    t.m_graph_flg.clear();
    t.m_result_code = "3";
    t.m_remainder_flg = "0";
    EXPECT_EQ(CKCGraphData::ConditionMarks(t), QStringLiteral("色"));
    t.m_result_code = "4";
    EXPECT_EQ(CKCGraphData::ConditionMarks(t), QString());
}

TEST_F(Graph, WaitingTextBeforeDataArrives) {
    CKCGraph graph;
    graph.resize(600, 300);
    graph.show();
    EXPECT_FALSE(graph.HasData());
    EXPECT_TRUE(graph.bitmap().isNull());
    const QImage waiting = graph.viewport()->grab().toImage();
    // White, with one line of text across the middle only.
    const QRect middle(0, waiting.height() / 2 - 12, waiting.width(), 24);
    int dark = 0, darkOutside = 0;
    for (int y = 0; y < waiting.height(); ++y)
        for (int x = 0; x < waiting.width(); ++x)
            if (waiting.pixelColor(x, y).lightness() < 128)
                (middle.contains(x, y) ? dark : darkOutside)++;
    EXPECT_GT(dark, 100);
    EXPECT_EQ(darkOutside, 0);
    EXPECT_EQ(waiting.pixelColor(5, 5), QColor(Qt::white));
}

TEST_F(Graph, EmptyRunDrawsFrameScaleAndLegend) {
    CKCGraph graph;
    graph.resize(600, 300);
    graph.show();
    const Trials none;
    graph.SetData(dataOf(none), nullptr);
    ASSERT_FALSE(graph.bitmap().isNull());
    EXPECT_EQ(graph.PlotArray().CountMax(), 100);
    const QRectF p = graph.PlotArray().Plot();
    EXPECT_EQ(graph.bitmap().pixelColor(pixelOf(p.left() + 200, p.center().y())), QColor(230, 230, 230));
    // One line of text across the middle of the plot says there is nothing to
    // draw; its lower half is looked for, below the grid line at 50 %.
    const QRect middle(pixelOf(p.left() + 500, p.center().y() + 60),
                       pixelOf(p.right() - 500, p.center().y() + 250));
    EXPECT_GT(countColour(graph.bitmap(), middle, Qt::black, 200), 50);

    // With a trial the same band holds no such line.
    const Trials one = makeTrials({{1, 0, 0, 0}});
    graph.SetData(dataOf(one), nullptr);
    EXPECT_EQ(countColour(graph.bitmap(), middle, Qt::black, 200), 0);
}

TEST_F(Graph, DrawsIntoAPrintedPageBand) {
    const Trials trials = sameTrials(25, [](int i) { return i % 2 ? 1 : 3; });
    CKCGraph graph;
    graph.resize(900, 420);
    graph.show();
    graph.SetData(dataOf(trials), nullptr);

    // A landscape A4 page at 100 dots per inch, the graph in a 120 mm band.
    QImage page(1169, 827, QImage::Format_RGB32);
    page.setDotsPerMeterX(3937);
    page.setDotsPerMeterY(3937);
    page.fill(Qt::white);
    QPainter dc(&page);
    const QRectF band(500, 4500, 28700, 12000);
    graph.DrawOnPage(&dc, band);
    dc.end();
    const double k = 100 / 2540.0;
    const QColor plotGrey(230, 230, 230);
    EXPECT_EQ(countColour(page, QRect(0, 0, page.width(), int(4400 * k)), plotGrey, 0), 0);
    EXPECT_EQ(countColour(page, QRect(0, int(16600 * k), page.width(), page.height()), plotGrey, 0), 0);
    EXPECT_GT(
        countColour(page, QRect(int(500 * k), int(4500 * k), int(28700 * k), int(12000 * k)), plotGrey, 0),
        100000);
    // Twenty columns fit across the printed band.
    EXPECT_EQ(CKCGraphDraw::LayoutFor(band).visibleColumns, 20);
}

TEST_F(Graph, KeepsItsOwnCopyOfTheTrials) {
    Trials trials = makeTrials({{1, 10, 8, 70}, {3, 12, 10, 75}});
    CKCGraph graph;
    graph.resize(900, 420);
    graph.show();
    graph.SetData(dataOf(trials), nullptr);
    const std::array<int, 3> before = graph.PlotArray().Points()[1].y;
    // The run is cleared or run again while the graph is still shown.
    trials[1]->m_answer_number = 2;
    trials.clear();
    graph.resize(800, 420);
    ASSERT_EQ(graph.PlotArray().Points().size(), 2u);
    EXPECT_EQ(graph.PlotArray().Points()[1].trial->trialNo, 2);
    EXPECT_EQ(graph.PlotArray().Points()[1].y[0] * 1.0 / graph.PlotArray().Plot().height(),
              before[0] * 1.0 / graph.PlotArray().Plot().height());
}

TEST_F(Graph, TakesTheSelectionOfAnAnalysisRun) {
    TestFolder folder;
    folder.copyBuiltMaster();
    CDB master, user;
    master.OpenMaster();
    user.OpenUser();
    CArrKaisekiMain run;
    CArrKaisekiMain::Conditions c;
    c.userCode = 3;
    c.problemCode = 3;
    c.testLevelUpOnly = true;
    c.selectionType = CArrKaisekiMain::SelectCompleted;
    c.courseFilter = CArrKaisekiMain::TestOrLevelUp;
    ASSERT_EQ(run.Run(user, master, c), 1);

    CKCGraph graph;
    graph.SetForm(CKCGraphDraw::kUtility);
    graph.resize(900, 420);
    graph.show();
    graph.SetData(run, &user);
    EXPECT_TRUE(graph.HasData());
    EXPECT_TRUE(graph.PlotArray().Points().empty());
    QImage image(600, 300, QImage::Format_RGB32);
    QPainter dc(&image);
    CKCGraphDraw draw;
    const CKCGraphData data = CKCGraphData::From(run);
    draw.SetUp(&dc, image.rect(), false, data, &user, CKCGraphDraw::kUtility);
    // No such user: no name.
    EXPECT_EQ(draw.Title(),
              QStringLiteral("  顧客伝票ミスチェック  60分換算値  実力テスト/レベルアップトレーニング"));
}
