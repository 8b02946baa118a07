#include "KCMetaFile.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

// The mark pictures live in a static library; referencing its resource
// initialiser keeps them linked into every program that draws cards.
static void registerCommonResources() {
    Q_INIT_RESOURCE(common);
}
static void initCommonResources() {
    static const bool registered = (registerCommonResources(), true);
    Q_UNUSED(registered);
}

CKCMetaFile::CKCMetaFile() {
    initCommonResources();
}
CKCMetaFile::~CKCMetaFile() = default;

int CKCMetaFile::Load(int resourceId) {
    Discard();
    QFile file(QStringLiteral(":/METAFILE/%1").arg(resourceId));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    auto picture = std::make_unique<QSvgRenderer>(file.readAll());
    if (!picture->isValid())
        return 0;
    picture->setAspectRatioMode(Qt::IgnoreAspectRatio);
    m_picture = std::move(picture);
    return 1;
}

void CKCMetaFile::Play(QPainter* dc, const QRectF& rect) const {
    if (m_picture)
        m_picture->render(dc, rect);
}

void CKCMetaFile::Discard() {
    m_picture.reset();
}
