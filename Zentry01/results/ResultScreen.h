#pragma once
// Base of the screens a trainee passes through after a trial (feedback, result
// list, answers, graph): Esc does nothing — each is left by its own button —
// and leaving shows the screen underneath again.
#include <QDialog>

class CResultScreen : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Shows the parent screen again and closes this one as accepted.
    void closeShowingParent();
};
