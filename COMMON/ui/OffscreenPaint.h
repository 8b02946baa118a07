#pragma once
// Flicker-free controls draw into a pixmap when their content changes and only
// copy it on paint.
#include <QPixmap>

class QWidget;

namespace OffscreenPaint {
// A pixmap covering the widget's client area at the screen's pixel density.
QPixmap createPixmap(const QWidget* widget);
// Copies the pixmap to the widget, or fills it with the button face when there
// is none. A copy that cannot be made is reported ("Error BitBlt()") once the
// paint has finished.
void copyToScreen(QWidget* widget, const QPixmap& pixmap);
} // namespace OffscreenPaint
