#pragma once
// "日本語入力設定(&K)...": starts this desktop's input-method settings program
// (fcitx5-configtool, else ibus-setup, as found on the PATH), detached. No
// such program, or one that will not start, gets a clear message. The lookup
// and the start are seams that tests answer.
#include <QString>
#include <QStringList>

#include <functional>

class CInputMethodSettings {
public:
    // The programs looked for, in order.
    static QStringList Programs();

    // Finds and starts the first installed program; false when none was started
    // (the reason has been shown).
    static bool Open();

    // Seams: the lookup gives a program's full path or an empty text; the start
    // is true when the program is running. Empty functions restore the real ones.
    using Finder = std::function<QString(const QString& name)>;
    using Starter = std::function<bool(const QString& path)>;
    static void SetFinder(Finder finder);
    static void SetStarter(Starter starter);
};
