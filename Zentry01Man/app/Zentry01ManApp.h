#pragma once
// The instructor utility's application object: the single-instance guard, the
// start-up sequence, the two database connections every screen uses, and the
// current card deck.
#include "ArrDenpyo.h"
#include "DB.h"

#include <QObject>
#include <memory>

class CZentry01ManApp : public QObject {
    Q_OBJECT
public:
    // Name of the single-instance guard (the task program has its own).
    static const QString kInstanceName;

    CZentry01ManApp();
    ~CZentry01ManApp() override;
    CZentry01ManApp(const CZentry01ManApp&) = delete;
    CZentry01ManApp& operator=(const CZentry01ManApp&) = delete;

    // The one application object of the process (nullptr when none exists).
    static CZentry01ManApp* instance();

    // The whole program run: single-instance check, databases, menu. Returns
    // the exit code. Needs a QApplication.
    int Run();

    // Connects the master data file, then the user database. A failure of
    // either is shown and the other is still tried: the menu opens all the same.
    void OpenDatabases();
    // Connects the master data file again (after mst_path changed); a failure
    // is shown. True when connected.
    bool ReconnectMaster();
    CDB& MasterDb() { return *m_master; }
    CDB& UserDb() { return *m_user; }

    // Replaces the current deck by one of the kind (1 questionnaire cards,
    // otherwise vouchers) loaded from the master data with the data set
    // (course) selector. Throws on a load failure, leaving no current deck.
    CArrBase& LoadDeck(int kind, int dataSet);
    void DiscardDeck();
    CArrBase* CurrentDeck() const { return m_deck.get(); }

private:
    int runMenu();

    std::unique_ptr<CDB> m_master;
    std::unique_ptr<CDB> m_user;
    std::unique_ptr<CArrBase> m_deck;
};

// The running utility's application object.
CZentry01ManApp& theManApp();
