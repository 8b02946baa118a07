#pragma once
// The layout shared by the menu and the course screen: the banner across the
// top, an optional line of text, and a column of large buttons that stays
// centred as the screen is resized. Enter does nothing here; Esc is the last
// button (the screen's cancel); a digit key alone presses the button that
// carries it as its mnemonic, as on the original screens.
#include <QDialog>
#include <QList>

class QPushButton;
class QVBoxLayout;
class CBannerPicture;

class CLargeButtonScreen : public QDialog {
    Q_OBJECT
public:
    explicit CLargeButtonScreen(const QString& bannerCaption, QWidget* parent = nullptr);

protected:
    // Adds a line of text above the buttons.
    void addText(const QString& text, const QString& objectName);
    QPushButton* addButton(const QString& text, const QString& objectName);
    // Sets the screen up (title, icon, size); call at the end of the constructor.
    void finishSetUp();

    void keyPressEvent(QKeyEvent* event) override;

private:
    QVBoxLayout* m_column;
    QList<QPushButton*> m_buttons;
};
