#include "InputMethodSettings.h"

#include "AppSub.h"
#include "StringTable.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>

namespace {
CInputMethodSettings::Finder g_finder;
CInputMethodSettings::Starter g_starter;

QString find(const QString& name) {
    return g_finder ? g_finder(name) : QStandardPaths::findExecutable(name);
}

bool start(const QString& path) {
    if (g_starter)
        return g_starter(path);
    errno = 0;
    return QProcess::startDetached(path, {});
}

// Why a found program did not start, in the words the users know from the
// system's own start failures.
QString startFailure(const QString& path, int error) {
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("指定されたファイルが見つかりません。");
    if (!file.isFile() || !file.isExecutable())
        return QStringLiteral("指定された .EXE ファイルが無効です。");
    return AppSub::SystemErrorText(error);
}
} // namespace

QStringList CInputMethodSettings::Programs() {
    return {QStringLiteral("fcitx5-configtool"), QStringLiteral("ibus-setup")};
}

bool CInputMethodSettings::Open() {
    for (const QString& name : Programs()) {
        const QString path = find(name);
        if (path.isEmpty())
            continue;
        if (start(path))
            return true;
        AppMessageBox(startFailure(path, errno), MsgIcon::Exclamation);
        return false;
    }
    AppMessageBox(QStringLiteral("日本語入力の設定プログラム（%1）が見つかりません。").arg(Programs().join(QStringLiteral("、"))),
                  MsgIcon::Exclamation);
    return false;
}

void CInputMethodSettings::SetFinder(Finder finder) { g_finder = std::move(finder); }
void CInputMethodSettings::SetStarter(Starter starter) { g_starter = std::move(starter); }
