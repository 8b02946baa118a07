// The drawn cards: differing characters in red, answer marks in their boxes,
// the spacing of compared values, natural size on paper and PDF, page frames
// of a four-up sheet, and the mark pictures themselves.
#include "ArrDenpyo.h"
#include "FontSubstitution.h"
#include "KCMetaFile.h"
#include "KCPrintImage.h"
#include "KCPrintImageDraw.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

using Draw = CKCPrintImageDraw;

const QSize kVoucherScreen(537, 363);
const QSize kPostcardScreen(382, 565);

class PrintImage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }
};

std::unique_ptr<CArrDenpyo> voucherDeck() {
    auto deck = std::make_unique<CArrDenpyo>();
    auto card = std::make_unique<CArrBaseInfo>();
    card->number = 12;
    card->correct = {"NS366544", "SQW-72490-21", "080-8562-6474", "morita.haruto@example.org"};
    card->erroneous = {"NS366S44", "SQW-72490-21", "080-8562-6174", "morita.haruta@example.org"};
    card->input = {"NNNNNNNN", "NNNNCNNNNNNN", "NNNNNNNNNNNNN", "NNNNNNNNNNNNNNNNNNNNNNNNN"};
    deck->Append(std::move(card));
    return deck;
}

std::unique_ptr<CArrHagaki> postcardDeck() {
    auto deck = std::make_unique<CArrHagaki>();
    auto card = std::make_unique<CArrBaseInfo>();
    card->number = 7;
    card->correct = {"スズキ　レン",
                     "鈴木　蓮",
                     "368-0052",
                     "埼玉県秩父市近戸町５－１６－１２",
                     "080-1391-5254",
                     "suzuki.ren@example.or.jp",
                     "4",
                     "2",
                     "2"};
    card->input = card->correct;
    deck->Append(std::move(card));
    return deck;
}

QImage render(const CArrBase& deck, const QSize& size, int source, int comparison, bool enlarged = false) {
    CKCPrintImage control;
    control.SetCard(deck, 0, size, Draw::kTemplateIds, source, comparison, enlarged);
    return control.bitmap();
}

bool isRed(const QColor& c) {
    return c.red() > 170 && c.green() < 110 && c.blue() < 110;
}
bool isInk(const QColor& c) {
    return c.lightness() < 140;
}

