#pragma once
// What both programs do around their screens: one running copy per program and
// desktop user (a second start asks the running copy to bring its active screen
// forward and ends with 0, showing nothing; a copy that cannot take the lock says
// why and ends with 1), a writable program folder, Japanese fonts and Qt texts, the program icon,
// message boxes through the notifier, and no run at all without code page 932.
#include <QString>

#include <functional>

class QApplication;
class QIcon;

// Runs screens (which returns the exit code) once the checks allow it.
// Needs a QApplication.
int RunProgram(const QString& instanceName, const QIcon& icon, const std::function<int()>& screens);

// Every text Qt shows in Japanese, whatever the machine's locale: Qt's own
// Japanese texts, and Japanese as the default locale (dates and numbers in the
// file dialogs and elsewhere).
void UseJapaneseTexts(QApplication& app);

// Brings the screen the user works in to the front, restoring it when minimised.
void BringActiveScreenToFront();
