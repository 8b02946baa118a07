#pragma once
// A classroom's trial conditions: with the user database on a server, the
// condition keys of section Settings are read from and written to the server
// (the instructor sets them once for every PC); everything else (window
// positions, remembered folders, the master file) stays in the local ini.
#include <QString>

#include <optional>

class CDB;
class QSqlDatabase;

namespace ClassroomSettings {
// order_flg, start_flg, specifie_start_no, display_flg, display_position,
// zip_flg, sound_flg.
bool isCondition(const QString& key);

// The open server holding the conditions, or none (the ini holds them).
CDB* server();
void setServer(CDB* db);

// The stored value, nothing when the key was never set. Throws CDBException.
std::optional<QString> read(CDB& db, const QString& key);
// False when the server refused (reported through the notifier).
bool write(CDB& db, const QString& key, const QString& value);

// Each condition key present in iniFile copied to the server (migration);
// returns how many. Throws CDBException.
int copyFromIni(QSqlDatabase& server, const QString& iniFile);
} // namespace ClassroomSettings
