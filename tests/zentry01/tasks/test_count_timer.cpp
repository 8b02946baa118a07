// The countdown dial's pixels and the progress text of the task screens.
#include "CountTimer.h"
#include "KCStaticShintyoku.h"

#include <QImage>
#include <QtMath>
#include <gtest/gtest.h>

namespace {
QColor face(const QWidget& w) { return w.palette().color(QPalette::Button); }

bool allPixels(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != colour)
                return false;
    return true;
}

// The pixel at a clockwise angle from twelve o'clock, at a radius, on a 100 × 100 dial.
QColor at(const QImage& image, double degrees, double radius) {
    const double a = qDegreesToRadians(degrees);
    return image.pixelColor(qRound(50 + radius * qSin(a)), qRound(50 - radius * qCos(a)));
}

class CountTimerTest : public ::testing::Test {
protected:
    CountTimerTest() { dial.resize(100, 100); }
    QImage shot() { return dial.grab().toImage(); }
    CCountTimer dial;
};
} // namespace

TEST_F(CountTimerTest, NothingIsDrawnBeforeTheTotalOrWithTotalZero) {
    EXPECT_TRUE(allPixels(shot(), face(dial)));
    dial.SetRemaining(30); // no total yet: no effect
    EXPECT_EQ(dial.Remaining(), 0);
    EXPECT_TRUE(allPixels(shot(), face(dial)));
    dial.SetTotal(0);
    dial.SetRemaining(0);
    EXPECT_TRUE(allPixels(shot(), face(dial)));
}

TEST_F(CountTimerTest, FullBlueDiscAtTheStart) {
    dial.SetTotal(900);
    const QImage image = shot();
    // (The pie's edge runs from the centre to twelve o'clock in the outline colour.)
    for (double deg : {10.0, 45.0, 90.0, 135.0, 180.0, 225.0, 270.0, 315.0, 350.0})
        EXPECT_EQ(at(image, deg, 40), CCountTimer::kWedge) << deg;
    EXPECT_EQ(image.pixelColor(45, 55), CCountTimer::kWedge);
    EXPECT_EQ(image.pixelColor(1, 1), face(dial)); // outside the disc
    EXPECT_EQ(image.pixelColor(99, 50), CCountTimer::kOutline);
}

TEST_F(CountTimerTest, HalfTimeLeavesTheLeftHalfBlue) {
    dial.SetTotal(60);
    dial.SetRemaining(30);
    const QImage image = shot();
    for (double deg : {10.0, 45.0, 90.0, 135.0, 170.0})
        EXPECT_EQ(at(image, deg, 40), CCountTimer::kDisc) << deg;
    for (double deg : {190.0, 225.0, 270.0, 315.0, 350.0})
        EXPECT_EQ(at(image, deg, 40), CCountTimer::kWedge) << deg;
}

TEST_F(CountTimerTest, QuarterAndNinetyNinePercentElapsed) {
    dial.SetTotal(60);
    dial.SetRemaining(45);
    QImage image = shot();
    EXPECT_EQ(at(image, 45, 40), CCountTimer::kDisc);
    EXPECT_EQ(at(image, 135, 40), CCountTimer::kWedge);
    EXPECT_EQ(at(image, 315, 40), CCountTimer::kWedge);

    dial.SetTotal(200);
    dial.SetRemaining(2);
    image = shot();
    // 99 % of 6.28 stops short of a full turn: a sliver left of twelve o'clock stays blue.
    EXPECT_EQ(at(image, 358, 40), CCountTimer::kWedge);
    for (double deg : {2.0, 90.0, 180.0, 270.0, 350.0})
        EXPECT_EQ(at(image, deg, 40), CCountTimer::kDisc) << deg;
}

