// Font and string helpers, the coloured label, the tab pages, and the face
// names of the forms resolving to an installed Japanese font.
#include "FontSubstitution.h"
#include "ICFont.h"
#include "ICStatic.h"
#include "ICString.h"
#include "ICTabCtrl.h"
#include "StringTable.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

TEST(Controls, FontFromTenthsOfAPoint) {
    CICFont font(105, QStringLiteral("ＭＳ ゴシック"), true);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 10.5);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_EQ(font.FaceName(), QStringLiteral("ＭＳ ゴシック"));
    font.Create(80, QString(40, 'x'), false, true, true, true);
    EXPECT_EQ(font.PointTenths(), 80);
    EXPECT_EQ(font.FaceName(), QString(31, 'x'));
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_TRUE(font.strikeOut());
}

TEST(Controls, StringCountsADoubleByteCharacterOnce) {
    const CICString s(QStringLiteral("aｱア漢"));
    EXPECT_EQ(s.CharCount(), 4);
    EXPECT_EQ(s.ByteLength(), 6);
    EXPECT_EQ(CICString().CharCount(), 0);
    EXPECT_EQ(CICString(QString()).ByteLength(), 0);
}

TEST(Controls, StaticColoursAndTextFromTheTable) {
    StringTable::clear();
    StringTable::add(108, QStringLiteral("郵便番号が見つかりません。"));
    CICStatic label;
    label.Attach(QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(CICControlBase::Tag(&label), 1);
    EXPECT_EQ(label.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    label.SetTextId(108);
    EXPECT_EQ(label.text(), QStringLiteral("郵便番号が見つかりません。"));
    label.SetTextId(999);
    EXPECT_EQ(label.text(), QString());

    label.setText(QStringLiteral("顧客コード(&1)"));
    label.resize(120, 30);
    EXPECT_EQ(label.BackgroundColour(), label.palette().color(QPalette::Button));
    label.SetColours(QColor(255, 0, 0), QColor(0, 255, 0));
    const QImage image = label.grab().toImage();
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0, 255, 0));
    bool red = false;
    for (int y = 0; y < image.height() && !red; ++y)
        for (int x = 0; x < image.width() && !red; ++x)
            red = image.pixelColor(x, y).red() > 200 && image.pixelColor(x, y).green() < 80;
    EXPECT_TRUE(red);
    label.ResetColours();
    EXPECT_EQ(label.grab().toImage().pixelColor(1, 1), label.palette().color(QPalette::Button));
    StringTable::clear();
}

TEST(Controls, TabPagesShowOnlyTheirOwnControls) {
    QWidget screen;
    auto* tabs = new CICTabCtrl(&screen);
    tabs->addTab(QStringLiteral("一"));
    tabs->addTab(QStringLiteral("二"));
    auto* a = new QLineEdit(&screen);
    auto* b = new QLineEdit(&screen);
    auto* c = new QLineEdit(&screen);
    tabs->Add(0, a);
    tabs->Add(1, b, true);
    tabs->Add(1, c);
    tabs->Add(2, c); // no such page
    EXPECT_EQ(CICControlBase::Tag(tabs), 16);
    screen.show();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));

    tabs->Select(0);
    EXPECT_TRUE(a->isVisible() && a->isEnabled());
    EXPECT_FALSE(b->isVisible() || b->isEnabled());
    EXPECT_FALSE(c->isVisible());
    tabs->Select(1);
    EXPECT_FALSE(a->isVisible() || a->isEnabled());
    EXPECT_TRUE(b->isVisible() && c->isVisible() && c->isEnabled());
    EXPECT_TRUE(b->hasFocus());
    // A click on a tab (the user) switches the same way.
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(a->isVisible());
    EXPECT_FALSE(c->isVisible());
}

TEST(Controls, FormFaceNamesResolveToIpaGothic) {
    installFontSubstitutions();
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ Ｐゴシック"))).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ ゴシック"))).family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("MS PGothic"))).family(), QStringLiteral("IPAPGothic"));
}
