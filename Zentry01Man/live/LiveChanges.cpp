#include "LiveChanges.h"

#include "DB.h"
#include "DbEngine.h"
#include "LiveTrials.h"

#include <QSqlDriver>
#include <QSqlQuery>

std::unique_ptr<ILiveChanges> ILiveChanges::For(CDB& db) {
    if (DbEngines::engineOf(db) == DbEngine::PostgreSQL)
        return std::make_unique<CServerNotifications>(db);
    return std::make_unique<CDataVersionPoll>(db);
}

CServerNotifications::CServerNotifications(CDB& db) : m_driver(db.database().driver()) {
    // Without a subscription every look reads again: slower, never stale.
    if (!m_driver || !m_driver->subscribeToNotification(LiveTrials::kChannel))
        return;
    connect(m_driver, &QSqlDriver::notification, this, [this](const QString& name) {
        if (name == LiveTrials::kChannel)
            m_changed = true;
    });
}

CServerNotifications::~CServerNotifications() {
    if (m_driver && m_driver->subscribedToNotifications().contains(LiveTrials::kChannel))
        m_driver->unsubscribeFromNotification(LiveTrials::kChannel);
}

bool CServerNotifications::TakeChange() {
    if (!m_driver || !m_driver->subscribedToNotifications().contains(LiveTrials::kChannel))
        return true;
    const bool changed = m_changed;
    m_changed = false;
    return changed;
}

bool CDataVersionPoll::TakeChange() {
    QSqlQuery q(m_db.database());
    // Unreadable: read the rows again, which reports what is wrong.
    if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next())
        return true;
    const qint64 version = q.value(0).toLongLong();
    const bool changed = version != m_version;
    m_version = version;
    return changed;
}
