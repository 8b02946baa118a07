#pragma once
// Two installations and an export folder for the export and import tests: the
// test folder is the running installation; `source` is another one, filled
// through the programs' own recordsets while the program folder points at it.
#include "AppSub.h"
#include "Clock.h"
#include "DB.h"
#include "FakeClock.h"
#include "ProgramFolder.h"
#include "Recordsets.h"
#include "TestFolder.h"
#include "TestRows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace exporttest {

struct Trial {
    int autoNumber;
    int userCode;
    QDateTime executed;
    int answers;
    double rate;
    int deleted = 0;
};

inline void addTrial(CDB& db, const Trial& t) {
    CRsHistory_tbl rs(&db);
    rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("[History_tbl]"));
    db.BeginTrans();
    rs.AddNew();
    rs.m_AutoNumber = t.autoNumber;
    rs.m_user_code = t.userCode;
    rs.m_problem_code = QStringLiteral("2");
    rs.m_execution_date = t.executed;
    rs.m_order_flg = QStringLiteral("1");
    rs.m_end_time = QStringLiteral("2");
    rs.m_display_flg = QStringLiteral("1");
    rs.m_display_position = QStringLiteral("2");
    rs.m_course_code = QStringLiteral("3");
    rs.m_answer_number = t.answers;
    rs.m_correct_number = t.answers - 1;
    rs.m_correct_rate = t.rate;
    rs.m_answer_number60 = t.answers * 2;
    rs.m_target_value = 40;
    rs.m_result_code = QStringLiteral("3");
    rs.m_color_code = QStringLiteral("6");
    rs.m_answer_time = QStringLiteral("29分58秒");
    rs.m_first_update = t.executed;
    rs.m_last_update = t.executed.addSecs(1800);
    rs.m_delete_flg = t.deleted;
    rs.Update();
    db.CommitTrans();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(path.section('/', 0, -2));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file under a folder, relative path → bytes.
inline QMap<QString, QByteArray> filesUnder(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDir dir(folder);
    for (const QString& rel : dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString path = folder + '/' + rel;
        if (QFileInfo(path).isDir()) {
            const QMap<QString, QByteArray> inner = filesUnder(path);
            for (auto it = inner.cbegin(); it != inner.cend(); ++it)
                out.insert(rel + '/' + it.key(), it.value());
        } else
            out.insert(rel, readBytes(path));
    }
    return out;
}

const QDateTime kDay = naiveDateTime(QDate(2026, 5, 12), QTime(10, 4, 5));

class ExportTest : public ::testing::Test {
public:
    ExportTest() {
        local.OpenUser();
        source = sourceDir.path() + '/';
        exportFolder = exportDir.path() + '/';
        // The source installation: built from the same template.
        QFile::copy(folder.file("UserData.org"), source + "UserData.org");
    }

    // Runs f with the program folder pointed at the source installation and
    // its user database open.
    template <typename F> void inSource(F f) {
        setProgramFolder(source);
        {
            CDB db;
            db.OpenUser();
            f(db);
        }
        setProgramFolder(folder.path());
    }

    // The source of the golden export: two live users and a deleted one, four
    // trials (one deleted, one of the deleted user) with their files.
    void fillSource() {
        inSource([](CDB& db) {
            TestUser a;
            a.code = 3;
            a.start[0] = 12;
            a.start[2] = 7;
            AddTestUser(db, a);
            TestUser b;
            b.code = 5;
            b.kname1 = "スズキ";
            b.kname2 = "ハナコ";
            b.name1 = "鈴木";
            b.name2 = "花子";
            AddTestUser(db, b);
            TestUser gone;
            gone.code = 6;
            gone.name1 = "削除";
            gone.deleted = 1;
            AddTestUser(db, gone);
            addTrial(db, {1, 3, kDay, 31, 96.774193548, 0});
            addTrial(db, {2, 5, kDay.addDays(-1), 12, 100.0, 0});
            addTrial(db, {3, 3, kDay.addDays(1), 40, 12.5, 1});
            addTrial(db, {4, 6, kDay.addSecs(60), 5, 80.0, 0});
            for (int code : {3, 5})
                writeBytes(AppSub::UserFolder(code, true) + '/' +
                               AppSub::CsvFileName(AppSub::CsvKind::InputValues, 2, kDay, "x", "y"),
                           "input of " + QByteArray::number(code) + "\r\n");
            writeBytes(AppSub::UserFolder(3, true) + "/sub/note.txt", "kept\r\n");
        });
    }

    FakeClock clock{naiveDateTime(QDate(2026, 6, 1), QTime(12, 0, 0))};
    TestFolder folder;
    CDB local;
    QTemporaryDir sourceDir, exportDir;
    QString source, exportFolder;
};

} // namespace exporttest
