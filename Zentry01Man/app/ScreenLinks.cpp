#include "ScreenLinks.h"

#include "KaisekiDlg.h"
#include "LiveDlg.h"
#include "PrintDlg.h"
#include "RirekiDlg.h"
#include "UserHikakuDlg.h"
#include "Zentry01ManApp.h"

#include <QString>

void OpenPrintScreen(QWidget* menu) {
    CPrintDlg screen(menu);
    screen.exec();
}

void OpenExternalDataScreen(QWidget* menu) {
    CKaisekiDlg screen(menu);
    screen.exec();
}

void OpenLiveScreen(QWidget* menu) {
    CLiveDlg screen(theManApp().UserDb(), theManApp().MasterDb(), menu);
    screen.exec();
}

void OpenHistoryScreen(QWidget* selectScreen, int userCode, bool selectTrials, const QString& title) {
    CRirekiDlg history(theManApp().UserDb(), theManApp().MasterDb(), title, userCode, selectTrials, selectScreen);
    history.exec();
}

void OpenUserComparisonScreen(QWidget* selectScreen) {
    CUserHikakuDlg comparison(theManApp().UserDb(), selectScreen);
    comparison.exec();
}
