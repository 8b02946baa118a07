#include "TextUtil.h"

#include "Codec.h"

#include <QStringList>

namespace TextUtil {

bool AllDoubleByte(const QString& text) {
    for (const QString& ch : cp932::characters(text))
        if (cp932::charCode(ch) <= 0xFF)
            return false;
    return true;
}

bool AllKatakana(const QString& text) {
    for (const QString& ch : cp932::characters(text)) {
        unsigned c = cp932::charCode(ch);
        if (!((c >= 0x8340 && c <= 0x8396) || c == 0x815B))
            return false;
    }
    return true;
}

bool AllDigits(const QString& text) {
    for (QChar c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

unsigned FirstChar(const QString& text) { return cp932::charCode(text); }

QString FirstCharText(const QString& text) {
    QStringList chars = cp932::characters(text.left(2));
    return chars.isEmpty() ? QString() : chars.first();
}

double OneDecimal(double x) { return static_cast<double>(static_cast<long long>((x + 0.05) * 10)) / 10; }

QString CodeToText(int value, bool blankZero) {
    if (blankZero && value == 0)
        return {};
    return QString::number(value);
}

QString CsvField(const QString& text, bool alwaysQuote) {
    if (!alwaysQuote && !text.contains('"') && !text.contains(','))
        return text;
    QString out = text;
    out.replace(QLatin1String("\""), QLatin1String("\"\""));
    return '"' + out + '"';
}

QString CsvLine(const QStringList& fields, bool alwaysQuote) {
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += CsvField(fields[i], alwaysQuote);
    }
    return line + QStringLiteral("\r\n");
}

} // namespace TextUtil
