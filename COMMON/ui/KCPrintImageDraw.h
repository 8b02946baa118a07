#pragma once
// Draws one card page, a questionnaire postcard (100 x 148 mm) or a customer
// voucher (148 x 100 mm), from the card's data: form texts, lines, values and
// answer marks. Page positions are in 0.01 mm from the page's top-left; the
// page is drawn at its natural size (paper) or stretched into a rectangle
// (screen), where positions scale but fonts and pens keep their physical size.
#include "KCMetaFile.h"

#include <QFont>
#include <QPen>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

class CArrBase;
class CArrBaseInfo;
class QPainter;

class CKCPrintImageDraw {
public:
    // Which of the card's values are drawn.
    enum ValueSource { kValueCorrect = 1, kValueInput = 2, kValueDisplayed = 3 };
    // What each drawn value is compared with; differing characters are drawn bold red.
    // kCompareMarks compares with the value itself where the input mark is "N",
    // so exactly the marked characters stand out.
    enum Comparison {
        kCompareNone = 0,
        kCompareCorrect = 1,
        kCompareInput = 2,
        kCompareDisplayed = 3,
        kCompareMarks = 4
    };

    // What Draw puts down: the printed form (page ground, frame, form texts,
    // lines) and the card's own entries (number, values, answer marks). A PDF
    // of many cards draws every page's form before its entries, so all pages
    // begin with the same content, which is then stored once.
    enum Layers { kForm = 1, kEntries = 2, kWholeCard = kForm | kEntries };

    // Mark templates in the order: black circle, red circle, black tick, red tick.
    using TemplateIds = std::array<int, 4>;
    static constexpr TemplateIds kTemplateIds{145, 146, 147, 144};

    // Page sizes in 0.01 mm.
    static constexpr int kPostcardWidth = 10000, kPostcardHeight = 14800;
    static constexpr int kVoucherWidth = 14800, kVoucherHeight = 10000;

    CKCPrintImageDraw();
    ~CKCPrintImageDraw();
    CKCPrintImageDraw(const CKCPrintImageDraw&) = delete;
    CKCPrintImageDraw& operator=(const CKCPrintImageDraw&) = delete;

    // Draws card `index` of the deck (a questionnaire deck draws a postcard,
    // any other a voucher). target is in the painter's coordinates; without one
    // the page is drawn at natural size from the origin. The device's
    // resolution (logical dots per inch) converts millimetres to its units.
    // Only the given layers are drawn, each item in its usual order.
    void Draw(QPainter* dc, const CArrBase& deck, int index, const std::optional<QRectF>& target,
              const QString& firstFace, const QString& secondFace, const TemplateIds& templateIds,
              int valueSource, int comparison, bool frame, bool enlarged, int layers = kWholeCard);

    // Frames of up to four cells of a printed sheet (painter coordinates; an
    // empty rectangle is left out): the first cell outlined, reaching over the
    // second when present with a divider between them; the third cell's bottom
    // and sides below it, likewise reaching over the fourth.
    static void DrawPageFrames(QPainter* dc, const std::array<QRect, 4>& cells);

    // Whether cards of this deck are drawn as postcards.
    static bool IsPostcardDeck(const CArrBase& deck);

private:
    struct Fonts;

    void drawVoucher(const CArrBaseInfo& card);
    void drawPostcard(const CArrBaseInfo& card);
    void drawMarks(const CArrBaseInfo& card);
    void drawMark(int templateSlot, double left, double top, double width, double height);

    bool form() const { return (m_layers & kForm) != 0; }
    bool entries() const { return (m_layers & kEntries) != 0; }

    // Form text with its top-left at page position (x, y) (form layer).
    void text(double x, double y, const QString& s, const QFont& font);
    // The card's number (entries layer).
    void number(double x, double y, const QString& s, const QFont& font);
    // The card's value of an item at page position (x, y), compared as selected (entries layer).
    void value(double x, double y, const CArrBaseInfo& card, int item, const QFont& font);
    // A line of the form (form layer).
    void line(const QPen& pen, double x1, double x2, double y);
    double width(const QString& s, const QFont& font) const;

    QString valueOf(const CArrBaseInfo& card, int item) const;
    // The text the drawn value is compared with, or nothing without comparison.
    std::optional<QString> comparisonOf(const CArrBaseInfo& card, int item) const;
    bool answerDiffers(const CArrBaseInfo& card, int item) const;

    double X(double x) const { return m_left + x * m_sx; }
    double Y(double y) const { return m_top + y * m_sy; }

    QPainter* m_dc = nullptr;
    double m_left = 0, m_top = 0, m_sx = 1, m_sy = 1;
    int m_pageWidth = kVoucherWidth, m_pageHeight = kVoucherHeight;
    int m_valueSource = kValueCorrect;
    int m_comparison = kCompareNone;
    int m_layers = kWholeCard;
    std::array<CKCMetaFile, 4> m_templates;
    Fonts* m_fonts = nullptr;
};
