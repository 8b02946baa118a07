// A tour of the utility's screens, saved as pictures for people to look at
// (scripts/screenshots-zentry01man.sh). Not part of the test run: it is
// disabled and only runs when asked for with the folder to write to in
// ZENTRY_SCREENSHOT_DIR. Each screen adds its pictures here.
#include "AboutDlg.h"
#include "AddUserDlg.h"
#include "AddUserEditDlg.h"
#include "KaisekiDlg.h"
#include "MstDataDlg.h"
#include "PrintDlg.h"
#include "PrintingDlg.h"
#include "SettingDlg.h"
#include "UserSelectDlg.h"
#include "UtilityFixture.h"
#include "UtilityResources.h"
#include "Zentry01ManDlg.h"

#include "AppSub.h"

#include <QAbstractButton>
#include <QDir>

using namespace utility;

namespace {

class ScreenshotTour : public UtilityTest {
protected:
    void SetUp() override {
        UtilityTest::SetUp();
        outDir = qEnvironmentVariable("ZENTRY_SCREENSHOT_DIR");
        ASSERT_FALSE(outDir.isEmpty()) << "set ZENTRY_SCREENSHOT_DIR";
        QDir().mkpath(outDir);
        addUser(1, QStringLiteral("ヤマダ"), QStringLiteral("タロウ"), QStringLiteral("山田"), QStringLiteral("太郎"));
        addUser(2, QStringLiteral("スズキ"), QStringLiteral("ハナコ"), QStringLiteral("鈴木"), QStringLiteral("花子"));
        addUser(3, QStringLiteral("アオキ"), QStringLiteral("ケンイチロウ"), QStringLiteral("青木"),
                QStringLiteral("健一郎"));
    }
    void save(QWidget* screen, const QString& name) {
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen));
        QTest::qWait(100);
        EXPECT_TRUE(screen->grab().save(outDir + '/' + name + QStringLiteral(".png"))) << name.toStdString();
        screen->hide();
    }

    QString outDir;
};

TEST_F(ScreenshotTour, DISABLED_EveryUtilityScreen) {
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

} // namespace
