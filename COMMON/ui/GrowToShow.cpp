#include "GrowToShow.h"

#include "ScreenFit.h"

#include <QRect>
#include <QVariant>
#include <QWidget>

namespace GrowToShow {
namespace {
// The frame's top left and client size before growing, and the geometry grown to.
const char* const kGrownFrom = "zentryGrownFrom";
const char* const kGrownTo = "zentryGrownTo";
} // namespace

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
    const QRect before = ScreenFit::FrameRect(window);
    const QPoint frameAt =
        before.topLeft() - QPoint((wanted.width() - now.width()) / 2, (wanted.height() - now.height()) / 2);
    window->setGeometry(ScreenFit::ClientRectAt(window, frameAt, wanted));
    window->setProperty(kGrownFrom, QRect(before.topLeft(), now));
    window->setProperty(kGrownTo, window->geometry());
}

bool PlacementBeforeGrowing(const QWidget* window, QRect* frame, QSize* size) {
    const QVariant grownTo = window->property(kGrownTo);
    if (!grownTo.isValid() || grownTo.toRect() != window->geometry())
        return false;
    const QRect from = window->property(kGrownFrom).toRect();
    *frame = QRect(from.topLeft(), ScreenFit::FrameRect(window).size() - window->size() + from.size());
    *size = from.size();
    return true;
}

} // namespace GrowToShow
