#pragma once
// The layout of both programs' menus and of the course screen: the banner
// across the top, an optional line of text, and a column of large buttons that
// stays centred as the screen is resized. There is no default button: Enter
// presses the focused button (ScreenConventions) and nothing else; Esc is the
// last button (the screen's cancel); a digit key alone presses the button that
// carries it as its mnemonic, as on the original screens. A screen may offer
// the version item of the window menu, shown here as the context menu.
#include <QDialog>
#include <QList>

#include <functional>

class QIcon;
class QPushButton;
class QVBoxLayout;

class CLargeButtonScreen : public QDialog {
    Q_OBJECT
public:
    // Size of the buttons at 96 DPI and of their text.
    struct ButtonStyle {
        int width = 440;
        int height = 60;
        int gap = 18;
        int points = 16;
    };

    explicit CLargeButtonScreen(const QString& bannerCaption, QWidget* parent = nullptr);
    CLargeButtonScreen(const QString& bannerCaption, const ButtonStyle& style, QWidget* parent = nullptr);

protected:
    // Adds a line of text above the buttons.
    void addText(const QString& text, const QString& objectName);
    QPushButton* addButton(const QString& text, const QString& objectName);
    // Sets the screen up (title, icon, size); call at the end of the constructor.
    void finishSetUp(const QIcon& icon);
    // The window menu: its close item disabled, then after a separator the
    // version item (caption text), which runs showVersion.
    void setVersionItem(const QString& text, std::function<void()> showVersion);

    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    ButtonStyle m_style;
    QVBoxLayout* m_column;
    QList<QPushButton*> m_buttons;
    QString m_versionText;
    std::function<void()> m_showVersion;
};