// Bounding box of the pixels inside `area` that pass the test.
QRect pixelsWhere(const QImage& image, const QRect& area, const std::function<bool(const QColor&)>& test) {
    QRect box;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (test(image.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

// A page region (0.01 mm from the page's top-left) in pixels of a screen image.
QRect onScreen(const QSize& screen, int pageWidth, int pageHeight, QRectF page) {
    const double sx = double(screen.width()) / pageWidth, sy = double(screen.height()) / pageHeight;
    return QRectF(page.x() * sx, page.y() * sy, page.width() * sx, page.height() * sy).toAlignedRect();
}

// The band of one voucher value: from its x to the end of its underline, from the row's
// y down 5 mm, clear of its underline 6 mm below.
QRect voucherValueBand(int item) {
    static const int rows[] = {2750, 3980, 5300, 6600};
    return onScreen(kVoucherScreen, Draw::kVoucherWidth, Draw::kVoucherHeight,
                    QRectF(5200, rows[item], 14800 - 1400 - 5200, 500));
}

int countWhere(const QImage& image, const QRect& area, const std::function<bool(const QColor&)>& test) {
    int count = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            count += test(image.pixelColor(x, y));
    return count;
}

// Pixels where two images differ.
QRect differences(const QImage& a, const QImage& b) {
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST_F(PrintImage, DifferingCharactersAreRedAndOnlyThose) {
    auto deck = voucherDeck();
    const QImage shown = render(*deck, kVoucherScreen, Draw::kValueDisplayed, Draw::kCompareCorrect);
    ASSERT_EQ(shown.size(), kVoucherScreen);

    // Items 1, 3 and 4 carry one printed error each, item 2 none.
    const QRect whole = shown.rect();
    const QRect allRed = pixelsWhere(shown, whole, isRed);
    ASSERT_FALSE(allRed.isEmpty());
    for (int item : {0, 2, 3}) {
        const QRect band = voucherValueBand(item);
        const QRect red = pixelsWhere(shown, band, isRed);
        const QRect ink = pixelsWhere(shown, band, isInk);
        ASSERT_FALSE(red.isEmpty()) << "item " << item;
        // One character: narrower than two, well inside the value, not at its start.
        EXPECT_LT(red.width(), 24) << "item " << item;
        EXPECT_GT(red.left(), ink.left() + 30) << "item " << item;
        EXPECT_LE(red.right(), ink.right()) << "item " << item;
    }
    EXPECT_TRUE(pixelsWhere(shown, voucherValueBand(1), isRed).isEmpty());
    int redInValues = 0;
    for (int item = 0; item < 4; ++item)
        redInValues += countWhere(shown, voucherValueBand(item), isRed);
    EXPECT_EQ(countWhere(shown, whole, isRed), redInValues);

    // The red character sits where the 6th character ("S" against "5") is drawn.
    const QRect first = pixelsWhere(shown, voucherValueBand(0), isRed);
    const QRect firstInk = pixelsWhere(shown, voucherValueBand(0), isInk);
    const double perCharacter = double(firstInk.width()) / 8;
    EXPECT_NEAR((first.center().x() - firstInk.left()) / perCharacter, 5.5, 0.6);

    // Without comparison nothing is red, whatever is drawn.
    EXPECT_TRUE(
        pixelsWhere(render(*deck, kVoucherScreen, Draw::kValueDisplayed, Draw::kCompareNone), whole, isRed)
            .isEmpty());
    // Compared with itself nothing differs.
    EXPECT_TRUE(pixelsWhere(render(*deck, kVoucherScreen, Draw::kValueDisplayed, Draw::kCompareDisplayed),
                            whole, isRed)
                    .isEmpty());
    // The enlarged picture marks the same items.
    const QImage big = render(*deck, {644, 435}, Draw::kValueDisplayed, Draw::kCompareCorrect, true);
    EXPECT_FALSE(pixelsWhere(big, big.rect(), isRed).isEmpty());
}

TEST_F(PrintImage, DifferingCharactersAreBold) {
    // The same character drawn red (differing, bold) carries more ink than
    // drawn black (equal); the comparison text alone decides which.
    auto deck = std::make_unique<CArrDenpyo>();
    auto card = std::make_unique<CArrBaseInfo>();
    card->correct = {"MMMM", "MMMM", "", ""};
    card->erroneous = {"MMMM", "XXXX", "", ""};
    deck->Append(std::move(card));
    const QSize size(1074, 726);
    const QImage image = render(*deck, size, Draw::kValueCorrect, Draw::kCompareDisplayed);
    auto band = [&](int row) {
        return onScreen(size, Draw::kVoucherWidth, Draw::kVoucherHeight, QRectF(5200, row, 8200, 500));
    };
    auto inkOrRed = [](const QColor& c) { return isInk(c) || isRed(c); };
    EXPECT_EQ(countWhere(image, band(2750), isRed), 0);
    EXPECT_EQ(countWhere(image, band(3980), isRed), countWhere(image, band(3980), inkOrRed));
    EXPECT_GT(countWhere(image, band(3980), inkOrRed), countWhere(image, band(2750), inkOrRed) * 1.08);
}

TEST_F(PrintImage, MarkComparisonShowsExactlyTheMarkedCharacters) {
    auto deck = voucherDeck();
    const QImage image = render(*deck, kVoucherScreen, Draw::kValueDisplayed, Draw::kCompareMarks);
    // Only the product code carries a "C" mark, on its 5th character.
    const QRect red = pixelsWhere(image, voucherValueBand(1), isRed);
    ASSERT_FALSE(red.isEmpty());
    EXPECT_LT(red.width(), 20);
    for (int item : {0, 2, 3})
        EXPECT_TRUE(pixelsWhere(image, voucherValueBand(item), isRed).isEmpty()) << "item " << item;
}

TEST_F(PrintImage, ComparedSingleByteValuesAreSpacedWider) {
    auto deck = voucherDeck();
    const QImage plain = render(*deck, kVoucherScreen, Draw::kValueCorrect, Draw::kCompareNone);
    const QImage compared = render(*deck, kVoucherScreen, Draw::kValueCorrect, Draw::kCompareCorrect);
    const QRect plainInk = pixelsWhere(plain, voucherValueBand(1), isInk);
    const QRect comparedInk = pixelsWhere(compared, voucherValueBand(1), isInk);
    EXPECT_EQ(plainInk.left(), comparedInk.left());
    // Each of the 12 single-byte characters advances by an extra twelfth.
    const double ratio = double(comparedInk.width()) / plainInk.width();
    EXPECT_GT(ratio, 1.05);
    EXPECT_LT(ratio, 1.12);

    // Double-byte characters keep their spacing: the name on the postcard.
    auto cards = postcardDeck();
    const QRect nameBand =
        onScreen(kPostcardScreen, Draw::kPostcardWidth, Draw::kPostcardHeight, QRectF(2700, 3250, 6400, 450));
    const QRect a = pixelsWhere(render(*cards, kPostcardScreen, 1, Draw::kCompareNone), nameBand, isInk);
    const QRect b = pixelsWhere(render(*cards, kPostcardScreen, 1, Draw::kCompareCorrect), nameBand, isInk);
    ASSERT_FALSE(a.isEmpty());
    EXPECT_NEAR(a.width(), b.width(), 1);
}

TEST_F(PrintImage, PostcardAnswerMarksGoInTheirBoxes) {
    auto deck = postcardDeck();
    CArrBaseInfo& card = deck->at(0);
    auto box = [](double x, double y, double w, double h) {
        // The box with a little room: a freehand mark may touch its edges.
        return onScreen(kPostcardScreen, Draw::kPostcardWidth, Draw::kPostcardHeight, QRectF(x, y, w, h))
            .adjusted(-2, -2, 2, 2);
    };
    auto drawWith = [&](int item, const QString& answer, int comparison = Draw::kCompareNone) {
        card.correct[item] = answer;
        return render(*deck, kPostcardScreen, Draw::kValueCorrect, comparison);
    };

    // 問１: an empty answer, 0 and 7 draw no circle; 3 draws one in box 3.
    const QImage none = drawWith(6, QString());
    EXPECT_EQ(drawWith(6, QStringLiteral("7")), none);
    EXPECT_EQ(drawWith(6, QStringLiteral("0")), none);
    const QRect changed = differences(drawWith(6, QStringLiteral("3")), none);
    EXPECT_TRUE(box(1350, 8760, 500, 500).contains(changed)) << changed.x() << "," << changed.y();
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_TRUE(box(1350 + 3500, 8150 + 1260, 500, 500)
                    .contains(differences(drawWith(6, QStringLiteral("6")), none)));
    card.correct[6] = QStringLiteral("4");

    // 問２: box 3 lies 34.20 mm right of box 1.
    const QImage noSecond = drawWith(7, QString());
    EXPECT_TRUE(
        box(1450 + 3420, 10750, 500, 500).contains(differences(drawWith(7, QStringLiteral("3")), noSecond)));
    EXPECT_EQ(drawWith(7, QStringLiteral("4")), noSecond);
    card.correct[7] = QStringLiteral("2");

    // 問３: a black tick in box 1 or 2; red ticks in both for "両方ともON", even uncompared.
    const QImage noThird = drawWith(8, QString());
    const QRect first = box(2800, 12100, 400, 500), second = box(5780, 12100, 400, 500);
    const QImage one = drawWith(8, QStringLiteral("1"));
    EXPECT_TRUE(first.contains(differences(one, noThird)));
    EXPECT_TRUE(pixelsWhere(one, one.rect(), isRed).isEmpty());
    EXPECT_TRUE(second.contains(differences(drawWith(8, QStringLiteral("2")), noThird)));
    const QImage both = drawWith(8, QStringLiteral("両方ともON"));
    EXPECT_FALSE(pixelsWhere(both, first, isRed).isEmpty());
    EXPECT_FALSE(pixelsWhere(both, second, isRed).isEmpty());
    EXPECT_TRUE(first.united(second).contains(pixelsWhere(both, both.rect(), isRed)));
}

TEST_F(PrintImage, AnswersThatDifferAreMarkedRed) {
    auto deck = postcardDeck();
    CArrBaseInfo& card = deck->at(0);
    card.input[6] = QStringLiteral("3"); // correct: 4
    card.input[8] = QStringLiteral("1"); // correct: 2
    const QImage image = render(*deck, kPostcardScreen, Draw::kValueInput, Draw::kCompareCorrect);
    const QRect red = pixelsWhere(image, image.rect(), isRed);
    const QRect q1box3 =
        onScreen(kPostcardScreen, Draw::kPostcardWidth, Draw::kPostcardHeight, QRectF(1350, 8760, 500, 500));
    const QRect q3box1 =
        onScreen(kPostcardScreen, Draw::kPostcardWidth, Draw::kPostcardHeight, QRectF(2800, 12100, 400, 500));
    EXPECT_FALSE(pixelsWhere(image, q1box3.adjusted(-2, -2, 2, 2), isRed).isEmpty());
    EXPECT_FALSE(pixelsWhere(image, q3box1.adjusted(-2, -2, 2, 2), isRed).isEmpty());
    // 問２ is answered as on the card: its circle stays black.
    const QRect q2box2 = onScreen(kPostcardScreen, Draw::kPostcardWidth, Draw::kPostcardHeight,
                                  QRectF(1450 + 1980, 10750, 500, 500));
    EXPECT_TRUE(pixelsWhere(image, q2box2, isRed).isEmpty());
    EXPECT_FALSE(pixelsWhere(image, q2box2, isInk).isEmpty());
    EXPECT_TRUE(q1box3.adjusted(-2, -2, 2, 2).united(q3box1.adjusted(-2, -2, 2, 2)).contains(red));
}

TEST_F(PrintImage, NaturalSizeCoversExactlyThePage) {
    // At 254 dots per inch one pixel is 0.1 mm.
    struct Case {
        std::unique_ptr<CArrBase> deck;
        QSize pixels;
    };
    Case cases[] = {{voucherDeck(), {1480, 1000}}, {postcardDeck(), {1000, 1480}}};
    for (Case& c : cases) {
        QImage image(1700, 1700, QImage::Format_RGB32);
        image.setDotsPerMeterX(10000);
        image.setDotsPerMeterY(10000);
        image.fill(Qt::blue);
        {
            QPainter dc(&image);
            Draw().Draw(&dc, *c.deck, 0, std::nullopt, CKCPrintImage::kFace, CKCPrintImage::kFace,
                        Draw::kTemplateIds, Draw::kValueCorrect, Draw::kCompareNone, true, false);
        }
        const QRect drawn =
            pixelsWhere(image, image.rect(), [](const QColor& p) { return p != QColor(Qt::blue); });
        EXPECT_EQ(drawn, QRect(QPoint(0, 0), c.pixels));
        // The frame runs along the page's edges.
        EXPECT_LT(image.pixelColor(c.pixels.width() / 2, 0).lightness(), 250);
        EXPECT_LT(image.pixelColor(c.pixels.width() - 1, c.pixels.height() / 2).lightness(), 250);
    }
}

TEST_F(PrintImage, VoucherOnPdfIsA148By100MillimetreDrawing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("voucher.pdf"));
    auto deck = voucherDeck();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    // A postcard turned on its side, as vouchers are printed one to a page.
    printer.setPageSize(QPageSize(QPageSize::Postcard));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    {
        QPainter dc(&printer);
        ASSERT_TRUE(dc.isActive());
        Draw().Draw(&dc, *deck, 0, std::nullopt, CKCPrintImage::kFace, CKCPrintImage::kFace,
                    Draw::kTemplateIds, Draw::kValueCorrect, Draw::kCompareNone, true, false);
        // The drawing fills the page; PDF page sizes are whole points, so the
        // page may be up to half a point (0.18 mm) off the 148 x 100 mm.
        const double mmPerDot = 25.4 / printer.logicalDpiX();
        EXPECT_NEAR(printer.width() * mmPerDot, 148, 0.2);
        EXPECT_NEAR(printer.height() * mmPerDot, 100, 0.2);
        EXPECT_NEAR(dc.transform().m11(), 1, 1e-9); // drawn from the page's origin, unscaled
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    const QRegularExpression mediaBox(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const auto match = mediaBox.match(QString::fromLatin1(pdf));
    ASSERT_TRUE(match.hasMatch());
    // 148 × 100 mm in whole points.
    EXPECT_NEAR(match.captured(1).toDouble(), 148 / 25.4 * 72, 0.6);
    EXPECT_NEAR(match.captured(2).toDouble(), 100 / 25.4 * 72, 0.6);
}

TEST_F(PrintImage, PageFramesOfAFourUpSheet) {
    QImage sheet(400, 300, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(10000); // thick enough lines to see: 0.1 mm = 1 pixel
    sheet.setDotsPerMeterY(10000);
    const QRect cells[] = {
        {10, 10, 180, 130}, {190, 10, 180, 130}, {10, 140, 180, 130}, {190, 140, 180, 130}};
    auto framed = [&](std::array<QRect, 4> chosen) {
        sheet.fill(Qt::white);
        QPainter dc(&sheet);
        Draw::DrawPageFrames(&dc, chosen);
        dc.end();
        return sheet;
    };
    auto lineAt = [](const QImage& image, int x, int y) {
        return image.pixelColor(x, y) != QColor(Qt::white);
    };

    const QImage all = framed({cells[0], cells[1], cells[2], cells[3]});
    EXPECT_TRUE(lineAt(all, 10, 70));   // left edge
    EXPECT_TRUE(lineAt(all, 190, 70));  // divider between the top cells
    EXPECT_TRUE(lineAt(all, 370, 70));  // right edge
    EXPECT_TRUE(lineAt(all, 100, 10));  // top
    EXPECT_TRUE(lineAt(all, 300, 140)); // middle, under the second cell
    EXPECT_TRUE(lineAt(all, 190, 200)); // divider between the bottom cells
    EXPECT_TRUE(lineAt(all, 300, 270)); // bottom
    EXPECT_EQ(all.pixelColor(10, 70), QColor(129, 129, 129));

    // A single cell in the first and third places: no dividers, no second column.
    const QImage left = framed({cells[0], QRect(), cells[2], QRect()});
    EXPECT_TRUE(lineAt(left, 190, 70));
    EXPECT_TRUE(lineAt(left, 190, 200));
    EXPECT_FALSE(lineAt(left, 370, 70));
    EXPECT_FALSE(lineAt(left, 300, 10));
    EXPECT_TRUE(lineAt(left, 100, 270));

    // Only the first cell: nothing below it.
    const QImage one = framed({cells[0], QRect(), QRect(), QRect()});
    EXPECT_TRUE(lineAt(one, 100, 140));
    EXPECT_FALSE(lineAt(one, 10, 200));
    EXPECT_FALSE(lineAt(one, 100, 270));
}

TEST_F(PrintImage, MarkPicturesLoadByNumber) {
    CKCMetaFile picture;
    for (int id : Draw::kTemplateIds) {
        EXPECT_EQ(picture.Load(id), 1) << id;
        EXPECT_TRUE(picture.IsLoaded());
    }
    EXPECT_EQ(picture.Load(148), 0);
    EXPECT_FALSE(picture.IsLoaded());

    // Stretched into the box; red for 146 and 144, black for 145 and 147.
    for (int id : Draw::kTemplateIds) {
        QImage image(60, 80, QImage::Format_RGB32);
        image.fill(Qt::white);
        ASSERT_EQ(picture.Load(id), 1);
        QPainter dc(&image);
        picture.Play(&dc, QRectF(10, 10, 40, 60));
        dc.end();
        const QRect red = pixelsWhere(image, image.rect(), isRed);
        const QRect black =
            pixelsWhere(image, image.rect(), [](const QColor& c) { return c.lightness() < 60; });
        const QRect mark = (id == 146 || id == 144) ? red : black;
        EXPECT_FALSE(mark.isEmpty()) << id;
        EXPECT_TRUE(QRect(8, 8, 44, 64).contains(mark)) << id;
        EXPECT_GT(mark.width(), 25) << id;
        EXPECT_GT(mark.height(), 40) << id;
    }

    // Nothing loaded: nothing drawn.
    picture.Discard();
    QImage blank(20, 20, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QPainter dc(&blank);
    picture.Play(&dc, QRectF(0, 0, 20, 20));
    dc.end();
    EXPECT_TRUE(pixelsWhere(blank, blank.rect(), isInk).isEmpty());
}

// A card shown smaller than usual, on a screen reduced to fit, is the usual
// card shrunk whole: its ink (inside the frame) spans the same share of the
// card. Texts kept at their usual size would run into the frame.
TEST_F(PrintImage, ACardShownSmallerIsTheUsualCardShrunkWhole) {
    const auto ink = [](const QImage& image) {
        return pixelsWhere(image, image.rect().adjusted(3, 3, -3, -3), [](const QColor& c) { return c.lightness() < 100; });
    };
    auto postcards = postcardDeck();
    auto vouchers = voucherDeck();
    struct Case {
        const CArrBase* deck;
        QSize usual;
        bool enlarged;
    };
    for (const Case& c : {Case{postcards.get(), kPostcardScreen, false}, Case{postcards.get(), QSize(458, 678), true},
                          Case{vouchers.get(), kVoucherScreen, false}, Case{vouchers.get(), QSize(644, 435), true}}) {
        CKCPrintImage control;
        control.SetCard(*c.deck, 0, c.usual, Draw::kTemplateIds, Draw::kValueCorrect, Draw::kCompareNone, c.enlarged);
        const QRect usual = ink(control.bitmap());
        for (double shrink : {0.8, 0.62}) {
            control.SetCard(*c.deck, 0, c.usual * shrink, Draw::kTemplateIds, Draw::kValueCorrect,
                            Draw::kCompareNone, c.enlarged, shrink);
            const QRect shown = ink(control.bitmap());
            const QRectF expected(QPointF(usual.topLeft()) * shrink, QPointF(usual.bottomRight()) * shrink);
            const std::string what = std::to_string(c.usual.width()) + " shrunk by " + std::to_string(shrink);
            EXPECT_NEAR(shown.left(), expected.left(), 3) << what;
            EXPECT_NEAR(shown.top(), expected.top(), 3) << what;
            EXPECT_NEAR(shown.right(), expected.right(), 3) << what;
            EXPECT_NEAR(shown.bottom(), expected.bottom(), 3) << what;
        }
    }
}

TEST_F(PrintImage, ControlShowsItsBitmap) {
    auto deck = postcardDeck();
    CKCPrintImage control;
    EXPECT_TRUE(control.bitmap().isNull());
    control.SetCard(*deck, 0, {458, 678}, Draw::kTemplateIds, Draw::kValueCorrect, Draw::kCompareNone, true);
    control.resize(458, 678);
    EXPECT_EQ(control.bitmap().size(), QSize(458, 678));
    EXPECT_EQ(control.sizeHint(), QSize(458, 678));
    EXPECT_EQ(control.grab().toImage().convertToFormat(QImage::Format_RGB32), control.bitmap());
    // A card index outside the deck is refused, not drawn.
    EXPECT_THROW(control.SetCard(*deck, 1, {458, 678}, Draw::kTemplateIds, 1, 0, true), std::out_of_range);
}

// Sent to a printer, every page holds its whole card, form and entries, so
// the drawing itself must stay small: each further card may add only a few
// kilobytes. (A PDF file stores the form once; the print worker's tests hold
// the forms' files to their size.)
TEST_F(PrintImage, EachPostcardAddsOnlyAFewKilobytesToAPdf) {
    QTemporaryDir dir;
    auto deck = postcardDeck();
    const auto pdfSize = [&](int cards) {
        const QString path = dir.filePath(QStringLiteral("cards%1.pdf").arg(cards));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::Postcard));
        printer.setFullPage(true);
        {
            QPainter dc(&printer);
            for (int i = 0; i < cards; ++i) {
                if (i > 0)
                    printer.newPage();
                Draw().Draw(&dc, *deck, 0, std::nullopt, CKCPrintImage::kFace, CKCPrintImage::kFace,
                            Draw::kTemplateIds, Draw::kValueCorrect, Draw::kCompareNone, false, false);
            }
        }
        return QFileInfo(path).size();
    };
    const qint64 one = pdfSize(1);
    const qint64 twenty = pdfSize(21);
    ASSERT_GT(one, 0);
    const double perCard = (twenty - one) / 20.0;
    EXPECT_LT(perCard, 3000) << "bytes per card";
    EXPECT_GT(perCard, 300) << "the cards are drawn at all";
}
