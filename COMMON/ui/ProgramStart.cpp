#include "ProgramStart.h"

#include "Codec.h"
#include "FontSubstitution.h"
#include "MessageBoxNotifier.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

int RunProgram(const QString& instanceName, const QIcon& icon, const std::function<int()>& screens) {
    CSingleInstance guard(instanceName);
    const CSingleInstance::Start start = guard.acquire();
    if (start == CSingleInstance::Start::AlreadyRunning)
        return 0; // the running copy has been asked to come forward
    QObject::connect(&guard, &CSingleInstance::activationRequested, &BringActiveScreenToFront);

    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    installFontSubstitutions();
    if (app) {
        UseJapaneseTexts(*app);
        app->setWindowIcon(icon);
    }
    MessageBoxNotifier boxes;
    INotifier* previous = setNotifier(&boxes);
    int code = 1;
    // A user outside the shared folder's group learns why before anything is
    // written there.
    const QString folderProblem =
        start == CSingleInstance::Start::Failed ? QString() : ProgramFolder::writeProblem(programFolder());
    if (start == CSingleInstance::Start::Failed)
        notifyError(guard.failureText());
    else if (!folderProblem.isEmpty())
        notifyError(folderProblem);
    // Every file of the programs is code page 932; without it nothing could be
    // read or written correctly.
    else if (!cp932::available())
        notifyError(QStringLiteral("文字コード Shift-JIS (windows-31j) を扱えないため、起動できません。"));
    else
        code = screens();
    setNotifier(previous);
    return code;
}

void UseJapaneseTexts(QApplication& app) {
    installJapaneseTranslations(app);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

void BringActiveScreenToFront() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    if (!w) {
        // Nothing is active (another program has the focus): take the last
        // visible top-level screen, which is the one the user works in.
        const QWidgetList tops = QApplication::topLevelWidgets();
        for (QWidget* t : tops)
            if (t->isVisible() && t->isWindow() && !t->inherits("QMenu"))
                w = t;
    }
    if (!w)
        return;
    if (w->isMinimized())
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->activateWindow();
}