TEST_F(CountTimerTest, AngleUsesWholePercentAndSixPointTwoEight) {
    EXPECT_DOUBLE_EQ(CCountTimer::ElapsedAngle(60, 60), 0.0);
    EXPECT_DOUBLE_EQ(CCountTimer::ElapsedAngle(30, 60), 50 * 6.28 / 100);
    EXPECT_DOUBLE_EQ(CCountTimer::ElapsedAngle(41, 60), 31 * 6.28 / 100); // 31.67 % → 31
    EXPECT_DOUBLE_EQ(CCountTimer::ElapsedAngle(0, 60), 0.0);             // 100 % wraps to 0
}

TEST_F(CountTimerTest, ResizingRedrawsAtTheNewSize) {
    dial.SetTotal(60);
    dial.resize(140, 140);
    const QImage image = dial.grab().toImage();
    ASSERT_EQ(image.size(), QSize(140, 140));
    EXPECT_EQ(image.pixelColor(60, 80), CCountTimer::kWedge);
    EXPECT_EQ(image.pixelColor(125, 70), CCountTimer::kWedge);
}

TEST(ProgressText, CoursesOneAndTwoShowTheCountBetweenLineBreaks) {
    EXPECT_EQ(CKCStaticShintyoku::ProgressText(1, true, false, 0, 0, 5, 754), QStringLiteral("\n　終わった枚数：5枚\n"));
    EXPECT_EQ(CKCStaticShintyoku::ProgressText(1, true, true, 0, 0, 5, 754),
              QStringLiteral("\n　終わった枚数：5枚\n\n　残り時間　　：12分34秒"));
    EXPECT_EQ(CKCStaticShintyoku::ProgressText(1, false, true, 0, 0, 5, 5), QStringLiteral("　残り時間　　：0分5秒"));
    // The timer line belongs to courses 1 and 3 only.
    EXPECT_EQ(CKCStaticShintyoku::ProgressText(2, true, true, 9, 9, 3, 600), QStringLiteral("\n　終わった枚数：3枚\n"));
    EXPECT_EQ(CKCStaticShintyoku::ProgressText(2, false, true, 0, 0, 3, 600), QString());
}

TEST(ProgressText, CourseThreeShowsTargetsAndTheTimeLeft) {
    EXPECT_EQ(CKCStaticShintyoku::ProgressText(3, true, false, 40, 35, 7, 3600),
              QStringLiteral("　目標作業枚数：40枚\n　目標正解枚数：35枚\n　終わった枚数：7枚"));
    EXPECT_EQ(CKCStaticShintyoku::ProgressText(3, true, true, 40, 35, 7, 3600),
              QStringLiteral("　目標作業枚数：40枚\n　目標正解枚数：35枚\n　終わった枚数：7枚\n　残り時間　　：60分0秒"));
    EXPECT_EQ(CKCStaticShintyoku::ProgressText(3, false, true, 40, 35, 7, 59), QStringLiteral("　残り時間　　：0分59秒"));
}

TEST(ProgressText, NothingToSetWithoutProgressOrTimer) {
    for (int course : {1, 2, 3})
        EXPECT_FALSE(CKCStaticShintyoku::ProgressText(course, false, false, 1, 1, 1, 1).has_value());
}

TEST(ProgressText, ControlDrawsItsTextOnlyOncePrepared) {
    CKCStaticShintyoku control;
    control.resize(300, 120);
    control.SetText(QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(control.GetText(), QStringLiteral("一行目\n二行目"));
    EXPECT_TRUE(allPixels(control.grab().toImage(), face(control)));

    control.Prepare();
    const QImage image = control.grab().toImage();
    const int lineHeight = QFontMetrics(CICFont(110, QStringLiteral("ＭＳ ゴシック"))).height();
    auto inkInRows = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != face(control))
                    return true;
        return false;
    };
    EXPECT_TRUE(inkInRows(0, lineHeight));
    EXPECT_TRUE(inkInRows(lineHeight, 2 * lineHeight)); // the line break is honoured
    EXPECT_FALSE(inkInRows(2 * lineHeight + 2, image.height()));

    control.SetText(QString());
    EXPECT_TRUE(allPixels(control.grab().toImage(), face(control)));
}
