#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& overrideFolder() {
    static QString folder;
    return folder;
}
QString withSlash(QString s) {
    if (!s.endsWith('/'))
        s += '/';
    return s;
}
} // namespace

QString programFolder() {
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    static const QString folder = withSlash(QCoreApplication::applicationDirPath());
    return folder;
}

void setProgramFolder(const QString& folder) {
    overrideFolder() = folder.isEmpty() ? QString() : withSlash(QDir(folder).absolutePath());
}
