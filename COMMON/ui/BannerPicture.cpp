#include "BannerPicture.h"

#include "CommonResources.h"
#include "ScreenSetup.h"

#include <QFont>
#include <QPainter>
#include <QSvgRenderer>

namespace {
constexpr int kHeight = 64; // at 96 DPI; the picture is drawn 800 × 80
}

CBannerPicture::CBannerPicture(const QString& caption, QWidget* parent)
    : QWidget(parent), m_caption(caption), m_renderer(new QSvgRenderer(this)) {
    LoadCommonResources();
    m_renderer->load(QStringLiteral(":/common/banner.svg"));
    setObjectName(QStringLiteral("banner"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize CBannerPicture::sizeHint() const {
    return {ScreenSetup::ScaleX(this, 800), ScreenSetup::ScaleY(this, kHeight)};
}

QSize CBannerPicture::minimumSizeHint() const { return {0, sizeHint().height()}; }

void CBannerPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setClipRect(rect());
    // The picture keeps its proportions at the banner's height, anchored at the
    // right; to its left the sky goes on in its left-edge colours.
    const QSizeF natural = m_renderer->defaultSize();
    const double scale = height() / natural.height();
    const double pictureWidth = natural.width() * scale;
    p.fillRect(rect(), QColor(0x2f, 0x7f, 0xd1));
    QLinearGradient shine(0, 0, 0, 34 * scale);
    shine.setColorAt(0, QColor(255, 255, 255, 71));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, width(), 34 * scale), shine);
    p.fillRect(QRectF(0, 76 * scale, width(), 4 * scale), QColor(0x1d, 0x5f, 0xa3));
    m_renderer->render(&p, QRectF(width() - pictureWidth, 0, pictureWidth, height()));

    QFont title(QStringLiteral("ＭＳ Ｐゴシック"));
    title.setPixelSize(ScreenSetup::ScaleY(this, 24)); // 18 points at 96 DPI, on the window's scale
    title.setBold(true);
    p.setFont(title);
    const int margin = ScreenSetup::ScaleX(this, 20);
    const QRect textRect = rect().adjusted(margin, 0, -margin, -height() / 16);
    p.setPen(QColor(0, 0, 0, 60));
    p.drawText(textRect.translated(1, 2), Qt::AlignLeft | Qt::AlignVCenter, m_caption);
    p.setPen(Qt::white);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, m_caption);
}

QVBoxLayout* AddBanner(QWidget* screen, const QString& caption) {
    auto* outer = new QVBoxLayout(screen);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(new CBannerPicture(caption, screen));
    return outer;
}
