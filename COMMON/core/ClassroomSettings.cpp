#include "ClassroomSettings.h"

#include "DB.h"
#include "ICException.h"
#include "PrivateProfile.h"
#include "SqlDialect.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace ClassroomSettings {
namespace {
const char* const kConditionKeys[] = {"order_flg", "start_flg", "specifie_start_no", "display_flg",
                                      "display_position", "zip_flg", "sound_flg"};
CDB* g_server = nullptr;

const char* const kUpsert =
    "insert into [Settings_tbl] ([setting_key], [setting_value]) values (?, ?) "
    "on conflict ([setting_key]) do update set [setting_value] = excluded.[setting_value]";
} // namespace

bool isCondition(const QString& key) {
    for (const char* k : kConditionKeys)
        if (key.compare(QLatin1String(k), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

CDB* server() { return g_server; }
void setServer(CDB* db) { g_server = db; }

std::optional<QString> read(CDB& db, const QString& key) {
    QSqlQuery q = db.Run(QStringLiteral("select [setting_value] from [Settings_tbl] where [setting_key] = ?"),
                         {key.toLower()});
    if (!q.next())
        return std::nullopt;
    return q.value(0).toString();
}

bool write(CDB& db, const QString& key, const QString& value) {
    return RunWriteTransaction(db, [&] { db.Run(QLatin1String(kUpsert), {key.toLower(), value}); });
}

int copyFromIni(QSqlDatabase& server, const QString& iniFile) {
    QSqlQuery upsert(server);
    if (!upsert.prepare(SqlDialect::toStandardQuoting(QLatin1String(kUpsert))))
        throw CDBException(upsert.lastError().text());
    int copied = 0;
    for (const char* k : kConditionKeys) {
        const QString key = QLatin1String(k);
        const QString marker = QStringLiteral("\x01absent");
        const QString value = PrivateProfile::readString(QStringLiteral("Settings"), key, marker, iniFile);
        if (value == marker)
            continue;
        upsert.bindValue(0, key);
        upsert.bindValue(1, value);
        if (!upsert.exec())
            throw CDBException(upsert.lastError().text());
        ++copied;
    }
    return copied;
}
} // namespace ClassroomSettings
