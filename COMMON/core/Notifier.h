#pragma once
// Core code never shows a window. It reports through the notifier that the
// program installs: message boxes in the programs, a recording one in tests.
#include <QString>

enum class MsgIcon { Information, Exclamation, Stop, Question };

class INotifier {
public:
    virtual ~INotifier() = default;
    // A message with an OK button.
    virtual void message(const QString& text, MsgIcon icon) = 0;
    // A yes/no question; true for yes.
    virtual bool askYesNo(const QString& text, MsgIcon icon = MsgIcon::Exclamation) = 0;
};

// The installed notifier; a standard-error one until a program installs its own.
INotifier& notifier();
// Installs n (not owned; nullptr restores the default). Returns the previous one.
INotifier* setNotifier(INotifier* n);

// Shorthands used throughout the core.
inline void notifyMessage(const QString& text, MsgIcon icon) { notifier().message(text, icon); }
inline void notifyError(const QString& text) { notifier().message(text, MsgIcon::Stop); }
