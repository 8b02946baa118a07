#pragma once
// Support for the tests of the task program's shell (start-up, menu, course,
// conditions, start and result screens, launcher): a program folder with the
// built master data file and trainees, the application object, a clock the
// test moves, a script that answers the chain of modal screens, and a stand-in
// for a task screen that runs a short trial through the real trial classes.
#include "ArrDenpyo.h"
#include "Clock.h"
#include "FakeClock.h"
#include "TestRows.h"
#include "DB.h"
#include "ExecEnv.h"
#include "InputLog.h"
#include "KaisekiFile.h"
#include "ModalScript.h"
#include "Recordsets.h"
#include "StringTable.h"
#include "TaskScreens.h"
#include "TestFolder.h"
#include "Zentry01App.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace shell {

// The shell's trials start on a Monday morning.
class FakeClock : public ::FakeClock {
public:
    FakeClock() : ::FakeClock(naiveDateTime(QDate(2026, 5, 11), QTime(10, 0, 0))) {}
};

// Adds a trainee to the user database; returns the user code.
inline int AddUser(CDB& userDb, int code, const QString& kana1, const QString& kana2, const QString& name1,
                   const QString& name2, int deleted = 0, int startNo = 0) {
    TestUser u{code, kana1, kana2, name1, name2, {startNo, startNo, startNo}, deleted, appClock().now()};
    AddTestUser(userDb, u);
    return code;
}

using ::Child;
using ::Click;
using ::ModalScript;

// What a task screen does for one trial, without the screen: the history row,
// the input-value file with the first `done` cards of the order answered (right
// when `right`), the analysis into `result` and the history row completed with
// the end reason (0 time up, 1 ended by the trainee).
inline int RunShortTrial(CZentry01App& app, CKaisekiFile& result, FakeClock& clock, int done, bool right = true,
                         int endFlag = 1) {
    CExecEnv& env = app.ExecEnv();
    CArrBase& deck = *app.CurrentDeck();
    deck.ResetTrial();
    const QDateTime opened = appClock().now();
    const int row = env.CreateHistoryRow(app.UserDb(), opened);
    if (row == 0)
        return QDialog::Rejected;
    CInputLog log;
    log.Open(app.UserDb(), env.problem_code, opened, env.user_code);
    log.WriteLine(CInputLog::HeaderLine(env.problem_code, env.course_code));
    result.Open(app.UserDb(), app.MasterDb(), CKaisekiFile::TrialConditions::Of(env), env.problem_code, opened,
                env.user_code);
    for (int p = 0; p < done; ++p) {
        const int index = deck.CardAtPosition(p);
        deck.MarkShown(index);
        clock.advance(20);
        CArrBaseInfo& card = deck.at(index);
        for (int item = 0; item < deck.ItemCount(); ++item) {
            if (env.problem_code == 3) {
                QString marks;
                const QString& c = card.correct[item];
                const QString& e = card.erroneous[item];
                for (qsizetype i = 0; i < e.size(); ++i)
                    marks += (i < c.size() && c[i] == e[i]) ? QLatin1Char('N') : QLatin1Char('C');
                card.input[item] = marks;
            } else {
                card.input[item] = card.correct[item];
            }
            if (!right && item == 0)
                card.input[item] += QLatin1Char('X');
        }
        deck.MarkFinished(index);
        log.WriteLine(CInputLog::CardLine(deck, index, env.course_code));
    }
    log.Close();
    result.WriteResult(deck, row);
    result.Close();
    if (const CArrKaisekiMain_ShikouKai* totals = result.FirstResult())
        env.CompleteHistoryRow(app.UserDb(), row, *totals, endFlag, deck.WorkingTime());
    return TaskScreens::kTrialClosed;
}

// A program folder with the built master data file, opened by the application
// object, and one trainee chosen.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.copyBuiltMaster();
        app = std::make_unique<CZentry01App>();
        app->OpenDatabases();
        userCode = AddUser(app->UserDb(), 7, QStringLiteral("ヤマダ"), QStringLiteral("タロウ"),
                           QStringLiteral("山田"), QStringLiteral("太郎"));
        app->ExecEnv().user_code = userCode;
    }
    void TearDown() override {
        app.reset();
        StringTable::clear();
    }
    CExecEnv& env() { return app->ExecEnv(); }
    QStringList messages() const { return folder.notifier.texts(); }

    TestFolder folder;
    FakeClock clock;
    std::unique_ptr<CZentry01App> app;
    int userCode = 0;
};

} // namespace shell
