#include "PrivateProfile.h"

#include "Codec.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace PrivateProfile {
namespace {

QByteArray readFile(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The file's lines as bytes, each with its own line end. A line feed never
// occurs inside a double-byte character, so splitting the bytes is safe.
QList<QByteArray> splitLines(const QByteArray& content) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        end = end < 0 ? content.size() : end + 1;
        lines << content.mid(start, end - start);
        start = end;
    }
    return lines;
}

QString textOf(QByteArray line) {
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return cp932::decode(line);
}

bool isSection(const QString& line, QString* name) {
    QString t = line.trimmed();
    if (!t.startsWith('['))
        return false;
    int close = t.indexOf(']');
    *name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
    return true;
}

bool keyOf(const QString& line, QString* key, QString* value) {
    int eq = line.indexOf('=');
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    QString v = line.mid(eq + 1).trimmed();
    if (v.size() >= 2 && ((v.startsWith('"') && v.endsWith('"')) || (v.startsWith('\'') && v.endsWith('\''))))
        v = v.mid(1, v.size() - 2);
    *value = v;
    return true;
}

bool find(const QByteArray& content, const QString& section, const QString& key, QString* value) {
    bool inSection = false;
    for (const QByteArray& bytes : splitLines(content)) {
        const QString line = textOf(bytes);
        QString name, k, v;
        if (isSection(line, &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inSection && keyOf(line, &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            *value = v;
            return true;
        }
    }
    return false;
}

QString truncateBytes(const QString& s, int maxBytes) {
    if (cp932::byteLength(s) <= maxBytes)
        return s;
    QString out;
    int bytes = 0;
    for (const QString& ch : cp932::characters(s)) {
        int n = cp932::byteLength(ch);
        if (bytes + n > maxBytes)
            break;
        bytes += n;
        out += ch;
    }
    return out;
}
} // namespace

QString readStringFrom(const QByteArray& content, const QString& section, const QString& key, const QString& def) {
    QString value;
    if (!find(content, section, key, &value))
        value = def;
    return truncateBytes(value, 2047);
}

QString readString(const QString& section, const QString& key, const QString& def, const QString& file) {
    return readStringFrom(readFile(file), section, key, def);
}

int parseProfileInt(const QString& text, int def) {
    QString s = text.trimmed();
    if (s.isEmpty())
        return def;
    int i = 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i + 1 < s.size() && s[i] == '0') {
        QChar p = s[i + 1].toLower();
        if (p == 'x') base = 16;
        else if (p == 'o') base = 8;
        else if (p == 'b') base = 2;
        if (base != 10)
            i += 2;
    }
    quint32 value = 0;
    for (; i < s.size(); ++i) {
        int d = -1;
        QChar c = s[i];
        if (c >= '0' && c <= '9') d = c.unicode() - '0';
        else if (c.toLower() >= 'a' && c.toLower() <= 'f') d = c.toLower().unicode() - 'a' + 10;
        if (d < 0 || d >= base)
            break;
        value = value * base + static_cast<quint32>(d); // wraps like the 32-bit original
    }
    if (negative)
        value = 0u - value;
    return static_cast<int>(value);
}

int readIntFrom(const QByteArray& content, const QString& section, const QString& key, int def) {
    QString value;
    if (!find(content, section, key, &value))
        return def;
    return parseProfileInt(value, def);
}

int readInt(const QString& section, const QString& key, int def, const QString& file) {
    return readIntFrom(readFile(file), section, key, def);
}

QByteArray withString(const QByteArray& content, const QString& section, const QString& key, const QString& value) {
    QList<QByteArray> lines = splitLines(content);
    bool inSection = false;
    int sectionEnd = -1; // index after the last non-blank line of the section
    int keyLine = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = textOf(lines[i]);
        QString name, k, v;
        if (isSection(line, &name)) {
            if (inSection)
                break;
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (!line.trimmed().isEmpty())
            sectionEnd = i + 1;
        if (keyOf(line, &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            keyLine = i;
            break;
        }
    }
    const auto ended = [](QByteArray& line) {
        if (!line.endsWith('\n'))
            line += "\r\n";
    };
    const QByteArray entry = cp932::encode(key + '=' + value) + "\r\n";
    if (keyLine >= 0) {
        lines[keyLine] = entry;
    } else if (sectionEnd >= 0) {
        ended(lines[sectionEnd - 1]);
        lines.insert(sectionEnd, entry);
    } else {
        if (!lines.isEmpty())
            ended(lines.last());
        lines << cp932::encode('[' + section + ']') + "\r\n" << entry;
    }
    return lines.join();
}

bool writeString(const QString& section, const QString& key, const QString& value, const QString& file) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(withString(readFile(file), section, key, value));
    return out.commit();
}

bool writeInt(const QString& section, const QString& key, int value, const QString& file) {
    return writeString(section, key, QString::number(value), file);
}

} // namespace PrivateProfile
