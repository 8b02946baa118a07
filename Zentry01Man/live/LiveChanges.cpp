#include "LiveChanges.h"

#include "DB.h"

#include <QSqlQuery>

std::unique_ptr<ILiveChanges> ILiveChanges::For(CDB& db) { return std::make_unique<CDataVersionPoll>(db); }

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
