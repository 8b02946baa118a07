#include "Zentry01ManDlg.h"

#include "AboutDlg.h"
#include "AddUserDlg.h"
#include "Guarded.h"
#include "MstDataDlg.h"
#include "ScreenLinks.h"
#include "ScreenSetup.h"
#include "SettingDlg.h"
#include "StringTable.h"
#include "UserSelectDlg.h"
#include "UtilityResources.h"
#include "WaitCursor.h"
#include "Zentry01ManApp.h"
#include "Zentry01ManStrings.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Seven buttons must fit under the banner on 800 × 600.
CLargeButtonScreen::ButtonStyle menuButtons() {
    CLargeButtonScreen::ButtonStyle style;
    style.width = 520;
    style.height = 46;
    style.gap = 10;
    style.points = 14;
    return style;
}
} // namespace

CZentry01ManDlg::CZentry01ManDlg(QWidget* parent)
    : CLargeButtonScreen(QStringLiteral("メニュー"), menuButtons(), parent) {
    CWaitCursor wait;
    setObjectName(QStringLiteral("menuScreen"));
    struct Entry {
        const char* name;
        QString text;
        std::function<void()> open;
    };
    const Entry entries[] = {
        {"analysisButton", QStringLiteral("  １．解析結果の出力(&1)"),
         [this] {
             CUserSelectDlg select(theManApp().UserDb(), QStringLiteral("解析結果の出力 [ユーザー名選択]"),
                                   CUserSelectDlg::AnalysisOutput, this);
             select.exec();
         }},
        {"printButton", QStringLiteral("  ２．アンケートカードと顧客伝票の印刷(&2)"), [this] { OpenPrintScreen(this); }},
        {"registryButton", QStringLiteral("  ３．ユーザー名の登録・編集・削除(&3)"),
         [this] {
             CAddUserDlg registry(theManApp().UserDb(), this);
             registry.exec();
         }},
        {"settingsButton", QStringLiteral("  ４．試行条件の設定(&4)"),
         [this] {
             CSettingDlg settings(theManApp(), this);
             settings.exec();
         }},
        {"masterButton", QStringLiteral("  ５．マスターデータ管理(&5)"),
         [this] {
             CMstDataDlg master(theManApp(), this);
             master.exec();
         }},
        {"externalButton", QStringLiteral("  ６．外部データの取り込み・取り出し(&6)"),
         [this] { OpenExternalDataScreen(this); }},
    };
    for (const Entry& e : entries) {
        QPushButton* b = addButton(e.text, QLatin1String(e.name));
        const std::function<void()> open = e.open;
        connect(b, &QPushButton::clicked, this, [this, open] { openScreen(open); });
    }
    QPushButton* end = addButton(QStringLiteral("  ７．終了(&7)"), QStringLiteral("endButton"));
    connect(end, &QPushButton::clicked, this, &QDialog::reject);
    finishSetUp(UtilityIcon());

    // The live view sits apart from the seven numbered buttons, at the bottom
    // right, so their order, digits and Esc stay as they are.
    // A tool button, not one more of the menu's push buttons.
    auto* live = new QToolButton(this);
    live->setText(QStringLiteral("実施状況(&L)..."));
    live->setObjectName(QStringLiteral("liveButton"));
    live->setToolTip(QStringLiteral("実施中の試行の一覧 (Ctrl+L)"));
    connect(live, &QToolButton::clicked, this, [this] { openScreen([this] { OpenLiveScreen(this); }); });
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(shortcut, &QShortcut::activated, live, &QToolButton::click);
    if (auto* outer = qobject_cast<QVBoxLayout*>(layout())) {
        auto* row = new QHBoxLayout;
        row->setContentsMargins(0, 0, ScreenSetup::ScaleX(this, 12), ScreenSetup::ScaleY(this, 10));
        row->addStretch(1);
        row->addWidget(live);
        outer->addLayout(row);
    }
    setVersionItem(StringTable::text(Zentry01ManStrings::VersionMenuItem), [this] { ShowAbout(); });
}

void CZentry01ManDlg::openScreen(const std::function<void()>& screen) { Guarded(screen); }

void CZentry01ManDlg::ShowAbout() {
    openScreen([this] {
        CAboutDlg about(QStringLiteral("指導者用ユーティリティ Version 3.0"), QString(), UtilityIcon(), this);
        about.exec();
    });
}
