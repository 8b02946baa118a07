#pragma once
// Character checks, number texts and CSV quoting.
#include <QString>
#include <QStringList>

namespace TextUtil {
bool AllDoubleByte(const QString& text);
bool AllKatakana(const QString& text);   // full-width katakana 0x8340-0x8396 and "ー" (0x815B)
bool AllDigits(const QString& text);     // single-byte '0'-'9'; empty is true
unsigned FirstChar(const QString& text); // code page 932 code of the first character, 0 when empty
QString FirstCharText(const QString& text);
double OneDecimal(double x);             // (int)((x + 0.05) * 10) / 10
QString CodeToText(int value, bool blankZero);
// A CSV field: unchanged unless it holds '"' or ',' (or alwaysQuote); then quoted, '"' doubled.
QString CsvField(const QString& text, bool alwaysQuote = false);
// The fields by the CSV-field rule, joined by ",", ended by CR LF.
QString CsvLine(const QStringList& fields, bool alwaysQuote = false);
} // namespace TextUtil
