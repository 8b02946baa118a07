#include "KCGraphDraw.h"

#include "AppSub.h"
#include "ArrKaisekiMain.h"
#include "KCPen.h"
#include "Labels.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>
#include <vector>

namespace {

constexpr double kUnitsPerInch = 2540.0; // 0.01 mm
constexpr double kMarker = 300;          // marker size: 3 mm across
// The numbers under the columns start clear of the lower half of a marker
// drawn at zero, which would hide their tops.
constexpr double kLabelDrop = kMarker / 2 + 50;

const QColor kSeriesColour[3] = {QColor(0, 0, 0), QColor(57, 181, 74), QColor(255, 0, 0)};
const QColor kTestAverage(0, 0, 255);
const QColor kLevelUpAverage(255, 0, 255);
const QColor kPlotBackground(230, 230, 230);

QFont graphFont() {
    QFont font(CKCGraphDraw::kFace);
    font.setPixelSize(qRound(9 * kUnitsPerInch / 72)); // 9 points
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QString fourSquares() {
    return QStringLiteral("■■■■");
}

struct LegendEntry {
    QColor colour;
    double width;
    bool dashed;
    QString label;
};

const std::vector<LegendEntry>& legendEntries() {
    static const std::vector<LegendEntry> entries{
        {kSeriesColour[0], 100, false, QStringLiteral("作業枚数")},
        {kSeriesColour[1], 100, false, QStringLiteral("正解枚数")},
        {kSeriesColour[2], 100, false, QStringLiteral("項目正解率")},
        {kTestAverage, 50, true, QStringLiteral("項目正解率平均値（実力テスト）")},
        {kLevelUpAverage, 50, true, QStringLiteral("項目正解率平均値（レベルアップ）")},
    };
    return entries;
}

// A legend entry's width: its sample line, a space and its label.
double legendWidth(const LegendEntry& e, const QFontMetricsF& metrics) {
    return 600 + metrics.horizontalAdvance(e.label);
}
double legendGap(const QFontMetricsF& metrics) {
    return metrics.horizontalAdvance(QStringLiteral("－"));
}

// The legend's entries in rows, as many to a row as fit 1 mm clear of the
// picture's sides: the texts keep their size on a narrow screen, so the
// legend wraps rather than run off the picture.
std::vector<std::vector<const LegendEntry*>> legendRows(double pictureWidth, const QFontMetricsF& metrics) {
    std::vector<std::vector<const LegendEntry*>> rows(1);
    double rowWidth = 0;
    for (const LegendEntry& e : legendEntries()) {
        const double width = legendWidth(e, metrics);
        if (!rows.back().empty() && rowWidth + legendGap(metrics) + width > pictureWidth - 200) {
            rows.emplace_back();
            rowWidth = 0;
        }
        rowWidth += (rows.back().empty() ? 0 : legendGap(metrics)) + width;
        rows.back().push_back(&e);
    }
    return rows;
}

} // namespace

const QString CKCGraphDraw::kFace = QStringLiteral("ＭＳ Ｐゴシック");
const QString CKCGraphDraw::kNothingToShow = QStringLiteral("表示できる試行がありません。");

CKCGraphDraw::Layout CKCGraphDraw::LayoutFor(const QRectF& picture) {
    const QFontMetricsF metrics(graphFont());
    const double side = std::max(1000.0, metrics.horizontalAdvance(fourSquares()));
    const double top = std::max(1000.0, 3 * metrics.height());
    // Below the plot: the trial numbers, the condition marks, a blank line and
    // the legend's rows; of the drop to the numbers, 1 mm fits in those lines.
    const double legend = double(legendRows(picture.width(), metrics).size());
    const double bottom = std::max(1000.0, (kLabelDrop - 100) + (4 + legend) * metrics.height());
    Layout layout;
    layout.plot = picture.adjusted(side, top, -side, -bottom);
    if (layout.plot.width() < 1 || layout.plot.height() < 1)
        layout.plot = QRectF(picture.center(), QSizeF(1, 1));
    layout.columnWidth = std::max(metrics.horizontalAdvance(fourSquares()), layout.plot.width() / 20);
    // A hair of tolerance: twenty columns of a twentieth must count as twenty.
    layout.visibleColumns = std::max(1, int(std::floor(layout.plot.width() / layout.columnWidth + 1e-9)));
    return layout;
}

void CKCGraphDraw::SetUp(QPainter* dc, const QRectF& rect, bool inLogicalUnits, const CKCGraphData& data,
                         CDB* userDb, Form form) {
    m_dc = dc;
    m_data = &data;
    m_form = form;
    m_font = graphFont();
    if (inLogicalUnits) {
        m_picture = rect;
    } else {
        const double kx = kUnitsPerInch / dc->device()->logicalDpiX();
        const double ky = kUnitsPerInch / dc->device()->logicalDpiY();
        m_picture = QRectF(rect.x() * kx, rect.y() * ky, rect.width() * kx, rect.height() * ky);
    }
    m_userName = data.userName;
    if (userDb) {
        QString fullName, fullKana;
        if (AppSub::GetUserDisplayNames(*userDb, data.userCode, fullName, fullKana))
            m_userName = fullName;
    }
}

void CKCGraphDraw::Draw(int firstColumn) {
    QPainter* dc = m_dc;
    dc->save();
    dc->scale(dc->device()->logicalDpiX() / kUnitsPerInch, dc->device()->logicalDpiY() / kUnitsPerInch);
    dc->setRenderHint(QPainter::Antialiasing);
    dc->setRenderHint(QPainter::TextAntialiasing);
    dc->setFont(m_font);

    dc->fillRect(m_picture, Qt::white);
    const Layout layout = LayoutFor(m_picture);
    const QRectF& plot = layout.plot;
    dc->fillRect(plot, kPlotBackground);
    m_array.Build(*m_data, plot, layout.columnWidth);

    const QPen framePen = AtLeastOneDot(*dc, QPen(Qt::black, 10));
    dc->setPen(framePen);
    for (double x = plot.left() + layout.columnWidth; x < plot.right() - 1; x += layout.columnWidth)
        dc->drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() - 150));

    // The grid goes under the series so that markers stay whole.
    drawGrid();
    drawSeries(std::max(1, firstColumn));

    dc->setPen(framePen);
    dc->setBrush(Qt::NoBrush);
    dc->drawRect(plot);
    drawScale();
    drawAverages();
    drawTitles();
    drawLegend();
    if (m_data->trials.empty())
        drawNothingToShow();
    dc->restore();
}

