#pragma once
// What tells the live screen that the trials may have changed. On SQLite the
// file's data version is compared (it moves whenever another connection
// commits); an engine that sends notifications sets the flag from them
// instead. The screen asks at most once per kPollMs.
#include <QObject>
#include <QPointer>
#include <QSqlDriver>
#include <QString>

#include <memory>

class CDB;

class ILiveChanges {
public:
    static constexpr int kPollMs = 2000;
    virtual ~ILiveChanges() = default;
    // True once after a change (and on the first call).
    virtual bool TakeChange() = 0;
    // The source for the engine of db.
    static std::unique_ptr<ILiveChanges> For(CDB& db);
};

// PRAGMA data_version of the screen's own connection.
class CDataVersionPoll : public ILiveChanges {
public:
    explicit CDataVersionPoll(CDB& db) : m_db(db) {}
    bool TakeChange() override;

private:
    CDB& m_db;
    qint64 m_version = -1;
};

// A classroom server tells every listening connection when a PC reports
// (LISTEN/NOTIFY on the channel the task program notifies).
class CServerNotifications : public QObject, public ILiveChanges {
public:
    explicit CServerNotifications(CDB& db);
    ~CServerNotifications() override;
    bool TakeChange() override;

private:
    // The connection may be closed (and its driver gone) before the screen.
    QPointer<QSqlDriver> m_driver;
    bool m_changed = true;
};
