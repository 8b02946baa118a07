#include "GrowToShow.h"

#include "ScreenFit.h"

#include <QWidget>

namespace GrowToShow {

void By(QWidget* window, const QSize& missing) {
    if (window->isMaximized() || window->isFullScreen())
        return;
    const QSize grow = missing.expandedTo(QSize(0, 0));
    if (grow.isNull())
        return;
    const ScreenFit::Display display = ScreenFit::DisplayOf(window);
    const QSize room = display.available.size().shrunkBy(ScreenFit::FrameMargins(window));
    const QSize now = window->size();
    const QSize wanted = (now + grow).boundedTo(room).expandedTo(now);
    if (wanted == now)
        return;
    const QPoint frameAt = ScreenFit::FrameRect(window).topLeft() -
                           QPoint((wanted.width() - now.width()) / 2, (wanted.height() - now.height()) / 2);
    window->setGeometry(ScreenFit::ClientRectAt(window, frameAt, wanted));
}

} // namespace GrowToShow
