#pragma once
// Pens of the drawings in 0.01 mm. A line thinner than one dot of the device
// is drawn one dot wide, as printers and the screen always drew the thinnest
// lines; otherwise a 0.04 mm hairline would fade to a grey haze on screen.
#include <QPainter>
#include <QPen>

#include <cmath>

inline QPen AtLeastOneDot(const QPainter& dc, QPen pen) {
    const double dotsPerUnit = std::abs(dc.deviceTransform().m11());
    if (dotsPerUnit > 0 && pen.widthF() * dotsPerUnit < 1)
        pen.setWidthF(1 / dotsPerUnit);
    return pen;
}
