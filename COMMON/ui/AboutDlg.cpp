#include "AboutDlg.h"

#include "ScreenFit.h"
#include "ScreenSetup.h"

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
    ScreenFit::KeepFitted(this);

    auto* picture = new QLabel(this);
    const int side = ScreenSetup::ScaleX(this, 48);
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
    grid->setHorizontalSpacing(ScreenSetup::ScaleX(this, 16));
    grid->addWidget(picture, 0, 0, 2, 1);
    grid->addWidget(version, 0, 1);
    grid->addWidget(second, 1, 1);
    grid->addWidget(buttons, 2, 0, 1, 2);
    // Fixed to what the contents need, also when the fonts follow a reduced scale.
    grid->setSizeConstraint(QLayout::SetFixedSize);
}
