#include "ICControlBase.h"

#include <QVariant>
#include <QWidget>

namespace {
const char* const kTagProperty = "tag";
}

void CICControlBase::Attach(QWidget* window, const QString& faceName, int tag) {
    m_window = window;
    if (!window)
        return;
    if (!faceName.isEmpty()) {
        m_font = window->font();
        m_font.setFamily(faceName);
        m_hasFont = true;
    }
    window->setProperty(kTagProperty, tag);
}

void CICControlBase::MoveTo(int x, int y) {
    if (m_window)
        m_window->move(x, y);
}

QSize CICControlBase::WindowSize() const { return m_window ? m_window->frameGeometry().size() : QSize(0, 0); }

QSize CICControlBase::ClientSize() const { return m_window ? m_window->contentsRect().size() : QSize(0, 0); }

int CICControlBase::Tag(const QWidget* window) { return window ? window->property(kTagProperty).toInt() : 0; }
