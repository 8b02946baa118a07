// Common screen set-up, window placement in the ini file, and saving a list as CSV.
#include "AppSub.h"
#include "FileDialogs.h"
#include "GrowToShow.h"
#include "ScreenFit.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "TestFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QStandardItemModel>
#include <QTimer>
#include <QCloseEvent>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

using namespace ScreenSetup;

namespace {
// A 1366 × 768 screen whose panels take 40 pixels, 24 of them above the windows.
const ScreenFit::Display kDisplay{QRect(0, 24, 1366, 728), 1.0, 1.0, QMargins(4, 30, 4, 4)};

class ScreenSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        StringTable::clear();
        StringTable::add(102, QStringLiteral("ソラミ！ミルテア"));
        SetProductTitle(102);
        FileDialogs::clearNextFileNames();
        ScreenFit::SetDisplay(kDisplay);
    }
    void TearDown() override {
        ScreenFit::SetDisplay(ScreenFit::Display{QRect(0, 0, 1920, 1040), 0, 0, {}});
        StringTable::clear();
        FileDialogs::clearNextFileNames();
    }
    // A placed screen shown with its frame at 200,100 and a 720 × 520 client area.
    static void showPlacedCaller(QDialog& caller) {
        SetUpPlacedScreen(&caller, QStringLiteral("caller"), QIcon());
        caller.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&caller));
        caller.setGeometry(QRect(QPoint(200 + 4, 100 + 30), QSize(720, 520)));
    }
    QByteArray readFile(const QString& path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    TestFolder folder;
};
} // namespace

TEST_F(ScreenSetupTest, SetsTitleSizeAndRemovesTheCloseItem) {
    QDialog screen;
    screen.move(33, 44);
    SetUpScreen(&screen, QIcon(), true, false);
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("ソラミ！ミルテア"));
    EXPECT_EQ(screen.size(), QSize(800 * screen.logicalDpiX() / 96, 600 * screen.logicalDpiY() / 96));
    EXPECT_EQ(screen.pos(), QPoint(33, 44));
    EXPECT_FALSE(screen.windowFlags().testFlag(Qt::WindowCloseButtonHint));

    // A close request from the window system leaves the screen open; its own buttons still close it.
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    QCloseEvent fromWindowSystem;
    QSpontaneKeyEvent::setSpontaneous(&fromWindowSystem);
    qApp->notify(&screen, &fromWindowSystem);
    EXPECT_FALSE(fromWindowSystem.isAccepted());
    EXPECT_TRUE(screen.isVisible());
    screen.reject();
    EXPECT_FALSE(screen.isVisible());
}

TEST_F(ScreenSetupTest, LargeSizeOnlyWithImageOnScreenAndTheFlagSet) {
    folder.writeIni(QStringLiteral("[Settings]\ndisplay_flg=1\n"));
    QDialog large, small;
    SetUpScreen(&large, QIcon(), true, true);
    SetUpScreen(&small, QIcon(), false, true);
    EXPECT_EQ(large.size(), ScaleSize(&large, QSize(1024, 720)));
    EXPECT_EQ(small.size(), ScaleSize(&small, QSize(800, 600)));
    EXPECT_TRUE(large.windowFlags().testFlag(Qt::WindowCloseButtonHint));

    // Any value but 0 shows the image (an ini file edited by hand), and the
    // image needs the large screen; 0 is paper.
    for (const auto& [value, size] : {std::pair{"2", QSize(1024, 720)}, std::pair{"0", QSize(800, 600)}}) {
        folder.writeIni(QStringLiteral("[Settings]\ndisplay_flg=%1\n").arg(QLatin1String(value)));
        QDialog other;
        SetUpScreen(&other, QIcon(), true);
        EXPECT_EQ(other.size(), ScaleSize(&other, size)) << value;
    }
}

