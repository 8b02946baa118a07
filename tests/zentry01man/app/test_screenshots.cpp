// A tour of the utility's screens, saved as pictures for people to look at
// (scripts/screenshots-zentry01man.sh). Not part of the test run: it is
// disabled and only runs when asked for with the folder to write to in
// ZENTRY_SCREENSHOT_DIR. Each screen adds its pictures here. The same tour,
// without pictures, checks that a screen reader can name every control of
// every screen.
#include "AboutDlg.h"
#include "AccessibleNames.h"
#include "AddUserDlg.h"
#include "AddUserEditDlg.h"
#include "ICListCtrl.h"
#include "ICTabCtrl.h"
#include "KaisekiDlg.h"
#include "MstDataDlg.h"
#include "OutDetailDlg.h"
#include "OutGraphDlg.h"
#include "OutMainDlg.h"
#include "OutResultList.h"
#include "PrintDialogs.h"
#include "PrintDlg.h"
#include "PrintingDlg.h"
#include "ResultDetailDlg.h"
#include "ResultOutputFixture.h"
#include "RirekiDlg.h"
#include "SettingDlg.h"
#include "UserHikakuDlg.h"
#include "UserSelectDlg.h"
#include "UtilityFixture.h"
#include "UtilityResources.h"
#include "Zentry01ManDlg.h"

#include "AppSub.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>

using namespace utility;

namespace {

class ScreenshotTour : public UtilityTest {
protected:
    void SetUp() override {
        UtilityTest::SetUp();
        if (!checkNames) {
            outDir = qEnvironmentVariable("ZENTRY_SCREENSHOT_DIR");
            ASSERT_FALSE(outDir.isEmpty()) << "set ZENTRY_SCREENSHOT_DIR";
            QDir().mkpath(outDir);
        }
        addUser(1, QStringLiteral("ヤマダ"), QStringLiteral("タロウ"), QStringLiteral("山田"), QStringLiteral("太郎"));
        addUser(2, QStringLiteral("スズキ"), QStringLiteral("ハナコ"), QStringLiteral("鈴木"), QStringLiteral("花子"));
        addUser(3, QStringLiteral("アオキ"), QStringLiteral("ケンイチロウ"), QStringLiteral("青木"),
                QStringLiteral("健一郎"));
    }
    void save(QWidget* screen, const QString& name) {
        if (checkNames) {
            screen->show();
            QCoreApplication::processEvents(); // controls placed once shown
            EXPECT_EQ(BadlyNamedControls(screen), QStringList()) << name.toStdString();
            screen->hide();
            return;
        }
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen));
        QTest::qWait(100);
        EXPECT_TRUE(screen->grab().save(outDir + '/' + name + QStringLiteral(".png"))) << name.toStdString();
        screen->hide();
    }

    // Chooses the task of a screen's "課題" list as a user does.
    static void chooseTask(QWidget* screen, int index) {
        auto* tasks = screen->findChild<QComboBox*>(QStringLiteral("taskList"));
        tasks->setCurrentIndex(index);
        emit tasks->activated(index);
    }

    void everyUtilityScreen();
    void historyAndResultOutput();

    bool checkNames = false;
    QString outDir;
};

class NamedControls : public ScreenshotTour {
protected:
    NamedControls() { checkNames = true; }
};

TEST_F(ScreenshotTour, DISABLED_EveryUtilityScreen) {
    everyUtilityScreen();
}
TEST_F(NamedControls, EveryUtilityScreen) {
    everyUtilityScreen();
}
TEST_F(ScreenshotTour, DISABLED_HistoryAndResultOutput) {
    historyAndResultOutput();
}
TEST_F(NamedControls, HistoryAndResultOutput) {
    historyAndResultOutput();
}

void ScreenshotTour::everyUtilityScreen() {
    {
        CZentry01ManDlg menu;
        save(&menu, QStringLiteral("01_menu"));
        CAboutDlg about(QStringLiteral("指導者用ユーティリティ Version 3.0"), QString(), UtilityIcon());
        save(&about, QStringLiteral("02_about"));
    }
    {
        CUserSelectDlg select(app->UserDb(), QStringLiteral("解析結果の出力 [ユーザー名選択]"),
                              CUserSelectDlg::AnalysisOutput);
        save(&select, QStringLiteral("03_user_selection"));
    }
    {
        CAddUserDlg registry(app->UserDb());
        save(&registry, QStringLiteral("04_registry"));
        CAddUserEditDlg edit(app->UserDb(), 3);
        save(&edit, QStringLiteral("05_registry_edit"));
    }
    {
        CSettingDlg settings(*app);
        save(&settings, QStringLiteral("06_settings"));
        CMstDataDlg master(*app);
        save(&master, QStringLiteral("07_master_data"));
    }
    {
        CPrintDlg print;
        save(&print, QStringLiteral("20_print"));
        print.findChild<QAbstractButton*>(QStringLiteral("rangeSpecified"))->click();
        save(&print, QStringLiteral("21_print_range"));
        CPrintingDlg printing(1, 1, 1, 0, 0);
        save(&printing, QStringLiteral("22_printing"));
    }
    {
        AppSub::WriteProfileString(QStringLiteral("Ver2InstallPath"), QStringLiteral("/media/backup/Quillon01Ver2"));
        AppSub::WriteProfileString(QStringLiteral("ExportPath"), QStringLiteral("/home/instructor/移行データ"));
        CKaisekiDlg external;
        save(&external, QStringLiteral("23_external_data"));
    }
}

