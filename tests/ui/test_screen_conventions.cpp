// The habits every screen shares: Enter on a focused button presses it, and
// controls are named after the caption beside them for screen readers.
#include "AccessibleNames.h"
#include "IKCRitchEditCtrl.h"
#include "ScreenConventions.h"
#include "ScreenSetup.h"

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTreeWidget>
#include <QTest>
#include <gtest/gtest.h>

TEST(ScreenConventions, CaptionsLoseTheirMnemonicMarks) {
    const struct {
        const char* caption;
        const char* name;
    } cases[] = {
        {"フリガナ(&1)", "フリガナ"},
        {"ユーザー名リスト(&L)", "ユーザー名リスト"},
        {"&File", "File"},
        {"A && B", "A & B"},
        {"　〒（&3）：", "〒"},
        {"開始No.", "開始No."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScreenConventions::WithoutMnemonic(QString::fromUtf8(c.caption)), QString::fromUtf8(c.name))
            << c.caption;
}

// A screen placed by hand, as the task screens are: captions to the left of
// their fields, a caption above a field, a field with a buddy far away, one a
// screen named itself, and one with no caption near it.
TEST(ScreenConventions, ControlsAreNamedAfterTheCaptionBesideThem) {
    QDialog screen;
    ScreenSetup::SetUpScreen(&screen, QIcon());
    auto add = [&](QWidget* w, int x, int y, int width) {
        w->setParent(&screen);
        w->setGeometry(x, y, width, 24);
        return w;
    };
    add(new QLabel(QStringLiteral("氏名(&2)")), 120, 10, 60);
    add(new QLabel(QStringLiteral("名前")), 10, 10, 60);
    QWidget* name = add(new QLineEdit, 200, 10, 100); // the nearer caption on its row
    add(new QLabel(QStringLiteral("備考")), 200, 100, 60);
    QWidget* note = add(new QLineEdit, 200, 130, 100);
    auto* farLabel = static_cast<QLabel*>(add(new QLabel(QStringLiteral("住所(&4)")), 10, 200, 60));
    QWidget* address = add(new QLineEdit, 400, 400, 100);
    farLabel->setBuddy(address);
    QWidget* own = add(new QLineEdit, 10, 300, 100);
    own->setAccessibleName(QStringLiteral("独自"));
    QWidget* lonely = add(new QLineEdit, 600, 500, 100);
    screen.resize(800, 600);
    screen.show();
    QCoreApplication::processEvents();

    const struct {
        QWidget* control;
        QString name;
    } cases[] = {{name, QStringLiteral("氏名")},
                 {note, QStringLiteral("備考")},
                 {address, QStringLiteral("住所")},
                 {own, QStringLiteral("独自")},
                 {lonely, QString()}};
    for (const auto& c : cases)
        EXPECT_EQ(AccessibleName(c.control), c.name) << c.name.toStdString();
    EXPECT_EQ(BadlyNamedControls(&screen), QStringList{QStringLiteral("QLineEdit : ")});
}

TEST(ScreenConventions, EnterPressesTheFocusedButtonElsewhereTheDefaultOne) {
    QDialog screen;
    ScreenSetup::SetUpScreen(&screen, QIcon());
    auto* field = new QLineEdit(&screen);
    auto* ok = new QPushButton(QStringLiteral("OK"), &screen);
    ok->setDefault(true);
    auto* other = new QPushButton(QStringLiteral("別(&B)"), &screen);
    other->setAutoDefault(false);
    other->move(0, 40);
    ok->move(0, 80);
    int okPressed = 0, otherPressed = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++okPressed; });
    QObject::connect(other, &QPushButton::clicked, [&] { ++otherPressed; });
    screen.show();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));

    const struct {
        QWidget* focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool autoRepeat;
        int ok, other;
    } cases[] = {
        {other, Qt::Key_Return, Qt::NoModifier, false, 0, 1},
        {other, Qt::Key_Enter, Qt::KeypadModifier, false, 0, 2},
        {other, Qt::Key_Return, Qt::NoModifier, true, 0, 2}, // a held key presses once
        {other, Qt::Key_Return, Qt::ControlModifier, false, 0, 2},
        {field, Qt::Key_Return, Qt::NoModifier, false, 1, 2}, // the screen's default button
    };
    for (const auto& c : cases) {
        c.focus->setFocus();
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, QString(), c.autoRepeat);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
        EXPECT_EQ(okPressed, c.ok) << c.key << ' ' << c.autoRepeat;
        EXPECT_EQ(otherPressed, c.other) << c.key << ' ' << c.autoRepeat;
        screen.show();
        screen.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    }
    // A screen that keeps Enter for itself gets it, whatever has the focus.
    ScreenConventions::LeaveEnterToScreen(&screen);
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(otherPressed, 2);
}

// At a desktop scale of 150 % a scroll area's viewport, rounded to whole
// pixels, painted its ground over the frame's bottom and right lines: lists
// and text fields showed no border there. CTest runs this at that scale too.
// (Qt clips the top and left lines itself where a control's edge falls
// between device pixels, which is not checked.)
TEST(ScreenConventions, FramedListsAndFieldsKeepTheirBottomAndRightFrameLines) {
    QDialog screen;
    QTreeWidget list(&screen);
    CIKCRitchEditCtrl field(&screen);
    QScrollArea area(&screen);
    // Odd positions and sizes: their edges fall between device pixels at 150 %.
    list.setGeometry(11, 11, 201, 101);
    field.setGeometry(11, 131, 201, 23);
    area.setGeometry(11, 171, 201, 101);
    screen.resize(230, 290);
    screen.show();
    const QImage image = screen.grab().toImage();
    const double scale = image.devicePixelRatio();
    for (QAbstractScrollArea* framed : std::initializer_list<QAbstractScrollArea*>{&list, &field, &area}) {
        const QColor ground = framed->palette().color(framed->viewport()->backgroundRole());
        const QRect r = framed->geometry();
        const int right = int((r.right() + 1) * scale) - 1, bottom = int((r.bottom() + 1) * scale) - 1;
        const QPoint mid(int(r.center().x() * scale), int(r.center().y() * scale));
        // Each side's two outermost device pixels hold something darker than the ground.
        const struct {
            const char* side;
            QPoint edge, inward;
        } sides[] = {{"bottom", {mid.x(), bottom}, {0, -1}}, {"right", {right, mid.y()}, {-1, 0}}};
        for (const auto& s : sides) {
            const bool line = image.pixelColor(s.edge).lightness() < ground.lightness() - 20 ||
                              image.pixelColor(s.edge + s.inward).lightness() < ground.lightness() - 20;
            EXPECT_TRUE(line) << framed->metaObject()->className() << ' ' << s.side << " at scale " << scale;
        }
    }
}
