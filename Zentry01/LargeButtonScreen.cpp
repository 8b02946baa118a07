#include "LargeButtonScreen.h"

#include "BannerPicture.h"
#include "ProgramResources.h"
#include "ScreenSetup.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kButtonWidth = 440; // at 96 DPI
constexpr int kButtonHeight = 60;
constexpr int kButtonGap = 18;

QFont largeFont(int points) {
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPointSize(points);
    return f;
}
} // namespace

CLargeButtonScreen::CLargeButtonScreen(const QString& bannerCaption, QWidget* parent) : QDialog(parent) {
    QVBoxLayout* outer = AddBanner(this, bannerCaption);

    auto* area = new QWidget(this);
    m_column = new QVBoxLayout(area);
    m_column->setSpacing(ScreenSetup::ScaleY(this, kButtonGap));
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
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setFont(largeFont(16));
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setFixedSize(ScreenSetup::ScaleX(this, kButtonWidth), ScreenSetup::ScaleY(this, kButtonHeight));
    button->setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding-left: %1px; }")
                              .arg(ScreenSetup::ScaleX(this, 24)));
    m_column->addWidget(button, 0, Qt::AlignHCenter);
    m_buttons << button;
    return button;
}

void CLargeButtonScreen::finishSetUp() {
    m_column->addStretch(2);
    ScreenSetup::SetUpScreen(this, ProgramIcon());
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
