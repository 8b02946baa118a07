#include "MstDataDlg.h"

#include "AppSub.h"
#include "DB.h"
#include "FileDialogs.h"
#include "Guarded.h"
#include "OkCancelButtons.h"
#include "ProgramFolder.h"
#include "ScreenFit.h"
#include "ScreenSetup.h"
#include "StringTable.h"
#include "UtilityResources.h"
#include "Zentry01ManApp.h"
#include "Zentry01ManStrings.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CMstDataDlg::CMstDataDlg(CZentry01ManApp& app, QWidget* parent) : QDialog(parent), m_app(app) {
    setObjectName(QStringLiteral("mstDataScreen"));
    setWindowTitle(QStringLiteral("マスターデータ管理"));
    setWindowIcon(UtilityIcon());
    ScreenFit::KeepFitted(this);

    m_path = new QLineEdit(AppSub::GetProfileString(QStringLiteral("mst_path"), DefaultPath()), this);
    m_path->setObjectName(QStringLiteral("pathEdit"));
    m_path->setMinimumWidth(ScreenSetup::ScaleX(this, 420));
    auto* pathLabel = new QLabel(QStringLiteral("ファイル名："), this);
    pathLabel->setBuddy(m_path);
    auto* browseButton = new QPushButton(QStringLiteral("参照..."), this);
    browseButton->setObjectName(QStringLiteral("browseButton"));
    browseButton->setAutoDefault(false);

    QDialogButtonBox* buttons = OkCancelButtons(this, [this] { ok(); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("マスターデータ・ファイル（.mst）を指定します。"), this), 0, 0, 1, 3);
    grid->addWidget(pathLabel, 1, 0);
    grid->addWidget(m_path, 1, 1);
    grid->addWidget(browseButton, 1, 2);
    grid->setRowMinimumHeight(2, ScreenSetup::ScaleY(this, 8));
    grid->addWidget(buttons, 3, 0, 1, 3);

    connect(browseButton, &QPushButton::clicked, this, [this] { Guarded([this] { browse(); }); });
}

QString CMstDataDlg::DefaultPath() { return sharedDataFolder() + QStringLiteral("Quillon01.mst"); }

void CMstDataDlg::browse() {
    const QString chosen = FileDialogs::getOpenFileName(
        this, QStringLiteral("ﾏｽﾀｰ ﾃﾞｰﾀ ﾌｧｲﾙ (*.mst);;すべてのﾌｧｲﾙ (*.*)"), m_path->text());
    if (!chosen.isEmpty())
        m_path->setText(chosen);
}

void CMstDataDlg::ok() {
    const QString path = m_path->text();
    if (!QFileInfo(path).isFile()) {
        AppMessageBox(Zentry01ManStrings::FileNotFound, path);
        return;
    }
    // Checked before anything is saved: a file without the master tables would
    // leave both programs without cards and vouchers.
    const QString problem = CDB::MasterFileProblem(path);
    if (!problem.isEmpty()) {
        AppMessageBox(problem + QStringLiteral("\n\nマスター・データ・ファイルの指定は変更していません。"));
        m_path->setFocus();
        m_path->selectAll();
        return;
    }
    AppSub::WriteProfileString(QStringLiteral("mst_path"), path);
    m_app.DiscardDeck();
    m_app.ReconnectMaster();
    accept();
}
