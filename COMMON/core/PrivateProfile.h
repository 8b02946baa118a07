#pragma once
// An ini file with the rules of the Windows private-profile functions:
// sections and keys compared case-insensitively, values trimmed (and stripped of
// one pair of surrounding quotes), integers read like GetPrivateProfileInt.
// The file is code page 932 with CR LF; writing a key keeps every other line
// byte for byte.
#include <QByteArray>
#include <QString>

namespace PrivateProfile {

// At most 2047 bytes of the value come back, as from a 2048-byte buffer.
QString readString(const QString& section, const QString& key, const QString& def, const QString& file);
int readInt(const QString& section, const QString& key, int def, const QString& file);
// False when the file could not be written.
bool writeString(const QString& section, const QString& key, const QString& value, const QString& file);
bool writeInt(const QString& section, const QString& key, int value, const QString& file);

// The same rules on the bytes of a file.
QString readStringFrom(const QByteArray& content, const QString& section, const QString& key, const QString& def);
int readIntFrom(const QByteArray& content, const QString& section, const QString& key, int def);
// The file's bytes with the key set to value (added to its section, or a new
// section at the end).
QByteArray withString(const QByteArray& content, const QString& section, const QString& key, const QString& value);

// The integer rule alone: optional blanks and sign, "0x"/"0o"/"0b" prefixes,
// digits up to the first other character; empty text gives def.
int parseProfileInt(const QString& text, int def);

} // namespace PrivateProfile
