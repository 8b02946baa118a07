#include "KCPrintImageDraw.h"

#include "ArrDenpyo.h"
#include "Codec.h"
#include "KCPen.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPaintEngine>
#include <QPainterPath>
#include <QGlyphRun>
#include <QTextLayout>

#include <cmath>
#include <numbers>

namespace {

constexpr double kUnitsPerInch = 2540.0; // 0.01 mm
constexpr double kPointsPerInch = 72.0;

// Items of a questionnaire card that are answered by marks.
constexpr int kQuestion1 = 6, kQuestion2 = 7, kQuestion3 = 8;
const QString kBothBoxes = QStringLiteral("両方ともON");

// Template slots, in the order the ids are given.
enum { kCircle = 0, kCircleRed = 1, kTick = 2, kTickRed = 3 };

QFont pointFont(const QString& face, double points, bool bold = false) {
    QFont font(face);
    font.setPixelSize(qRound(points * kUnitsPerInch / kPointsPerInch));
    font.setBold(bold);
    // Layout measures at the page's resolution; hinting at screen size would
    // move the characters that comparison drawing places one by one.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Copies of a bold label laid round the outline's stroke in PDF output.
constexpr int kRingSteps = 4;

QPen solidPen(double widthUnits, const QColor& colour) {
    QPen pen(colour, widthUnits, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

bool toPdf(QPainter* dc) {
    return dc->paintEngine() && dc->paintEngine()->type() == QPaintEngine::Pdf;
}

// Text with the left end of its baseline at `at`, on an opaque white ground.
// Bold text is drawn as a thickened outline of the regular face: the faces
// have no bold cut, and the renderer's synthetic bold is lost under scaling
// and in PDF output.
// A PDF gets neither ground nor outline: its page is white under the text
// already, and what it holds is written out at every use, so the forms' many
// identical labels would grow to megabytes. Its bold is the regular glyphs
// laid round a ring of the stroke's half width, which covers the same
// thickened shape.
void drawString(QPainter* dc, const QPointF& at, const QString& s, const QFont& font, const QColor& colour) {
    const bool pdf = toPdf(dc);
    if (!font.bold()) {
        dc->setFont(font);
        dc->setPen(colour);
        dc->drawText(at, s);
        return;
    }
    QFont regular = font;
    regular.setBold(false);
    const double strokeWidth = font.pixelSize() / 24.0;
    if (pdf) {
        // All copies go out as one glyph run per face: a text item each would
        // repeat the painter state and the text object around every copy.
        QTextLayout layout(s, regular);
        layout.beginLayout();
        QTextLine lineOfText = layout.createLine();
        layout.endLayout();
        const QPointF origin(at.x(), at.y() - lineOfText.ascent());
        const double radius = strokeWidth / 2;
        dc->save();
        dc->setPen(colour);
        for (QGlyphRun run : layout.glyphRuns()) {
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> places = run.positions();
            QList<quint32> allGlyphs;
            QList<QPointF> allPlaces;
            for (int i = 0; i < kRingSteps; ++i) {
                const double angle = 2 * std::numbers::pi * i / kRingSteps;
                const QPointF shift(radius * std::cos(angle), radius * std::sin(angle));
                allGlyphs += glyphs;
                for (const QPointF& place : places)
                    allPlaces.append(place + shift);
            }
            run.setGlyphIndexes(allGlyphs);
            run.setPositions(allPlaces);
            dc->drawGlyphRun(origin, run);
        }
        dc->restore();
        return;
    }
    const QFontMetricsF metrics(regular);
    dc->fillRect(QRectF(at.x(), at.y() - metrics.ascent(), metrics.horizontalAdvance(s), metrics.height()),
                 Qt::white);
    QPainterPath outline;
    outline.addText(at, regular, s);
    dc->save();
    dc->setPen(QPen(colour, strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    dc->setBrush(colour);
    dc->drawPath(outline);
    dc->restore();
}

const QPen& framePen() {
    static const QPen pen = solidPen(10, QColor(129, 129, 129));
    return pen;
}

int answerNumber(const QString& answer, int highest) {
    bool ok = false;
    const int n = answer.toInt(&ok);
    return ok && n >= 1 && n <= highest ? n : 0;
}

} // namespace

struct CKCPrintImageDraw::Fonts {
    Fonts(const QString& form, const QString& values, bool enlarged) {
        const double k = enlarged ? 1.3 : 1.0;
        title = pointFont(form, 20 * k);
        form14 = pointFont(form, 14 * k);
        form12 = pointFont(form, 12 * k);
        heading = pointFont(form, 12 * k, true);
        option = pointFont(form, 8 * k);
        label = pointFont(form, enlarged ? 9.6 : 8, true);
        value14 = pointFont(values, 14 * k);
        value12 = pointFont(values, 12 * k);
        value11 = pointFont(values, 11 * k);
        value8 = pointFont(values, 8 * k);
    }
    QFont title, form14, form12, heading, option, label;
    QFont value14, value12, value11, value8;
};

CKCPrintImageDraw::CKCPrintImageDraw() = default;
CKCPrintImageDraw::~CKCPrintImageDraw() = default;

bool CKCPrintImageDraw::IsPostcardDeck(const CArrBase& deck) {
    return dynamic_cast<const CArrHagaki*>(&deck) != nullptr;
}

void CKCPrintImageDraw::Draw(QPainter* dc, const CArrBase& deck, int index,
                             const std::optional<QRectF>& target, const QString& firstFace,
                             const QString& secondFace, const TemplateIds& templateIds, int valueSource,
                             int comparison, bool frame, bool enlarged, int layers) {
    const CArrBaseInfo& card = deck.at(index);
    const bool postcard = IsPostcardDeck(deck);
    m_pageWidth = postcard ? kPostcardWidth : kVoucherWidth;
    m_pageHeight = postcard ? kPostcardHeight : kVoucherHeight;
    m_valueSource = valueSource;
    m_comparison = comparison;
    m_layers = layers;

    dc->save();
    const double dpiX = dc->device()->logicalDpiX();
    const double dpiY = dc->device()->logicalDpiY();
    dc->scale(dpiX / kUnitsPerInch, dpiY / kUnitsPerInch);
    if (target) {
        m_left = target->left() * kUnitsPerInch / dpiX;
        m_top = target->top() * kUnitsPerInch / dpiY;
        m_sx = target->width() * kUnitsPerInch / dpiX / m_pageWidth;
        m_sy = target->height() * kUnitsPerInch / dpiY / m_pageHeight;
    } else {
        m_left = m_top = 0;
        m_sx = m_sy = 1;
    }
    dc->setRenderHint(QPainter::Antialiasing);
    dc->setRenderHint(QPainter::TextAntialiasing);
    dc->setBackgroundMode(toPdf(dc) ? Qt::TransparentMode : Qt::OpaqueMode);
    dc->setBackground(Qt::white);

    Fonts fonts(firstFace, secondFace, enlarged);
    m_fonts = &fonts;
    for (int i = 0; i < 4; ++i)
        m_templates[i].Load(templateIds[i]);

    m_dc = dc;
    const QRectF page(X(0), Y(0), m_pageWidth * m_sx, m_pageHeight * m_sy);
    if (form())
        dc->fillRect(page, Qt::white);
    if (frame && form()) {
        // Kept wholly inside the page, so the drawing covers exactly the page.
        const QPen pen = AtLeastOneDot(*dc, framePen());
        const double half = pen.widthF() / 2;
        dc->setPen(pen);
        dc->setBrush(Qt::NoBrush);
        dc->drawRect(page.adjusted(half, half, -half, -half));
    }
    if (postcard)
        drawPostcard(card);
    else
        drawVoucher(card);

    for (CKCMetaFile& t : m_templates)
        t.Discard();
    m_fonts = nullptr;
    m_dc = nullptr;
    dc->restore();
}

void CKCPrintImageDraw::drawVoucher(const CArrBaseInfo& card) {
    const Fonts& f = *m_fonts;
    const QString title = QStringLiteral("顧客伝票");
    text(X(6000), Y(700), title, f.title);
    const double barRight = X(6000) + width(title, f.title) + 300 * m_sx;
    if (form())
        m_dc->fillRect(QRectF(QPointF(X(5700), Y(1430)), QPointF(barRight, Y(1480))), Qt::black);
    number(X(11500), Y(1000), QString::asprintf("NO. %04d", card.number), f.form14);

    static const char* const labels[] = {"顧客コード", "商品コード", "電話番号", "メールアドレス"};
    static const int rows[] = {2750, 3980, 5300, 6600};
    const QPen underline = solidPen(9, Qt::black);
    for (int item = 0; item < 4; ++item) {
        text(X(1450), Y(rows[item]), QString::fromUtf8(labels[item]), f.form14);
        value(X(5200), Y(rows[item]), card, item, f.value14);
        line(underline, X(5200), X(m_pageWidth - 1400), Y(rows[item] + 600));
    }
}

void CKCPrintImageDraw::drawPostcard(const CArrBaseInfo& card) {
    const Fonts& f = *m_fonts;
    const QPen hairline = solidPen(4, Qt::black);
    const double right = X(m_pageWidth - 900);

    number(X(7700) - width(QStringLiteral("888"), f.form12), Y(700), QString::asprintf("NO. %04d", card.number),
           f.form12);
    const QString heading = QStringLiteral("「仕事とパソコン」読者アンケート");
    const QFontMetricsF headingMetrics(f.heading);
    text((X(0) + X(m_pageWidth) - width(heading, f.heading)) / 2,
         (Y(1400) + Y(1900) - headingMetrics.height()) / 2, heading, f.heading);
    line(solidPen(52, Qt::black), X(900), right, Y(1900));

    text(X(1400), Y(2700), QStringLiteral("フリガナ"), f.label);
    value(X(2700), Y(2700), card, 0, f.value8);
    text(X(1100), Y(3350), QStringLiteral("● お名前"), f.label);
    value(X(2700), Y(3250), card, 1, f.value12);
    line(hairline, X(2700), right, Y(3750));
    text(X(1100), Y(3980), QStringLiteral("● ご住所 〒"), f.label);
    value(X(2850), Y(3940), card, 2, f.value11);
    value(X(1500), Y(4550), card, 3, f.value11);
    line(hairline, X(1500), right, Y(5000));
    text(X(1100), Y(5390), QStringLiteral("● 電話番号"), f.label);
    value(X(2800), Y(5300), card, 4, f.value12);
    line(hairline, X(2700), right, Y(5750));
    text(X(1100), Y(6050), QStringLiteral("● メールアドレス"), f.label);
    value(X(1500), Y(6500), card, 5, f.value12);
    line(hairline, X(1500), right, Y(7000));

    text(X(1100), Y(7750), QStringLiteral("● 問１ あなたはこの本を何でお知りになりましたか。"), f.label);
    text(X(1500), Y(8290), QStringLiteral("１．書店で実物を見て"), f.option);
    text(X(5000), Y(8290), QStringLiteral("２．チラシを見て"), f.option);
    text(X(1500), Y(8900), QStringLiteral("３．書店店員に紹介されて"), f.option);
    text(X(5000), Y(8900), QStringLiteral("４．学校から紹介されて"), f.option);
    text(X(1500), Y(9550), QStringLiteral("５．知人に紹介されて"), f.option);
    text(X(5000), Y(9550), QStringLiteral("６．その他"), f.option);

    text(X(1100), Y(10300), QStringLiteral("● 問２ この本はあなたのお役に立ちましたか。"), f.label);
    text(X(1600), Y(10850), QStringLiteral("１．役に立った"), f.option);
    text(X(3580), Y(10850), QStringLiteral("２．ふつう"), f.option);
    text(X(5020), Y(10850), QStringLiteral("３．期待はずれだった"), f.option);

    text(X(1100), Y(11600), QStringLiteral("● 問３ あなたは弊社の出版カタログの送付をご希望されますか。"),
         f.label);
    text(X(2900), Y(12250), QStringLiteral("□ 希望する"), f.option);
    text(X(5800), Y(12250), QStringLiteral(" □ 希望しない"), f.option);

    const QFontMetricsF option(f.option);
    text(X(5300) - width(QStringLiteral("WW"), f.option), Y(13500) - option.height(),
         QStringLiteral("ご回答ありがとうございました"), f.option);

    if (entries())
        drawMarks(card);
}

void CKCPrintImageDraw::drawMarks(const CArrBaseInfo& card) {
    if (const int n = answerNumber(valueOf(card, kQuestion1), 6)) {
        static const QPointF offsets[] = {{0, 0}, {3500, 0}, {0, 610}, {3500, 610}, {0, 1260}, {3500, 1260}};
        const QPointF box = QPointF(1350, 8150) + offsets[n - 1];
        drawMark(answerDiffers(card, kQuestion1) ? kCircleRed : kCircle, box.x(), box.y(), 500, 500);
    }
    if (const int n = answerNumber(valueOf(card, kQuestion2), 3)) {
        static const double offsets[] = {0, 1980, 3420};
        drawMark(answerDiffers(card, kQuestion2) ? kCircleRed : kCircle, 1450 + offsets[n - 1], 10750, 500,
                 500);
    }
    const QString wish = valueOf(card, kQuestion3);
    const int tick = answerDiffers(card, kQuestion3) ? kTickRed : kTick;
    if (wish == QLatin1String("1"))
        drawMark(tick, 2800, 12100, 400, 500);
    else if (wish == QLatin1String("2"))
        drawMark(tick, 5780, 12100, 400, 500);
    else if (wish == kBothBoxes) {
        drawMark(kTickRed, 2800, 12100, 400, 500);
        drawMark(kTickRed, 5780, 12100, 400, 500);
    }
}

void CKCPrintImageDraw::drawMark(int templateSlot, double left, double top, double width, double height) {
    m_templates[templateSlot].Play(m_dc, QRectF(X(left), Y(top), width * m_sx, height * m_sy));
}

void CKCPrintImageDraw::text(double x, double y, const QString& s, const QFont& font) {
    if (form())
        drawString(m_dc, QPointF(x, y + QFontMetricsF(font).ascent()), s, font, Qt::black);
}

void CKCPrintImageDraw::number(double x, double y, const QString& s, const QFont& font) {
    if (entries())
        drawString(m_dc, QPointF(x, y + QFontMetricsF(font).ascent()), s, font, Qt::black);
}

void CKCPrintImageDraw::value(double x, double y, const CArrBaseInfo& card, int item, const QFont& font) {
    if (!entries())
        return;
    const QString drawn = valueOf(card, item);
    const std::optional<QString> against = comparisonOf(card, item);
    if (!against) {
        drawString(m_dc, QPointF(x, y + QFontMetricsF(font).ascent()), drawn, font, Qt::black);
        return;
    }
    QFont bold = font;
    bold.setBold(true);
    const QStringList mine = cp932::characters(drawn);
    const QStringList theirs = cp932::characters(*against);
    for (int i = 0; i < mine.size(); ++i) {
        const bool differs = i >= theirs.size() || mine[i] != theirs[i];
        const QFont& used = differs ? bold : font;
        const QFontMetricsF metrics(used);
        drawString(m_dc, QPointF(x, y + metrics.ascent()), mine[i], used, differs ? Qt::red : Qt::black);
        const double advance = metrics.horizontalAdvance(mine[i]);
        // Single-byte characters get a little air so a red one stands apart.
        x += cp932::byteLength(mine[i]) == 1 ? advance + advance / 12 : advance;
    }
}

void CKCPrintImageDraw::line(const QPen& pen, double x1, double x2, double y) {
    if (!form())
        return;
    m_dc->setPen(AtLeastOneDot(*m_dc, pen));
    m_dc->drawLine(QPointF(x1, y), QPointF(x2, y));
}

double CKCPrintImageDraw::width(const QString& s, const QFont& font) const {
    return QFontMetricsF(font).horizontalAdvance(s);
}

QString CKCPrintImageDraw::valueOf(const CArrBaseInfo& card, int item) const {
    switch (m_valueSource) {
    case kValueInput:
        return card.input[item];
    case kValueDisplayed:
        return card.erroneous[item];
    default:
        return card.correct[item];
    }
}

std::optional<QString> CKCPrintImageDraw::comparisonOf(const CArrBaseInfo& card, int item) const {
    switch (m_comparison) {
    case kCompareCorrect:
        return card.correct[item];
    case kCompareInput:
        return card.input[item];
    case kCompareDisplayed:
        return card.erroneous[item];
    case kCompareMarks: {
        const QStringList characters = cp932::characters(valueOf(card, item));
        const QString& marks = card.input[item];
        QString mask;
        for (int i = 0; i < characters.size(); ++i)
            mask += i < marks.size() && marks[i] == QLatin1Char('N') ? characters[i] : QStringLiteral("\t");
        return mask;
    }
    default:
        return std::nullopt;
    }
}

bool CKCPrintImageDraw::answerDiffers(const CArrBaseInfo& card, int item) const {
    const std::optional<QString> against = comparisonOf(card, item);
    return against && *against != valueOf(card, item);
}

void CKCPrintImageDraw::DrawPageFrames(QPainter* dc, const std::array<QRect, 4>& cells) {
    const QRect& first = cells[0];
    const QRect& second = cells[1];
    const QRect& third = cells[2];
    const QRect& fourth = cells[3];
    dc->save();
    QPen pen = framePen();
    pen.setWidthF(pen.widthF() * dc->device()->logicalDpiX() / kUnitsPerInch);
    dc->setPen(AtLeastOneDot(*dc, pen));
    auto hline = [dc](int x1, int x2, int y) { dc->drawLine(QPointF(x1, y), QPointF(x2, y)); };
    auto vline = [dc](int x, int y1, int y2) { dc->drawLine(QPointF(x, y1), QPointF(x, y2)); };
    // QRect::right() is one short of the far edge; frames run along the edges.
    auto farX = [](const QRect& r) { return r.x() + r.width(); };
    auto farY = [](const QRect& r) { return r.y() + r.height(); };
    if (!first.isEmpty()) {
        const int right = second.isEmpty() ? farX(first) : farX(second);
        hline(first.x(), right, first.y());
        hline(first.x(), right, farY(first));
        vline(first.x(), first.y(), farY(first));
        vline(right, first.y(), farY(first));
        if (!second.isEmpty())
            vline(farX(first), first.y(), farY(first));
    }
    if (!third.isEmpty()) {
        const int right = fourth.isEmpty() ? farX(third) : farX(fourth);
        hline(third.x(), right, farY(third));
        vline(third.x(), third.y(), farY(third));
        vline(right, third.y(), farY(third));
        if (!fourth.isEmpty())
            vline(farX(third), third.y(), farY(third));
    }
    dc->restore();
}
