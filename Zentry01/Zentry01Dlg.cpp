#include "Zentry01Dlg.h"

#include "AboutDlg.h"
#include "Guarded.h"
#include "StringTable.h"
#include "TrialLauncher.h"
#include "WaitCursor.h"
#include "Zentry01App.h"
#include "Zentry01Strings.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>

CZentry01Dlg::CZentry01Dlg(QWidget* parent) : CLargeButtonScreen(QStringLiteral("メニュー"), parent) {
    CWaitCursor wait;
    setObjectName(QStringLiteral("menuScreen"));
    struct Task {
        int code;
        const char* name;
        QString text;
    };
    const Task tasks[] = {{1, "task1Button", QStringLiteral("　１．　アンケート入力(&1)")},
                          {2, "task2Button", QStringLiteral("　２．　顧客伝票修正(&2)")},
                          {3, "task3Button", QStringLiteral("　３．　顧客伝票ミスチェック(&3)")}};
    for (const Task& t : tasks) {
        QPushButton* b = addButton(t.text, QLatin1String(t.name));
        const int code = t.code;
        connect(b, &QPushButton::clicked, this, [this, code] { runTask(code); });
    }
    QPushButton* end = addButton(QStringLiteral("　４．　終了(&4)"), QStringLiteral("endButton"));
    connect(end, &QPushButton::clicked, this, &QDialog::reject);
    finishSetUp();

    m_runTrial = [](int problemCode, QWidget* menu) {
        CTrialLauncher launcher(theApp(), menu);
        launcher.Run(problemCode);
    };
}

void CZentry01Dlg::runTask(int problemCode) {
    Guarded([&] { m_runTrial(problemCode, this); });
    // Whatever happened in the trial, the trainee comes back to the menu.
    show();
    raise();
    activateWindow();
}

void CZentry01Dlg::ShowAbout() {
    Guarded([this] {
        CAboutDlg about(theApp().MasterDb(), this);
        about.exec();
    });
}

void CZentry01Dlg::contextMenuEvent(QContextMenuEvent* event) {
    // The window menu of the original screen: its close item disabled, and the
    // version item after a separator.
    QMenu menu(this);
    QAction* close = menu.addAction(QStringLiteral("閉じる(&C)"));
    close->setEnabled(false);
    menu.addSeparator();
    QAction* about = menu.addAction(StringTable::text(Zentry01Strings::VersionMenuItem));
    about->setObjectName(QStringLiteral("aboutAction"));
    if (menu.exec(event->globalPos()) == about)
        ShowAbout();
}

void CZentry01Dlg::done(int result) {
    m_ended = true;
    CLargeButtonScreen::done(result);
}

void CZentry01Dlg::RunUntilEnded() {
    m_ended = false;
    while (!m_ended)
        exec();
}