void CKCGraphDraw::drawNothingToShow() {
    // Empty axes alone would look like a drawing that failed.
    const QRectF plot = m_array.Plot();
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    // On a patch of the plot's own colour, so no grid line runs through the words.
    const QRectF text = m_dc->boundingRect(plot, flags, kNothingToShow);
    m_dc->fillRect(text.adjusted(-100, -50, 100, 50), kPlotBackground);
    m_dc->setPen(Qt::black);
    m_dc->drawText(plot, flags, kNothingToShow);
}

void CKCGraphDraw::drawSeries(int firstColumn) {
    QPainter* dc = m_dc;
    const QRectF& plot = m_array.Plot();
    const double shift = (firstColumn - 1) * m_array.ColumnWidth();
    const auto& points = m_array.Points();
    const double textHeight = QFontMetricsF(m_font).height();
    const QFontMetricsF metrics(m_font);

    for (size_t i = 0; i < points.size(); ++i) {
        const auto& p = points[i];
        const double x = plot.left() + p.x - shift;
        for (int s = 0; s < 3; ++s) {
            const QColor& colour = kSeriesColour[s];
            if (i > 0) {
                const auto& q = points[i - 1];
                const double px = plot.left() + q.x - shift;
                if (!(x < plot.left() && px < plot.left()) && !(x > plot.right() && px > plot.right())) {
                    // Lines running out of the plot are cut at its edges.
                    dc->save();
                    dc->setClipRect(plot);
                    dc->setPen(QPen(colour, 100, Qt::SolidLine, Qt::RoundCap));
                    dc->drawLine(QPointF(px, plot.bottom() - q.y[s]), QPointF(x, plot.bottom() - p.y[s]));
                    dc->restore();
                }
            }
        }
        if (x < plot.left() || x > plot.right())
            continue;
        for (int s = 0; s < 3; ++s) {
            dc->setPen(Qt::NoPen);
            dc->setBrush(kSeriesColour[s]);
            const QRectF marker(x - kMarker / 2, plot.bottom() - p.y[s] - kMarker / 2, kMarker, kMarker);
            if (p.course == 3)
                dc->drawRect(marker);
            else
                dc->drawEllipse(marker);
        }
    }
    // Numbers and condition marks under the columns.
    const double labelTop = plot.bottom() + kLabelDrop;
    dc->setPen(Qt::black);
    for (const auto& p : points) {
        const double x = plot.left() + p.x - shift;
        const QString number = QString::number(p.trial->trialNo);
        const double start = x - metrics.horizontalAdvance(number) / 2;
        if (start < plot.left() || start > plot.right())
            continue;
        textAt(x, labelTop, number, Qt::AlignHCenter);
        if (m_form == kUtility)
            textAt(x, labelTop + textHeight, p.trial->conditionMarks, Qt::AlignHCenter);
    }
}

