#pragma once
// A text with its code page 932 bytes, counted in characters the way the forms
// count them: a double-byte character is one character.
#include <QByteArray>
#include <QString>

class CICString {
public:
    explicit CICString(const QString& text = QString());
    const QString& Text() const { return m_text; }
    const QByteArray& Bytes() const { return m_bytes; }
    int ByteLength() const { return int(m_bytes.size()); }
    int CharCount() const;

private:
    QString m_text;
    QByteArray m_bytes;
};
