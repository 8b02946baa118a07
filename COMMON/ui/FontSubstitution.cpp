#include "FontSubstitution.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutions() {
    const QStringList proportional{QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")};
    const QStringList fixed{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};
    for (const QString& name : {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")})
        QFont::insertSubstitutions(name, proportional);
    for (const QString& name : {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")})
        QFont::insertSubstitutions(name, fixed);
}
