// A user edited in the utility while the task program writes a trial for that
// user, on two connections to one user database: neither program undoes the
// other's columns.
#include "AddUserEditDlg.h"
#include "ArrKaisekiMain.h"
#include "ExecEnv.h"
#include "Recordsets.h"
#include "UtilityFixture.h"

using namespace utility;

namespace {

class RegistryBesideTrials : public UtilityTest {
protected:
    void SetUp() override {
        UtilityTest::SetUp();
        addUser(1, QStringLiteral("ヤマダ"), QStringLiteral("タロウ"), QStringLiteral("山田"), QStringLiteral("太郎"));
        taskDb.OpenUser();
        env.user_code = 1;
        env.problem_code = 1;
        env.course_code = 1;
        env.order_flg = 1;
    }
    // The instructor renames the user in the name entry dialog opened earlier.
    void rename(CAddUserEditDlg& dlg) {
        TypeInto(Child<QLineEdit>(&dlg, "name2Edit"), QStringLiteral("太朗"));
        Click(&dlg, "okButton");
        ASSERT_EQ(dlg.result(), QDialog::Accepted) << messages().join('|').toStdString();
    }
    void expectBothKept(int historyRow) {
        CRsUser_tbl user(&app->UserDb());
        user.Open(CRecordset::dbOpenSnapshot, QStringLiteral("select * from [User_tbl] where [user_code] = %d "), {1});
        EXPECT_EQ(user.m_user_name2, QStringLiteral("太朗"));
        EXPECT_EQ(user.m_start_no1, 42);
        CRsHistory_tbl trial(&app->UserDb());
        trial.Open(CRecordset::dbOpenSnapshot,
                   QStringLiteral("select * from [History_tbl] where [AutoNumber] = %d and [delete_flg] <> 1 "),
                   {historyRow});
        ASSERT_FALSE(trial.IsEOF());
        EXPECT_EQ(trial.m_user_code, 1);
        EXPECT_EQ(trial.m_answer_number, 30);
        EXPECT_EQ(trial.m_answer_time, QStringLiteral("10分00秒"));
    }
    int runTrialToItsEnd(int row) {
        CArrKaisekiMain_ShikouKai totals;
        totals.m_answer_number = 30;
        EXPECT_TRUE(env.CompleteHistoryRow(taskDb, row, totals, 0, QStringLiteral("10分00秒")));
        EXPECT_TRUE(env.StoreNextStartNumber(taskDb, 42));
        return row;
    }

    CDB taskDb; // the task program's connection
    CExecEnv env;
};

TEST_F(RegistryBesideTrials, ATrialEndingWhileTheNameDialogIsOpen) {
    const int row = env.CreateHistoryRow(taskDb, clock.now());
    ASSERT_GT(row, 0);
    CAddUserEditDlg dlg(app->UserDb(), 1); // read before the trial ends
    dlg.show();
    runTrialToItsEnd(row);
    rename(dlg);
    expectBothKept(row);
}

TEST_F(RegistryBesideTrials, AnEditLandingBetweenTheTrialsReadAndWrite) {
    const int row = env.CreateHistoryRow(taskDb, clock.now());
    // The task program reads the user row for its start number ...
    CRsUser_tbl rs(&taskDb);
    rs.Open(CRecordset::dbOpenDynaset,
            QStringLiteral("select * from [User_tbl] where [user_code] = %d and [delete_flg] <> 1 "), {1});
    // ... the instructor renames the user ...
    CAddUserEditDlg dlg(app->UserDb(), 1);
    dlg.show();
    rename(dlg);
    // ... and the task program writes the start number from its earlier read.
    runTrialToItsEnd(row);
    ASSERT_TRUE(RunWriteTransaction(taskDb, [&] {
        rs.Edit();
        rs.m_start_no1 = 42;
        rs.Update();
    }));
    expectBothKept(row);
}

} // namespace
