#include "SafeFileName.h"

#include <QFile>

namespace SafeFileName {

QString Part(const QString& text) {
    if (text == QLatin1String("."))
        return QStringLiteral("．");
    if (text == QLatin1String(".."))
        return QStringLiteral("．．");
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'/': out += u'／'; break;
        case u'\\': out += u'＼'; break;
        case u':': out += u'：'; break;
        case u'*': out += u'＊'; break;
        case u'?': out += u'？'; break;
        case u'"': out += u'”'; break;
        case u'<': out += u'＜'; break;
        case u'>': out += u'＞'; break;
        case u'|': out += u'｜'; break;
        default:
            out += (c.unicode() < 0x20 || c.unicode() == 0x7F) ? QChar(u'＿') : c;
        }
    }
    return out;
}

bool Fits(const QString& fileName) { return QFile::encodeName(fileName).size() <= kMaxNameBytes; }

} // namespace SafeFileName
