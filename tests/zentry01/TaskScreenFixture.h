#pragma once
// A program folder with a small master data file of known cards and postal
// rows, one trainee, a clock the test moves, and the task program's
// application object ready to run a trial of any task and course through the
// real task screens.
#include "ArrDenpyo.h"
#include "Clock.h"
#include "FakeClock.h"
#include "Codec.h"
#include "DB.h"
#include "DbEngine.h"
#include "ExecEnv.h"
#include "KaisekiFile.h"
#include "Schema.h"
#include "TestFolder.h"
#include "Zentry01App.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>
#include <QVariantList>

#include <gtest/gtest.h>

#include <memory>

namespace taskscreens {

using ::FakeClock;

// The cards of the small master file. Vouchers: printed values differ from the
// correct ones in some characters; the third voucher has no error.
inline const QList<QStringList>& VoucherCorrect() {
    static const QList<QStringList> v = {
        {"A1234", "P-567", "03-1234-5678", "taro@example.jp"},
        {"B2001", "Q-100", "06-9876-5432", "hana@mail.jp"},
        {"C3003", "R-300", "045-111-2222", "ken@web.jp"},
    };
    return v;
}
inline const QList<QStringList>& VoucherPrinted() {
    static const QList<QStringList> v = {
        {"A1284", "P-567", "03-1234-5578", "tar0@example.jp"},
        {"B2007", "Q-100", "06-9876-5432", "hana@mail.jp"},
        {"C3003", "R-300", "045-111-2222", "ken@web.jp"},
    };
    return v;
}
inline const QList<QStringList>& PostcardAnswers() {
    static const QList<QStringList> v = {
        {"ヤマダ　タロウ", "山田　太郎", "100-0001", "東京都千代田区千代田", "03-1111-2222", "yamada@example.jp", "2", "1", "1"},
        {"スズキ　ハナコ", "鈴木　花子", "123-4567", "東京都港区芝大門", "06-3333-4444", "suzuki@example.jp", "6", "3", "2"},
        {"サトウ　ケン", "佐藤　健", "765-4321", "大阪府大阪市北区梅田", "045-555-6666", "sato@example.jp", "", "", ""},
    };
    return v;
}
// Card numbers: 11, 12, 13 for courses 1 and 3; 21, 22 for course 2.
inline int CardNumber(int course, int i) { return (course == 2 ? 21 : 11) + i; }

inline void WriteMaster(const QString& path) {
    const QString name = QStringLiteral("taskscreens_master");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        Schema::create(db, Schema::masterDatabase());
        const auto insert = [&](const QString& table, const QVariantList& values) {
            QStringList marks;
            for (int i = 0; i < values.size(); ++i)
                marks << QStringLiteral("?");
            QSqlQuery q(db);
            q.prepare(QStringLiteral("insert into [%1] values (%2)").arg(table, marks.join(',')));
            for (int i = 0; i < values.size(); ++i)
                q.bindValue(i, values.at(i));
            ASSERT_TRUE(q.exec()) << table.toStdString();
        };
        for (int course : {1, 2}) {
            const int cards = course == 2 ? 2 : 3;
            const QString postcards = course == 2 ? QStringLiteral("Mst03") : QStringLiteral("Mst01");
            const QString vouchers = course == 2 ? QStringLiteral("Mst04") : QStringLiteral("Mst02");
            for (int i = 0; i < cards; ++i) {
                QVariantList p{CardNumber(course, i)};
                for (const QString& v : PostcardAnswers()[i])
                    p << v;
                p << 0;
                insert(postcards, p);
                QVariantList v{CardNumber(course, i)}, e{CardNumber(course, i)};
                for (int k = 0; k < 4; ++k) {
                    v << VoucherCorrect()[i][k];
                    e << VoucherPrinted()[i][k];
                }
                v << 0;
                e << 0;
                insert(vouchers, v);
                insert(vouchers + QStringLiteral("Error"), e);
            }
        }
        const struct {
            int id;
            const char* zip;
            const char* pref;
            const char* city;
            const char* town;
        } postal[] = {
            {1, "1000001", "東京都", "千代田区", "千代田"},
            {2, "1234567", "東京都", "港区", "芝公園"},
            {3, "1234567", "東京都", "港区", "芝大門"},
            {4, "1234567", "東京都", "港区", "浜松町"},
        };
        for (const auto& r : postal)
            insert(QStringLiteral("KEN_ALL"),
                   {r.id, QString(), QString(), QString::fromUtf8(r.zip), QString(), QString(), QString(),
                    QString::fromUtf8(r.pref), QString::fromUtf8(r.city), QString::fromUtf8(r.town), 0, 0, 0, 0, 0, 0});
        insert(QStringLiteral("KEN_ALL_Version"), {1, QStringLiteral("2025-09-25 00:00:00")});
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// The trainee of the program folder.
inline constexpr int kTrainee = 7;

class TaskScreenTest : public ::testing::Test {
protected:
    static constexpr int kUser = kTrainee;

    void SetUp() override {
        WriteMaster(folder.file(QStringLiteral("Quillon01.mst")));
        app = std::make_unique<CZentry01App>();
        app->OpenDatabases();
        QSqlQuery q(app->UserDb().database());
        ASSERT_TRUE(q.exec(DbEngines::nativeSql(
            app->UserDb(), QStringLiteral("insert into [User_tbl] values (7, 'ヤマダ', 'タロウ', '山田', '太郎', 0, 0, 0, "
                                          "'2026-03-01 08:00:00', '2026-03-01 08:00:00', 0)"))));
    }
    void TearDown() override { app.reset(); }

    CExecEnv& env() { return app->ExecEnv(); }
    CArrBase& deck() { return *app->CurrentDeck(); }

    // The launcher's part before a task screen opens: task, course, the
    // trainee's defaults, the deck, the instructor's settings and the order.
    void prepareTrial(int problem, int course, const QString& iniSettings = QString()) {
        folder.writeIni(QStringLiteral("[Settings]\n") + iniSettings);
        env().user_code = kUser;
        env().problem_code = problem;
        env().course_code = course;
        env().ResetTraineeConditions();
        app->CreateDeck(problem, course);
        env().LoadInstructorConditions();
        ASSERT_TRUE(app->ShowSeq().Build(deck(), app->UserDb(), env()));
    }

    // One column of a history row.
    QVariant history(int autoNumber, const QString& column) {
        QSqlQuery q(app->UserDb().database());
        q.prepare(DbEngines::nativeSql(app->UserDb(),
                                       QStringLiteral("select [%1] from [History_tbl] where [AutoNumber] = ?").arg(column)));
        q.addBindValue(autoNumber);
        if (!q.exec() || !q.next())
            return {};
        return q.value(0);
    }
    int startNumber(int problem) {
        QSqlQuery q(app->UserDb().database());
        q.exec(DbEngines::nativeSql(
            app->UserDb(), QStringLiteral("select [start_no%1] from [User_tbl] where [user_code] = 7").arg(problem)));
        return q.next() ? q.value(0).toInt() : -1;
    }
    static QByteArray readBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QString readText(const QString& path) { return cp932::decode(readBytes(path)); }

    // The trial as the command-line analysis of the program folder sees it.
    QJsonObject analysedByTool(int problem, int autoNumber) {
        QProcess tool;
        tool.start(QStringLiteral(ZENTRY_PROGRAM_DIR "/zentry-tool"),
                   {QStringLiteral("analyze"), QStringLiteral("--folder"), folder.path(), QStringLiteral("--user"),
                    QString::number(kUser), QStringLiteral("--task"), QString::number(problem),
                    QStringLiteral("--history"), QString::number(autoNumber)});
        EXPECT_TRUE(tool.waitForFinished(60000)) << "zentry-tool is built into the program folder with the programs";
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        const QJsonArray trials = QJsonDocument::fromJson(tool.readAllStandardOutput()).object()[QStringLiteral("trials")].toArray();
        EXPECT_EQ(trials.size(), 1);
        return trials.isEmpty() ? QJsonObject() : trials.first().toObject();
    }
    // The totals stored in the history row are the analysis of the trial's files.
    void expectHistoryMatchesTool(int problem, int autoNumber) {
        const QJsonObject trial = analysedByTool(problem, autoNumber);
        for (const char* column : {"answer_number", "answer_koumoku", "correct_number", "correct_koumoku", "correct_rate",
                                   "correct_rate_koumoku", "answer_number60", "answer_koumoku60", "correct_number60",
                                   "correct_koumoku60", "correct_rate60", "correct_rate_koumoku60"}) {
            const QString name = QString::fromLatin1(column);
            ASSERT_TRUE(trial.contains(name)) << column;
            EXPECT_DOUBLE_EQ(history(autoNumber, name).toDouble(), trial[name].toDouble()) << column;
        }
    }

    // Presses OK on the check feedback screen as soon as it is up.
    static void pressOkOnFeedback() {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->objectName() == QLatin1String("checkFeedbackScreen") && w->isVisible()) {
                    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
                    timer->deleteLater();
                    timer->stop();
                    return;
                }
            }
        });
        timer->start(10);
    }

    TestFolder folder;
    FakeClock clock;
    std::unique_ptr<CZentry01App> app;
    CKaisekiFile kaiseki;
};

} // namespace taskscreens
