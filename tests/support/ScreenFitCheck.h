#pragma once
// Checks that a real screen fits a described display: the window with its
// frame inside the available area, every control shown inside the window and
// readable (a button wide enough for its caption), and no two buttons touching.
#include "ScreenFit.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

namespace screenfit {

struct Case {
    QSize available;
    double scale;
};

inline void PrintTo(const Case& c, std::ostream* os) {
    *os << c.available.width() << "x" << c.available.height() << "@" << c.scale;
}

// The available areas and DPI scales of the common displays.
inline std::vector<Case> CommonDisplays() {
    std::vector<Case> cases;
    for (QSize area : {QSize(1280, 720), QSize(1366, 728), QSize(1280, 984), QSize(1920, 1040)})
        for (double scale : {1.0, 1.25, 1.5})
            cases.push_back({area, scale});
    // 1366 × 768 at 150 % as Qt's own scaling presents it to the windows:
    // 910 × 512 pixels at 96 DPI, less the task bar.
    cases.push_back({QSize(910, 488), 1.0});
    return cases;
}

inline std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return std::to_string(info.param.available.width()) + "x" + std::to_string(info.param.available.height()) +
           "_" + std::to_string(int(info.param.scale * 100));
}

// A task bar at the top and a title bar like the common desktops'.
inline ScreenFit::Display DisplayFor(const Case& c) {
    return {QRect(QPoint(0, 24), c.available), c.scale, c.scale,
            QMargins(4, int(30 * c.scale), 4, 4)};
}

inline bool insideAnImageOrList(const QWidget* w, const QWidget* window) {
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (p->objectName() == QLatin1String("imagePanel") || qobject_cast<const QAbstractScrollArea*>(p))
            return true;
    return false;
}

// Shows the screen and checks it against the display; name says which screen failed.
inline void ExpectFits(QWidget* screen, const Case& c, const QString& name) {
    const ScreenFit::Display display = DisplayFor(c);
    screen->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(screen)) << name.toStdString();
    QApplication::processEvents();
    const std::string what = name.toStdString();
    const QRect frame = screen->geometry().marginsAdded(display.frame);
    EXPECT_TRUE(display.available.contains(frame))
        << what << ": window with frame " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
        << frame.height() << " outside the available area";
    EXPECT_GE(screen->width(), screen->minimumSizeHint().width()) << what;
    EXPECT_GE(screen->height(), screen->minimumSizeHint().height()) << what;

    QList<const QWidget*> buttons;
    for (const QWidget* w : screen->findChildren<QWidget*>()) {
        if (w->window() != screen || !w->isVisibleTo(screen) || insideAnImageOrList(w, screen))
            continue;
        const QRect r(w->mapTo(screen, QPoint(0, 0)), w->size());
        const std::string control = what + " / " + w->objectName().toStdString() + " (" + w->metaObject()->className() + ")";
        EXPECT_TRUE(screen->rect().contains(r)) << control << " at " << r.x() << "," << r.y() << " " << r.width()
                                                << "x" << r.height() << " outside the window " << screen->width()
                                                << "x" << screen->height();
        // A one-line text field holds its line: the text is not taller than the field.
        if (const auto* field = qobject_cast<const QTextEdit*>(w);
            field && field->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff && !field->document()->isEmpty()) {
            const QTextLayout* layout = field->document()->firstBlock().layout();
            if (layout && layout->lineCount() > 0) {
                EXPECT_LE(layout->lineAt(0).height(), field->viewport()->height())
                    << control << ": its text is taller than the field";
            }
        }
        if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
            QString caption = b->text();
            caption.remove(QLatin1Char('&'));
            EXPECT_LE(b->fontMetrics().horizontalAdvance(caption), b->width()) << control << " caption clipped";
            buttons << b;
        }
    }
    // Buttons stand apart: no two of them touch or overlap.
    for (int i = 0; i < buttons.size(); ++i)
        for (int j = i + 1; j < buttons.size(); ++j) {
            const QRect a(buttons[i]->mapTo(screen, QPoint(0, 0)), buttons[i]->size());
            const QRect b(buttons[j]->mapTo(screen, QPoint(0, 0)), buttons[j]->size());
            EXPECT_FALSE(a.adjusted(-1, -1, 1, 1).intersects(b))
                << what << ": " << buttons[i]->objectName().toStdString() << " touches "
                << buttons[j]->objectName().toStdString();
        }
    screen->hide();
}

// Where the label of a numbered caption ("　１．　アンケート入力") starts on the
// button as drawn: the first dark column after the number and the gap behind it.
inline int LabelStart(QWidget* button) {
    const QImage image = button->grab().toImage();
    std::vector<bool> dark(image.width(), false);
    for (int x = 0; x < image.width(); ++x)
        for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y)
            if (qGray(image.pixel(x, y)) < 100)
                dark[x] = true;
    int x = 0;
    while (x < image.width() && !dark[x])
        ++x;
    for (int gap = 0; x < image.width(); ++x) {
        gap = dark[x] ? 0 : gap + 1;
        if (gap >= 8)
            break;
    }
    while (x < image.width() && !dark[x])
        ++x;
    return x;
}

// Describes the display for the test's life; the screens are built after this.
class DisplayScope {
public:
    explicit DisplayScope(const Case& c) { ScreenFit::SetDisplay(DisplayFor(c)); }
    ~DisplayScope() { ScreenFit::SetDisplay(ScreenFit::Display{QRect(0, 0, 1920, 1040), 0, 0, {}}); }
};

} // namespace screenfit