void ScreenshotTour::historyAndResultOutput() {
    // Voucher trials of user 1 over a few weeks, a level-up one and an aborted one.
    for (int id = 1; id <= 12; ++id)
        AddTrial(app->UserDb(), app->MasterDb(),
                 {.id = id, .task = 2, .course = id % 4 == 0 ? 3 : 1, .cards = 14 + id % 5 * 3,
                  .wrong = {1, id % 7 + 2, 9}, .withFile = id != 5, .aborted = id == 11});
    for (int id = 20; id <= 23; ++id)
        AddTrial(app->UserDb(), app->MasterDb(), {.id = id, .task = 1, .course = 2, .wrong = {0, 3}});
    {
        CRirekiDlg select(app->UserDb(), app->MasterDb(), QStringLiteral("解析結果の出力 [試行履歴の選択]"), 1, true);
        chooseTask(&select, 1);
        save(&select, QStringLiteral("30_history_selection"));
        CRirekiDlg list(app->UserDb(), app->MasterDb(), QStringLiteral("解析結果の出力 [試行履歴の一覧]"), 1, false);
        chooseTask(&list, 1);
        save(&list, QStringLiteral("31_history_list"));
    }
    COutSelection chosen{1, {2, 2, 1, 1}, {}, {}};
    for (int id = 1; id <= 10; ++id) {
        chosen.autoNumbers.Add(id);
        chosen.positions.Add(id);
    }
    {
        COutMainDlg basic(app->UserDb(), app->MasterDb(), chosen);
        for (int tab = 0; tab < 3; ++tab) {
            basic.Tabs()->Select(tab);
            save(&basic, QStringLiteral("32_basic_tab%1").arg(tab + 1));
        }
        COutSelection converted = chosen;
        converted.filter.trialTime = 5;
        COutMainDlg basic60(app->UserDb(), app->MasterDb(), converted);
        save(&basic60, QStringLiteral("33_basic_60"));
    }
    {
        COutDetailDlg errors(app->UserDb(), app->MasterDb(), chosen, 0);
        save(&errors, QStringLiteral("34_error_list"));
        COutGraphDlg graph(app->UserDb(), app->MasterDb(), chosen, 0);
        save(&graph, QStringLiteral("35_graph"));
        // The printed page, to look at with a PDF viewer or pdftoppm.
        if (!checkNames) {
            PrintDialogs::setNextAnswer(outDir + QStringLiteral("/35_graph_printed.pdf"));
            graph.findChild<QPushButton*>(QStringLiteral("printButton"))->click();
        }
    }
    {
        COutResultList cards(app->UserDb(), app->MasterDb(), {1, {2, 2, 1, 1}, {2}, {2}});
        save(&cards, QStringLiteral("36_card_list"));
        COutResultList basicCards(app->UserDb(), app->MasterDb(), {1, {1, 2, 2, 1}, {21}, {2}});
        save(&basicCards, QStringLiteral("37_card_list_basic"));
    }
    {
        std::unique_ptr<CArrBase> vouchers = MakeDeckForTask(2);
        vouchers->Load(app->MasterDb(), 1);
        vouchers->RestoreFromInputFile(TrialInputFile({.id = 2, .task = 2}));
        CResultDetailDlg voucher(*vouchers, 1, 2, CResultDetailDlg::Utility, nullptr);
        save(&voucher, QStringLiteral("38_compare_voucher"));
        std::unique_ptr<CArrBase> cards = MakeDeckForTask(1);
        cards->Load(app->MasterDb(), 2);
        cards->RestoreFromInputFile(TrialInputFile({.id = 20, .task = 1}));
        CResultDetailDlg card(*cards, 0, 1, CResultDetailDlg::Utility, nullptr);
        save(&card, QStringLiteral("39_compare_questionnaire"));
    }
    {
        for (int user = 2; user <= 3; ++user)
            for (int n = 0; n < 3; ++n)
                AddTestHistory(app->UserDb(), 100 + user * 10 + n, [&](CRsHistory_tbl& r) {
                    r.m_user_code = user;
                    r.m_problem_code = QStringLiteral("2");
                    r.m_answer_number60 = 30 + user * 5 + n * 3;
                    r.m_correct_rate60 = 80 + user * 3 - n;
                });
        CUserHikakuDlg compare(app->UserDb());
        chooseTask(&compare, 1);
        save(&compare, QStringLiteral("40_user_compare"));
    }
}

} // namespace
