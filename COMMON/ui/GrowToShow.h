#pragma once
// A resizable screen that opens smaller than its contents want (its size is
// a shared placement or a design size): grown by what is missing, as far as
// the screen's available area allows, about its centre and kept inside the area.
class QRect;
class QSize;
class QWidget;

namespace GrowToShow {

// Grows the window by `missing` (negative parts are ignored); maximised and
// full-screen windows are left alone.
void By(QWidget* window, const QSize& missing);

// The frame and client size the window had before it grew, while it still
// stands as it grew: a screen grown to show its contents leaves the placement
// it shares with the screens below as it found it, so they do not move when
// it closes. False once the user moved or resized it, or if it never grew.
bool PlacementBeforeGrowing(const QWidget* window, QRect* frame, QSize* size);

} // namespace GrowToShow
