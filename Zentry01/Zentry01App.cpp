#include "Zentry01App.h"

#include "Codec.h"
#include "DateUtil.h"
#include "Labels.h"
#include "FontSubstitution.h"
#include "Guarded.h"
#include "MessageBoxNotifier.h"
#include "ProgramResources.h"
#include "SingleInstance.h"
#include "StringTable.h"
#include "TrialRecovery.h"
#include "UserSelectDlg.h"
#include "Zentry01Dlg.h"
#include "Zentry01Strings.h"

#include <QApplication>

namespace {
CZentry01App* g_app = nullptr;
}

const QString CZentry01App::kInstanceName = QStringLiteral("_QUILLON01_MUTEX");

CZentry01App::CZentry01App()
    : m_master(std::make_unique<CDB>()), m_user(std::make_unique<CDB>()),
      m_showSeq(std::make_unique<CArrShowSeq>()) {
    Q_ASSERT(!g_app);
    g_app = this;
    Zentry01Strings::Register();
    SetProductTitle(Zentry01Strings::ProductTitle);
}

CZentry01App::~CZentry01App() {
    m_showSeq.reset();
    discardDecks();
    if (g_app == this)
        g_app = nullptr;
}

CZentry01App* CZentry01App::instance() { return g_app; }

CZentry01App& theApp() {
    Q_ASSERT(g_app);
    return *g_app;
}

int CZentry01App::Run() {
    CSingleInstance guard(kInstanceName);
    if (!guard.acquire())
        return 0; // the running copy has been asked to come forward
    connect(&guard, &CSingleInstance::activationRequested, this, &CZentry01App::BringToFront);

    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    installFontSubstitutions();
    if (app) {
        installJapaneseTranslations(*app);
        app->setWindowIcon(ProgramIcon());
    }
    MessageBoxNotifier boxes;
    INotifier* previous = setNotifier(&boxes);
    int code = 1;
    // Every file of the program is code page 932; without it nothing could be
    // read or written correctly.
    if (cp932::available())
        code = runScreens();
    else
        notifyError(QStringLiteral("文字コード Shift-JIS (windows-31j) を扱えないため、起動できません。"));
    setNotifier(previous);
    return code;
}

int CZentry01App::runScreens() {
    const bool ran = Guarded([this] {
        OpenDatabases();
        CloseUnfinishedTrials();
        CUserSelectDlg userSelect(UserDb());
        if (userSelect.exec() == QDialog::Accepted) {
            m_env.user_code = userSelect.SelectedUserCode();
            CZentry01Dlg menu;
            SetMainScreen(&menu);
            menu.RunUntilEnded();
            SetMainScreen(nullptr);
        }
    });
    DeleteDecksAndMaster();
    // A start-up that failed (a database that would not open) has been shown;
    // the exit code says so too.
    return ran ? 0 : 1;
}

void CZentry01App::OpenDatabases() {
    m_master->OpenMaster();
    m_user->OpenUser();
}

void CZentry01App::CloseUnfinishedTrials() {
    const QVector<CTrialRecovery::Closed> closed = CTrialRecovery::CloseUnfinished(*m_user, *m_master);
    if (closed.isEmpty())
        return;
    QStringList lines;
    for (const CTrialRecovery::Closed& t : closed) {
        const QString who = t.userName.isEmpty() ? QStringLiteral("ユーザーNO.%1").arg(t.userCode) : t.userName;
        lines << QStringLiteral("%1　%2 開始　%3（%4枚）")
                     .arg(who, DateUtil::DateTimeText(t.start), Labels::Problem(t.problemCode))
                     .arg(t.cards);
    }
    AppMessageBox(Zentry01Strings::UnfinishedTrialsClosed, lines.join(u'\n'), MsgIcon::Exclamation);
}

void CZentry01App::discardDecks() {
    // The order points into the deck: let it go first.
    m_showSeq = std::make_unique<CArrShowSeq>();
    m_hagaki.reset();
    m_denpyo.reset();
}

void CZentry01App::CreateDeck(int problemCode, int courseCode) {
    discardDecks();
    if (problemCode == 1) {
        m_hagaki = std::make_unique<CArrHagaki>();
        m_hagaki->Load(*m_master, courseCode);
    } else {
        m_denpyo = std::make_unique<CArrDenpyo>();
        m_denpyo->Load(*m_master, courseCode);
    }
}

CArrBase* CZentry01App::CurrentDeck() const {
    if (m_env.problem_code == 1)
        return m_hagaki.get();
    return m_denpyo.get();
}

void CZentry01App::DeleteDecksAndMaster() {
    discardDecks();
    m_master->Close();
}

void CZentry01App::BringToFront() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    if (!w) {
        // Nothing is active (another program has the focus): take the last
        // visible top-level screen, which is the one the trainee works in.
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
