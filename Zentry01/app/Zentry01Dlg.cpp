#include "Zentry01Dlg.h"

#include "AboutDlg.h"
#include "DB.h"
#include "Guarded.h"
#include "ProgramResources.h"
#include "StringTable.h"
#include "TrialLauncher.h"
#include "WaitCursor.h"
#include "Zentry01App.h"
#include "Zentry01Strings.h"

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
    finishSetUp(ProgramIcon());
    setVersionItem(StringTable::text(Zentry01Strings::VersionMenuItem), [this] { ShowAbout(); });

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
        CreateAbout(theApp().MasterDb(), this)->exec();
    });
}

std::unique_ptr<CAboutDlg> CZentry01Dlg::CreateAbout(CDB& masterDb, QWidget* parent) {
    return std::make_unique<CAboutDlg>(QStringLiteral("ソラミ！ミルテア！ Version 3.0"),
                                       PostalDataLine(masterDb.ZipDataDate()), ProgramIcon(), parent);
}

QString CZentry01Dlg::PostalDataLine(const QString& date) {
    if (date.isEmpty())
        return {};
    return QStringLiteral("郵便番号検索は、日本郵政公社 %1更新のデータを使用しています。").arg(date);
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
