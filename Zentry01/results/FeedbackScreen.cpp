#include "FeedbackScreen.h"

#include "BannerPicture.h"
#include "ICFont.h"
#include "ProgramResources.h"
#include "ScreenSetup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kGothic = QStringLiteral("ＭＳ ゴシック");

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}
} // namespace

CFeedbackScreen::CFeedbackScreen(const QString& bannerCaption, QWidget* parent) : CResultScreen(parent) {
    auto* body = AddBannerAndBody<QVBoxLayout>(this, bannerCaption, 30, 16, 16);
    body->setSpacing(ScreenSetup::ScaleY(this, 12));

    m_mark = new QLabel(this);
    m_mark->setObjectName(QStringLiteral("mark"));
    m_mark->setFont(CICFont(1600, kGothic, true));
    m_mark->setAlignment(Qt::AlignCenter);
    m_mark->setAutoFillBackground(true);
    QPalette white = m_mark->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    m_mark->setPalette(white);
    body->addWidget(m_mark, 1);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    // Lines start at one left edge (the final feedback's colons line up); the
    // block as a whole is centred.
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextColour(m_message, Qt::black);
    body->addWidget(m_message, 1, Qt::AlignHCenter);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    okButton->setMinimumSize(ScreenSetup::ScaleX(this, 110), ScreenSetup::ScaleY(this, 30));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(okButton);
    row->addStretch(1);
    body->addLayout(row);
    connect(okButton, &QPushButton::clicked, this, &CFeedbackScreen::ok);

    ScreenSetup::SetUpScreen(this, ProgramIcon());
    setFigureMode(false);
}

void CFeedbackScreen::setFigureMode(bool figure) {
    m_mark->setVisible(figure);
    m_message->setFont(CICFont(figure ? 120 : 200, kGothic));
}

void CFeedbackScreen::setMarkColour(const QColor& colour) {
    QPalette p = m_mark->palette();
    p.setColor(QPalette::WindowText, colour);
    m_mark->setPalette(p);
}

void CFeedbackScreen::setMessageColour(const QColor& colour) { setTextColour(m_message, colour); }

void CFeedbackScreen::ok() { closeShowingParent(); }
