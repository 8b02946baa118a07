#pragma once
// What the control wrappers share: the wrapped window, a font of their own made
// from the window's font with another face, and a tag kept on the window.
#include <QFont>
#include <QSize>
#include <QString>

class QWidget;

class CICControlBase {
public:
    virtual ~CICControlBase() = default;

    // Remembers the window; with a face name, keeps the window's font with that
    // face as the own font (the window is not given it here). The tag is stored
    // on the window as the property "tag".
    virtual void Attach(QWidget* window, const QString& faceName, int tag);
    QWidget* AttachedWindow() const { return m_window; }
    const QFont& OwnFont() const { return m_font; }
    bool HasOwnFont() const { return m_hasFont; }

    // Moves without resizing.
    void MoveTo(int x, int y);
    // The window's outer size and its inner (client) size; empty when nothing is attached.
    QSize WindowSize() const;
    QSize ClientSize() const;

    static int Tag(const QWidget* window);

private:
    QWidget* m_window = nullptr;
    QFont m_font;
    bool m_hasFont = false;
};
