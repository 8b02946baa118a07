#include "UserSelectScreen.h"

#include "Guarded.h"
#include "ScreenFit.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "UserListCtrl.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CUserSelectScreen::CUserSelectScreen(CDB& userDb, const QString& lead, const QString& help, int selectRowString,
                                     QWidget* parent)
    : QDialog(parent), m_selectRowString(selectRowString) {
    setObjectName(QStringLiteral("userSelectScreen"));
    ScreenFit::KeepFitted(this);
    auto* leadLine = new QLabel(lead, this);
    auto* helpLine = new QLabel(help, this);
    auto* caption = new QLabel(QStringLiteral("ユーザー名リスト(&L)"), this);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("countLabel"));
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_list = new CUserListCtrl(false, this);
    m_list->setMinimumSize(ScreenSetup::ScaleX(this, 460), ScreenSetup::ScaleY(this, 240));
    caption->setBuddy(m_list);

    m_next = new QPushButton(QStringLiteral("次へ"), this);
    m_next->setObjectName(QStringLiteral("nextButton"));
    m_next->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(leadLine, 0, 0, 1, 2);
    grid->addWidget(helpLine, 1, 0, 1, 2);
    grid->setRowMinimumHeight(2, ScreenSetup::ScaleY(this, 8));
    grid->addWidget(caption, 3, 0);
    grid->addWidget(m_count, 3, 1);
    grid->addWidget(m_list, 4, 0, 1, 2);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch(1);
    m_buttons->addWidget(m_next);
    m_buttons->addWidget(close);
    grid->addLayout(m_buttons, 5, 0, 1, 2);

    connect(m_next, &QPushButton::clicked, this, &CUserSelectScreen::next);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item && item->isSelected())
            next();
    });

    m_list->Fill(userDb);
    m_count->setText(QStringLiteral("%1 件").arg(m_list->ItemCount()));
    m_next->setEnabled(m_list->ItemCount() > 0);
}

int CUserSelectScreen::RowCount() const { return m_list->ItemCount(); }

void CUserSelectScreen::addButton(QPushButton* button) {
    button->setAutoDefault(false);
    m_buttons->insertWidget(m_buttons->indexOf(m_next), button);
}

void CUserSelectScreen::next() {
    Guarded([this] {
        const int code = m_list->SelectedUserCode();
        if (code == 0) {
            AppMessageBox(m_selectRowString, MsgIcon::Exclamation);
            return;
        }
        chosen(code);
    });
}