// The DPI scale stands where the window fits; where it does not, width and
// height are reduced by one factor, the frame counted in.
TEST(ScreenFitRule, ScaleIsReducedByOneFactorOnlyWhereTheWindowWouldNotFit) {
    const QMargins frame(4, 30, 4, 4);
    const struct {
        QSize base;
        QSizeF dpi;
        QSize available;
        QSizeF expected;
    } cases[] = {
        {{800, 600}, {1.0, 1.0}, {1366, 728}, {1.0, 1.0}},
        {{800, 600}, {1.5, 1.5}, {1920, 1040}, {1.5, 1.5}},
        {{1024, 720}, {1.0, 1.0}, {1366, 728}, {694.0 / 720, 694.0 / 720}},
        {{800, 600}, {1.5, 1.5}, {1280, 720}, {686.0 / 600, 686.0 / 600}},
        {{1024, 720}, {1.5, 1.5}, {1280, 984}, {1272.0 / 1024, 1272.0 / 1024}},
        // Unequal DPI: the proportions of the scaled window are kept.
        {{800, 600}, {1.25, 1.5}, {1280, 720}, {1.25 * 686 / 900, 686.0 / 600}},
        // A window that fits exactly keeps its scale.
        {{800, 600}, {1.0, 1.0}, {808, 634}, {1.0, 1.0}},
    };
    for (const auto& c : cases) {
        const QSizeF s = ScreenFit::FittedScale(c.base, c.dpi, QRect(QPoint(0, 40), c.available), frame);
        EXPECT_NEAR(s.width(), c.expected.width(), 1e-9) << c.base.width() << " on " << c.available.width();
        EXPECT_NEAR(s.height(), c.expected.height(), 1e-9) << c.base.width() << " on " << c.available.width();
    }
}

TEST_F(ScreenSetupTest, LayoutHelpers) {
    QWidget parent;
    parent.resize(400, 300);
    QWidget child(&parent);
    child.setGeometry(5, 7, 100, 50);
    CentreHorizontally(&child);
    EXPECT_EQ(child.geometry(), QRect(150, 7, 100, 50));
    MoveBy(&child, -10, 3);
    EXPECT_EQ(child.geometry(), QRect(140, 10, 100, 50));
    PlaceBottomRight(&child);
    EXPECT_EQ(child.geometry(), QRect(400 - 20 - 100, 300 - 20 - 50, 100, 50));
    PlaceBottomRight(&child, QRect(10, 10, 200, 100), 5);
    EXPECT_EQ(child.geometry(), QRect(10 + 200 - 5 - 100, 10 + 100 - 5 - 50, 100, 50));
    MoveKeepingSize(&child, QPoint(1, 2));
    EXPECT_EQ(child.geometry(), QRect(1, 2, 100, 50));
}

// Placements read from the file come back wholly on the screen, frame included,
// whatever a damaged or hand-edited file says; one that fits stays as it was.
TEST_F(ScreenSetupTest, RestoredPlacementIsKeptOnTheScreen) {
    const struct {
        const char* ini;
        QRect frame; // expected, title bar and borders included
    } cases[] = {
        {"Left=100\nTop=50\nWidth=720\nHeight=520", QRect(100, 50, 728, 554)},
        {"Left=100\nTop=-10\nWidth=720\nHeight=520", QRect(100, 24, 728, 554)},
        {"Left=-90000\nTop=-4\nWidth=400\nHeight=300", QRect(0, 24, 408, 334)},
        {"Left=1300\nTop=700\nWidth=720\nHeight=520", QRect(1366 - 728, 24 + 728 - 554, 728, 554)},
        {"Left=5000\nTop=5000\nWidth=5000\nHeight=5000", kDisplay.available},
    };
    for (const auto& c : cases) {
        folder.writeIni(QStringLiteral("[WindowPos]\n") + QLatin1String(c.ini));
        QWidget screen;
        RestoreWindowPlacement(QStringLiteral("WindowPos"), &screen);
        EXPECT_EQ(ScreenFit::FrameRect(&screen), c.frame) << c.ini;
        EXPECT_FALSE(screen.windowState().testFlag(Qt::WindowMaximized));
    }
}

