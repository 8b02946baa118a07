#pragma once
// A small patch of one colour under each colour choice of the conditions screen.
#include <QColor>
#include <QWidget>

class CColourSwatch : public QWidget {
    Q_OBJECT
public:
    explicit CColourSwatch(QWidget* parent = nullptr);
    void setColour(const QColor& colour);
    QColor colour() const { return m_colour; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};
