#pragma once
// The menu: the program's main window, with the three tasks and the way out.
#include "LargeButtonScreen.h"

#include <functional>
#include <memory>

class CAboutDlg;
class CDB;

class CZentry01Dlg : public CLargeButtonScreen {
    Q_OBJECT
public:
    // What a task button runs; by default the trial launcher for that task.
    using TrialRunner = std::function<void(int problemCode, QWidget* menu)>;

    explicit CZentry01Dlg(QWidget* parent = nullptr);
    void SetTrialRunner(TrialRunner runner) { m_runTrial = std::move(runner); }

    // The window-menu item that opens the about box.
    void ShowAbout();
    // The about box: the version and the date of the master file's postal data.
    static std::unique_ptr<CAboutDlg> CreateAbout(CDB& masterDb, QWidget* parent = nullptr);
    // "郵便番号検索は、日本郵政公社 %s更新のデータを使用しています。"; empty without a date.
    static QString PostalDataLine(const QString& date);

    // Runs the menu until the trainee ends it. The screens of a trial hide the
    // menu, and hiding a dialog ends its exec(): the menu then simply runs again.
    void RunUntilEnded();
    void done(int result) override;

private:
    void runTask(int problemCode);

    TrialRunner m_runTrial;
    bool m_ended = false;
};