// On a screen lower than 520 (1366 × 768 at a 150 % scale) a placed screen
// may be as low as the screen, so it can be placed wholly on it.
TEST_F(ScreenSetupTest, PlacedScreenNeedsNoMoreThanTheScreen) {
    ScreenFit::SetDisplay(ScreenFit::Display{QRect(0, 0, 910, 512), 1.0, 1.0, QMargins(4, 30, 4, 4)});
    QDialog screen;
    SetUpPlacedScreen(&screen, QStringLiteral("placed"), QIcon());
    EXPECT_EQ(screen.minimumSize(), QSize(720, 512 - 34));
}

// A window dragged partly off the screen is saved where it can be reached.
TEST_F(ScreenSetupTest, SavedPlacementIsKeptOnTheScreen) {
    QWidget screen;
    screen.setGeometry(QRect(QPoint(-50 + 4, -10 + 30), QSize(720, 520)));
    SaveWindowPlacement(QStringLiteral("WindowPos"), &screen);
    EXPECT_EQ(AppSub::GetSectionInt(QStringLiteral("WindowPos"), QStringLiteral("Left"), -1), 0);
    EXPECT_EQ(AppSub::GetSectionInt(QStringLiteral("WindowPos"), QStringLiteral("Top"), -1), 24);
}

// A result screen opens exactly over the one that opens it, and closing it
// (unmoved) moves nothing, round after round; nothing creeps by a title bar.
TEST_F(ScreenSetupTest, NestedPlacedScreensNeitherCreepNorMoveTheCaller) {
    QDialog caller;
    ASSERT_NO_FATAL_FAILURE(showPlacedCaller(caller));
    const QRect callerFrame = ScreenFit::FrameRect(&caller);
    for (int round = 0; round < 3; ++round) {
        QDialog nested;
        SetUpPlacedScreen(&nested, QStringLiteral("nested"), QIcon());
        QRect nestedFrame;
        QTimer::singleShot(0, &nested, [&] {
            nestedFrame = ScreenFit::FrameRect(&nested);
            nested.reject();
        });
        ExecOnSharedPlacement(&caller, nested);
        EXPECT_EQ(nestedFrame, callerFrame) << round;
        EXPECT_EQ(ScreenFit::FrameRect(&caller), callerFrame) << round;
        EXPECT_EQ(AppSub::GetSectionInt(QStringLiteral("WindowPos"), QStringLiteral("Top"), -1), 100) << round;
    }
}

// A result screen that grows itself to show its contents leaves the placement
// it shares as it found it, so the screen below does not move when it closes;
// one the user moved after it grew takes the screen below along.
TEST_F(ScreenSetupTest, ANestedScreenGrownToShowItsContentsMovesTheCallerOnlyOnceTheUserMovedIt) {
    QDialog caller;
    ASSERT_NO_FATAL_FAILURE(showPlacedCaller(caller));
    const QRect callerFrame = ScreenFit::FrameRect(&caller);
    for (const QPoint userMove : {QPoint(), QPoint(30, 20)}) {
        QDialog nested;
        SetUpPlacedScreen(&nested, QStringLiteral("nested"), QIcon());
        QSize grown;
        QTimer::singleShot(0, &nested, [&] {
            GrowToShow::By(&nested, QSize(0, 14));
            grown = nested.size();
            if (!userMove.isNull())
                nested.move(nested.pos() + userMove);
            nested.reject();
        });
        ExecOnSharedPlacement(&caller, nested);
        EXPECT_EQ(grown, QSize(720, 534));
        if (userMove.isNull()) {
            EXPECT_EQ(ScreenFit::FrameRect(&caller), callerFrame);
        } else {
            EXPECT_EQ(ScreenFit::FrameRect(&caller).topLeft(), callerFrame.topLeft() + QPoint(30, 20 - 7));
            EXPECT_EQ(caller.size(), QSize(720, 534));
            caller.setGeometry(QRect(QPoint(200 + 4, 100 + 30), QSize(720, 520)));
        }
    }
}

