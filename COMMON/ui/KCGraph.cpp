#include "KCGraph.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

CKCGraph::CKCGraph(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(1, 1);
}

void CKCGraph::SetData(const CArrKaisekiMain& run, CDB* userDb) {
    SetData(CKCGraphData::From(run), userDb);
}

void CKCGraph::SetData(const CKCGraphData& data, CDB* userDb) {
    m_data = data;
    m_userDb = userDb;
    m_hasData = true;
    layOut();
    QScrollBar* bar = horizontalScrollBar();
    const QSignalBlocker quiet(bar);
    bar->setValue(bar->maximum());
    redraw();
}

void CKCGraph::Prepare() {
    layOut();
    const QSignalBlocker quiet(horizontalScrollBar());
    horizontalScrollBar()->setValue(1);
    redraw();
}

int CKCGraph::FirstVisibleColumn() const {
    return horizontalScrollBar()->value();
}

void CKCGraph::layOut() {
    const double kx = 2540.0 / viewport()->logicalDpiX();
    const double ky = 2540.0 / viewport()->logicalDpiY();
    const QSizeF size(viewport()->width() * kx, viewport()->height() * ky);
    m_visibleColumns = CKCGraphDraw::LayoutFor(QRectF(QPointF(0, 0), size)).visibleColumns;

    // A scroll bar only when some trials do not fit.
    const int trials = int(m_data.trials.size());
    QScrollBar* bar = horizontalScrollBar();
    const QSignalBlocker quiet(bar);
    bar->setRange(1, std::max(1, trials - m_visibleColumns + 1));
    bar->setPageStep(std::max(1, m_visibleColumns - 1));
    setHorizontalScrollBarPolicy(m_hasData && trials > m_visibleColumns ? Qt::ScrollBarAlwaysOn
                                                                        : Qt::ScrollBarAlwaysOff);
}

void CKCGraph::redraw() {
    if (!m_hasData || viewport()->width() <= 0 || viewport()->height() <= 0) {
        m_bitmap = QImage();
        viewport()->update();
        return;
    }
    // 96 dots per inch like the card drawings, with more pixels on dense screens.
    const qreal ratio = devicePixelRatioF();
    QImage bitmap(viewport()->size() * ratio, QImage::Format_RGB32);
    bitmap.setDevicePixelRatio(ratio);
    {
        QPainter dc(&bitmap);
        m_draw.SetUp(&dc, QRectF(QPointF(0, 0), QSizeF(viewport()->size())), false, m_data, m_userDb, m_form);
        m_draw.Draw(FirstVisibleColumn());
    }
    m_bitmap = bitmap;
    viewport()->update();
}

void CKCGraph::DrawOnPage(QPainter* dc, const QRectF& rectHundredthsMm) const {
    CKCGraphDraw draw;
    draw.SetUp(dc, rectHundredthsMm, true, m_data, m_userDb, m_form);
    draw.Draw(FirstVisibleColumn());
}

void CKCGraph::paintEvent(QPaintEvent* event) {
    QPainter dc(viewport());
    if (m_bitmap.isNull()) {
        dc.fillRect(event->rect(), Qt::white);
        dc.setPen(Qt::black);
        dc.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextSingleLine, kWaitingText);
        return;
    }
    dc.fillRect(event->rect(), Qt::white);
    dc.drawImage(QPointF(0, 0), m_bitmap);
}

void CKCGraph::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (!m_hasData)
        return;
    layOut();
    redraw();
}

void CKCGraph::scrollContentsBy(int, int) {
    redraw();
}
