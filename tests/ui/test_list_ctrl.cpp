// The owner-drawn report list: highlight markers, ellipsis, link cells and cursor,
// selection colours, check boxes, and rows with their data.
#include "ICListCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {
QString joined(const QList<CICListCtrl::TextPiece>& pieces) {
    QString out;
    for (const auto& p : pieces)
        out += p.text;
    return out;
}

int countPixels(const QImage& image, const QRect& area, const QColor& colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

struct ShownList {
    ShownList() {
        auto* layout = new QVBoxLayout(&window);
        other = new QLineEdit(&window);
        list = new CICListCtrl(&window);
        layout->addWidget(other);
        layout->addWidget(list);
        list->SetUp(true, QString(), 5);
        list->InsertColumn(0, QStringLiteral("氏名"), 120);
        list->InsertColumn(1, QStringLiteral("リンク"), 120);
        for (int i = 0; i < 40; ++i) {
            const int row = list->InsertItem(i, QStringLiteral("行%1").arg(i), 100 + i);
            list->SetItemText(row, 1, i == 3 ? QString() : QStringLiteral("■■■■"));
        }
        list->SetLinkColumns({1});
        window.resize(300, 300);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QRect cellRect(int row, int column) const {
        return list->visualRect(list->model()->index(row, column));
    }
    QWidget window;
    QLineEdit* other;
    CICListCtrl* list;
};
} // namespace

TEST(ListCtrl, MarkersSwitchToTheHighlightFontAndAreNotDrawn) {
    QFont normal;
    normal.setPixelSize(12);
    QFont bold = normal;
    bold.setWeight(QFont::Bold);
    const auto pieces = CICListCtrl::LayOutCellText(QStringLiteral("a<H8>bc</H8>d"), normal, bold, 2, 1000);
    ASSERT_EQ(pieces.size(), 4);
    EXPECT_EQ(joined(pieces), QStringLiteral("abcd"));
    EXPECT_FALSE(pieces[0].highlight);
    EXPECT_TRUE(pieces[1].highlight);
    EXPECT_TRUE(pieces[2].highlight);
    EXPECT_FALSE(pieces[3].highlight);
    EXPECT_EQ(pieces[0].x, 2);
    EXPECT_EQ(pieces[2].x, 2 + QFontMetrics(normal).horizontalAdvance('a') + QFontMetrics(bold).horizontalAdvance('b'));
}

TEST(ListCtrl, TextThatDoesNotFitEndsInTheEllipsisAndNothingAfterIt) {
    QFont font;
    font.setPixelSize(12);
    const QFontMetrics fm(font);
    const QString text = QStringLiteral("ABCDEFGHIJ");
    // Room for exactly "ABCD" and "...": reaching the edge already ends the cell before "D".
    int right = 2 + fm.horizontalAdvance(QStringLiteral("..."));
    for (QChar c : QStringLiteral("ABCD"))
        right += fm.horizontalAdvance(c);
    const auto pieces = CICListCtrl::LayOutCellText(text, font, font, 2, right);
    ASSERT_FALSE(pieces.isEmpty());
    EXPECT_EQ(pieces.last().text, QStringLiteral("...     "));
    EXPECT_EQ(joined(pieces), QStringLiteral("ABC...     "));

    const auto fits = CICListCtrl::LayOutCellText(text, font, font, 2, 2000);
    EXPECT_EQ(joined(fits), text);
    EXPECT_TRUE(CICListCtrl::LayOutCellText(QString(), font, font, 0, 10).isEmpty());
}

TEST(ListCtrl, TextThatFitsKeepsToItsAlignment) {
    QFont font;
    const QString text = QStringLiteral("12枚");
    const int width = QFontMetrics(font).horizontalAdvance(text);
    const struct {
        Qt::Alignment alignment;
        int x;
    } cases[] = {{Qt::AlignLeft, 2}, {Qt::AlignRight, 200 - 2 - width}, {Qt::AlignHCenter, 2 + (200 - 4 - width) / 2}};
    for (const auto& c : cases) {
        const auto pieces = CICListCtrl::LayOutCellText(text, font, font, 2, 200, c.alignment);
        ASSERT_EQ(joined(pieces), text);
        EXPECT_NEAR(pieces.first().x, c.x, 1) << int(c.alignment); // advances summed per character
    }
    // Cut text starts at the left whatever the alignment.
    EXPECT_EQ(CICListCtrl::LayOutCellText(QStringLiteral("ABCDEFGHIJKLMNOP"), font, font, 2, 40, Qt::AlignRight)
                  .first()
                  .x,
              2);
}

TEST(ListCtrl, RowsColumnsDataAndSelection) {
    CICListCtrl list;
    list.SetUp(false, QStringLiteral("ＭＳ Ｐゴシック"), 7);
    EXPECT_EQ(CICControlBase::Tag(&list), 7);
    EXPECT_EQ(list.ListFont().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    list.InsertColumn(0, QStringLiteral("b"), 50);
    list.InsertColumn(0, QStringLiteral("a"), 60);
    EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("a"));
    EXPECT_EQ(list.headerItem()->text(1), QStringLiteral("b"));
    EXPECT_EQ(list.InsertItem(5, QStringLiteral("x"), 42), 0); // clamped to the end
    EXPECT_EQ(list.InsertItem(0, QStringLiteral("y"), 43), 0);
    list.SetItemText(1, 1, QStringLiteral("x1"));
    EXPECT_EQ(list.ItemText(1, 0), QStringLiteral("x"));
    EXPECT_EQ(list.ItemText(1, 1), QStringLiteral("x1"));
    EXPECT_EQ(list.ItemData(1), 42);
    EXPECT_EQ(list.ItemData(9), 0);
    EXPECT_EQ(list.SingleSelection(), -1);
    list.SelectRow(1);
    EXPECT_EQ(list.SingleSelection(), 1);
    EXPECT_EQ(list.currentIndex().row(), 1);
}

TEST(ListCtrl, LinkCellsAreBlueUnlessTheRowIsSelected) {
    ShownList s;
    const QImage image = s.list->viewport()->grab().toImage();
    const QColor blue(0, 0, 255);
    EXPECT_GT(countPixels(image, s.cellRect(1, 1), blue), 5);
    EXPECT_EQ(countPixels(image, s.cellRect(1, 0), blue), 0);

    s.list->setFocus();
    s.list->SelectRow(1);
    QApplication::processEvents();
    const QImage selected = s.list->viewport()->grab().toImage();
    EXPECT_EQ(countPixels(selected, s.cellRect(1, 1), blue), 0);
    // Focused: the highlight colour fills the selected row.
    const QColor highlight = s.list->palette().color(QPalette::Highlight);
    const QRect cell = s.cellRect(1, 0);
    EXPECT_GT(countPixels(selected, cell, highlight), cell.width() * cell.height() / 2);

    // Without the focus the selected row is drawn in the button face colour.
    s.other->setFocus();
    QApplication::processEvents();
    const QImage unfocused = s.list->viewport()->grab().toImage();
    const QColor face = s.list->palette().color(QPalette::Button);
    EXPECT_GT(countPixels(unfocused, cell, face), cell.width() * cell.height() / 2);
}

TEST(ListCtrl, LinkCursorOverNonEmptyLinkCells) {
    ShownList s;
    s.list->SetCursors(QCursor(Qt::ArrowCursor), QCursor(Qt::PointingHandCursor));
    QTest::mouseMove(s.list->viewport(), s.cellRect(1, 1).center());
    EXPECT_EQ(s.list->viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(s.list->viewport(), s.cellRect(1, 0).center());
    EXPECT_EQ(s.list->viewport()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(s.list->viewport(), s.cellRect(3, 1).center()); // empty link cell
    EXPECT_EQ(s.list->viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST(ListCtrl, ScrollingTakesTheFocus) {
    ShownList s;
    s.other->setFocus();
    ASSERT_FALSE(s.list->hasFocus());
    s.list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_TRUE(s.list->hasFocus());
}

TEST(ListCtrl, OwnerDrawnCheckBoxesToggleByClickAndSpace) {
    CICListCtrl list;
    list.SetUp(true, QString(), 0);
    list.SetCheckBoxes(true);
    list.InsertColumn(0, QStringLiteral("a"), 100);
    list.InsertItem(0, QStringLiteral("r0"));
    list.InsertItem(1, QStringLiteral("r1"));
    list.resize(200, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    const QRect cell = list.visualRect(list.model()->index(0, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 8, cell.center().y()));
    EXPECT_TRUE(list.GetCheck(0));
    EXPECT_FALSE(list.GetCheck(1));
    list.SelectRow(1);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_TRUE(list.GetCheck(1));
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_FALSE(list.GetCheck(1));
    // A click on the text selects without toggling.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 60, cell.center().y()));
    EXPECT_TRUE(list.GetCheck(0));
    EXPECT_EQ(list.SingleSelection(), 0);
}

// Read from the pixels of an unselected row: the check box keeps a margin
// to the list's frame, to its text and to the boxes above and below.
TEST(ListCtrl, CheckBoxTouchesNeitherTheFrameNorItsText) {
    CICListCtrl list;
    list.SetUp(true, QString(), 0);
    list.SetCheckBoxes(true);
    list.InsertColumn(0, QStringLiteral("a"), 100);
    list.InsertItem(0, QStringLiteral("1回目"));
    list.InsertItem(1, QStringLiteral("2回目"));
    list.SetCheck(1, true);
    list.resize(200, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    const QImage image = list.viewport()->grab().toImage();
    const QRect row = list.visualRect(list.model()->index(1, 0));
    // The columns of the row that hold ink, left to right.
    std::vector<bool> ink(size_t(row.right() + 1), false);
    for (int x = 0; x <= row.right(); ++x)
        for (int y = row.top(); y <= row.bottom(); ++y)
            ink[size_t(x)] = ink[size_t(x)] || image.pixelColor(x, y).lightness() < 160;
    const auto next = [&](size_t from, bool inked) {
        while (from < ink.size() && ink[from] != inked)
            ++from;
        return int(from);
    };
    const int boxLeft = next(0, true);
    const int boxEnd = next(size_t(boxLeft), false);
    const int textLeft = next(size_t(boxEnd), true);
    ASSERT_LT(textLeft, row.right());
    // The viewport starts inside the frame.
    EXPECT_GE(boxLeft, 3);
    EXPECT_GE(textLeft - boxEnd, 4);
    // Boxes of neighbouring rows stay apart: the box keeps off its row's edges.
    int top = row.bottom(), bottom = row.top();
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = boxLeft; x < boxEnd; ++x)
            if (image.pixelColor(x, y).lightness() < 160) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GE(top - row.top(), 2);
    EXPECT_GE(row.bottom() - bottom, 2);
}

TEST(ListCtrlColumns, AListHasOnlyTheColumnsInserted) {
    CICListCtrl list;
    EXPECT_EQ(list.columnCount(), 0);
    list.InsertColumn(0, QStringLiteral("氏名"), 100);
    list.InsertColumn(1, QStringLiteral("フリガナ"), 100);
    EXPECT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("氏名"));
}
