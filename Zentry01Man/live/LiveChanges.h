#pragma once
// What tells the live screen that the trials may have changed. On SQLite the
// file's data version is compared (it moves whenever another connection
// commits), at most once per kPollMs since each look is a query. A server
// tells of each change as it commits (LISTEN/NOTIFY): the screen is woken
// and reads at once, at most once per kReadGapMs, so that a room reporting
// many cards a second costs one read a second.
#include <QObject>
#include <QPointer>
#include <QSqlDriver>
#include <QString>

#include <functional>
#include <memory>

class CDB;

class ILiveChanges {
public:
    static constexpr int kPollMs = 2000;
    static constexpr int kReadGapMs = 1000;
    virtual ~ILiveChanges() = default;
    // True once after a change (and on the first call) when the rows may be
    // read again at ms (the clock's msecsSinceStart); a change that comes
    // too soon stays waiting.
    virtual bool TakeChange(qint64 ms) = 0;
    // Milliseconds from ms until a waiting change may be taken; -1 when none waits.
    virtual qint64 WaitingMs(qint64 ms) const {
        Q_UNUSED(ms);
        return -1;
    }
    // True while the connection that is told of changes is gone (the server
    // ended it, or the network did): nothing is told until it is back.
    virtual bool Lost() const { return false; }
    // The connection is open again: listens again, and takes what changed
    // meanwhile (untold) as a change.
    virtual void ListenAgain() {}
    // Called as a change is told (a server's notification).
    std::function<void()> onChange;
    // The source for the engine of db.
    static std::unique_ptr<ILiveChanges> For(CDB& db);
};

// PRAGMA data_version of the screen's own connection.
class CDataVersionPoll : public ILiveChanges {
public:
    explicit CDataVersionPoll(CDB& db) : m_db(db) {}
    bool TakeChange(qint64 ms) override;

private:
    CDB& m_db;
    qint64 m_version = -1;
    qint64 m_lookedMs = 0;
    bool m_looked = false;
};

// A classroom server tells every listening connection when a PC reports
// (LISTEN/NOTIFY on the channel the task program notifies).
class CServerNotifications : public QObject, public ILiveChanges {
public:
    explicit CServerNotifications(CDB& db);
    ~CServerNotifications() override;
    bool TakeChange(qint64 ms) override;
    qint64 WaitingMs(qint64 ms) const override;
    bool Lost() const override;
    void ListenAgain() override;

private:
    bool listening() const;
    // The connection may be closed (and its driver gone) before the screen.
    QPointer<QSqlDriver> m_driver;
    bool m_subscribed = false;
    bool m_changed = true;
    qint64 m_readMs = 0;
    bool m_read = false;
};
