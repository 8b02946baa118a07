#include "Codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <memory>
#include <vector>
#include <atomic>

namespace cp932 {
namespace {
constexpr const char* kName = "windows-31j";
constexpr quint32 kUnmappable = 0xFFFFFFFEu;

// The form Windows produces, and the code page holds, of a character that
// Linux input methods produce differently; the character itself otherwise.
char16_t windowsForm(char16_t c) {
    switch (c) {
    case 0x301C: // 〜 wave dash
        return 0xFF5E;
    case 0x2212: // − minus sign
        return 0xFF0D;
    case 0x2014: // — em dash
        return 0x2015;
    case 0x2016: // ‖ double vertical line
        return 0x2225;
    case 0x00A2: // ¢
        return 0xFFE0;
    case 0x00A3: // £
        return 0xFFE1;
    case 0x00AC: // ¬
        return 0xFFE2;
    default:
        return c;
    }
}

// A converter that has reported an error is not reused: its state cannot be
// trusted afterwards, so a fresh one takes its place.
class Encoder {
public:
    QByteArray encode(QStringView text, bool* ok) {
        if (!m_enc)
            m_enc = std::make_unique<QStringEncoder>(kName, QStringConverter::Flag::Stateless);
        QString windows;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (windowsForm(c) == c)
                continue;
            if (windows.isNull())
                windows = text.toString();
            windows[i] = QChar(windowsForm(c));
        }
        QByteArray out = m_enc->encode(windows.isNull() ? text : QStringView(windows));
        *ok = !m_enc->hasError();
        if (!*ok)
            m_enc.reset();
        return out;
    }

private:
    std::unique_ptr<QStringEncoder> m_enc;
};

Encoder& encoder() {
    thread_local Encoder enc;
    return enc;
}

// Code of each BMP character, learnt on first use.
quint32 codeOf(char16_t c) {
    // Stored as code + 1, so the zero-initialised table means "not learnt yet".
    static std::atomic<quint32> table[65536];
    quint32 stored = table[c].load(std::memory_order_relaxed);
    if (stored != 0)
        return stored - 1;
    quint32 code;
    bool ok = false;
    const QChar ch(c);
    QByteArray b = QChar::isSurrogate(c) ? QByteArray() : encoder().encode(QStringView(&ch, 1), &ok);
    if (!ok || b.isEmpty())
        code = kUnmappable;
    else if (b.size() == 1)
        code = static_cast<unsigned char>(b[0]);
    else
        code = static_cast<unsigned char>(b[0]) * 256u + static_cast<unsigned char>(b[1]);
    table[c].store(code + 1, std::memory_order_relaxed);
    return code;
}

int charLength(const QString& text, int i) {
    return (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
}
} // namespace

bool available() { return QStringEncoder(kName).isValid() && QStringDecoder(kName).isValid(); }

QByteArray encode(const QString& text) {
    bool ok = false;
    QByteArray whole = encoder().encode(text, &ok);
    if (ok)
        return whole;
    // Slow path only for text that holds characters outside the code page.
    QByteArray out;
    out.reserve(text.size() * 2);
    for (int i = 0; i < text.size();) {
        int len = charLength(text, i);
        quint32 code = len == 1 ? codeOf(text.at(i).unicode()) : kUnmappable;
        if (code == kUnmappable)
            out += '?';
        else if (code > 0xFF)
            out += static_cast<char>(code >> 8), out += static_cast<char>(code & 0xFF);
        else
            out += static_cast<char>(code);
        i += len;
    }
    return out;
}

bool canEncode(const QString& text) {
    for (int i = 0; i < text.size();) {
        const int len = charLength(text, i);
        if (len != 1 || codeOf(text.at(i).unicode()) == kUnmappable)
            return false;
        i += len;
    }
    return true;
}

QString keepEncodable(const QString& text) {
    if (canEncode(text))
        return text;
    QString out;
    for (const QString& ch : characters(text))
        if (canEncode(ch))
            out += ch;
    return out;
}

bool sameBytes(const QString& a, const QString& b) {
    if (a == b)
        return true;
    bool okA = false, okB = false;
    const QByteArray bytesA = encoder().encode(a, &okA);
    const QByteArray bytesB = encoder().encode(b, &okB);
    return okA && okB && bytesA == bytesB;
}

QString decodeByConverter(const QByteArray& bytes) {
    // The converter keeps a lead byte cut off at the end as pending state and
    // never gives it back; followed by a line feed it becomes a replacement
    // character like any other broken sequence.
    QStringDecoder dec(kName);
    QString text = dec.decode(bytes + '\n');
    text.chop(1);
    return text;
}

namespace {
// The converter's answer for every byte that stands alone and every two-byte
// character, learnt once: reading a long history's files through the converter
// costs more than reading them from disk. Values are stored + 1, so 0 means
// "not a whole character".
bool substitute(QChar c) { return c == QChar::ReplacementCharacter || c == QChar(0x1A); }

struct DecodeTable {
    quint32 single[256] = {};
    std::vector<quint32> pair = std::vector<quint32>(65536, 0); // lead << 8 | trail

