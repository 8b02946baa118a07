#pragma once
// Code page 932 (Shift-JIS, Microsoft mapping): every file the programs write or
// read, and every rule that counts bytes or looks at character codes, goes
// through this module.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace cp932 {

// True when the platform offers the code page; start-up refuses to run without it.
bool available();

// Text to bytes. 〜 − — ‖ ¢ £ ¬ as Linux input methods type them are written
// as Windows writes its forms of them (0x8160, 0x817C, 0x815C, 0x8161,
// 0x8191, 0x8192, 0x81CA). A character the code page cannot hold at all
// becomes "?"; input fields refuse such characters (canEncode), so they do
// not reach files.
QByteArray encode(const QString& text);

// True when every character of text has a form in the code page.
bool canEncode(const QString& text);
// The text without the characters that have no form in the code page.
QString keepEncodable(const QString& text);

// Equal as the code page stores them: texts that differ only in characters
// written as the same bytes are equal; a character without a form in the
// code page equals only itself.
bool sameBytes(const QString& a, const QString& b);

// Bytes to text. A broken or unassigned sequence becomes a replacement
// character (U+001A or U+FFFD), even a lead byte cut off at the end.
QString decode(const QByteArray& bytes);
// The same into text, whose memory is reused when it has room: a reader of
// many files decodes each into the memory of the one before.
void decode(const QByteArray& bytes, QString& text);
// The same through the converter alone, byte by byte; decode() gives exactly
// this, faster, and tests compare the two.
QString decodeByConverter(const QByteArray& bytes);

// Number of bytes the text takes in code page 932.
int byteLength(const QString& text);

// The 16-bit code of one character: a double-byte character as lead byte * 256
// + trail byte, a single-byte one as its byte; 0x3F ("?") for unmappable text,
// 0 for empty text. Only the first character (code point) of the text counts.
unsigned charCode(const QString& oneCharacter);
// The same for one code point, without building a text.
unsigned charCode(char32_t codePoint);

// True when the character at index i of text occupies two bytes.
bool isDoubleByte(QChar c);

// Splits text into its characters (code points; a surrogate pair stays whole).
QStringList characters(const QString& text);

} // namespace cp932
