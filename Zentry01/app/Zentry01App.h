#pragma once
// The task program's application object: the single-instance guard, the
// start-up sequence, and everything a trial's screens share (the two
// databases, the execution environment, the current deck and its
// presentation order).
#include "ArrDenpyo.h"
#include "ArrShowSeq.h"
#include "DB.h"
#include "ExecEnv.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>


class CZentry01App : public QObject {
    Q_OBJECT
public:
    // Name of the single-instance guard.
    static const QString kInstanceName;

    CZentry01App();
    ~CZentry01App() override;
    CZentry01App(const CZentry01App&) = delete;
    CZentry01App& operator=(const CZentry01App&) = delete;

    // The one application object of the process (nullptr when none exists).
    static CZentry01App* instance();

    // The whole program run: single-instance check, start-up, user selection,
    // menu. Returns the exit code. Needs a QApplication.
    int Run();

    // Opens the master data file, then the user database. Throws CICException
    // or CDBException.
    void OpenDatabases();
    // Closes the trials an earlier run left unfinished (killed, power cut) as
    // trials the trainee ended, and says so once, naming each user and start.
    void CloseUnfinishedTrials();
    CDB& MasterDb() { return *m_master; }
    CDB& UserDb() { return *m_user; }
    CExecEnv& ExecEnv() { return m_env; }
    CArrShowSeq& ShowSeq() { return *m_showSeq; }

    // Discards both decks and loads the one the task needs (questionnaire
    // cards for task 1, vouchers otherwise) for the course. Throws on load failure.
    void CreateDeck(int problemCode, int courseCode);
    CArrHagaki* HagakiDeck() const { return m_hagaki.get(); }
    CArrDenpyo* DenpyoDeck() const { return m_denpyo.get(); }
    // The deck of the environment's task; nullptr before one was created.
    CArrBase* CurrentDeck() const;
    void DeleteDecksAndMaster();

    // The menu screen while it is open.
    QWidget* MainScreen() const { return m_mainScreen; }
    void SetMainScreen(QWidget* screen) { m_mainScreen = screen; }

private:
    void discardDecks();
    int runScreens();

    std::unique_ptr<CDB> m_master;
    std::unique_ptr<CDB> m_user;
    CExecEnv m_env;
    std::unique_ptr<CArrHagaki> m_hagaki;
    std::unique_ptr<CArrDenpyo> m_denpyo;
    // Declared after the decks: it is destroyed first, while its deck still exists.
    std::unique_ptr<CArrShowSeq> m_showSeq;
    QPointer<QWidget> m_mainScreen;
};

// The running program's application object.
CZentry01App& theApp();
