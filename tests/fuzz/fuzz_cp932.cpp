// The code page 932 decoder and encoder on any bytes and any UTF-16 text.
#include "FuzzTarget.h"

#include "Codec.h"

#include <cstring>

FUZZ_TARGET(cp932) {
    // Bytes to text and back: what cannot be decoded comes back as "?".
    const QString text = cp932::decode(data);
    // No byte vanishes: at most two bytes make one UTF-16 unit.
    FUZZ_CHECK(text.size() >= (data.size() + 1) / 2);
    const QByteArray bytes = cp932::encode(text);
    QString expected = text;
    expected.replace(QChar(QChar::ReplacementCharacter), u'?');
    FUZZ_CHECK(cp932::decode(bytes) == expected);
    FUZZ_CHECK(cp932::byteLength(text) == bytes.size());

    // Any UTF-16 text, lone surrogates included: each character takes the one
    // or two bytes its code says, a character outside the code page one "?".
    QString any(data.size() / 2, Qt::Uninitialized);
    std::memcpy(any.data(), data.constData(), static_cast<size_t>(any.size()) * 2);
    const QByteArray anyBytes = cp932::encode(any);
    FUZZ_CHECK(cp932::byteLength(any) == anyBytes.size());
    const QStringList chars = cp932::characters(any);
    FUZZ_CHECK(chars.join(QString()) == any);
    qsizetype at = 0;
    for (const QString& c : chars) {
        const unsigned code = cp932::charCode(c);
        const int length = cp932::byteLength(c);
        FUZZ_CHECK(length == (code > 0xFF ? 2 : 1));
        QByteArray own;
        if (length == 2)
            own += static_cast<char>(code >> 8);
        own += static_cast<char>(code & 0xFF);
        FUZZ_CHECK(anyBytes.mid(at, length) == own);
        FUZZ_CHECK(cp932::isDoubleByte(c.at(0)) == (length == 2));
        at += length;
    }
    FUZZ_CHECK(at == anyBytes.size());
}
