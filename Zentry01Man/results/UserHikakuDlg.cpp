#include "UserHikakuDlg.h"

#include "FileDialogs.h"
#include "Guarded.h"
#include "ICListCtrl.h"
#include "Labels.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "WaitCursor.h"
#include "Zentry01ManStrings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* const kSamples[CArrUserHikaku::kColumns] = {
    "999位", "■■■■■■■■", "999位", "99分99秒", "999回/999回", "9999項目", "100.0%",
    "999位", "99分99秒", "999回/999回", "9999項目", "100.0%", "999項目/999項目/999項目", "99.9%/99.9%/99.9%"};
}

CUserHikakuDlg::CUserHikakuDlg(CDB& userDb, QWidget* parent)
    : COutScreen(QStringLiteral("解析結果の出力[ユーザー比較]"), parent), m_userDb(userDb) {
    setObjectName(QStringLiteral("userCompareScreen"));
    auto* filters = new QHBoxLayout;
    m_task = addChoice(filters, QStringLiteral("課題(&K)"), "taskList");
    for (int task = 1; task <= 3; ++task)
        m_task->addItem(Labels::Problem(task), task);
    m_level = addChoice(filters, QStringLiteral("解析レベル(&E)"), "levelList");
    m_level->addItem(QStringLiteral("枚数レベル"), CArrUserHikaku::CardLevel);
    m_level->addItem(QStringLiteral("項目レベル"), CArrUserHikaku::ItemLevel);
    QPushButton* show = button(QStringLiteral("表示"), "showButton");
    filters->addWidget(show);
    filters->addStretch(1);
    body()->addLayout(filters);

    m_count = addCountRow();
    m_list = new CICListCtrl(this);
    m_list->setObjectName(QStringLiteral("compareList"));
    m_list->SetUp(true, QString(), 0);
    for (int c = 0; c < CArrUserHikaku::kColumns; ++c)
        m_list->InsertSizedColumn(c, CArrUserHikaku::Captions()[c], QString::fromUtf8(kSamples[c]));
    body()->addWidget(m_list, 1);

    m_save = button(QStringLiteral("保存(&S)"), "saveButton");
    QPushButton* close = button(QStringLiteral("閉じる"), "closeButton");
    addButtonRow({m_save, close});

    connect(show, &QPushButton::clicked, this, &CUserHikakuDlg::refill);
    connect(m_task, &QComboBox::activated, this, &CUserHikakuDlg::refill);
    connect(m_level, &QComboBox::activated, this, &CUserHikakuDlg::refill);
    connect(m_save, &QPushButton::clicked, this, &CUserHikakuDlg::save);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    refill();
}

void CUserHikakuDlg::refill() {
    Guarded([this] {
        CWaitCursor wait;
        m_comparison.Compute(m_userDb, m_task->currentData().toInt(), m_level->currentData().toInt());
        m_list->setUpdatesEnabled(false);
        m_list->DeleteAllItems();
        for (const CArrUserHikakuUserInfo& user : m_comparison.Users()) {
            const QStringList cells = m_comparison.Cells(user);
            QTreeWidgetItem* item = m_list->topLevelItem(m_list->InsertItem(m_list->ItemCount(), cells[0], user.m_user_code));
            for (int c = 1; c < cells.size(); ++c)
                item->setText(c, cells[c]);
        }
        m_list->setUpdatesEnabled(true);
        if (m_list->ItemCount() > 0)
            m_list->SelectRow(0);
        m_count->setText(countText(m_list->ItemCount()));
        m_save->setEnabled(m_list->ItemCount() > 0);
    });
    focusLater(m_list);
}

void CUserHikakuDlg::save() {
    Guarded([this] {
        if (m_comparison.Users().empty()) {
            AppMessageBox(Zentry01ManStrings::NothingToSave, MsgIcon::Exclamation);
            return;
        }
        const QString path = FileDialogs::getSaveFileName(
            this, QStringLiteral("CSV ﾌｧｲﾙ (*.csv);;すべてのﾌｧｲﾙ (*.*)"), QStringLiteral("csv"));
        if (path.isEmpty())
            return;
        ScreenSetup::SaveFile(path, m_comparison.CsvBytes());
    });
}
