#include "OutScreen.h"

#include "AppSub.h"
#include "Labels.h"
#include "ScreenSetup.h"
#include "UtilityResources.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QLineEdit* readOnlyField(QWidget* screen, const QString& text, const char* name) {
    auto* field = new QLineEdit(text, screen);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    return field;
}
} // namespace

COutScreen::COutScreen(const QString& title, QWidget* parent) : QDialog(parent) {
    auto* outer = new QVBoxLayout(this);
    m_body = new QVBoxLayout;
    outer->addLayout(m_body, 1);
    outer->addWidget(ScreenSetup::ResizeNote(this));
    ScreenSetup::SetUpPlacedScreen(this, title, UtilityIcon());
}

QHBoxLayout* COutScreen::addUserRow(CDB& userDb, int userCode, int timeBand) {
    QString fullName, fullKana;
    AppSub::GetUserDisplayNames(userDb, userCode, fullName, fullKana);
    auto* row = new QHBoxLayout;
    QLineEdit* name = readOnlyField(this, fullName, "userName");
    name->setMinimumWidth(ScreenSetup::ScaleX(this, 220));
    row->addWidget(new QLabel(QStringLiteral("ユーザー名"), this));
    row->addWidget(name);
    if (timeBand >= 0) {
        row->addWidget(new QLabel(QStringLiteral("経過時間"), this));
        row->addWidget(readOnlyField(this, Labels::TimeBand(timeBand), "bandField"));
    }
    row->addStretch(1);
    m_body->addLayout(row);
    return row;
}

QComboBox* COutScreen::choice(const QString& caption, const char* name, QLabel*& label) {
    label = new QLabel(caption, this);
    auto* list = new QComboBox(this);
    list->setObjectName(QLatin1String(name));
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label->setBuddy(list);
    return list;
}

QComboBox* COutScreen::addChoice(QBoxLayout* row, const QString& caption, const char* name) {
    QLabel* label = nullptr;
    QComboBox* list = choice(caption, name, label);
    row->addWidget(label);
    row->addWidget(list);
    return list;
}

QPushButton* COutScreen::button(const QString& caption, const char* name) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

void COutScreen::addButtonRow(std::initializer_list<QPushButton*> right, QPushButton* left) {
    auto* row = new QHBoxLayout;
    if (left)
        row->addWidget(left);
    row->addStretch(1);
    for (QPushButton* b : right)
        row->addWidget(b);
    m_body->addLayout(row);
}

QLabel* COutScreen::addCountRow() {
    auto* label = new QLabel(countText(0), this);
    label->setObjectName(QStringLiteral("countLabel"));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(label);
    m_body->addLayout(row);
    return label;
}

QString COutScreen::countText(int rows) { return QStringLiteral("%1 件").arg(rows); }

void COutScreen::focusLater(QWidget* w) {
    QTimer::singleShot(0, w, [w] { w->setFocus(Qt::OtherFocusReason); });
}
