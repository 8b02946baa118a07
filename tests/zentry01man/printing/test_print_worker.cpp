// The print worker's PDF files: the handwritten forms print a few hundred
// cards of the default data to one file each, which must stay within 1 MB,
// fonts (about 0.3 MB, written once) included; stored with the beginning all
// pages share written once, the pages still look as the cards drawn whole.
#include "ArrDenpyo.h"
#include "KCPrintImage.h"
#include "KCPrintImageDraw.h"
#include "PrintWorker.h"
#include "UtilityFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace utility;

namespace {

using Draw = CKCPrintImageDraw;
const QString kHandwriting = QStringLiteral("Klee One");

struct Layout {
    int kind, paper;
};
const Layout kLayouts[] = {{PrintLayout::kCards, PrintLayout::kPostcard},
                           {PrintLayout::kCards, PrintLayout::kA4},
                           {PrintLayout::kVouchers, PrintLayout::kPostcard},
                           {PrintLayout::kVouchers, PrintLayout::kA4}};

void toPdf(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
}

QList<QImage> render(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"), pdf, pdf});
    p.waitForFinished(20000);
    const QFileInfo file(pdf);
    QList<QImage> pages;
    for (const QString& page :
         QDir(file.path()).entryList({file.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name))
        pages << QImage(file.path() + '/' + page);
    return pages;
}

class PrintWorker : public UtilityTest {
protected:
    const CArrBase& defaultDeck(int kind) { return app->LoadDeck(kind == PrintLayout::kCards ? 1 : 2, 1); }

    // Prints cards 1 .. cards of the deck as the forms are; returns the file.
    QString print(const CArrBase& deck, Layout layout, int cards, const QString& name) {
        const QString path = out.filePath(name);
        QPrinter printer(QPrinter::HighResolution);
        toPdf(printer, path);
        PRINT_THREAD_PARAM param;
        param.deck = &deck;
        param.kind = layout.kind;
        param.paper = layout.paper;
        param.firstNo = 1;
        param.lastNo = cards;
        CPrintWorker(param, printer, kHandwriting).RunToEnd();
        return path;
    }
    QTemporaryDir out;
};

// Each card adds only its entries: the form all pages begin with is stored
// once. The cards are copies of the default data's first card under their
// own numbers, so later cards bring no characters the fonts lack.
TEST_F(PrintWorker, EachPostcardAddsOnlyAFewKilobytesToAPdf) {
    struct Case {
        Layout layout;
        int cards;
        double limit; // bytes per card
    };
    // Drawn whole on every page, a questionnaire postcard took about 2.8 kB.
    for (const Case& c :
         {Case{kLayouts[0], 21, 1800}, Case{kLayouts[1], 41, 800}, Case{kLayouts[2], 21, 1400}}) {
        const CArrBase& model = defaultDeck(c.layout.kind);
        std::unique_ptr<CArrBase> deck;
        if (c.layout.kind == PrintLayout::kCards)
            deck = std::make_unique<CArrHagaki>();
        else
            deck = std::make_unique<CArrDenpyo>();
        for (int number = 1; number <= c.cards; ++number) {
            auto card = std::make_unique<CArrBaseInfo>(model.at(0));
            card->number = number;
            deck->Append(std::move(card));
        }
        const qint64 one = QFileInfo(print(*deck, c.layout, 1, QStringLiteral("one.pdf"))).size();
        const qint64 many = QFileInfo(print(*deck, c.layout, c.cards, QStringLiteral("many.pdf"))).size();
        ASSERT_GT(one, 0);
        const double perCard = double(many - one) / (c.cards - 1);
        EXPECT_LT(perCard, c.limit) << "bytes per card, kind " << c.layout.kind << " paper "
                                    << c.layout.paper;
        EXPECT_GT(perCard, 300) << "the cards are drawn at all, kind " << c.layout.kind << " paper "
                                << c.layout.paper;
    }
}

// Seven cards: seven postcards, or two A4 sheets, the second with three cards.
TEST_F(PrintWorker, PagesLookAsTheCardsDrawnWhole) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const int cards = 7;
    for (const Layout& layout : kLayouts) {
        const CArrBase& deck = defaultDeck(layout.kind);
        const QString name = QStringLiteral("%1-%2").arg(layout.kind).arg(layout.paper);
        const QString printed = print(deck, layout, cards, name + QStringLiteral("-worker.pdf"));

        // Each card drawn whole, frames last, as a printer gets them.
        const QString whole = out.filePath(name + QStringLiteral("-whole.pdf"));
        {
            QPrinter printer(QPrinter::HighResolution);
            toPdf(printer, whole);
            printer.setFullPage(true);
            printer.setPageSize(
                QPageSize(layout.paper == PrintLayout::kA4 ? QPageSize::A4 : QPageSize::Postcard));
            printer.setPageOrientation(PrintLayout::Landscape(layout.kind) ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait);
            QPainter dc(&printer);
            QPageLayout pageLayout = printer.pageLayout();
            pageLayout.setUnits(QPageLayout::Millimeter);
            const QMarginsF margins = pageLayout.minimumMargins() * 100;
            const double scale = PrintLayout::PrintableScale(
                std::max(margins.left(), margins.right()), std::max(margins.top(), margins.bottom()),
                PrintLayout::PaperSize(layout.kind, layout.paper));
            const double toDevice = printer.resolution() / 2540.0;
            bool first = true;
            for (const PrintLayout::Page& page :
                 PrintLayout::Pages(deck, layout.kind, layout.paper, 1, cards, scale)) {
                if (!first)
                    printer.newPage();
                first = false;
                std::array<QRect, 4> frames{};
                for (size_t i = 0; i < page.cells.size(); ++i) {
                    const QRectF rect(page.cells[i].rect.topLeft() * toDevice,
                                      page.cells[i].rect.size() * toDevice);
                    const bool a4 = layout.paper == PrintLayout::kA4;
                    Draw().Draw(&dc, deck, page.cells[i].deckIndex,
                                a4 ? std::optional<QRectF>(rect) : std::nullopt, CKCPrintImage::kFace,
                                kHandwriting, Draw::kTemplateIds, Draw::kValueCorrect, Draw::kCompareNone,
                                false, false);
                    if (a4)
                        frames[i] = rect.toRect();
                }
                if (layout.paper == PrintLayout::kA4)
                    Draw::DrawPageFrames(&dc, frames);
            }
        }

        EXPECT_LT(QFileInfo(printed).size(), QFileInfo(whole).size()) << name.toStdString();
        const QList<QImage> expected = render(whole);
        const QList<QImage> pages = render(printed);
        ASSERT_EQ(expected.size(), layout.paper == PrintLayout::kA4 ? 2 : cards) << name.toStdString();
        ASSERT_EQ(pages.size(), expected.size()) << name.toStdString();
        for (int i = 0; i < pages.size(); ++i)
            EXPECT_TRUE(pages[i] == expected[i]) << name.toStdString() << " page " << i + 1;
    }
}

} // namespace
