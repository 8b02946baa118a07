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

namespace {
// The engine's texts of the failures a user can do something about.
struct Explained {
    const char* engine;
    const char* text;
};
constexpr Explained kExplained[] = {
    {"database or disk is full", "ディスクの空き容量が足りないため、データベースに書き込めません。"},
    {"attempt to write a readonly database", "データベースが読み込み専用のため、書き込めません。"},
    {"database disk image is malformed", "データベースのファイルが壊れています。"},
    {"file is not a database", "データベースのファイルが壊れています。"},
    {"disk I/O error", "ディスクの読み書きでエラーが発生しました。"},
    {"unable to open database file", "データベースのファイルを開けません。"},
    {"permission denied", "データベースサーバーがこのログインにこの操作を許可していません。"},
};

QString explained(const QString& text) {
    // Only a lock held for many busy timeouts gets here; the engine's own
    // words would only puzzle.
    if (text.contains(QLatin1String("database is locked"), Qt::CaseInsensitive) ||
        text.contains(QLatin1String("due to lock timeout"), Qt::CaseInsensitive))
        return QStringLiteral("データベースを他のプログラムが長く使用しているため、書き込めませんでした。\n"
                              "しばらくしてから、もう一度操作してください。");
    for (const Explained& e : kExplained)
        if (text.contains(QLatin1String(e.engine), Qt::CaseInsensitive))
            return QString::fromUtf8(e.text) + QStringLiteral("\n\n") + text;
    return text;
}
} // namespace

CDBException::CDBException(const QString& text) : m_text(explained(text)), m_utf8(m_text.toUtf8()) {}
