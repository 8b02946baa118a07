#pragma once
// The utility's menu: seven buttons under the banner, each opening its screen
// modally; "７．終了" closes the menu and so ends the program.
#include "LargeButtonScreen.h"

#include <functional>

class CZentry01ManDlg : public CLargeButtonScreen {
    Q_OBJECT
public:
    explicit CZentry01ManDlg(QWidget* parent = nullptr);

    // The window-menu item "ﾊﾞｰｼﾞｮﾝ情報(&A)...".
    void ShowAbout();

private:
    // Runs a screen; whatever it throws is shown and the menu stays open.
    void openScreen(const std::function<void()>& screen);
};
