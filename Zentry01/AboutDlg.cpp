#include "AboutDlg.h"

#include "DB.h"
#include "ProgramResources.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(CDB& masterDb, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowIcon(ProgramIcon());

    auto* picture = new QLabel(this);
    const int side = logicalDpiX() * 48 / 96;
    picture->setPixmap(ProgramIcon().pixmap(side, side));
    picture->setAlignment(Qt::AlignTop);

    auto* version = new QLabel(QStringLiteral("ソラミ！ミルテア！ Version 3.0"), this);
    version->setObjectName(QStringLiteral("versionLine"));
    auto* postal = new QLabel(PostalDataLine(masterDb.ZipDataDate()), this);
    postal->setObjectName(QStringLiteral("postalDataLine"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(logicalDpiX() * 16 / 96);
    grid->addWidget(picture, 0, 0, 2, 1);
    grid->addWidget(version, 0, 1);
    grid->addWidget(postal, 1, 1);
    grid->addWidget(buttons, 2, 0, 1, 2);
    setFixedSize(sizeHint());
}

QString CAboutDlg::PostalDataLine(const QString& date) {
    if (date.isEmpty())
        return {};
    return QStringLiteral("郵便番号検索は、日本郵政公社 %1更新のデータを使用しています。").arg(date);
}
