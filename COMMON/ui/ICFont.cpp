#include "ICFont.h"

void CICFont::Create(int pointTenths, const QString& faceName, bool bold, bool italic, bool underline,
                     bool strikeOut) {
    constexpr int kFaceNameMax = 31; // the face-name buffer of a logical font holds 31 characters
    QFont font(faceName.left(kFaceNameMax));
    font.setPointSizeF(pointTenths / 10.0);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    QFont::operator=(font);
    m_pointTenths = pointTenths;
}
