#include "KCPrintImage.h"

#include <QPaintEvent>
#include <QPainter>

CKCPrintImage::CKCPrintImage(QWidget* parent) : QWidget(parent) {}

void CKCPrintImage::SetCard(const CArrBase& deck, int index, const QSize& size,
                            const CKCPrintImageDraw::TemplateIds& templateIds, int valueSource,
                            int comparison, bool enlarged, double shrink) {
    // The bitmap keeps the default 96 dots per inch, so the card's fonts keep
    // the same proportion to the given pixel size on every screen; a high
    // density screen gets proportionally more pixels.
    const qreal ratio = devicePixelRatioF();
    QImage bitmap(size * ratio, QImage::Format_RGB32);
    bitmap.setDevicePixelRatio(ratio);
    bitmap.fill(Qt::white);
    {
        // The card's fonts keep their size whatever the rectangle, so a card
        // shown smaller is drawn at its usual size and shrunk whole.
        QPainter dc(&bitmap);
        dc.scale(shrink, shrink);
        CKCPrintImageDraw draw;
        draw.Draw(&dc, deck, index, QRectF(QPointF(0, 0), QSizeF(size) / shrink), kFace, kFace, templateIds,
                  valueSource, comparison, true, enlarged);
    }
    m_bitmap = bitmap;
    updateGeometry();
    update();
}

QSize CKCPrintImage::sizeHint() const {
    return m_bitmap.isNull() ? QWidget::sizeHint() : m_bitmap.deviceIndependentSize().toSize();
}

void CKCPrintImage::paintEvent(QPaintEvent* event) {
    QPainter dc(this);
    dc.fillRect(event->rect(), palette().window());
    if (!m_bitmap.isNull())
        dc.drawImage(QPointF(0, 0), m_bitmap);
}
