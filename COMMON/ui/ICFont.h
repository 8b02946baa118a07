#pragma once
// A point font made from a size in tenths of a point and a face name.
#include <QFont>
#include <QString>

class CICFont : public QFont {
public:
    CICFont() = default;
    CICFont(int pointTenths, const QString& faceName, bool bold = false, bool italic = false, bool underline = false,
            bool strikeOut = false) {
        Create(pointTenths, faceName, bold, italic, underline, strikeOut);
    }
    // Replaces the font made before. At most 31 characters of the face name are kept.
    void Create(int pointTenths, const QString& faceName, bool bold = false, bool italic = false,
                bool underline = false, bool strikeOut = false);
    int PointTenths() const { return m_pointTenths; }
    QString FaceName() const { return family(); }

private:
    int m_pointTenths = 0;
};
