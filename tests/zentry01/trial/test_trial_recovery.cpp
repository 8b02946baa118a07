// Trials an earlier run left unfinished are closed at the next start as
// trials the trainee ended, scored from the cards their input-value file holds.
// The earlier run ends by dropping its task screen in the middle of the trial:
// the files and the history row are then exactly as a killed program leaves them.
#include "TaskScreenFixture.h"

#include "DenpyoDlg.h"
#include "IKCRitchEditCtrl.h"
#include "TaskScreens.h"
#include "TrialRecovery.h"

#include <QDir>

using namespace taskscreens;

namespace {

struct Interrupted {
    int problem;
    int cards;        // completed before the program went away
    bool removeInput; // the input-value file is gone as well
    const char* answerTime;
};
void PrintTo(const Interrupted& c, std::ostream* os) { *os << "task " << c.problem << ", " << c.cards << " cards"; }

class TrialRecoveryTest : public TaskScreenTest, public ::testing::WithParamInterface<Interrupted> {
protected:
    // Runs a trial of the task with `cards` cards completed, 10 seconds each,
    // and leaves it without closing it.
    void interruptTrial(int problem, int cards) {
        prepareTrial(problem, 1);
        std::unique_ptr<CDenpyoDlg> dlg = TaskScreens::Create(problem, kaiseki);
        ASSERT_TRUE(dlg->OpenTrial());
        dlg->show();
        for (int i = 0; i < cards; ++i) {
            auto* first = dlg->findChild<CIKCRitchEditCtrl*>();
            first->setFocus();
            QTest::keyClicks(first, QStringLiteral("x"));
            clock.advance(10);
            QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("next")), Qt::LeftButton);
        }
        kaiseki.Close();
    }
    QStringList userFiles(const QString& pattern) {
        return QDir(folder.path() + QStringLiteral("解析結果/7")).entryList({pattern}, QDir::Files);
    }
};

TEST_P(TrialRecoveryTest, ClosedAsEndedByTheTraineeWithTheCardsOfItsFile) {
    const Interrupted c = GetParam();
    interruptTrial(c.problem, c.cards);
    if (c.removeInput)
        for (const QString& f : userFiles(QStringLiteral("*.csv")))
            QFile::remove(folder.path() + QStringLiteral("解析結果/7/") + f);
    clock.advance(600);
    app->CloseUnfinishedTrials();

    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QStringLiteral("1"));
    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), c.removeInput ? 0 : c.cards);
    EXPECT_EQ(history(1, QStringLiteral("answer_time")).toString(), QString::fromUtf8(c.answerTime));
    EXPECT_EQ(history(1, QStringLiteral("last_update")).toString(),
              QStringLiteral("2026-04-01 09:40:%1").arg(c.cards * 10, 2, 10, QChar(u'0')));
    if (!c.removeInput) {
        expectHistoryMatchesTool(c.problem, 1);
        const QStringList results = userFiles(QStringLiteral("*_解析結果_*"));
        ASSERT_EQ(results.size(), 1);
        const QString text = readText(folder.path() + QStringLiteral("解析結果/7/") + results.first());
        EXPECT_TRUE(text.contains(QStringLiteral("\r\n%1枚,").arg(c.cards))) << text.toStdString();
    }
    ASSERT_EQ(folder.notifier.entries.size(), 1) << folder.notifier.texts().join('|').toStdString();
    const QString message = folder.notifier.texts().first();
    EXPECT_TRUE(message.contains(QStringLiteral("山田　太郎　2026/04/01 09:30:00 開始　%1（%2枚）")
                                     .arg(Labels::Problem(c.problem))
                                     .arg(c.removeInput ? 0 : c.cards)))
        << message.toStdString();

    // The next start finds nothing left to close and says nothing.
    folder.notifier.entries.clear();
    app->CloseUnfinishedTrials();
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Trials, TrialRecoveryTest,
                         ::testing::Values(Interrupted{2, 2, false, "00分20秒"},
                                           Interrupted{1, 1, false, "00分10秒"}, Interrupted{3, 0, false, ""},
                                           Interrupted{2, 1, true, ""}),
                         [](const ::testing::TestParamInfo<Interrupted>& info) {
                             const Interrupted& c = info.param;
                             return "task" + std::to_string(c.problem) + "_" + std::to_string(c.cards) +
                                    "cards" + (c.removeInput ? "_noFile" : "");
                         });

TEST_F(TrialRecoveryTest, FinishedAndDeletedTrialsStayAsTheyAre) {
    interruptTrial(2, 1);
    QSqlQuery q(app->UserDb().database());
    ASSERT_TRUE(q.exec(DbEngines::nativeSql(app->UserDb(), QStringLiteral("update [History_tbl] set [delete_flg] = 1"))));
    // A trial that ran out of time with no card done has only its last_update to tell it apart.
    ASSERT_TRUE(q.exec(DbEngines::nativeSql(app->UserDb(), QStringLiteral(
        "insert into [History_tbl] ([AutoNumber], [user_code], [problem_code], [course_code], [end_time], "
        "[execution_date], [first_update], [last_update], [end_flg], [answer_time], [answer_number], "
        "[delete_flg]) "
        "values (2, 7, '2', '1', '1', '2026-04-01 10:00:00', '2026-04-01 10:00:00', '2026-04-01 10:15:00', "
        "'', '', 0, 0)"))));
    app->CloseUnfinishedTrials();
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QString());
    EXPECT_EQ(history(2, QStringLiteral("end_flg")).toString(), QString());
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

} // namespace
