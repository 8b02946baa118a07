#include "TCLoadCSVFile.h"

#include "AppSub.h"
#include "Codec.h"
#include "ICException.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {
QString unquote(QStringView field) {
    if (field.startsWith(u'"')) {
        field = field.mid(1);
        if (field.endsWith(u'"'))
            field.chop(1);
    }
    QString out = field.toString();
    if (out.contains(u'"')) // rare: most fields carry no quote at all
        out.replace(QLatin1String("\"\""), QLatin1String("\""));
    return out;
}
} // namespace

void CTCLoadCSVFile::Load(const QString& path) {
    m_lines.clear();
    LoadBytes(ReadAll(path));
}

QByteArray CTCLoadCSVFile::ReadAll(const QString& path) {
    if (!QFileInfo::exists(path))
        IC_THROW(QStringLiteral("ファイル %1 が存在しません。").arg(path));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        IC_THROW(QStringLiteral("ファイル %1 を読み込めません。\n").arg(path) +
                 AppSub::SystemErrorText(errno ? errno : EACCES));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        IC_THROW(QStringLiteral("ファイル %1 を読み込めません。\n").arg(path) + file.errorString());
    return bytes;
}

void CTCLoadCSVFile::LoadBytes(const QByteArray& bytes) {
    m_lines.clear();
    // Line feeds never occur inside a double-byte character, so the whole file
    // can be decoded at once and split afterwards.
    const QString text = cp932::decode(bytes);
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1String("//")))
            continue;
        m_lines.push_back(line.toString());
    }
}

QString CTCLoadCSVFile::GetLine(int row) const {
    return row >= 1 && row <= m_lines.size() ? m_lines.at(row - 1) : QString();
}

QString CTCLoadCSVFile::GetField(int row, int col, const QString& separator) const {
    if (row < 1 || row > m_lines.size())
        return {};
    return ExtractField(m_lines.at(row - 1), col, separator.isEmpty() ? QChar(u',') : separator.at(0));
}

QStringList CTCLoadCSVFile::GetFields(int row, const QString& separator) const {
    if (row < 1 || row > m_lines.size())
        return {};
    return SplitFields(m_lines.at(row - 1), separator.isEmpty() ? QChar(u',') : separator.at(0));
}

QStringList CTCLoadCSVFile::SplitFields(const QString& line, QChar separator) {
    QStringList fields;
    bool inside = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'"')
            inside = !inside;
        else if (c == separator && !inside) {
            fields << unquote(QStringView(line).mid(start, i - start));
            start = i + 1;
        }
    }
    fields << unquote(QStringView(line).mid(start));
    return fields;
}

QString CTCLoadCSVFile::ExtractField(const QString& line, int col, QChar separator) {
    if (col < 1)
        return {};
    bool inside = false;
    int counted = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'"') {
            inside = !inside;
        } else if (c == separator && !inside) {
            ++counted;
            if (counted == col)
                return unquote(QStringView(line).mid(start, i - start));
            start = i + 1;
        }
    }
    return counted == col - 1 ? unquote(QStringView(line).mid(start)) : QString();
}
