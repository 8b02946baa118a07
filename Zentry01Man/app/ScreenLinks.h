#pragma once
// Where the utility's screens open the screens of other areas: printing and
// external data from the menu, the trial history and the user comparison from
// the user selection. Each function is the one place that opens its screen.
class QString;
class QWidget;

// Menu "２．アンケートカードと顧客伝票の印刷".
void OpenPrintScreen(QWidget* menu);
// Menu "６．外部データの取り込み・取り出し".
void OpenExternalDataScreen(QWidget* menu);
// "実施状況", the trials running now: the menu's small button and Ctrl+L.
void OpenLiveScreen(QWidget* menu);
// The trial history of one user, opened from the user selection screen, which
// stays open underneath: selectTrials for choosing trials for the result
// output, else the plain list; title as the screen shows it.
void OpenHistoryScreen(QWidget* selectScreen, int userCode, bool selectTrials, const QString& title);
// "ユーザー比較" of the user selection screen.
void OpenUserComparisonScreen(QWidget* selectScreen);
