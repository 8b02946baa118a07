#include "KaisekiDlg.h"

#include "AppSub.h"
#include "Export.h"
#include "ExternalDataChecks.h"
#include "FileDialogs.h"
#include "Guarded.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "UtilityResources.h"
#include "WaitCursor.h"
#include "Zentry01ManApp.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kSourceKey = QStringLiteral("Ver2InstallPath");
const QString kDestinationKey = QStringLiteral("ExportPath");
const QString kImportKey = QStringLiteral("ImportPath");

// Every button of the screen has one width, so both groups' fields line up.
QPushButton* button(QWidget* parent, const QString& text, const char* name) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("エクスポート(E)")) + 32);
    return b;
}
} // namespace

CKaisekiDlg::CKaisekiDlg(QWidget* parent) : QDialog(parent) {
    CWaitCursor wait;
    setObjectName(QStringLiteral("externalDataScreen"));

    auto* exportBox = new QGroupBox(QStringLiteral("データの取り出し"), this);
    auto* exportGrid = new QGridLayout(exportBox);
    m_source = folderRow(exportGrid, 0, QStringLiteral("取り出し元フォルダをしてください(&T)"), "sourceField",
                         QStringLiteral("参照(&B)..."));
    auto* note = new QLabel(QStringLiteral("※「Quillon01Ver2」または「Quillon01Ver3」フォルダを指定してください。"), exportBox);
    exportGrid->addWidget(note, 2, 0, 1, 2);
    m_destination = folderRow(exportGrid, 3, QStringLiteral("保存先フォルダを指定してください(&S)"), "destinationField",
                              QStringLiteral("参照(&B)..."));
    QPushButton* exportButton = button(exportBox, QStringLiteral("エクスポート(&E)"), "exportButton");
    exportGrid->addWidget(exportButton, 5, 1, Qt::AlignRight);

    auto* importBox = new QGroupBox(QStringLiteral("データの取り込み"), this);
    auto* importGrid = new QGridLayout(importBox);
    m_import = folderRow(importGrid, 0, QStringLiteral("読み込み元フォルダを指定してください(&O)"), "importField",
                         QStringLiteral("参照(&P)..."));
    QPushButton* importButton = button(importBox, QStringLiteral("インポート(&I)"), "importButton");
    importGrid->addWidget(importButton, 2, 1, Qt::AlignRight);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(16);
    layout->addWidget(exportBox);
    layout->addWidget(importBox);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(exportButton, &QPushButton::clicked, this, [this] { Guarded([this] { exportData(); }); });
    connect(importButton, &QPushButton::clicked, this, [this] { Guarded([this] { importData(); }); });

    ScreenSetup::SetUpScreen(this, UtilityIcon());
    setWindowTitle(QStringLiteral("外部データの取り出し・取り込み"));
    m_source->setText(AppSub::GetProfileString(kSourceKey, QString()));
    m_destination->setText(AppSub::GetProfileString(kDestinationKey, QString()));
    m_import->setText(AppSub::GetProfileString(kImportKey, QString()));
}

CKaisekiDlg::~CKaisekiDlg() = default;

QLineEdit* CKaisekiDlg::folderRow(QGridLayout* grid, int row, const QString& label, const char* name,
                                  const QString& browseText) {
    QWidget* box = grid->parentWidget();
    auto* caption = new QLabel(label, box);
    auto* field = new QLineEdit(box);
    field->setObjectName(QLatin1String(name));
    caption->setBuddy(field);
    QPushButton* browse = button(box, browseText, (QByteArray(name) + "Browse").constData());
    grid->addWidget(caption, row, 0, 1, 2);
    grid->addWidget(field, row + 1, 0);
    grid->addWidget(browse, row + 1, 1);
    connect(browse, &QPushButton::clicked, this, [this, field] {
        const QString chosen =
            FileDialogs::getExistingDirectory(this, QStringLiteral("フォルダを選択して下さい。"), field->text());
        if (!chosen.isEmpty())
            field->setText(chosen);
    });
    return field;
}

void CKaisekiDlg::exportData() {
    CWaitCursor wait;
    const QString source = m_source->text(), destination = m_destination->text();
    if (const auto refusal = ExternalDataChecks::CheckExport(source, destination)) {
        AppMessageBox(refusal->message);
        (refusal->field == ExternalDataChecks::Field::Source ? m_source : m_destination)->setFocus();
        return;
    }
    if (!AppMessageBox(ExportStrings::ConfirmExport, MsgIcon::Exclamation, MsgButtons::YesNo)) {
        m_destination->setFocus();
        return;
    }
    CExport exporter;
    if (exporter.Export(source, destination))
        AppMessageBox(ExportStrings::ExportDoneText(exporter.LeftOutTrials()), MsgIcon::Information);
}

void CKaisekiDlg::importData() {
    CWaitCursor wait;
    const QString folder = m_import->text();
    if (ExternalDataChecks::CheckImport(folder)) {
        AppMessageBox(ExportStrings::NoImportData);
        m_import->setFocus();
        return;
    }
    CExport importer;
    if (importer.Import(theManApp().UserDb(), folder) == CExport::ImportResult::Done)
        AppMessageBox(ExportStrings::ImportDone, MsgIcon::Information);
}

void CKaisekiDlg::done(int result) {
    AppSub::WriteProfileString(kSourceKey, m_source->text());
    AppSub::WriteProfileString(kDestinationKey, m_destination->text());
    AppSub::WriteProfileString(kImportKey, m_import->text());
    QDialog::done(result);
}