    DecodeTable() {
        for (int b = 0; b < 256; ++b) {
            const QString one = decodeByConverter(QByteArray(1, char(b)) + '\n');
            // The converter's substitutes (U+001A, U+FFFD) may stand for more
            // than one byte in other company, so they are never learnt.
            if (one.size() == 2 && one[1] == u'\n' && !substitute(one[0]))
                single[b] = one[0].unicode() + 1u;
        }
        constexpr int kFirstTrail = 0x40, kLastTrail = 0xFC; // never a line feed
        for (int lead = 0x80; lead < 256; ++lead) {
            if (single[lead])
                continue;
            QByteArray all;
            for (int t = kFirstTrail; t <= kLastTrail; ++t)
                {
                const char unit[] = {char(lead), char(t), '\n'};
                all.append(unit, 3);
            }
            const QStringList parts = decodeByConverter(all).split(u'\n');
            if (parts.size() != kLastTrail - kFirstTrail + 2)
                continue; // not understood: such text goes through the converter
            for (int t = kFirstTrail; t <= kLastTrail; ++t) {
                const QString& c = parts[t - kFirstTrail];
                if (c.size() == 1 && !substitute(c[0]) && !c[0].isSurrogate())
                    pair[lead << 8 | t] = c[0].unicode() + 1u;
            }
        }
    }
};
} // namespace

QString decode(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    decode(bytes, text);
    return text;
}

void decode(const QByteArray& bytes, QString& text) {
    static const DecodeTable table;
    text.resize(bytes.size()); // at most one character per byte
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype n = 0;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        quint32 c = table.single[in[i]];
        if (c) {
            ++i;
        } else if (i + 1 < size && (c = table.pair[in[i] << 8 | in[i + 1]]) != 0) {
            i += 2;
        } else {
            // Broken or unknown sequences: the converter decides what they become.
            text = decodeByConverter(bytes);
            return;
        }
        out[n++] = char16_t(c - 1);
    }
    text.truncate(n);
}

int byteLength(const QString& text) {
    int n = 0;
    for (int i = 0; i < text.size();) {
        int len = charLength(text, i);
        quint32 code = len == 1 ? codeOf(text.at(i).unicode()) : kUnmappable;
        n += (code != kUnmappable && code > 0xFF) ? 2 : 1;
        i += len;
    }
    return n;
}

unsigned charCode(const QString& oneCharacter) {
    if (oneCharacter.isEmpty())
        return 0;
    quint32 code = charLength(oneCharacter, 0) == 1 ? codeOf(oneCharacter.at(0).unicode()) : kUnmappable;
    return code == kUnmappable ? unsigned('?') : code;
}

unsigned charCode(char32_t codePoint) {
    // Beyond the BMP nothing has a form in the code page.
    const quint32 code = codePoint <= 0xFFFF ? codeOf(char16_t(codePoint)) : kUnmappable;
    return code == kUnmappable ? unsigned('?') : code;
}

bool isDoubleByte(QChar c) {
    quint32 code = codeOf(c.unicode());
    return code != kUnmappable && code > 0xFF;
}

QStringList characters(const QString& text) {
    QStringList out;
    out.reserve(text.size());
    for (int i = 0; i < text.size();) {
        int len = charLength(text, i);
        out << text.mid(i, len);
        i += len;
    }
    return out;
}

} // namespace cp932
