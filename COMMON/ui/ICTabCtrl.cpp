#include "ICTabCtrl.h"

CICTabCtrl::CICTabCtrl(QWidget* parent) : QTabBar(parent) {
    Attach(this, QString(), 16);
    connect(this, &QTabBar::currentChanged, this, [this](int index) { showPage(index); });
}

void CICTabCtrl::Add(int tabIndex, QWidget* window, bool focus) {
    if (tabIndex < 0 || tabIndex >= count() || !window)
        return;
    m_entries.append({window, tabIndex, focus});
}

void CICTabCtrl::Select(int tabIndex) {
    if (tabIndex == currentIndex())
        showPage(tabIndex);
    else
        setCurrentIndex(tabIndex);
}

void CICTabCtrl::showPage(int tabIndex) {
    for (const Entry& e : m_entries) {
        if (e.window && e.tabIndex != tabIndex) {
            e.window->hide();
            e.window->setEnabled(false);
        }
    }
    for (const Entry& e : m_entries) {
        if (e.window && e.tabIndex == tabIndex) {
            e.window->setEnabled(true);
            e.window->show();
            if (e.focus)
                e.window->setFocus(Qt::TabFocusReason);
        }
    }
}
