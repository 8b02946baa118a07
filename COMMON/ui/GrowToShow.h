#pragma once
// A resizable screen that opens smaller than its contents want (its size is
// a shared placement or a design size): grown by what is missing, as far as
// the screen's available area allows, about its centre and kept inside the area.
class QSize;
class QWidget;

namespace GrowToShow {

// Grows the window by `missing` (negative parts are ignored); maximised and
// full-screen windows are left alone.
void By(QWidget* window, const QSize& missing);

} // namespace GrowToShow
