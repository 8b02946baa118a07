#include "ScreenLinks.h"

#include "StringTable.h"

#include <QString>

void OpenPrintScreen(QWidget*) { ShowScreenNotAvailable(QStringLiteral("アンケートカードと顧客伝票の印刷")); }

void OpenExternalDataScreen(QWidget*) { ShowScreenNotAvailable(QStringLiteral("外部データの取り込み・取り出し")); }

void OpenHistoryScreen(QWidget*, int, bool, const QString& title) { ShowScreenNotAvailable(title); }

void OpenUserComparisonScreen(QWidget*) { ShowScreenNotAvailable(QStringLiteral("ユーザー比較")); }

void ShowScreenNotAvailable(const QString& screenName) {
    AppMessageBox(QStringLiteral("「%1」の画面は、このバージョンではまだ使用できません。").arg(screenName),
                  MsgIcon::Information);
}
