#pragma once
// The programs' notifier: real message boxes with the product title as caption.
// Tests install a RecordingNotifier instead (tests/support/TestFolder.h), which
// records each text and answers questions from its queue of answers.
#include "Notifier.h"

#include <QMessageBox>

class QApplication;

class MessageBoxNotifier : public INotifier {
public:
    void message(const QString& text, MsgIcon icon) override;
    bool askYesNo(const QString& text, MsgIcon icon) override;
    // The same question with a chosen default button (QMessageBox::Yes or QMessageBox::No).
    bool askYesNo(const QString& text, MsgIcon icon, QMessageBox::StandardButton defaultButton);

    // The box as it will be shown; exposed so that its look can be checked.
    static QMessageBox* createBox(const QString& text, MsgIcon icon, QMessageBox::StandardButtons buttons,
                                  QMessageBox::StandardButton defaultButton);
};

// Loads Qt's own Japanese texts (はい, いいえ, キャンセル, ...) for the standard
// buttons and dialogs, with the few texts that catalogue lacks (the file
// dialogs' "Folder"). False when the translation file is not installed; the
// texts it lacks are still installed.
bool installJapaneseTranslations(QApplication& app);
