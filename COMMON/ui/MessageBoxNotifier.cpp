#include "MessageBoxNotifier.h"

#include "StringTable.h"

#include <QApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QPointer>
#include <QScreen>
#include <QTranslator>

#include <algorithm>

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

// Qt wraps a box's text at half the width of a screen up to 1024 pixels wide
// (a laptop at 150 %), inside words in Japanese. The lines as written stay
// whole where the screen has room for them beside the icon.
void keepLinesWhole(QMessageBox* box, const QString& text) {
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
    const QScreen* screen = box->parentWidget() ? box->parentWidget()->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() - 200 : widest;
    label->setMinimumWidth(std::min(widest + 2, room));
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
    keepLinesWhole(box, text);
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

namespace {
// Texts Qt shows in its file dialogs that its Japanese catalogue does not carry.
class MissingJapaneseTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0 && qstrcmp(context, "QFileIconProvider") != 0)
            return QString();
        static const struct {
            const char* source;
            const char* text;
        } kTexts[] = {{"Folder", "フォルダー"},   {"Drive", "ドライブ"},          {"File", "ファイル"},
                      {"%1 File", "%1 ファイル"}, {"Shortcut", "ショートカット"}, {"Alias", "エイリアス"}};
        for (const auto& t : kTexts)
            if (qstrcmp(sourceText, t.source) == 0)
                return QString::fromUtf8(t.text);
        return QString();
    }
};
} // namespace

bool installJapaneseTranslations(QApplication& app) {
    // Installed first, so Qt's catalogue (installed later, asked first) keeps
    // every text it has.
    static QPointer<QTranslator> missing;
    if (!missing) {
        missing = new MissingJapaneseTexts(&app);
        QCoreApplication::installTranslator(missing);
    }
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
