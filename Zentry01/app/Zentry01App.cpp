#include "Zentry01App.h"

#include "AppSub.h"
#include "ClassroomFiles.h"
#include "ClassroomSettings.h"
#include "DateUtil.h"
#include "ICException.h"
#include "Notifier.h"
#include "Guarded.h"
#include "Labels.h"
#include "ProgramResources.h"
#include "ProgramStart.h"
#include "StringTable.h"
#include "TrialRecovery.h"
#include "TrialState.h"
#include "UserSelectDlg.h"
#include "Zentry01Dlg.h"
#include "Zentry01Strings.h"

namespace {
CZentry01App* g_app = nullptr;
}

const QString CZentry01App::kInstanceName = TrialState::kTaskProgramInstance;

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
    return RunProgram(kInstanceName, ProgramIcon(), [this] { return runScreens(); });
}

int CZentry01App::runScreens() {
    EnableSoundOutput(true);
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
    EnableSoundOutput(false);
    // A start-up that failed (a database that would not open) has been shown;
    // the exit code says so too.
    return ran ? 0 : 1;
}

void CZentry01App::OpenDatabases() {
    m_master->OpenMaster();
    m_user->OpenUser();
}

namespace {
// A classroom's files that a trial could not send to the server (it was
// unreachable) are sent now, and the trainee is told.
void sendPendingFiles() {
    CDB* server = ClassroomSettings::server();
    if (!server)
        return;
    try {
        const int sent = ClassroomFiles::sendPending(*server, AppSub::AnalysisFolder(true));
        if (sent > 0)
            notifyMessage(QStringLiteral("前回サーバーに送れなかった実施結果のファイル %1 件を、サーバーに送りました。").arg(sent),
                          MsgIcon::Information);
    } catch (const CDBException& e) {
        notifyMessage(QStringLiteral("実施結果のファイルをサーバーに送れませんでした。次の起動時にもう一度送ります。\n\n%1")
                          .arg(e.text()),
                      MsgIcon::Exclamation);
    }
}
} // namespace

void CZentry01App::CloseUnfinishedTrials() {
    const QVector<CTrialRecovery::Closed> closed = CTrialRecovery::CloseUnfinished(*m_user, *m_master);
    sendPendingFiles();
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
