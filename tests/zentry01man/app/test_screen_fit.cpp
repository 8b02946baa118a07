// Every screen of the utility fits the common displays: the window with its
// frame inside the available area, every control inside the window, no caption
// clipped, no buttons touching. Each display is one case; every screen (and
// each mode a screen has) is built and measured in it.
#include "AboutDlg.h"
#include "AddUserDlg.h"
#include "AddUserEditDlg.h"
#include "KaisekiDlg.h"
#include "LiveDlg.h"
#include "LiveTrials.h"
#include "MstDataDlg.h"
#include "OutDetailDlg.h"
#include "OutGraphDlg.h"
#include "OutMainDlg.h"
#include "OutResultList.h"
#include "PrintDlg.h"
#include "PrintingDlg.h"
#include "ResultDetailDlg.h"
#include "ResultOutputFixture.h"
#include "RirekiDlg.h"
#include "ScreenFitCheck.h"
#include "SettingDlg.h"
#include "UserHikakuDlg.h"
#include "UserSelectDlg.h"
#include "UtilityResources.h"
#include "Zentry01ManDlg.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

using namespace utility;
using screenfit::Case;
using screenfit::ExpectFits;

namespace {

class ScreenFitTest : public ResultOutputTest, public ::testing::WithParamInterface<Case> {};

TEST_P(ScreenFitTest, MenuUsersSettingsPrintingExchange) {
    screenfit::DisplayScope display(GetParam());
    const Case c = GetParam();
    CZentry01ManDlg menu;
    ExpectFits(&menu, c, QStringLiteral("menu"));
    CAboutDlg about(QStringLiteral("指導者用ユーティリティ Version 3.0"), QString(), UtilityIcon());
    ExpectFits(&about, c, QStringLiteral("about"));
    for (auto mode : {CUserSelectDlg::AnalysisOutput, CUserSelectDlg::HistoryReference}) {
        CUserSelectDlg select(app->UserDb(), QStringLiteral("解析結果の出力 [ユーザー名選択]"), mode);
        ExpectFits(&select, c, QStringLiteral("user selection"));
    }
    CAddUserDlg registry(app->UserDb());
    ExpectFits(&registry, c, QStringLiteral("registry"));
    CAddUserEditDlg add(app->UserDb(), 0);
    ExpectFits(&add, c, QStringLiteral("registry, new user"));
    CAddUserEditDlg edit(app->UserDb(), 1);
    ExpectFits(&edit, c, QStringLiteral("registry, edit"));
    CSettingDlg settings(*app);
    ExpectFits(&settings, c, QStringLiteral("conditions"));
    CMstDataDlg master(*app);
    ExpectFits(&master, c, QStringLiteral("master data"));
    CPrintDlg print;
    ExpectFits(&print, c, QStringLiteral("print"));
    print.findChild<QAbstractButton*>(QStringLiteral("rangeSpecified"))->click();
    ExpectFits(&print, c, QStringLiteral("print, range"));
    CPrintingDlg printing(1, 1, 1, 0, 0);
    ExpectFits(&printing, c, QStringLiteral("printing"));
    CKaisekiDlg exchange;
    ExpectFits(&exchange, c, QStringLiteral("export and import"));
}

TEST_P(ScreenFitTest, HistoryAndResultScreens) {
    screenfit::DisplayScope display(GetParam());
    const Case c = GetParam();
    for (int id = 1; id <= 6; ++id)
        addTrial({.id = id, .task = 2, .course = 1, .wrong = {1}});
    addTrial({.id = 20, .task = 1, .course = 2, .wrong = {0}});
    for (bool selection : {true, false}) {
        CRirekiDlg history(app->UserDb(), app->MasterDb(), QStringLiteral("解析結果の出力 [試行履歴の選択]"), 1,
                           selection);
        ExpectFits(&history, c, QStringLiteral("history, selection %1").arg(selection));
    }
    COutSelection chosen{1, {2, 1, 1, 1}, {1, 2, 3}, {1, 2, 3}};
    COutMainDlg basic(app->UserDb(), app->MasterDb(), chosen);
    ExpectFits(&basic, c, QStringLiteral("basic result"));
    COutDetailDlg errors(app->UserDb(), app->MasterDb(), chosen, 0);
    ExpectFits(&errors, c, QStringLiteral("error list"));
    COutGraphDlg graph(app->UserDb(), app->MasterDb(), chosen, 0);
    ExpectFits(&graph, c, QStringLiteral("graph"));
    {
        // The selection line beside the course list wraps only where the row cannot hold it.
        graph.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&graph));
        const auto* title = graph.findChild<QLabel*>(QStringLiteral("titleLine"));
        const auto* course = graph.findChild<QComboBox*>(QStringLiteral("courseList"));
        const QFontMetrics metrics = title->fontMetrics();
        const int room = course->x() - title->x() - metrics.horizontalAdvance(QStringLiteral("コース")) - 24;
        if (title->heightForWidth(title->width()) >= 2 * metrics.lineSpacing()) { // wrapped
            EXPECT_GT(metrics.horizontalAdvance(title->text()), room)
                << "graph: selection line wrapped in a row with room";
        }
        graph.hide();
    }
    COutResultList cards(app->UserDb(), app->MasterDb(), {1, {2, 1, 1, 1}, {2}, {2}});
    ExpectFits(&cards, c, QStringLiteral("card list"));
    std::unique_ptr<CArrBase> vouchers = MakeDeckForTask(2);
    vouchers->Load(app->MasterDb(), 1);
    vouchers->RestoreFromInputFile(TrialInputFile({.id = 2, .task = 2}));
    CResultDetailDlg compare(*vouchers, 1, 2, CResultDetailDlg::Utility, nullptr);
    ExpectFits(&compare, c, QStringLiteral("answer comparison"));
    CUserHikakuDlg users(app->UserDb());
    ExpectFits(&users, c, QStringLiteral("user comparison"));
    // The live view with a trial in each state: running, ended, aborted, silent.
    const struct {
        int id;
        LiveTrials::State end;
        int reportedAgo;
    } live[] = {{1, LiveTrials::State::Running, 0},
                {2, LiveTrials::State::Finished, 0},
                {20, LiveTrials::State::Aborted, 0},
                {3, LiveTrials::State::Running, 3600}};
    ASSERT_TRUE(RunWriteTransaction(app->UserDb(), [&] {
        for (const auto& t : live) {
            const QDateTime at = clock.now().addSecs(-t.reportedAgo);
            LiveTrials::WriteStart(app->UserDb(), t.id, 1800, at);
            if (t.end != LiveTrials::State::Running)
                LiveTrials::WriteEnd(app->UserDb(), t.id, 5, 600, t.end, at);
        }
    }));
    CLiveDlg liveView(app->UserDb(), app->MasterDb());
    ASSERT_EQ(liveView.List()->topLevelItemCount(), 4);
    ExpectFits(&liveView, c, QStringLiteral("live view"));
}

class RegistryLayout : public UtilityTest {};

// A wider registry window widens the list; the button column keeps its width.
TEST_F(RegistryLayout, TheListNotTheButtonColumnTakesWhatTheWindowGains) {
    CAddUserDlg registry(app->UserDb());
    registry.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&registry));
    auto* button = registry.findChild<QPushButton*>(QStringLiteral("newButton"));
    auto* list = registry.findChild<QTreeWidget*>();
    const int buttonWidth = button->width();
    const int listWidth = list->width();
    registry.resize(registry.width() + 300, registry.height() + 100);
    QApplication::processEvents();
    EXPECT_EQ(button->width(), buttonWidth);
    EXPECT_EQ(list->width(), listWidth + 300);
}

INSTANTIATE_TEST_SUITE_P(CommonDisplays, ScreenFitTest, ::testing::ValuesIn(screenfit::CommonDisplays()),
                         screenfit::CaseName);

} // namespace
