#include "ICStatic.h"

#include "StringTable.h"

#include <QPainter>

CICStatic::CICStatic(QWidget* parent) : QLabel(parent) {}

void CICStatic::Attach(const QString& faceName) {
    CICControlBase::Attach(this, faceName, 1);
    if (HasOwnFont())
        setFont(OwnFont());
}

void CICStatic::SetTextId(int stringId) { setText(StringTable::text(stringId)); }

void CICStatic::SetColours(const QColor& text, const QColor& background) {
    m_coloursSet = true;
    m_text = text;
    m_background = background;
    update();
}

void CICStatic::ResetColours() {
    m_coloursSet = false;
    update();
}

QColor CICStatic::TextColour() const { return m_coloursSet ? m_text : palette().color(QPalette::ButtonText); }

QColor CICStatic::BackgroundColour() const { return m_coloursSet ? m_background : palette().color(QPalette::Button); }

void CICStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), BackgroundColour());
    painter.setPen(TextColour());
    painter.setFont(font());
    const int flags = int(alignment()) | Qt::TextShowMnemonic | (wordWrap() ? Qt::TextWordWrap : 0);
    painter.drawText(contentsRect(), flags, text());
}
