#include "ColourSwatch.h"

#include <QPainter>

CColourSwatch::CColourSwatch(QWidget* parent) : QWidget(parent), m_colour(palette().color(QPalette::Button)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CColourSwatch::setColour(const QColor& colour) {
    m_colour = colour;
    update();
}

QSize CColourSwatch::sizeHint() const { return {logicalDpiX() * 36 / 96, logicalDpiY() * 14 / 96}; }

void CColourSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_colour);
}
