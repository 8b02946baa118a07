#include "OffscreenPaint.h"

#include "ICException.h"
#include "StringTable.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace OffscreenPaint {

QPixmap createPixmap(const QWidget* widget) {
    const qreal ratio = widget->devicePixelRatioF();
    QPixmap pixmap(widget->size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(widget->palette().color(QPalette::Button));
    return pixmap;
}

void copyToScreen(QWidget* widget, const QPixmap& pixmap) {
    QPainter painter(widget);
    try {
        if (!painter.isActive())
            IC_THROW(QStringLiteral("Error BitBlt()"));
        if (pixmap.isNull())
            painter.fillRect(widget->rect(), widget->palette().color(QPalette::Button));
        else
            painter.drawPixmap(0, 0, pixmap);
    } catch (const CICException& e) {
        // A modal box inside a paint would paint again; report after it.
        const QString text = e.GetErrorMessage();
        QTimer::singleShot(0, widget, [text] { AppMessageBox(text, MsgIcon::Stop); });
    }
}

} // namespace OffscreenPaint
