#include "SqlDialect.h"

namespace SqlDialect {
QString toStandardQuoting(const QString& sql) {
    QString out;
    out.reserve(sql.size());
    bool inLiteral = false;
    bool inName = false;
    for (const QChar c : sql) {
        if (inLiteral) {
            // A doubled quote closes and reopens: the result is the same text.
            if (c == u'\'')
                inLiteral = false;
            out += c;
        } else if (inName) {
            if (c == u']') {
                out += u'"';
                inName = false;
            } else {
                if (c == u'"')
                    out += u'"';
                out += c;
            }
        } else if (c == u'[') {
            out += u'"';
            inName = true;
        } else {
            if (c == u'\'')
                inLiteral = true;
            out += c;
            // The embedded engine's ifnull() is the standard coalesce() on a server.
            if (out.endsWith(QLatin1String("ifnull("), Qt::CaseInsensitive) &&
                (out.size() == 7 || !(out.at(out.size() - 8).isLetterOrNumber() || out.at(out.size() - 8) == u'_')))
                out.replace(out.size() - 7, 6, QStringLiteral("coalesce"));
        }
    }
    return out;
}
} // namespace SqlDialect
