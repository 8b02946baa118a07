// The menu stays the program's main screen through every trial: the trial's
// screens hide it while they run, which must not end the program.
#include "Zentry01Dlg.h"

#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
QPushButton* button(QWidget& w, const char* name) { return w.findChild<QPushButton*>(QLatin1String(name)); }
} // namespace

TEST(MenuLoop, MenuComesBackAfterATrialThatHidItAndEndsOnlyOnEnd) {
    CZentry01Dlg menu;
    int trials = 0;
    bool visibleDuringTrial = true;
    menu.SetTrialRunner([&](int problemCode, QWidget* m) {
        EXPECT_EQ(problemCode, 2);
        ++trials;
        // What a trial's screens do: hide the menu, run modally, show it again.
        QDialog screen(m);
        m->hide();
        visibleDuringTrial = m->isVisible();
        QTimer::singleShot(0, &screen, &QDialog::accept);
        screen.exec();
        m->show();
    });
    // Pending steps are tied to the menu, so none outlives the test.
    std::function<void()> drive = [&] {
        if (!menu.isVisible()) {
            QTimer::singleShot(10, &menu, drive);
            return;
        }
        if (trials < 2) {
            button(menu, "task2Button")->click();
            QTimer::singleShot(10, &menu, drive);
        } else {
            button(menu, "endButton")->click();
        }
    };
    QTimer::singleShot(0, &menu, drive);
    menu.RunUntilEnded();
    EXPECT_EQ(trials, 2);
    EXPECT_FALSE(visibleDuringTrial);
    EXPECT_FALSE(menu.isVisible());
}
