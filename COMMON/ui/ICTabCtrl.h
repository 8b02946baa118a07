#pragma once
// A tab row whose pages are ordinary controls of the screen: changing the tab
// hides and disables the controls of the other pages and shows and enables
// those of the chosen one.
#include "ICControlBase.h"

#include <QList>
#include <QPointer>
#include <QTabBar>

class CICTabCtrl : public QTabBar, public CICControlBase {
    Q_OBJECT

public:
    explicit CICTabCtrl(QWidget* parent = nullptr);

    // Registers a control for a page; ignored when the page does not exist.
    // A control with focus set takes the focus when its page is chosen.
    void Add(int tabIndex, QWidget* window, bool focus = false);
    // Chooses the page and brings its controls forward (also when already chosen).
    void Select(int tabIndex);

private:
    void showPage(int tabIndex);

    struct Entry {
        QPointer<QWidget> window;
        int tabIndex;
        bool focus;
    };
    QList<Entry> m_entries;
};
