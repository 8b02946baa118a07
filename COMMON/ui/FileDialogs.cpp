#include "FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {
QStringList& queued() {
    static QStringList q;
    return q;
}
int g_answered = 0;

bool takeQueued(QString& out) {
    if (queued().isEmpty())
        return false;
    out = queued().takeFirst();
    ++g_answered;
    return true;
}
} // namespace

QString FileDialogs::getSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                     const QString& startPath) {
    QString name;
    if (!takeQueued(name)) {
        QFileDialog dialog(parent, QString(), startPath, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        name = dialog.selectedFiles().constFirst();
    }
    if (!name.isEmpty() && !defaultSuffix.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += '.' + defaultSuffix;
    return name;
}

QString FileDialogs::getOpenFileName(QWidget* parent, const QString& filter, const QString& startPath) {
    QString name;
    if (takeQueued(name))
        return name;
    return QFileDialog::getOpenFileName(parent, QString(), startPath, filter);
}

QString FileDialogs::getExistingDirectory(QWidget* parent, const QString& title, const QString& startFolder) {
    QString name;
    if (takeQueued(name))
        return name;
    return QFileDialog::getExistingDirectory(parent, title, startFolder);
}

void FileDialogs::setNextFileName(const QString& name) { queued().append(name); }

void FileDialogs::clearNextFileNames() {
    queued().clear();
    g_answered = 0;
}

int FileDialogs::answeredCount() { return g_answered; }
