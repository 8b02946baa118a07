#pragma once
// Trials the task program left unfinished: the program was killed or the
// machine lost power while a trial ran, so its history row is still in the
// state it was created in and would read as a whole trial with no card done.
// At the next start the task program (the only writer of trials; it runs as a
// single copy) closes each of them as a trial the trainee ended: end flag 1,
// totals and working time from the cards its input-value file holds, and the
// analysis-result file written from them.
#include <QDateTime>
#include <QString>
#include <QVector>

class CDB;
class CRsHistory_tbl;

class CTrialRecovery {
public:
    struct Closed {
        int autoNumber = 0;
        int userCode = 0;
        QString userName; // "姓　名", empty when the user is no longer registered
        int problemCode = 0;
        QDateTime start;
        int cards = 0; // cards of the input-value file that were scored
    };

    // True for a row still in the state its trial was created in.
    static bool IsUnfinished(const CRsHistory_tbl& row);

    // Closes every unfinished trial of every user and returns them, oldest
    // first. Nothing is done when the database cannot be written. A failure
    // (master data that cannot be loaded, a database error) is shown through
    // the notifier once and leaves this and the later trials for the next start.
    static QVector<Closed> CloseUnfinished(CDB& userDb, CDB& masterDb);
};
