#include "ResultScreen.h"

#include <QKeyEvent>

void CResultScreen::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CResultScreen::closeShowingParent() {
    if (parentWidget())
        parentWidget()->show();
    accept();
}
