#pragma once
// The open and save dialogs, behind a seam: a test queues the names the next
// dialogs "return" (an empty name is a cancel), and no dialog is shown.
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

class FileDialogs {
public:
    // filter in Qt's form, e.g. "CSVﾌｧｲﾙ (*.csv);;すべてのﾌｧｲﾙ (*.*)". defaultSuffix
    // without the dot is added to a chosen name that has none. Asks before
    // overwriting an existing file. Empty on cancel.
    static QString getSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                   const QString& startPath = QString());
    // An existing file; empty on cancel.
    static QString getOpenFileName(QWidget* parent, const QString& filter, const QString& startPath = QString());

    // An existing folder, the dialog starting at startFolder; empty on cancel.
    static QString getExistingDirectory(QWidget* parent, const QString& title, const QString& startFolder);

    // The dialog as it is shown: Qt's own (its texts are the program's Japanese
    // ones), the list's dates written in the default locale rather than the
    // machine's. The caller owns it.
    static QFileDialog* createDialog(QWidget* parent, const QString& title, const QString& startPath,
                                     const QString& filter);

    // Test seam: the answers of the next dialogs, in order.
    static void setNextFileName(const QString& name);
    static void clearNextFileNames();
    // How many dialogs were answered from the queue (tests check that one was asked).
    static int answeredCount();
};
