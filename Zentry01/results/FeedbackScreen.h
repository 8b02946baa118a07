#pragma once
// The layout of the two feedback screens: the banner, the large ○/× mark
// (shown only with the figure feedback), the message, and OK. Enter is OK; Esc
// does nothing; OK shows the screen that opened it again.
#include "ResultScreen.h"

class QLabel;
class QPushButton;

class CFeedbackScreen : public CResultScreen {
    Q_OBJECT
public:
    QLabel* Mark() const { return m_mark; }
    QLabel* Message() const { return m_message; }

protected:
    CFeedbackScreen(const QString& bannerCaption, QWidget* parent);
    // Shows the figure, or not; the message is 12 points beside a figure, 20 without.
    void setFigureMode(bool figure);
    void setMarkColour(const QColor& colour);
    void setMessageColour(const QColor& colour);


private:
    void ok();

    QLabel* m_mark;
    QLabel* m_message;
};