// A fitted dialog opens centred over the window it belongs to, as dialogs do,
// not in the corner of the screen; one that would reach past the screen's
// edge is still moved back inside.
TEST_F(ScreenSetupTest, FittedDialogOpensOverItsParentAndInsideTheScreen) {
    QWidget parent;
    parent.setGeometry(QRect(QPoint(500 + 4, 200 + 30), QSize(600, 400)));
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    for (const QPoint& parentAt : {QPoint(500, 200), QPoint(1366 - 300, 24 + 728 - 100)}) {
        parent.move(parentAt + QPoint(4, 30));
        QDialog dialog(&parent);
        dialog.resize(300, 200);
        ScreenFit::KeepFitted(&dialog);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QCoreApplication::processEvents();
        const QRect frame = ScreenFit::FrameRect(&dialog);
        EXPECT_TRUE(kDisplay.available.contains(frame)) << parentAt.x();
        if (parentAt.x() == 500) { // room all round: centred on the parent
            EXPECT_LE((frame.center() - ScreenFit::FrameRect(&parent).center()).manhattanLength(), 20)
                << frame.x() << "," << frame.y();
        }
        dialog.hide();
    }
}

TEST_F(ScreenSetupTest, ZeroOrNegativeWidthOrHeightLeavesGeometryButStillMaximises) {
    for (const char* size : {"Width=0\nHeight=300", "Width=300\nHeight=0", "Width=-300\nHeight=300"}) {
        folder.writeIni(QStringLiteral("[WindowPos]\nWindowShowCmd=3\nLeft=10\nTop=20\n") + QLatin1String(size));
        QWidget screen;
        screen.move(50, 60);
        screen.resize(320, 240);
        RestoreWindowPlacement(QStringLiteral("WindowPos"), &screen);
        EXPECT_EQ(screen.pos(), QPoint(50, 60)) << size;
        EXPECT_EQ(screen.size(), QSize(320, 240)) << size;
        EXPECT_TRUE(screen.windowState().testFlag(Qt::WindowMaximized)) << size;
    }
}

TEST_F(ScreenSetupTest, SavedPlacementRoundTripsAndMaximisedKeepsTheNormalPosition) {
    QWidget screen;
    screen.setGeometry(30 + 4, 40 + 30, 720, 520);
    SaveWindowPlacement(QStringLiteral("WindowPos"), &screen);
    EXPECT_EQ(AppSub::GetSectionInt(QStringLiteral("WindowPos"), QStringLiteral("WindowShowCmd"), 0), 1);
    EXPECT_EQ(AppSub::GetSectionInt(QStringLiteral("WindowPos"), QStringLiteral("Left"), 0), 30);
    EXPECT_EQ(AppSub::GetSectionInt(QStringLiteral("WindowPos"), QStringLiteral("Top"), 0), 40);

    QWidget maximised;
    maximised.move(1, 2);
    maximised.resize(100, 100);
    maximised.setWindowState(Qt::WindowMaximized);
    SaveWindowPlacement(QStringLiteral("WindowPos"), &maximised);
    EXPECT_EQ(AppSub::GetSectionInt(QStringLiteral("WindowPos"), QStringLiteral("WindowShowCmd"), 0), 3);
    EXPECT_EQ(AppSub::GetSectionInt(QStringLiteral("WindowPos"), QStringLiteral("Left"), 0), 30);

    QWidget restored;
    RestoreWindowPlacement(QStringLiteral("WindowPos"), &restored);
    EXPECT_EQ(ScreenFit::FrameRect(&restored), QRect(30, 40, 728, 554));
    EXPECT_TRUE(restored.windowState().testFlag(Qt::WindowMaximized));
}

