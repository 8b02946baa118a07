#include "ColourSwatch.h"

#include "ScreenSetup.h"

#include <QPainter>

CColourSwatch::CColourSwatch(QWidget* parent) : QWidget(parent), m_colour(palette().color(QPalette::Button)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CColourSwatch::setColour(const QColor& colour) {
    m_colour = colour;
    update();
}

QSize CColourSwatch::sizeHint() const { return {ScreenSetup::ScaleX(this, 36), ScreenSetup::ScaleY(this, 14)}; }

void CColourSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_colour);
}
