#include "ScreenLinks.h"

#include "KaisekiDlg.h"
#include "PrintDlg.h"
#include "StringTable.h"

#include <QString>

void OpenPrintScreen(QWidget* menu) {
    CPrintDlg screen(menu);
    screen.exec();
}

void OpenExternalDataScreen(QWidget* menu) {
    CKaisekiDlg screen(menu);
    screen.exec();
}

void OpenHistoryScreen(QWidget*, int, bool, const QString& title) { ShowScreenNotAvailable(title); }

void OpenUserComparisonScreen(QWidget*) { ShowScreenNotAvailable(QStringLiteral("ユーザー比較")); }

void ShowScreenNotAvailable(const QString& screenName) {
    AppMessageBox(QStringLiteral("「%1」の画面は、このバージョンではまだ使用できません。").arg(screenName),
                  MsgIcon::Information);
}
