#pragma once
// The countdown dial of the task screens: a grey disc whose blue part is the
// time still left, shrinking clockwise from twelve o'clock. Drawn into an
// off-screen pixmap when a value changes; painting only copies it, so four
// updates a second do not flicker.
#include <QColor>
#include <QPixmap>
#include <QWidget>

class CCountTimer : public QWidget {
    Q_OBJECT

public:
    explicit CCountTimer(QWidget* parent = nullptr);

    // Starts the dial: total and remaining both become seconds.
    void SetTotal(int seconds);
    // Ignored until a total has been set.
    void SetRemaining(int seconds);
    int Total() const { return m_total; }
    int Remaining() const { return m_remaining; }

    // The angle of the elapsed part in radians: whole percent elapsed, with 6.28 for a full turn.
    static double ElapsedAngle(int remaining, int total);

    static const QColor kOutline;
    static const QColor kDisc;
    static const QColor kWedge;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createPixmap();
    void render();

    QPixmap m_pixmap; // null until the total is set
    int m_total = 0;
    int m_remaining = 0;
};
