// A trial survives the program being killed: a child process runs a real
// voucher trial through the real screen and is killed while it works; every
// completed card is on the disk, the history row stays in its started state
// until the next start closes it, and that start runs a trial normally.
#include "ChildTest.h"
#include "TaskScreenFixture.h"

#include "DenpyoDlg.h"
#include "IKCRitchEditCtrl.h"
#include "ProgramFolder.h"

#include <QDir>

using namespace taskscreens;

namespace {

const char* kChildFolderVariable = "ZENTRY_TRIAL_CHILD_FOLDER";

// The child's side: one trial that corrects card after card until it is killed.
// Run only as the child of TrialKill below.
TEST(TrialKillChild, WorksUntilKilled) {
    const QString folderPath = qEnvironmentVariable(kChildFolderVariable);
    if (folderPath.isEmpty())
        GTEST_SKIP() << "runs only as the child process of TrialKill";
    setProgramFolder(folderPath);
    RecordingNotifier notifier;
    setNotifier(&notifier);
    FakeClock clock;
    CZentry01App app;
    app.OpenDatabases();
    CExecEnv& env = app.ExecEnv();
    env.user_code = kTrainee;
    env.problem_code = 2;
    env.course_code = 1;
    env.ResetTraineeConditions();
    env.LoadInstructorConditions();
    app.CreateDeck(2, 1);
    ASSERT_TRUE(app.ShowSeq().Build(*app.CurrentDeck(), app.UserDb(), env));

    CKaisekiFile kaiseki;
    CDenpyoDlg dlg(kaiseki);
    ASSERT_TRUE(dlg.OpenTrial());
    dlg.show();
    auto* code = static_cast<CIKCRitchEditCtrl*>(dlg.findChild<QWidget*>(QStringLiteral("customerCode")));
    auto* next = dlg.findChild<QPushButton*>(QStringLiteral("next"));
    // The deck is long enough that its last card is never reached before the kill.
    for (int done = 1;; ++done) {
        code->setFocus();
        QTest::keyClick(code, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(code, QStringLiteral("K%1").arg(done));
        clock.advance(10);
        QTest::mouseClick(next, Qt::LeftButton);
        ChildTest::report("CARD " + QByteArray::number(done));
        QTest::qWait(20);
    }
}

class TrialKill : public TaskScreenTest {
protected:
    // Starts the child on this program folder and kills it once it has reported
    // `cards` finished cards; returns the last count it reported.
    int runChildAndKill(int cards) {
        app.reset(); // the child has the databases to itself while it runs
        ChildTest child(QStringLiteral("TrialKillChild.WorksUntilKilled"),
                        {{QString::fromLatin1(kChildFolderVariable), folder.path()}});
        child.waitFor([&](const QByteArray& r) { return r.startsWith("CARD ") && r.mid(5).toInt() >= cards; });
        child.kill();
        int reported = 0; // the kill may have come after a later report
        for (const QByteArray& r : child.reports())
            if (r.startsWith("CARD "))
                reported = r.mid(5).toInt();
        return reported;
    }
    // Enough vouchers that the child never reaches the end of the deck.
    void addVouchers(int count) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("kill_master"));
        db.setDatabaseName(folder.file(QStringLiteral("Quillon01.mst")));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (int number = 100; number < 100 + count; ++number)
            for (const char* table : {"Mst02", "Mst02Error"})
                ASSERT_TRUE(q.exec(QStringLiteral("insert into [%1] values (%2, 'X%2', 'P-1', '03-0000-0000', 'a@b.jp', 0)")
                                       .arg(QString::fromLatin1(table))
                                       .arg(number)));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("kill_master"));
    }
    void reopen() {
        app = std::make_unique<CZentry01App>();
        app->OpenDatabases();
    }
};

TEST_F(TrialKill, EveryCompletedCardAndTheStartedRowSurvive) {
    addVouchers(200);
    const int reported = runChildAndKill(3);
    ASSERT_GE(reported, 3);

    // Every completed card is a whole line of the input-value file.
    const QStringList files = QDir(folder.path() + QStringLiteral("解析結果/7"))
                                  .entryList({QStringLiteral("*_入力値_顧客伝票_山田_太郎.csv")}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    const QByteArray bytes = readBytes(folder.path() + QStringLiteral("解析結果/7/") + files.first());
    ASSERT_TRUE(bytes.endsWith("\r\n")) << "a line was cut short";
    QStringList lines = cp932::decode(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    EXPECT_EQ(lines.first(),
              QStringLiteral("開始時刻,終了時刻,経過時間,評価除外フラグ,NO.,顧客コード,商品コード,電話番号,メールアドレス"));
    // The kill may fall between writing a card and reporting it, never before writing it.
    const int logged = lines.size() - 1;
    EXPECT_GE(logged, reported);
    EXPECT_LE(logged, reported + 1);
    for (int i = 1; i <= logged; ++i) {
        const QStringList fields = lines[i].split(',');
        ASSERT_EQ(fields.size(), 9) << lines[i].toStdString();
        EXPECT_EQ(fields[4], i <= 3 ? QString::asprintf("%04d", CardNumber(1, i - 1)) : QString::asprintf("%04d", 96 + i));
        EXPECT_EQ(fields[5], QStringLiteral("K%1").arg(i));
    }

    reopen();
    // The history row is there, in the state it had when the trial started.
    EXPECT_EQ(history(1, QStringLiteral("problem_code")).toString(), QStringLiteral("2"));
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QString());
    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), 0);
    EXPECT_EQ(history(1, QStringLiteral("answer_time")).toString(), QString());
    // The instructor's analysis still reads the cards of the killed trial.
    EXPECT_EQ(analysedByTool(2, 1)[QStringLiteral("answer_number")].toInt(), logged);

    // The next start closes it as ended by the trainee, scored from those cards.
    app->CloseUnfinishedTrials();
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QStringLiteral("1"));
    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), logged);
    expectHistoryMatchesTool(2, 1);
    EXPECT_EQ(folder.notifier.entries.size(), 1);
}

TEST_F(TrialKill, TheNextStartRunsATrialNormally) {
    addVouchers(200);
    runChildAndKill(1);
    reopen();
    app->CloseUnfinishedTrials();
    clock.advance(3600);
    prepareTrial(2, 1);
    CDenpyoDlg dlg(kaiseki);
    ASSERT_TRUE(dlg.OpenTrial());
    dlg.show();
    EXPECT_EQ(dlg.HistoryNumber(), 2);
    clock.advance(30);
    QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("next")), Qt::LeftButton);
    folder.notifier.answers = {true};
    QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("abort")), Qt::LeftButton);
    ASSERT_EQ(dlg.result(), CDenpyoDlg::kTrialClosed);
    EXPECT_EQ(history(2, QStringLiteral("end_flg")).toString(), QStringLiteral("1"));
    EXPECT_EQ(history(2, QStringLiteral("answer_number")).toInt(), 1);
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QStringLiteral("1"));
    EXPECT_EQ(folder.notifier.entries.size(), 2) << "the closed trial and the question to end";
}

} // namespace
