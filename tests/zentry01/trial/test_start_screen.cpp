// The start screen: the six summary lines for each task, course and order,
// and "スタート", which builds the presentation order or stays open.
#include "ArrShowSeq.h"
#include "ShellFixture.h"
#include "StartDlg.h"

#include <QLabel>

using namespace shell;

namespace {

class StartScreen : public ShellTest {
protected:
    // The screen for a task and course over the built master data, the
    // trainee's targets set and the instructor's settings in the ini file.
    std::unique_ptr<CStartDlg> open(int problem, int course, const QString& ini) {
        folder.writeIni(QStringLiteral("[Settings]\n") + ini);
        env().problem_code = problem;
        env().course_code = course;
        env().ResetTraineeConditions();
        env().end_time = 3;
        env().target_value = 20;
        env().target_value2 = 15;
        app->CreateDeck(problem, course);
        auto dlg = std::make_unique<CStartDlg>(env(), app->UserDb(), *app->CurrentDeck(), app->ShowSeq());
        dlg->show();
        return dlg;
    }
    void setStoredStart(int number) {
        CRsUser_tbl rs(&app->UserDb());
        app->UserDb().BeginTrans();
        rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("select * from [User_tbl] where [user_code] = %d "),
                {userCode});
        rs.Edit();
        rs.m_start_no1 = rs.m_start_no2 = rs.m_start_no3 = number;
        rs.Update();
        rs.Close();
        app->UserDb().CommitTrans();
    }
};

TEST_F(StartScreen, NumberOrderNamesTheStoredStartCard) {
    setStoredStart(25);
    auto dlg = open(2, 3, QStringLiteral("order_flg=1\nstart_flg=1\nspecifie_start_no=7\ndisplay_flg=1\n"));
    EXPECT_EQ(dlg->Lines(), (QStringList{QStringLiteral("◆これから顧客伝票修正を始めます。"),
                                         QStringLiteral("◆画面の顧客伝票を使います。"),
                                         QStringLiteral("◆伝票は番号順に出てきます。開始NO.はNO.0025からです。"),
                                         QStringLiteral("◆時間は45分です。"),
                                         QStringLiteral("◆目標作業枚数は20枚です。"),
                                         QStringLiteral("◆目標正しい枚数は15枚です。")}));
    EXPECT_EQ(Child<QLabel>(dlg.get(), "line3")->text(), dlg->Lines()[2]);
    EXPECT_EQ(env().display_flg, 1) << "the instructor's settings are loaded on opening";

    Click(dlg.get(), "startButton");
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    ASSERT_EQ(app->ShowSeq().size(), app->CurrentDeck()->GetSize());
    EXPECT_EQ(app->CurrentDeck()->at(app->ShowSeq().DeckIndexAt(0)).number, 25);
}

TEST_F(StartScreen, SpecifiedStartNumberAndTheQuestionnaireTexts) {
    setStoredStart(25);
    auto dlg = open(1, 1, QStringLiteral("order_flg=1\nstart_flg=2\nspecifie_start_no=7\n"));
    EXPECT_EQ(dlg->Lines(), (QStringList{QStringLiteral("◆これからアンケート入力を始めます。"),
                                         QStringLiteral("◆紙のアンケートカードを使います。"),
                                         QStringLiteral("◆アンケートカードは番号順に出てきます。開始NO.はNO.0007からです。"),
                                         QStringLiteral("◆時間は45分です。"), QString(), QString()}));
}

TEST_F(StartScreen, ShuffleSaysRandomWithoutAStartNumber) {
    setStoredStart(25);
    auto dlg = open(3, 3, QStringLiteral("order_flg=2\nstart_flg=2\nspecifie_start_no=99999\n"));
    EXPECT_EQ(dlg->Lines()[0], QStringLiteral("◆これから顧客伝票ミスチェックを始めます。"));
    EXPECT_EQ(dlg->Lines()[2], QStringLiteral("◆伝票はランダムに出てきます。"));
    Click(dlg.get(), "startButton");
    EXPECT_EQ(dlg->result(), QDialog::Accepted) << "a shuffle ignores the specified start number";
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(StartScreen, BasicTrainingHasAnEmptyTimeLine) {
    auto dlg = open(2, 2, QString());
    const QStringList lines = dlg->Lines();
    EXPECT_EQ(lines[2], QStringLiteral("◆伝票は番号順に出てきます。開始NO.はNO.0001からです。"));
    EXPECT_EQ(lines[3], QString());
    EXPECT_EQ(lines[4], QString());
    EXPECT_EQ(lines[5], QString());
    EXPECT_EQ(env().TimeLimitMs(), 2700000) << "the limit still applies";
}

TEST_F(StartScreen, MissingSpecifiedStartCardKeepsTheScreenOpen) {
    auto dlg = open(2, 1, QStringLiteral("order_flg=1\nstart_flg=2\nspecifie_start_no=99999\n"));
    EXPECT_EQ(dlg->Lines()[2], QStringLiteral("◆伝票は番号順に出てきます。開始NO.はNO.99999からです。"));
    Click(dlg.get(), "startButton");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_NE(dlg->result(), QDialog::Accepted);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().first().startsWith(QStringLiteral("開始Noの指定に誤りがあります。")));
    EXPECT_TRUE(messages().first().contains(QStringLiteral("開始Noは、99999に設定されていますが")));
    EXPECT_EQ(app->ShowSeq().size(), 0);

    Click(dlg.get(), "cancelButton");
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

TEST_F(StartScreen, AnOrderOtherThanShuffleIsNumberOrderOnScreenToo) {
    setStoredStart(3);
    auto dlg = open(2, 1, QStringLiteral("order_flg=0\n"));
    EXPECT_EQ(dlg->Lines()[2], QStringLiteral("◆伝票は番号順に出てきます。開始NO.はNO.0003からです。"));
    Click(dlg.get(), "startButton");
    ASSERT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(app->CurrentDeck()->at(app->ShowSeq().DeckIndexAt(0)).number, 3);
}

} // namespace
