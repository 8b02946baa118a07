#pragma once
// Every window opens wholly inside its screen's available area, title bar and
// frame included. A screen is designed at 96 DPI and scaled by DPI ÷ 96; when
// that scaled size (plus the frame) does not fit the available area, the scale
// is reduced until it does, the same for width and height, so that the card
// picture, the form and the buttons keep their proportions and stay visible.
// Controls positioned by hand and fonts follow the same scale.
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QSizeF>

#include <optional>

class QWidget;

namespace ScreenFit {

// What the window system offers a window: the available area (the screen less
// task bars and panels), the DPI scale and the frame it draws around a window.
struct Display {
    QRect available;
    // DPI ÷ 96 horizontally and vertically; 0 takes it from the window's logical DPI.
    double scaleX = 0;
    double scaleY = 0;
    // Title bar and borders; null takes the frame the window system reports,
    // or a generous estimate before any window has been shown.
    QMargins frame;
};

// The display described by hand instead of the window's screen (tests), or
// back to the real screens with nullopt.
void SetDisplay(const std::optional<Display>& display);

// The display of a window (its screen, or the one set by hand), every field filled.
Display DisplayOf(const QWidget* window);

// The pure rule. base is the design size at 96 DPI; the result is the scale to
// draw it at: the DPI scale, reduced by one common factor so that base × scale
// plus the frame fits the available area.
QSizeF FittedScale(const QSize& base, const QSizeF& dpiScale, const QRect& available, const QMargins& frame);
// The frame-inclusive rectangle moved (and, where larger, shrunk to the area)
// so that it lies wholly inside the available area.
QRect KeptInside(const QRect& frameRect, const QRect& available);

// The size a window is designed at, at 96 DPI (default 800 × 600).
void SetDesignSize(QWidget* window, const QSize& base);
// The scale controls of this widget's window are drawn at.
QSizeF Scale(const QWidget* widget);
// The factor by which fonts given in points must be enlarged (or reduced) so
// that they follow Scale: 1 unless the scale was reduced to fit (or a display
// was set by hand).
double FontFactor(const QWidget* widget);

// The frame the window system draws around this window.
QMargins FrameMargins(const QWidget* window);
// The window's rectangle with its frame.
QRect FrameRect(const QWidget* window);

// Makes the fonts of the window's controls follow its scale now, once; a
// screen that positions its controls by their size hints calls it before.
void FitFonts(QWidget* window);
// Keeps the window fitted from now on: on its first showing the fonts follow
// the scale, and on every showing the window is shrunk where it is larger than
// the available area and moved wholly inside it.
void KeepFitted(QWidget* window);
// Moves (and if needed shrinks) the window so that it lies inside the area now.
void MoveInside(QWidget* window);
// The window's client rectangle that puts its frame's top-left at framePos,
// kept inside the available area.
QRect ClientRectAt(const QWidget* window, const QPoint& framePos, const QSize& size);

} // namespace ScreenFit
