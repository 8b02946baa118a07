#pragma once
// One trial of one task, as a chain of modal screens: course, conditions,
// start, the task screen, the final feedback, the result list, and back to
// the menu.
#include <QPointer>
#include <functional>

class CKaisekiFile;
class CZentry01App;
class QWidget;

class CTrialLauncher {
public:
    using TaskScreenRunner = std::function<int(int problemCode, CKaisekiFile& result, QWidget* menu)>;

    // menu: the menu screen, hidden while the trial's screens are up.
    CTrialLauncher(CZentry01App& app, QWidget* menu);

    // Replaces the task screens (TaskScreens::Run by default).
    void SetTaskScreenRunner(TaskScreenRunner runner) { m_runTaskScreen = std::move(runner); }

    // Runs one trial of the task. Exceptions (a deck that fails to load, ...)
    // pass to the caller, which shows them.
    void Run(int problemCode);

private:
    void showMenu();
    void showResults(const CKaisekiFile& result);

    CZentry01App& m_app;
    QPointer<QWidget> m_menu;
    TaskScreenRunner m_runTaskScreen;
};
