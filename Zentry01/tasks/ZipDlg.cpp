#include "ZipDlg.h"

#include "DB.h"
#include "ScreenFit.h"
#include "StringTable.h"
#include "WaitCursor.h"
#include "Zentry01Strings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CZipDlg::CZipDlg(CDB& master, const QString& typed, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ZipDlg"));
    setWindowTitle(QStringLiteral("郵便番号検索"));
    ScreenFit::KeepFitted(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("郵便番号検索で複数の住所が見つかりました。"), this));
    layout->addWidget(new QLabel(QStringLiteral("リストからあてはまるものをクリックして[OK]ボタンを押してください。"), this));
    auto* codeText = new QLabel(QStringLiteral("郵便番号：") + typed, this);
    codeText->setObjectName(QStringLiteral("zipCode"));
    layout->addWidget(codeText);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("addressList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumSize(480, 200);
    QFont listFont = m_list->font();
    listFont.setPointSize(11); // addresses in kanji, read at a glance
    m_list->setFont(listFont);
    layout->addWidget(m_list, 1);

    m_countText = new QLabel(this);
    m_countText->setObjectName(QStringLiteral("countText"));
    layout->addWidget(m_countText);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &CZipDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CZipDlg::reject);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CZipDlg::updateOk);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] {
        if (!m_list->selectedItems().isEmpty())
            accept();
    });

    fillList(master, typed);
}

void CZipDlg::fillList(CDB& master, const QString& typed) {
    CWaitCursor wait;
    m_count = master.CountZip(typed);
    if (m_count <= 0)
        return;
    for (int i = 0; i < m_count; ++i) {
        QString pref, city, town;
        master.FetchZip(typed, i, pref, city, town);
        m_list->addItem(pref + city + town);
    }
    m_list->setCurrentRow(0);
    m_countText->setText(QStringLiteral("%1 件").arg(m_count));
    updateOk();
}

int CZipDlg::exec() {
    if (m_count <= 0) {
        setResult(Rejected);
        return Rejected;
    }
    return QDialog::exec();
}

void CZipDlg::updateOk() { m_ok->setEnabled(!m_list->selectedItems().isEmpty()); }

void CZipDlg::accept() {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        AppMessageBox(Zentry01Strings::SelectListRow, MsgIcon::Exclamation);
        return;
    }
    m_address = selected.first()->text();
    QDialog::accept();
}
