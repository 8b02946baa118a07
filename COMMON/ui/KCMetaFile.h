#pragma once
// One mark picture (answer circle or tick) from the program's resources,
// stretched into whatever box it marks.
#include <QRectF>

#include <memory>

class QPainter;
class QSvgRenderer;

class CKCMetaFile {
public:
    CKCMetaFile();
    ~CKCMetaFile();
    CKCMetaFile(const CKCMetaFile&) = delete;
    CKCMetaFile& operator=(const CKCMetaFile&) = delete;

    // Drops any loaded picture and loads the one stored under this number:
    // 1 loaded, 0 missing or unreadable.
    int Load(int resourceId);
    // Draws the picture stretched into rect (painter coordinates); nothing when none is loaded.
    void Play(QPainter* dc, const QRectF& rect) const;
    void Discard();
    bool IsLoaded() const { return m_picture != nullptr; }

private:
    std::unique_ptr<QSvgRenderer> m_picture;
};
