#include "LiveChanges.h"

#include "DB.h"
#include "DbEngine.h"
#include "LiveTrials.h"

#include <QSqlDriver>
#include <QSqlQuery>

namespace {
// The screen's timer may fire a little early: a look due at the next tick is not put off a whole tick.
constexpr int kEarlyTickMs = 100;
} // namespace

std::unique_ptr<ILiveChanges> ILiveChanges::For(CDB& db) {
    if (DbEngines::engineOf(db) == DbEngine::PostgreSQL)
        return std::make_unique<CServerNotifications>(db);
    return std::make_unique<CDataVersionPoll>(db);
}

CServerNotifications::CServerNotifications(CDB& db) : m_driver(db.database().driver()) {
    // Without a subscription every look reads again: slower, never stale.
    if (!m_driver || !m_driver->subscribeToNotification(LiveTrials::kChannel))
        return;
    m_subscribed = true;
    connect(m_driver, &QSqlDriver::notification, this, [this](const QString& name) {
        if (name != LiveTrials::kChannel)
            return;
        m_changed = true;
        if (onChange)
            onChange();
    });
}

CServerNotifications::~CServerNotifications() {
    if (listening())
        m_driver->unsubscribeFromNotification(LiveTrials::kChannel);
}

bool CServerNotifications::listening() const {
    return m_driver && m_driver->isOpen() && m_driver->subscribedToNotifications().contains(LiveTrials::kChannel);
}

// The driver stays subscribed to a connection the server has ended; only
// its state tells.
bool CServerNotifications::Lost() const { return m_subscribed && !(m_driver && m_driver->isOpen()); }

// The driver forgets its subscriptions as the lost connection is closed.
void CServerNotifications::ListenAgain() {
    m_changed = true;
    m_subscribed = m_driver && m_driver->isOpen() && m_driver->subscribeToNotification(LiveTrials::kChannel);
}

bool CServerNotifications::TakeChange(qint64 ms) {
    // Without a subscription every look reads again, as often as a file's.
    const bool told = listening();
    if (!told)
        m_changed = true;
    const qint64 gap = told ? kReadGapMs : kPollMs - kEarlyTickMs;
    if (!m_changed || (m_read && ms - m_readMs < gap))
        return false;
    m_changed = false;
    m_read = true;
    m_readMs = ms;
    return true;
}

qint64 CServerNotifications::WaitingMs(qint64 ms) const {
    if (!m_changed)
        return -1;
    return m_read ? std::max<qint64>(0, m_readMs + kReadGapMs - ms) : 0;
}

bool CDataVersionPoll::TakeChange(qint64 ms) {
    if (m_looked && ms - m_lookedMs < kPollMs - kEarlyTickMs)
        return false;
    m_looked = true;
    m_lookedMs = ms;
    QSqlQuery q(m_db.database());
    // Unreadable: read the rows again, which reports what is wrong.
    if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next())
        return true;
    const qint64 version = q.value(0).toLongLong();
    const bool changed = version != m_version;
    m_version = version;
    return changed;
}
