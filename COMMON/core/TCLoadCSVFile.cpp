#include "TCLoadCSVFile.h"

#include "AppSub.h"
#include "Codec.h"
#include "ICException.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Reads fd to its end into bytes; 0, else the errno of the failed read. The
// buffer holds the expected size and one byte more, so a file that did not
// grow arrives in one read and the next one reports its end.
int readToEnd(int fd, qint64 expectedSize, QByteArray& bytes) {
    bytes.resize(expectedSize + 1);
    qint64 got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return 0;
}

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
    ThrowIfFailed(TryLoad(path), path);
}

CTCLoadCSVFile::ReadStatus CTCLoadCSVFile::TryLoad(const QString& path) {
    const ReadStatus status = readAll(path, m_bytes);
    if (!status.ok())
        m_bytes.truncate(0); // no lines, as before the reading
    LoadBytes(m_bytes);
    return status;
}

QByteArray CTCLoadCSVFile::ReadAll(const QString& path) {
    QByteArray bytes;
    ThrowIfFailed(readAll(path, bytes), path);
    return bytes;
}

CTCLoadCSVFile::ReadStatus CTCLoadCSVFile::readAll(const QString& path, QByteArray& bytes) {
    // Plain system calls: QFile asks for the file's size and kind three times
    // per file, and an analysis reads a thousand files.
    ReadStatus status;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        status.error = errno;
        // Asked only when the open fails.
        status.missing = !QFileInfo::exists(path);
        return status;
    }
    struct stat st {};
    status.error = ::fstat(fd, &st) != 0 ? errno : readToEnd(fd, st.st_size, bytes);
    ::close(fd);
    return status;
}

void CTCLoadCSVFile::ThrowIfFailed(const ReadStatus& status, const QString& path) {
    if (status.missing)
        IC_THROW(QStringLiteral("ファイル %1 が存在しません。").arg(path));
    if (status.error)
        IC_THROW(QStringLiteral("ファイル %1 を読み込めません。\n").arg(path) +
                 AppSub::SystemErrorText(status.error));
}

void CTCLoadCSVFile::LoadBytes(const QByteArray& bytes) {
    m_lines.clear();
    // Line feeds never occur inside a double-byte character, so the whole file
    // can be decoded at once and split afterwards. The rows stay spans of the
    // text: one allocation for the file, not one per line (and none when the
    // text of the file before has room for it).
    cp932::decode(bytes, m_text);
    const QStringView text(m_text);
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        QStringView line = text.mid(start, end - start);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.isEmpty() && !line.startsWith(QLatin1String("//")))
            m_lines.push_back({start, line.size()});
        start = end + 1;
    }
}

QString CTCLoadCSVFile::GetLine(int row) const {
    return row >= 1 && row <= GetRowCount() ? line(row).toString() : QString();
}

QString CTCLoadCSVFile::GetField(int row, int col, const QString& separator) const {
    if (row < 1 || row > GetRowCount())
        return {};
    return ExtractField(line(row).toString(), col, separator.isEmpty() ? QChar(u',') : separator.at(0));
}

QStringList CTCLoadCSVFile::GetFields(int row, const QString& separator) const {
    if (row < 1 || row > GetRowCount())
        return {};
    return SplitFields(line(row).toString(), separator.isEmpty() ? QChar(u',') : separator.at(0));
}

namespace {
// Splits a line by the quoting rule; `take` receives each field's raw text and
// whether it holds a quote (most fields hold none and need no unquoting).
template <typename Take> void splitLine(QStringView line, QChar separator, Take take) {
    bool inside = false;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'"') {
            inside = !inside;
            quoted = true;
        } else if (c == separator && !inside) {
            take(line.mid(start, i - start), quoted);
            start = i + 1;
            quoted = false;
        }
    }
    take(line.mid(start), quoted);
}
} // namespace

void CTCLoadCSVFile::GetRowView(int row, RowView& fields, QChar separator) const {
    fields.m_fields.clear();
    fields.m_unquoted.clear();
    if (row < 1 || row > GetRowCount())
        return;
    splitLine(line(row), separator, [&fields](QStringView field, bool quoted) {
        if (quoted) {
            fields.m_unquoted.push_back(unquote(field));
            field = fields.m_unquoted.back();
        }
        fields.m_fields.push_back(field);
    });
}

QStringList CTCLoadCSVFile::SplitFields(const QString& line, QChar separator) {
    QStringList fields;
    splitLine(line, separator, [&fields](QStringView field, bool) { fields << unquote(field); });
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
