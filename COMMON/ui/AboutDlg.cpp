#include "AboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(const QString& versionLine, const QString& secondLine, const QIcon& icon, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowIcon(icon);

    auto* picture = new QLabel(this);
    const int side = logicalDpiX() * 48 / 96;
    picture->setPixmap(icon.pixmap(side, side));
    picture->setAlignment(Qt::AlignTop);

    auto* version = new QLabel(versionLine, this);
    version->setObjectName(QStringLiteral("versionLine"));
    auto* second = new QLabel(secondLine, this);
    second->setObjectName(QStringLiteral("secondLine"));
    second->setVisible(!secondLine.isEmpty());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(logicalDpiX() * 16 / 96);
    grid->addWidget(picture, 0, 0, 2, 1);
    grid->addWidget(version, 0, 1);
    grid->addWidget(second, 1, 1);
    grid->addWidget(buttons, 2, 0, 1, 2);
    setFixedSize(sizeHint());
}
