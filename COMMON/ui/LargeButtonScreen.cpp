#include "LargeButtonScreen.h"

#include "BannerPicture.h"
#include "ScreenSetup.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QVBoxLayout>

namespace {
QFont largeFont(int points) {
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPointSize(points);
    return f;
}

// A large button with its caption at the left. In a proportional font "１．"
// and "２．" differ in width, so a numbered caption ("　１．　アンケート入力")
// is drawn in two columns: the number, then the label at the same x on every
// button, whatever the digit. The button face (with its focus colour) is the
// style's own across the whole width.
class LargeButton : public QPushButton {
public:
    LargeButton(const QString& text, int padding, QWidget* parent) : QPushButton(text, parent), m_padding(padding) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QStyleOptionButton face;
        initStyleOption(&face);
        face.text.clear();
        style()->drawControl(QStyle::CE_PushButton, &face, &p, this);

        static const QRegularExpression numbered(QStringLiteral("^([ 　]*)([0-9０-９]+[.．])([ 　]*)(.*)$"));
        const QFontMetrics fm = fontMetrics();
        const QRect area = rect().adjusted(m_padding, 0, -m_padding / 2, 0);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
        const QRegularExpressionMatch m = numbered.match(text());
        if (!m.hasMatch()) {
            style()->drawItemText(&p, area, flags, palette(), isEnabled(), text(), QPalette::ButtonText);
            return;
        }
        const int numberX = fm.horizontalAdvance(m.captured(1));
        int numberColumn = 0;
        for (QChar digit : QStringLiteral("０１２３４５６７８９0123456789"))
            numberColumn = std::max(numberColumn, fm.horizontalAdvance(QString(m.captured(2).size() - 1, digit)));
        numberColumn += fm.horizontalAdvance(m.captured(2).right(1));
        const int labelX = numberX + numberColumn + fm.horizontalAdvance(m.captured(3));
        style()->drawItemText(&p, area.adjusted(numberX, 0, 0, 0), flags, palette(), isEnabled(), m.captured(2),
                              QPalette::ButtonText);
        style()->drawItemText(&p, area.adjusted(labelX, 0, 0, 0), flags, palette(), isEnabled(), m.captured(4),
                              QPalette::ButtonText);
    }

private:
    int m_padding;
};
} // namespace

CLargeButtonScreen::CLargeButtonScreen(const QString& bannerCaption, QWidget* parent)
    : CLargeButtonScreen(bannerCaption, ButtonStyle(), parent) {}

CLargeButtonScreen::CLargeButtonScreen(const QString& bannerCaption, const ButtonStyle& style, QWidget* parent)
    : QDialog(parent), m_style(style) {
    QVBoxLayout* outer = AddBanner(this, bannerCaption);

    auto* area = new QWidget(this);
    m_column = new QVBoxLayout(area);
    m_column->setSpacing(ScreenSetup::ScaleY(this, m_style.gap));
    m_column->setAlignment(Qt::AlignHCenter);
    m_column->addStretch(1);
    outer->addWidget(area, 1);
}

void CLargeButtonScreen::addText(const QString& text, const QString& objectName) {
    auto* label = new QLabel(text, this);
    label->setObjectName(objectName);
    label->setFont(largeFont(14));
    label->setAlignment(Qt::AlignCenter);
    m_column->addWidget(label, 0, Qt::AlignHCenter);
}

QPushButton* CLargeButtonScreen::addButton(const QString& text, const QString& objectName) {
    auto* button = new LargeButton(text, ScreenSetup::ScaleX(this, 24), this);
    button->setObjectName(objectName);
    button->setFont(largeFont(m_style.points));
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setFixedSize(ScreenSetup::ScaleX(this, m_style.width), ScreenSetup::ScaleY(this, m_style.height));
    m_column->addWidget(button, 0, Qt::AlignHCenter);
    m_buttons << button;
    return button;
}

void CLargeButtonScreen::finishSetUp(const QIcon& icon) {
    m_column->addStretch(2);
    ScreenSetup::SetUpScreen(this, icon);
}

void CLargeButtonScreen::setVersionItem(const QString& text, std::function<void()> showVersion) {
    m_versionText = text;
    m_showVersion = std::move(showVersion);
}

void CLargeButtonScreen::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_showVersion) {
        QDialog::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    QAction* close = menu.addAction(QStringLiteral("閉じる(&C)"));
    close->setEnabled(false);
    menu.addSeparator();
    QAction* about = menu.addAction(m_versionText);
    about->setObjectName(QStringLiteral("aboutAction"));
    if (menu.exec(event->globalPos()) == about)
        m_showVersion();
}

void CLargeButtonScreen::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    case Qt::Key_Escape:
        event->accept();
        if (!m_buttons.isEmpty())
            m_buttons.last()->click();
        return;
    default:
        break;
    }
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        const QString typed = event->text();
        for (QPushButton* b : std::as_const(m_buttons)) {
            if (!typed.isEmpty() && b->isEnabled() && b->text().contains(QLatin1Char('&') + typed)) {
                event->accept();
                b->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}
