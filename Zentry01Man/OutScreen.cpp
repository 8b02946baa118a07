#include "OutScreen.h"

#include "AppSub.h"
#include "ScreenSetup.h"
#include "UtilityResources.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

COutScreen::COutScreen(const QString& title, QWidget* parent) : QDialog(parent) {
    auto* outer = new QVBoxLayout(this);
    m_body = new QVBoxLayout;
    outer->addLayout(m_body, 1);
    outer->addWidget(ScreenSetup::ResizeNote(this));
    ScreenSetup::SetUpPlacedScreen(this, title, UtilityIcon());
}

QHBoxLayout* COutScreen::userNameRow(CDB& userDb, int userCode) {
    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("ユーザー名"), this);
    auto* field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("userName"));
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setMinimumWidth(ScreenSetup::ScaleX(this, 220));
    QString fullName, fullKana;
    AppSub::GetUserDisplayNames(userDb, userCode, fullName, fullKana);
    field->setText(fullName);
    row->addWidget(caption);
    row->addWidget(field);
    row->addStretch(1);
    m_body->addLayout(row);
    return row;
}

QLabel* COutScreen::countLabel() {
    auto* label = new QLabel(countText(0), this);
    label->setObjectName(QStringLiteral("countLabel"));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QString COutScreen::countText(int rows) { return QStringLiteral("%1 件").arg(rows); }

void COutScreen::focusLater(QWidget* w) {
    QTimer::singleShot(0, w, [w] { w->setFocus(Qt::OtherFocusReason); });
}
