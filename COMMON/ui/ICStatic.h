#pragma once
// A label with colours of its own: the item labels of the task screens turn
// red for wrong items and back to the normal button colours.
#include "ICControlBase.h"

#include <QColor>
#include <QLabel>

class CICStatic : public QLabel, public CICControlBase {
    Q_OBJECT

public:
    explicit CICStatic(QWidget* parent = nullptr);

    // Takes the face for the label's text (the label's own size and weight kept).
    void Attach(const QString& faceName);
    // The string with that id; empty when the table has none.
    void SetTextId(int stringId);
    void SetColours(const QColor& text, const QColor& background);
    // Back to the system's button text on button face.
    void ResetColours();
    bool HasColours() const { return m_coloursSet; }
    QColor TextColour() const;
    QColor BackgroundColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_coloursSet = false;
    QColor m_text;
    QColor m_background;
};
