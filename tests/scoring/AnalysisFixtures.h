#pragma once
// Helpers for the analysis tests: history rows written into a real user
// database and input-value files written as the task program writes them.
#include "AppSub.h"
#include "Clock.h"
#include "Codec.h"
#include "DB.h"
#include "DeckFixtures.h"
#include "Recordsets.h"
#include "TextUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <gtest/gtest.h>

namespace analysis {

// One history row; the fields not given keep the values of a finished
// 30-minute skill-test trial.
struct History {
    int autoNumber = 1;
    int userCode = 1;
    int problem = 1;
    QDateTime executed = naiveDateTime(QDate(2026, 4, 1), QTime(9, 30, 0));
    QString endTime = QStringLiteral("2");
    QString course = QStringLiteral("1");
    QString endFlag;
    int deleted = 0;
};

inline void addHistory(CDB& userDb, const History& h) {
    CRsHistory_tbl rs(&userDb);
    rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("[History_tbl]"));
    userDb.BeginTrans();
    rs.AddNew();
    rs.m_AutoNumber = h.autoNumber;
    rs.m_user_code = h.userCode;
    rs.m_problem_code = QString::number(h.problem);
    rs.m_execution_date = h.executed;
    rs.m_order_flg = QStringLiteral("1");
    rs.m_end_time = h.endTime;
    rs.m_display_flg = QStringLiteral("1");
    rs.m_display_position = QStringLiteral("1");
    rs.m_graph_flg = QStringLiteral("1");
    rs.m_zip_flg = QStringLiteral("1");
    rs.m_course_code = h.course;
    rs.m_end_flg = h.endFlag;
    rs.m_answer_time = QStringLiteral("29分58秒");
    rs.m_first_update = rs.m_last_update = h.executed;
    rs.m_delete_flg = h.deleted;
    rs.Update();
    userDb.CommitTrans();
}

// The input-value file of a trial as the task program names it.
inline QString inputFilePath(int userCode, int problem, const QDateTime& executed,
                             const QString& name1 = QStringLiteral("山田"),
                             const QString& name2 = QStringLiteral("太郎")) {
    return AppSub::UserFolder(userCode, true) + '/' +
           AppSub::CsvFileName(AppSub::CsvKind::InputValues, problem, executed, name1, name2);
}

// A header line for the task and course.
inline QString headerLine(int problem, int course) {
    QString line = QStringLiteral("開始時刻,終了時刻,経過時間,評価除外フラグ,NO.,");
    line += problem == 1
                ? QStringLiteral("フリガナ,氏名,郵便番号,住所,電話番号,メールアドレス,問１,問２,問３")
                : QStringLiteral("顧客コード,商品コード,電話番号,メールアドレス");
    if (course == 2)
        line += QStringLiteral(",チェック");
    return line;
}

// A card line: elapsed time, number and the items as typed (quoted by the CSV rule).
inline QString cardLine(const QString& elapsed, int number, const QStringList& items,
                        const QString& checks = {}) {
    QStringList fields{QStringLiteral("09:30:00"), QStringLiteral("09:31:00"), elapsed, QString(),
                       QString::asprintf("%04d", number)};
    for (const QString& item : items)
        fields << TextUtil::CsvField(item);
    if (!checks.isNull())
        fields << checks;
    return fields.join(u',');
}

// Writes lines as code page 932 with CR LF ends.
inline void writeFile(const QString& path, const QStringList& lines) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    for (const QString& line : lines)
        f.write(cp932::encode(line) + "\r\n");
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Two questionnaire cards and three vouchers numbered with gaps (10, 20, 30):
// voucher 10 carries a printed error, voucher 30 one in its product code.
const QStringList kCard1{"ABCD", "山田", "123-4567", "東京都", "03-1111-2222", "a@b.jp", "1", "2", "1"};
const QStringList kCard2{"カナ", "漢字", "100-0001", "住所", "090", "x@y.jp", "3", "1", "2"};

inline void AddSampleCards(fixtures::MasterWriter& w) {
    w.card("Mst01", 1, kCard1);
    w.card("Mst01", 2, kCard2);
    w.voucher("Mst02", 10, {"123", "P-100", "03-1234-5678", "a@b.jp"});
    w.voucher("Mst02", 20, {"123", "P-200", "03-1234-5678", "c@d.jp"});
    w.voucher("Mst02", 30, {"ABC", "P-300", "045-111-2222", "e@f.jp"});
    w.voucher("Mst02Error", 10, {"128", "P-100", "03-1234-5678", "a@b.jp"});
    w.voucher("Mst02Error", 20, {"123", "P-200", "03-1234-5678", "c@d.jp"});
    w.voucher("Mst02Error", 30, {"ABC", "P-3OO", "045-111-2222", "e@f.jp"});
}

} // namespace analysis
