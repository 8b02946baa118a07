// Test entry point for widget tests; run with QT_QPA_PLATFORM=offscreen.
#include "FontSubstitution.h"
#include "ScreenFit.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The forms' face names resolve as they do in the programs.
    installFontSubstitutions();
    // The offscreen screen is 800 × 600; screens are tested on a common desktop
    // unless a test describes another.
    ScreenFit::SetDisplay(ScreenFit::Display{QRect(0, 0, 1920, 1040), 0, 0, {}});
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
