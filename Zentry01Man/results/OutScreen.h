#pragma once
// Base of the utility's history, result output and comparison screens: a
// resizable window of at least 720 × 520 on the shared WindowPos placement,
// the controls in a body above the note "この画面は最大化やリサイズができます。",
// and the small parts these screens share (the user's name, captioned
// drop-down lists, the "%d 件" count, the row of buttons).
#include <QDialog>

#include <initializer_list>

class CDB;
class QBoxLayout;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

class COutScreen : public QDialog {
    Q_OBJECT
public:
    COutScreen(const QString& title, QWidget* parent);

protected:
    // Where the screen puts its controls (top to bottom).
    QVBoxLayout* body() const { return m_body; }
    // A row with the user's full name in a read-only field ("ユーザー名") and,
    // given a time band (0..4), its label in a field "経過時間".
    QHBoxLayout* addUserRow(CDB& userDb, int userCode, int timeBand = -1);
    // A drop-down list and its caption, which carries its mnemonic; addChoice
    // adds both to a row.
    QComboBox* choice(const QString& caption, const char* name, QLabel*& label);
    QComboBox* addChoice(QBoxLayout* row, const QString& caption, const char* name);
    // A button that Enter does not press unless made the default.
    QPushButton* button(const QString& caption, const char* name);
    // The bottom row: these buttons at the right edge, one more at the left.
    void addButtonRow(std::initializer_list<QPushButton*> right, QPushButton* left = nullptr);
    // The "%d 件" count at the right above a list.
    QLabel* addCountRow();
    static QString countText(int rows);
    // Moves the focus to w once the events queued by a refill are handled.
    static void focusLater(QWidget* w);

private:
    QVBoxLayout* m_body;
};
