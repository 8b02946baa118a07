#include "ScreenFit.h"

#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kBaseDpi = 96.0;
const char* const kDesignSize = "zentryDesignSize";
const char* const kFitterName = "zentryScreenFitter";
const char* const kFontsFitted = "zentryFontsFitted";
// Before any window has been shown the frame is unknown; this is larger than
// the title bars of the common desktops, so a window never ends up under the
// top edge because its frame was underestimated.
const QMargins kFrameEstimate(8, 32, 8, 8);

std::optional<ScreenFit::Display>& displaySetByHand() {
    static std::optional<ScreenFit::Display> display;
    return display;
}

QMargins& lastKnownFrame() {
    static QMargins frame;
    return frame;
}

QSize designSize(const QWidget* window) {
    const QSize base = window->property(kDesignSize).toSize();
    return base.isValid() ? base : QSize(800, 600);
}

QFont scaledFont(QFont font, double factor) {
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, qRound(font.pixelSize() * factor)));
    else if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    return font;
}

// Fonts given in points follow the window's scale: the window's own font and
// every control's font that names its own size (the others inherit).
void scaleFonts(QWidget* window, double factor) {
    QList<QWidget*> ownSize;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->window() == window && w->testAttribute(Qt::WA_SetFont) &&
            (w->font().resolveMask() & QFont::SizeResolved))
            ownSize << w;
    window->setFont(scaledFont(window->font(), factor));
    for (QWidget* w : std::as_const(ownSize))
        w->setFont(scaledFont(w->font(), factor));
}

class Fitter : public QObject {
public:
    explicit Fitter(QWidget* window) : QObject(window), m_window(window) { setObjectName(kFitterName); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_window)
            return false;
        if (event->type() == QEvent::LayoutRequest) {
            growMinimum();
            return false;
        }
        if (event->type() != QEvent::Show)
            return false;
        if (!m_window->property(kFontsFitted).toBool()) {
            const bool sizedByLayout = !m_window->testAttribute(Qt::WA_Resized);
            ScreenFit::FitFonts(m_window);
            if (QLayout* layout = m_window->layout())
                layout->activate();
            if (sizedByLayout)
                m_window->adjustSize();
        }
        growMinimum();
        // A dialog not placed by hand goes over the window it belongs to, as
        // QDialog would put it after this filter; moving it first would leave
        // it in the corner where the move found it.
        auto* dialog = qobject_cast<QDialog*>(m_window);
        if (dialog && dialog->parentWidget() && !dialog->testAttribute(Qt::WA_Moved) &&
            !dialog->isMaximized() && !dialog->isFullScreen()) {
            QRect frame = ScreenFit::FrameRect(dialog);
            frame.moveCenter(ScreenFit::FrameRect(dialog->parentWidget()->window()).center());
            dialog->setGeometry(ScreenFit::ClientRectAt(dialog, frame.topLeft(), dialog->size()));
            return false;
        }
        // Any other window not placed by hand stands where the desktop puts
        // it; it is kept inside once it stands there.
        if (!m_window->testAttribute(Qt::WA_Moved)) {
            QTimer::singleShot(0, m_window, [window = m_window] { ScreenFit::MoveInside(window); });
            return false;
        }
        ScreenFit::MoveInside(m_window);
        return false;
    }

    // A minimum size set by hand must not hide what the layout needs (larger
    // fonts, a longer title line).
    void growMinimum() {
        QLayout* layout = m_window->layout();
        if (!layout)
            return;
        const QSize need = m_window->minimumSize().expandedTo(layout->totalMinimumSize());
        if (need == m_window->minimumSize())
            return;
        m_window->setMinimumSize(need);
        if (need.width() > m_window->width() || need.height() > m_window->height())
            m_window->resize(m_window->size().expandedTo(need));
    }

private:
    QWidget* m_window;
};
} // namespace

