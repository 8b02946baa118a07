#include "Zentry01ManApp.h"

#include "Guarded.h"
#include "ProgramStart.h"
#include "StringTable.h"
#include "UtilityResources.h"
#include "Zentry01ManDlg.h"
#include "Zentry01ManStrings.h"

namespace {
CZentry01ManApp* g_app = nullptr;
}

const QString CZentry01ManApp::kInstanceName = QStringLiteral("_QUILLON01MAN_MUTEX");

CZentry01ManApp::CZentry01ManApp() : m_master(std::make_unique<CDB>()), m_user(std::make_unique<CDB>()) {
    Q_ASSERT(!g_app);
    g_app = this;
    Zentry01ManStrings::Register();
    SetProductTitle(Zentry01ManStrings::ProductTitle);
}

CZentry01ManApp::~CZentry01ManApp() {
    DiscardDeck();
    m_master.reset();
    m_user.reset();
    if (g_app == this)
        g_app = nullptr;
}

CZentry01ManApp* CZentry01ManApp::instance() { return g_app; }

CZentry01ManApp& theManApp() {
    Q_ASSERT(g_app);
    return *g_app;
}

int CZentry01ManApp::Run() {
    return RunProgram(kInstanceName, UtilityIcon(), [this] { return runMenu(); });
}

int CZentry01ManApp::runMenu() {
    OpenDatabases();
    CZentry01ManDlg menu;
    menu.exec();
    return 0;
}

void CZentry01ManApp::OpenDatabases() {
    ReconnectMaster();
    Guarded([this] { m_user->OpenUser(); });
}

bool CZentry01ManApp::ReconnectMaster() {
    return Guarded([this] { m_master->OpenMaster(); });
}

CArrBase& CZentry01ManApp::LoadDeck(int kind, int dataSet) {
    DiscardDeck();
    std::unique_ptr<CArrBase> deck;
    if (kind == 1)
        deck = std::make_unique<CArrHagaki>();
    else
        deck = std::make_unique<CArrDenpyo>();
    deck->Load(*m_master, dataSet);
    m_deck = std::move(deck);
    return *m_deck;
}

void CZentry01ManApp::DiscardDeck() { m_deck.reset(); }
