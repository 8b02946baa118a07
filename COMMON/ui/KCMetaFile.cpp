#include "KCMetaFile.h"

#include "CommonResources.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

CKCMetaFile::CKCMetaFile() {
    LoadCommonResources();
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
