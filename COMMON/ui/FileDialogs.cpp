#include "FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

#include <memory>

namespace {
// Qt's file list writes its dates in the machine's locale ("8 Dec 2026 ..."
// under an English one); the programs show them in the default locale.
class DefaultLocaleDates : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole && index.column() == 3)
            if (const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel()))
                return QLocale().toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }
};

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
        std::unique_ptr<QFileDialog> dialog(createDialog(parent, QString(), startPath, filter));
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setDefaultSuffix(defaultSuffix);
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return QString();
        name = dialog->selectedFiles().constFirst();
    }
    if (!name.isEmpty() && !defaultSuffix.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += '.' + defaultSuffix;
    return name;
}

QString FileDialogs::getOpenFileName(QWidget* parent, const QString& filter, const QString& startPath) {
    QString name;
    if (takeQueued(name))
        return name;
    std::unique_ptr<QFileDialog> dialog(createDialog(parent, QString(), startPath, filter));
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();
    return dialog->selectedFiles().constFirst();
}

QString FileDialogs::getExistingDirectory(QWidget* parent, const QString& title, const QString& startFolder) {
    QString name;
    if (takeQueued(name))
        return name;
    std::unique_ptr<QFileDialog> dialog(createDialog(parent, title, startFolder, QString()));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();
    return dialog->selectedFiles().constFirst();
}

QFileDialog* FileDialogs::createDialog(QWidget* parent, const QString& title, const QString& startPath,
                                       const QString& filter) {
    auto* dialog = new QFileDialog(parent, title, startPath, filter);
    // A desktop's own dialog would speak the machine's language.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setProxyModel(new DefaultLocaleDates(dialog));
    return dialog;
}

void FileDialogs::setNextFileName(const QString& name) { queued().append(name); }

void FileDialogs::clearNextFileNames() {
    queued().clear();
    g_answered = 0;
}

int FileDialogs::answeredCount() { return g_answered; }
