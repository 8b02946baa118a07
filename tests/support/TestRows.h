#pragma once
// Rows the tests put into a user database, written through the programs' own
// recordset the way the instructor utility registers a trainee.
#include "Clock.h"
#include "DB.h"
#include "Recordsets.h"

struct TestUser {
    int code = 1;
    QString kname1 = QStringLiteral("ヤマダ");
    QString kname2 = QStringLiteral("タロウ");
    QString name1 = QStringLiteral("山田");
    QString name2 = QStringLiteral("太郎");
    int start[3] = {0, 0, 0};
    int deleted = 0;
    QDateTime created = naiveDateTime(QDate(2026, 3, 1), QTime(8, 0));
};

inline void AddTestUser(CDB& userDb, const TestUser& u) {
    CRsUser_tbl rs(&userDb);
    rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("[User_tbl]"));
    userDb.BeginTrans();
    rs.AddNew();
    rs.m_user_code = u.code;
    rs.m_user_kname1 = u.kname1;
    rs.m_user_kname2 = u.kname2;
    rs.m_user_name1 = u.name1;
    rs.m_user_name2 = u.name2;
    rs.m_start_no1 = u.start[0];
    rs.m_start_no2 = u.start[1];
    rs.m_start_no3 = u.start[2];
    rs.m_first_update = rs.m_last_update = u.created;
    rs.m_delete_flg = u.deleted;
    rs.Update();
    userDb.CommitTrans();
}

// A history row of a finished 30-minute skill-test trial of the questionnaire
// task by user 1, changed by `edit` before it is written.
template <typename Edit> void AddTestHistory(CDB& userDb, qint32 autoNumber, Edit edit) {
    CRsHistory_tbl rs(&userDb);
    rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("[History_tbl]"));
    userDb.BeginTrans();
    rs.AddNew();
    rs.m_AutoNumber = autoNumber;
    rs.m_user_code = 1;
    rs.m_problem_code = QStringLiteral("1");
    rs.m_execution_date = naiveDateTime(QDate(2026, 4, 1), QTime(9, 0)).addSecs(3600 * autoNumber);
    rs.m_order_flg = QStringLiteral("1");
    rs.m_end_time = QStringLiteral("2");
    rs.m_course_code = QStringLiteral("1");
    rs.m_answer_time = QStringLiteral("29分58秒");
    edit(rs);
    rs.m_first_update = rs.m_last_update = rs.m_execution_date;
    rs.Update();
    userDb.CommitTrans();
}
