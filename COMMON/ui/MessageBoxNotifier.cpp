#include "MessageBoxNotifier.h"

#include "StringTable.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {
QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Stop:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// The box belongs to the screen the user is working in, else to no window.
QWidget* owner() {
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

QMessageBox::StandardButton run(const QString& text, MsgIcon icon, QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton) {
    QPointer<QMessageBox> box = MessageBoxNotifier::createBox(text, icon, buttons, defaultButton);
    const int answer = box->exec();
    delete box;
    return static_cast<QMessageBox::StandardButton>(answer);
}
} // namespace

QMessageBox* MessageBoxNotifier::createBox(const QString& text, MsgIcon icon, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) {
    auto* box = new QMessageBox(boxIcon(icon), ProductTitle(), text, buttons, owner());
    box->setDefaultButton(defaultButton);
    // With Yes/No only, Esc and the close button answer "no", as on the original platform.
    if (buttons.testFlag(QMessageBox::No))
        box->setEscapeButton(QMessageBox::No);
    return box;
}

void MessageBoxNotifier::message(const QString& text, MsgIcon icon) {
    run(text, icon, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxNotifier::askYesNo(const QString& text, MsgIcon icon) {
    return askYesNo(text, icon, QMessageBox::Yes);
}

bool MessageBoxNotifier::askYesNo(const QString& text, MsgIcon icon, QMessageBox::StandardButton defaultButton) {
    return run(text, icon, QMessageBox::Yes | QMessageBox::No, defaultButton) == QMessageBox::Yes;
}

bool installJapaneseTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