namespace ScreenFit {

void SetDisplay(const std::optional<Display>& display) { displaySetByHand() = display; }

Display DisplayOf(const QWidget* window) {
    Display d;
    if (displaySetByHand()) {
        d = *displaySetByHand();
    } else {
        const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        d.available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    }
    if (d.scaleX <= 0)
        d.scaleX = window ? window->logicalDpiX() / kBaseDpi : 1.0;
    if (d.scaleY <= 0)
        d.scaleY = window ? window->logicalDpiY() / kBaseDpi : 1.0;
    if (d.frame.isNull())
        d.frame = window ? FrameMargins(window) : kFrameEstimate;
    return d;
}

QSizeF FittedScale(const QSize& base, const QSizeF& dpiScale, const QRect& available, const QMargins& frame) {
    const double roomW = available.width() - frame.left() - frame.right();
    const double roomH = available.height() - frame.top() - frame.bottom();
    double reduce = 1.0;
    if (base.width() > 0 && dpiScale.width() > 0)
        reduce = std::min(reduce, roomW / (base.width() * dpiScale.width()));
    if (base.height() > 0 && dpiScale.height() > 0)
        reduce = std::min(reduce, roomH / (base.height() * dpiScale.height()));
    reduce = std::max(reduce, 0.1);
    return {dpiScale.width() * reduce, dpiScale.height() * reduce};
}

QRect KeptInside(const QRect& frameRect, const QRect& available) {
    QRect r = frameRect;
    r.setWidth(std::min(r.width(), available.width()));
    r.setHeight(std::min(r.height(), available.height()));
    r.moveLeft(std::clamp(r.left(), available.left(), available.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), available.top(), available.bottom() + 1 - r.height()));
    return r;
}

void SetDesignSize(QWidget* window, const QSize& base) { window->setProperty(kDesignSize, base); }

QSizeF Scale(const QWidget* widget) {
    const QWidget* window = widget->window();
    const Display d = DisplayOf(window);
    return FittedScale(designSize(window), {d.scaleX, d.scaleY}, d.available, d.frame);
}

double FontFactor(const QWidget* widget) {
    const QWidget* window = widget->window();
    return Scale(window).height() / (window->logicalDpiY() / kBaseDpi);
}

QMargins FrameMargins(const QWidget* window) {
    if (displaySetByHand() && !displaySetByHand()->frame.isNull())
        return displaySetByHand()->frame;
    if (window->isVisible() && window->windowHandle()) {
        QMargins real = window->windowHandle()->frameMargins();
        if (!real.isNull()) {
            // At a fractional scale Qt rounds the frame to whole pixels of the
            // scaled desktop, up to half a pixel short on each side. Counted a
            // pixel larger at the right and bottom, a window sized to the area
            // keeps its whole frame on it, and positions, which run from the
            // top-left, still round-trip exactly.
            const qreal ratio = window->devicePixelRatioF();
            if (ratio != std::floor(ratio))
                real += QMargins(0, 0, 1, 1);
            lastKnownFrame() = real;
            return real;
        }
    }
    // The window system draws the same frame around every window of ours.
    return lastKnownFrame().isNull() ? kFrameEstimate : lastKnownFrame();
}

QRect FrameRect(const QWidget* window) { return window->geometry().marginsAdded(FrameMargins(window)); }

QRect ClientRectAt(const QWidget* window, const QPoint& framePos, const QSize& size) {
    const Display d = DisplayOf(window);
    const QMargins m = FrameMargins(window);
    const QSize room = d.available.size().shrunkBy(m);
    // A size larger than the area shrinks to it, but never below the window's minimum.
    const QSize fitted = size.boundedTo(room).expandedTo(window->minimumSize());
    const QRect kept = KeptInside(QRect(framePos, fitted.grownBy(m)), d.available);
    return QRect(kept.topLeft() + QPoint(m.left(), m.top()), fitted);
}

void MoveInside(QWidget* window) {
    if (window->isMaximized() || window->isFullScreen() || window->isMinimized())
        return;
    const QRect now = window->geometry();
    const QRect fitted = ClientRectAt(window, FrameRect(window).topLeft(), now.size());
    if (fitted != now)
        window->setGeometry(fitted);
}

void FitFonts(QWidget* window) {
    if (window->property(kFontsFitted).toBool())
        return;
    window->setProperty(kFontsFitted, true);
    const double factor = FontFactor(window);
    if (std::abs(factor - 1.0) > 0.005)
        scaleFonts(window, factor);
}

void KeepFitted(QWidget* window) {
    if (window->findChild<QObject*>(kFitterName, Qt::FindDirectChildrenOnly))
        return;
    window->installEventFilter(new Fitter(window));
}

} // namespace ScreenFit