void CKCGraphDraw::drawGrid() {
    const QRectF& plot = m_array.Plot();
    m_dc->setPen(QPen(Qt::black, 0, Qt::DotLine)); // cosmetic: the thinnest the device draws
    for (int i = 1; i <= 9; ++i) {
        const double y = plot.bottom() - i * (plot.height() / 10);
        m_dc->drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
}

void CKCGraphDraw::drawScale() {
    const QRectF& plot = m_array.Plot();
    const double half = QFontMetricsF(m_font).height() / 2;
    m_dc->setPen(Qt::black);
    for (int i = 0; i <= 10; ++i) {
        const double y = plot.bottom() - i * (plot.height() / 10);
        textAt(plot.left() - 100, y - half, QString::number(i * (m_array.CountMax() / 10)), Qt::AlignRight);
        textAt(plot.right() + 100, y - half, QStringLiteral("%1%").arg(i * 10), Qt::AlignLeft);
    }
}

void CKCGraphDraw::drawAverages() {
    const QRectF& plot = m_array.Plot();
    if (m_array.AverageY(1) > 0)
        dashedLine(kTestAverage, 50, plot.left(), plot.right(), plot.bottom() - m_array.AverageY(1));
    if (m_array.AverageY(3) > 0)
        dashedLine(kLevelUpAverage, 50, plot.left(), plot.right(), plot.bottom() - m_array.AverageY(3));
}

void CKCGraphDraw::dashedLine(const QColor& colour, double width, double x1, double x2, double y) {
    // Dashes 1 mm long every 1.5 mm.
    m_dc->setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    for (double x = x1; x < x2; x += 150)
        m_dc->drawLine(QPointF(x, y), QPointF(std::min(x + 100, x2), y));
}

void CKCGraphDraw::drawTitles() {
    m_dc->setPen(Qt::black);
    textAt(m_picture.left() + 100, m_picture.top() + 500, QStringLiteral("枚数"), Qt::AlignLeft);
    textAt(m_picture.right() - 100, m_picture.top() + 500, QStringLiteral("項目正解率"), Qt::AlignRight);
    textAt(m_picture.center().x(), m_picture.top() + 200, Title(), Qt::AlignHCenter);
}

QString CKCGraphDraw::Title() const {
    const QString task = Labels::Problem(m_data->problemCode);
    if (m_form == kTaskProgram)
        return QStringLiteral("%1  %2").arg(m_userName, task);
    return QStringLiteral("%1  %2  %3  %4")
        .arg(m_userName, task, Labels::EndTimeList(m_data->selectionType),
             Labels::Course(m_data->courseFilter));
}

void CKCGraphDraw::drawLegend() {
    const QFontMetricsF metrics(m_font);
    const auto rows = legendRows(m_picture.width(), metrics);
    // The last row 5 mm above the picture's bottom, the others above it.
    double middle = m_picture.bottom() - 500 - (rows.size() - 1) * metrics.height();
    for (const auto& row : rows) {
        double total = -legendGap(metrics);
        for (const LegendEntry* e : row)
            total += legendWidth(*e, metrics) + legendGap(metrics);
        double x = m_picture.center().x() - total / 2;
        for (const LegendEntry* e : row) {
            if (e->dashed)
                dashedLine(e->colour, e->width, x, x + 500, middle);
            else {
                m_dc->setPen(QPen(e->colour, e->width, Qt::SolidLine, Qt::FlatCap));
                m_dc->drawLine(QPointF(x, middle), QPointF(x + 500, middle));
            }
            m_dc->setPen(Qt::black);
            textAt(x + 600, middle - metrics.height() / 2, e->label, Qt::AlignLeft);
            x += legendWidth(*e, metrics) + legendGap(metrics);
        }
        middle += metrics.height();
    }
}

void CKCGraphDraw::textAt(double x, double top, const QString& s, Qt::Alignment horizontal) {
    const QFontMetricsF metrics(m_font);
    const double w = metrics.horizontalAdvance(s);
    if (horizontal & Qt::AlignRight)
        x -= w;
    else if (horizontal & Qt::AlignHCenter)
        x -= w / 2;
    m_dc->drawText(QPointF(x, top + metrics.ascent()), s);
}
