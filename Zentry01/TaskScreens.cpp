#include "TaskScreens.h"

namespace TaskScreens {
int Run(int problemCode, CKaisekiFile& result, QWidget* menu) {
    // The task screens plug in here: 1 CHagakiDlg, 2 CDenpyoDlg, 3 CDenMissDlg,
    // each constructed with result and menu and run with exec().
    (void)problemCode;
    (void)result;
    (void)menu;
    return kNoScreen;
}
} // namespace TaskScreens
