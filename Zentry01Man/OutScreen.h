#pragma once
// Base of the utility's history, result output and comparison screens: a
// resizable window of at least 720 × 520 on the shared WindowPos placement,
// the controls in a body above the note "この画面は最大化やリサイズができます。",
// the user's name and the "%d 件" count where a screen shows them, and the
// focus moved to the list once a refill is done.
#include <QDialog>

class CDB;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;

class COutScreen : public QDialog {
    Q_OBJECT
public:
    COutScreen(const QString& title, QWidget* parent);

protected:
    // Where the screen puts its controls (top to bottom).
    QVBoxLayout* body() const { return m_body; }
    // A row with the user's full name in a read-only field ("ユーザー名"); more
    // controls go in before its last item, the stretch.
    QHBoxLayout* userNameRow(CDB& userDb, int userCode);
    // A label for the count of listed rows.
    QLabel* countLabel();
    static QString countText(int rows);
    // Moves the focus to w once the events queued by a refill are handled.
    static void focusLater(QWidget* w);

private:
    QVBoxLayout* m_body;
};
