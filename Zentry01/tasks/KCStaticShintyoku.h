#pragma once
// The text of the progress box on the task screens (targets, cards done, time
// left), drawn off-screen and copied on paint so the four updates a second do
// not flicker. Also composes that text, the same on every task screen.
#include "ICFont.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <optional>

class CKCStaticShintyoku : public QWidget {
    Q_OBJECT

public:
    explicit CKCStaticShintyoku(QWidget* parent = nullptr);

    // Creates the off-screen pixmap and draws the current text; the screen calls
    // it once the control is in place.
    void Prepare();
    virtual void SetText(const QString& text);
    virtual QString GetText() const { return m_text; }

    // The progress text for a course, or nothing when neither the progress nor
    // the timer display is on (the control is then left as it is).
    static std::optional<QString> ProgressText(int courseCode, bool progressFlg, bool timerFlg, int targetValue,
                                               int targetValue2, int done, int remainingSeconds);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void render();

    QPixmap m_pixmap;
    QString m_text;
};
