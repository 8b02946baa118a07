#include "CountTimer.h"

#include "OffscreenPaint.h"

#include <QPainter>
#include <QtMath>

const QColor CCountTimer::kOutline(128, 128, 128);
const QColor CCountTimer::kDisc(218, 218, 218);
const QColor CCountTimer::kWedge(0, 0, 205);

CCountTimer::CCountTimer(QWidget* parent) : QWidget(parent) {
    // Painting covers every pixel; the background is never erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCountTimer::SetTotal(int seconds) {
    m_total = seconds;
    m_remaining = seconds;
    createPixmap();
    render();
    update();
}

void CCountTimer::SetRemaining(int seconds) {
    if (m_pixmap.isNull())
        return;
    m_remaining = seconds;
    render();
    update();
}

double CCountTimer::ElapsedAngle(int remaining, int total) {
    const double elapsed = 1.0 - double(remaining) / double(total);
    return (int(elapsed * 100) % 100) * 6.28 / 100;
}

void CCountTimer::createPixmap() { m_pixmap = OffscreenPaint::createPixmap(this); }

void CCountTimer::render() {
    if (m_pixmap.isNull())
        return;
    QPainter p(&m_pixmap);
    const QRect client = rect();
    p.fillRect(client, palette().color(QPalette::Button));
    if (m_total == 0)
        return;

    const QRectF box(0.5, 0.5, client.width() - 1.0, client.height() - 1.0);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kDisc);
    p.drawEllipse(box);

    // The remaining part runs counter-clockwise from twelve o'clock (the first
    // radial point) to the elapsed angle (the second), as a pie between two
    // radial points does; when the points coincide it is the whole disc.
    const double a = ElapsedAngle(m_remaining, m_total);
    const int r = client.width() / 2;
    const QPointF first(r, 0);
    const QPointF second(r + r * qSin(a), r - r * qCos(a));
    const QPointF centre = box.center();
    auto angleOf = [&](const QPointF& pt) { return qAtan2(centre.y() - pt.y(), pt.x() - centre.x()); };
    const double start = angleOf(first);
    double span = angleOf(second) - start;
    while (span <= 0)
        span += 2 * M_PI;
    if (qFuzzyCompare(first.x() + 1, second.x() + 1) && qFuzzyCompare(first.y() + 1, second.y() + 1))
        span = 2 * M_PI;
    p.setBrush(kWedge);
    p.drawPie(box, qRound(qRadiansToDegrees(start) * 16), qRound(qRadiansToDegrees(span) * 16));
}

void CCountTimer::paintEvent(QPaintEvent*) { OffscreenPaint::copyToScreen(this, m_pixmap); }

void CCountTimer::resizeEvent(QResizeEvent*) {
    if (m_pixmap.isNull())
        return;
    createPixmap();
    render();
    update();
}
