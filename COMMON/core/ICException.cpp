#include "ICException.h"

#include <QFileInfo>

namespace {
// One message in flight at a time: every raise overwrites it.
QString& processMessage() {
    static QString text;
    return text;
}
QByteArray& processMessageUtf8() {
    static QByteArray text;
    return text;
}
} // namespace

QString CICException::format(const QString& message, const char* sourceFile, int line) {
    // Keep name and extension only; the folder (either separator) is dropped.
    QString path = QString::fromUtf8(sourceFile).replace('\\', '/');
    QString name = QFileInfo(path).fileName();
    return QStringLiteral("エラーが発生しました。\nFile : %1  Line : %2\n%3").arg(name).arg(line).arg(message);
}

void CICException::Throw(const QString& message, const char* sourceFile, int line) {
    processMessage() = format(message, sourceFile, line);
    processMessageUtf8() = processMessage().toUtf8();
    throw CICException();
}

QString CICException::GetErrorMessage() const { return processMessage(); }

bool CICException::GetErrorMessage(char16_t* buffer, unsigned size) const {
    if (!buffer || size == 0)
        return true;
    const QString& text = processMessage();
    unsigned n = std::min<unsigned>(size - 1, static_cast<unsigned>(text.size()));
    for (unsigned i = 0; i < n; ++i)
        buffer[i] = text.at(i).unicode();
    buffer[n] = 0;
    return true;
}

const char* CICException::what() const noexcept { return processMessageUtf8().constData(); }
