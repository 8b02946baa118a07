// zentry-mkdata demo-user PROGRAM_DIR: prepares the program folder's user
// database (copied from UserData.org on first use, as the programs do) and
// registers one demo trainee when no live user exists yet.
#include "demo_user.h"

#include "AppSub.h"
#include "Clock.h"
#include "DB.h"
#include "ICException.h"
#include "ProgramFolder.h"
#include "Recordsets.h"

#include <cstdio>

int addDemoUser(const QString& programDir) {
    setProgramFolder(programDir);
    CDB db;
    try {
        db.OpenUser();
        if (!AppSub::UserList(db).isEmpty()) {
            std::printf("%s: users already registered, nothing added\n", qPrintable(db.path()));
            return 0;
        }
        CRsUser_tbl rs(&db);
        rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("[User_tbl]"));
        if (!rs.CheckCanUpdate())
            return 1;
        int code = 0;
        const bool added = RunWriteTransaction(db, [&] {
            code = AppSub::NextUserCode(db);
            rs.AddNew();
            rs.m_user_code = code;
            rs.m_user_kname1 = QStringLiteral("ミホン");
            rs.m_user_kname2 = QStringLiteral("タロウ");
            rs.m_user_name1 = QStringLiteral("見本");
            rs.m_user_name2 = QStringLiteral("太郎");
            rs.m_first_update = rs.m_last_update = appClock().now();
            rs.Update();
        });
        if (!added)
            return 1;
        std::printf("%s: demo user 見本　太郎 (code %d) added\n", qPrintable(db.path()), code);
        return 0;
    } catch (const CICException& e) {
        std::fprintf(stderr, "zentry-mkdata: %s\n", qPrintable(e.GetErrorMessage()));
    } catch (const CDBException& e) {
        std::fprintf(stderr, "zentry-mkdata: %s: %s\n", qPrintable(db.path()), qPrintable(e.text()));
    }
    return 1;
}
