#include "UserRegistry.h"

#include "AppSub.h"
#include "Clock.h"
#include "DB.h"
#include "ICException.h"
#include "Notifier.h"
#include "Recordsets.h"
#include "TextUtil.h"

#include <functional>

namespace UserRegistry {

namespace {
bool isSingleByteSpace(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\v') || c == QLatin1Char('\f');
}

Result editRow(CDB& userDb, int userCode, const QString& sql,
                     const std::function<void(CRsUser_tbl&)>& change) {
    try {
        CRsUser_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenDynaset, sql, {userCode});
        if (rs.IsEOF())
            return Result::Missing;
        if (!rs.CheckCanUpdate())
            return Result::Failed;
        const bool written = RunWriteTransaction(userDb, [&] {
            rs.Edit();
            change(rs);
            rs.m_last_update = appClock().now();
            rs.Update();
        });
        return written ? Result::Done : Result::Failed;
    } catch (const CDBException& e) {
        notifyError(e.text());
        return Result::Failed;
    }
}
} // namespace

QString TrimSingleByteSpace(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSingleByteSpace(text.at(begin)))
        ++begin;
    while (end > begin && isSingleByteSpace(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

Names Trimmed(const Names& n) {
    return {TrimSingleByteSpace(n.kname1), TrimSingleByteSpace(n.kname2), TrimSingleByteSpace(n.name1),
            TrimSingleByteSpace(n.name2)};
}

Check CheckNames(const Names& n) {
    if (n.kname1.isEmpty() || n.name1.isEmpty())
        return Check::MissingFamilyName;
    if (!TextUtil::AllKatakana(n.kname1) || !TextUtil::AllKatakana(n.kname2))
        return Check::KanaNotKatakana;
    if (!TextUtil::AllDoubleByte(n.name1) || !TextUtil::AllDoubleByte(n.name2))
        return Check::NameNotFullWidth;
    return Check::Ok;
}

bool Load(CDB& userDb, int userCode, Names& names) {
    try {
        CRsUser_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenSnapshot,
                QStringLiteral("select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1"), {userCode},
                CRecordset::readOnly);
        if (rs.IsEOF())
            return false;
        names = {rs.m_user_kname1, rs.m_user_kname2, rs.m_user_name1, rs.m_user_name2};
        return true;
    } catch (const CDBException& e) {
        notifyError(e.text());
        return false;
    }
}

int Add(CDB& userDb, const Names& names, const std::array<int, 3>& startNumbers) {
    int code = 0;
    try {
        CRsUser_tbl rs(&userDb);
        rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("[User_tbl]"));
        if (!rs.CheckCanUpdate())
            return 0;
        const bool written = RunWriteTransaction(userDb, [&] {
            // Taken inside the transaction, so the other program cannot take it too.
            code = AppSub::NextUserCode(userDb);
            rs.AddNew();
            rs.m_user_code = code;
            rs.m_user_kname1 = names.kname1;
            rs.m_user_kname2 = names.kname2;
            rs.m_user_name1 = names.name1;
            rs.m_user_name2 = names.name2;
            rs.m_start_no1 = startNumbers[0];
            rs.m_start_no2 = startNumbers[1];
            rs.m_start_no3 = startNumbers[2];
            rs.m_first_update = rs.m_last_update = appClock().now();
            rs.m_delete_flg = 0;
            rs.Update();
        });
        return written ? code : 0;
    } catch (const CDBException& e) {
        notifyError(e.text());
        return 0;
    }
}

Result Update(CDB& userDb, int userCode, const Names& names) {
    return editRow(userDb, userCode,
                         QStringLiteral("select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 "),
                         [&](CRsUser_tbl& rs) {
                             rs.m_user_kname1 = names.kname1;
                             rs.m_user_kname2 = names.kname2;
                             rs.m_user_name1 = names.name1;
                             rs.m_user_name2 = names.name2;
                         });
}

Result Delete(CDB& userDb, int userCode) {
    return editRow(userDb, userCode, QStringLiteral("select * from [User_tbl] where [user_code] = %d "),
                         [](CRsUser_tbl& rs) { rs.m_delete_flg = 1; });
}

} // namespace UserRegistry