TEST_F(ScreenSetupTest, SelectedItemDataNeedsAShownEnabledSelection) {
    QWidget window;
    QComboBox list(&window);
    EXPECT_EQ(SelectedItemData(&list, -1), -1);
    list.addItem(QStringLiteral("a"), 7);
    list.addItem(QStringLiteral("b"), 9);
    list.setCurrentIndex(1);
    EXPECT_EQ(SelectedItemData(&list, -1), 9);
    list.setEnabled(false);
    EXPECT_EQ(SelectedItemData(&list, -1), -1);
    list.setEnabled(true);
    list.hide();
    EXPECT_EQ(SelectedItemData(&list, -1), -1);
}

namespace {
QStandardItemModel* sampleList() {
    auto* m = new QStandardItemModel(2, 3);
    m->setHorizontalHeaderLabels({QStringLiteral("氏名"), QStringLiteral("a,b"), QStringLiteral("say \"hi\"")});
    const QStringList row0{QStringLiteral("山田　太郎"), QStringLiteral("1"), QString()};
    const QStringList row1{QStringLiteral("ｶﾅ"), QStringLiteral("x\"y"), QStringLiteral("3,5")};
    for (int c = 0; c < 3; ++c) {
        m->setItem(0, c, new QStandardItem(row0[c]));
        m->setItem(1, c, new QStandardItem(row1[c]));
    }
    return m;
}
} // namespace

TEST_F(ScreenSetupTest, SaveListAsCsvWritesCodePage932WithCrLf) {
    std::unique_ptr<QStandardItemModel> list(sampleList());
    FileDialogs::setNextFileName(folder.file(QStringLiteral("out"))); // the default extension is added
    ASSERT_TRUE(SaveListAsCsv(nullptr, *list));
    const QByteArray expected("\x8e\x81\x96\xbc,\"a,b\",\"say \"\"hi\"\"\"\r\n"
                              "\x8e\x52\x93\x63\x81\x40\x91\xbe\x98\x59,1,\r\n"
                              "\xb6\xc5,\"x\"\"y\",\"3,5\"\r\n");
    EXPECT_EQ(readFile(folder.file(QStringLiteral("out.csv"))), expected);
    EXPECT_TRUE(folder.notifier.entries.isEmpty());

    QString error;
    ASSERT_TRUE(WriteListCsv(folder.file(QStringLiteral("q.csv")), *list, true, &error));
    EXPECT_TRUE(readFile(folder.file(QStringLiteral("q.csv"))).startsWith("\"\x8e\x81\x96\xbc\",\"a,b\""));
}

TEST_F(ScreenSetupTest, SaveListAsCsvRefusesEmptyListsAndReportsFailures) {
    QStandardItemModel empty(0, 2);
    FileDialogs::setNextFileName(folder.file(QStringLiteral("never.csv")));
    EXPECT_FALSE(SaveListAsCsv(nullptr, empty));
    ASSERT_EQ(folder.notifier.texts(), QStringList{QStringLiteral("リストが空です。保存できるものはありません。")});
    EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(FileDialogs::answeredCount(), 0);
    FileDialogs::clearNextFileNames();

    std::unique_ptr<QStandardItemModel> list(sampleList());
    FileDialogs::setNextFileName(QString()); // cancelled
    EXPECT_FALSE(SaveListAsCsv(nullptr, *list));
    EXPECT_EQ(folder.notifier.entries.size(), 1);

    // The target is a folder: nothing is written, the failure is reported.
    QDir(folder.path()).mkdir(QStringLiteral("taken.csv"));
    FileDialogs::setNextFileName(folder.file(QStringLiteral("taken.csv")));
    EXPECT_FALSE(SaveListAsCsv(nullptr, *list));
    ASSERT_EQ(folder.notifier.entries.size(), 2);
    EXPECT_EQ(folder.notifier.entries[1].icon, MsgIcon::Stop);
    EXPECT_TRUE(folder.notifier.entries[1].text.contains(folder.file(QStringLiteral("taken.csv"))));
}
