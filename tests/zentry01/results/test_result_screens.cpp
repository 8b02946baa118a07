// The result screens: check feedback and final feedback (sound, figure, text
// colour), the list of the cards done, one card's answers and inputs, and the
// history graph.
#include "GraphDlg.h"
#include "ICListCtrl.h"
#include "IKCRitchEditCtrl.h"
#include "KCGraph.h"
#include "NumberSpinField.h"
#include "ProgramResources.h"
#include "Result2Dlg.h"
#include "ResultDetailDlg.h"
#include "ResultDlg.h"
#include "ResultListDlg.h"
#include "ShellFixture.h"
#include "Zentry01Strings.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

using namespace shell;

namespace {

QColor textColour(QLabel* l) { return l->palette().color(QPalette::WindowText); }
const QColor kBlack(0, 0, 0), kRed(255, 0, 0), kBlue(0, 0, 255);

class CheckFeedback : public ::testing::Test {
protected:
    void SetUp() override { ResetLastSound(); }
    CExecEnv env;
};

TEST_F(CheckFeedback, FigureTakesTheChosenColourWhenRightAndTheContrastWhenWrong) {
    struct Case {
        int colour;
        bool right;
        QColor mark;
    };
    for (const Case& c : {Case{1, true, kBlack}, Case{1, false, kRed}, Case{3, true, kBlue}, Case{3, false, kBlack},
                          Case{6, true, QColor(255, 128, 0)}, Case{9, true, kBlack}}) {
        env.result_code = 2;
        env.color_code = c.colour;
        CResult2Dlg dlg(c.right, env);
        dlg.show();
        EXPECT_TRUE(dlg.Mark()->isVisible());
        EXPECT_EQ(dlg.Mark()->text(), c.right ? QStringLiteral("○") : QStringLiteral("×"));
        EXPECT_EQ(textColour(dlg.Mark()), c.mark) << c.colour << ' ' << c.right;
        EXPECT_EQ(dlg.Mark()->palette().color(QPalette::Window), QColor(Qt::white));
        EXPECT_EQ(textColour(dlg.Message()), kBlack);
        EXPECT_EQ(dlg.Mark()->font().pointSize(), 160);
        EXPECT_TRUE(dlg.Mark()->font().bold());
        EXPECT_EQ(dlg.Message()->font().pointSize(), 12);
        EXPECT_EQ(dlg.Message()->text(), c.right ? QStringLiteral("まちがいはありません。次にすすんでください。")
                                                 : QStringLiteral("まちがいがあります。なおしてください。"));
        EXPECT_EQ(LastSoundPlayed(), LastSound::None);
    }
}

TEST_F(CheckFeedback, TextColourShowsNoFigure) {
    env.result_code = 3;
    env.color_code = 1;
    CResult2Dlg wrong(false, env);
    wrong.show();
    EXPECT_FALSE(wrong.Mark()->isVisible());
    EXPECT_EQ(textColour(wrong.Message()), kRed);
    EXPECT_EQ(wrong.Message()->font().pointSize(), 20);

    env.color_code = 3;
    CResult2Dlg right(true, env);
    right.show();
    EXPECT_EQ(textColour(right.Message()), kBlue);
}

TEST_F(CheckFeedback, SoundChangesNoColour) {
    env.result_code = 1;
    env.color_code = 2;
    {
        CResult2Dlg right(true, env);
        right.show();
        EXPECT_FALSE(right.Mark()->isVisible());
        EXPECT_EQ(textColour(right.Message()), kBlack);
        EXPECT_EQ(LastSoundPlayed(), LastSound::RightWave);
    }
    CResult2Dlg wrong(false, env);
    wrong.show();
    EXPECT_EQ(textColour(wrong.Message()), kBlack);
    EXPECT_EQ(LastSoundPlayed(), LastSound::Beep);
}

TEST_F(CheckFeedback, OkShowsTheTaskScreenAgainAndEscapeDoesNothing) {
    QWidget taskScreen;
    env.result_code = 2;
    CResult2Dlg dlg(true, env, &taskScreen);
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    Click(&dlg, "okButton");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(taskScreen.isVisible());
}

// Screens that need a finished, analysed trial.
class AfterTrial : public ShellTest {
protected:
    void runTrial(int problem, int course, int done, bool right = true) {
        env().problem_code = problem;
        env().course_code = course;
        env().ResetTraineeConditions();
        app->CreateDeck(problem, course);
        env().LoadInstructorConditions();
        ASSERT_TRUE(app->ShowSeq().Build(*app->CurrentDeck(), app->UserDb(), env()));
        result = std::make_unique<CKaisekiFile>();
        RunShortTrial(*app, *result, clock, done, right, 0);
        ASSERT_NE(result->FirstResult(), nullptr);
    }
    std::unique_ptr<CResultListDlg> openList() {
        menu.show();
        auto dlg = std::make_unique<CResultListDlg>(*result, env(), app->UserDb(), app->MasterDb(),
                                                    *app->CurrentDeck(), &menu);
        dlg->show();
        dlg->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        return dlg;
    }
    CArrBase& deck() { return *app->CurrentDeck(); }

    QWidget menu;
    std::unique_ptr<CKaisekiFile> result;
};

TEST_F(AfterTrial, FinalFeedbackComparesTargetsWithResults) {
    runTrial(2, 3, 3);
    EXPECT_EQ(CResultDlg::ResultText(20, 3, 15, 2),
              QStringLiteral("目標作業枚数　：   20 枚\n\n結果作業枚数　：    3 枚\n\n"
                             "目標正しい枚数：   15 枚\n\n結果正しい枚数：    2 枚"));
    env().result_code = 2;
    env().color_code = 4;
    struct Case {
        int work, correct;
        bool met;
    };
    for (const Case& c : {Case{3, 3, true}, Case{4, 3, false}, Case{3, 4, false}, Case{0, 0, true}}) {
        env().target_value = c.work;
        env().target_value2 = c.correct;
        CResultDlg dlg(*result, env());
        dlg.show();
        EXPECT_EQ(dlg.GoalMet(), c.met) << c.work << '/' << c.correct;
        EXPECT_EQ(dlg.Mark()->text(), c.met ? QStringLiteral("○") : QStringLiteral("×"));
        EXPECT_EQ(textColour(dlg.Mark()), c.met ? QColor(0, 255, 0) : kBlack);
        EXPECT_EQ(dlg.Message()->text(), CResultDlg::ResultText(c.work, 3, c.correct, 3));
    }
    ResetLastSound();
    env().result_code = 1;
    env().target_value = 5;
    CResultDlg missed(*result, env());
    missed.show();
    EXPECT_EQ(LastSoundPlayed(), LastSound::Beep);
}

TEST_F(AfterTrial, ListShowsOneRowPerFinishedCardInPresentationOrder) {
    folder.writeIni(QStringLiteral("[Settings]\norder_flg=2\n"));
    runTrial(2, 2, 4, false);
    // A card that was never finished ends the list even when later ones were.
    deck().at(deck().CardAtPosition(2)).finished = QDateTime();
    auto dlg = openList();
    auto* list = Child<CICListCtrl>(dlg.get(), "cardList");
    ASSERT_EQ(list->ItemCount(), 2);
    EXPECT_EQ(Child<QLabel>(dlg.get(), "rowCount")->text(), QStringLiteral("2 件"));
    EXPECT_EQ(Child<QLabel>(dlg.get(), "taskName")->text(), QStringLiteral("顧客伝票修正"));
    EXPECT_EQ(Child<QLabel>(dlg.get(), "userName")->text(), QStringLiteral("山田　太郎"));
    EXPECT_EQ(CResultListDlg::Captions(2, 2),
              (QStringList{"枚数", "カードNO.", "顧客コード", "商品コード", "電話番号", "メールアドレス", "所要時間",
                           "チェック回数"}));
    ASSERT_EQ(list->columnCount(), 8);
    for (int row = 0; row < 2; ++row) {
        const CArrBaseInfo& card = deck().at(deck().CardAtPosition(row));
        EXPECT_EQ(list->ItemText(row, 0), QString::number(row + 1));
        EXPECT_EQ(list->ItemText(row, 1), QString::asprintf("%04d", card.number));
        EXPECT_EQ(list->ItemText(row, 2), QStringLiteral("×")) << "the first item was typed wrong";
        EXPECT_EQ(list->ItemText(row, 3), QString());
        EXPECT_EQ(list->ItemText(row, 6), QStringLiteral("0分%1秒").arg(20 * (row + 1)));
        EXPECT_EQ(list->ItemText(row, 7), QStringLiteral("0"));
    }
    EXPECT_EQ(list->SingleSelection(), 0);
    EXPECT_FALSE(Child<QPushButton>(dlg.get(), "graphButton")->isVisible());
    EXPECT_EQ(Child<CNumberSpinField>(dlg.get(), "countField")->high(), 2);
}

// Every cell shows its text whole, the longest time a trial can take
// included: the item view draws text a margin in from either side of its
// column and ends what does not fit in "...".
TEST_F(AfterTrial, EveryColumnShowsItsTextWhole) {
    for (int problem : {1, 2, 3}) {
        runTrial(problem, 2, 3, false);
        auto dlg = openList();
        auto* list = Child<CICListCtrl>(dlg.get(), "cardList");
        ASSERT_GT(list->ItemCount(), 0);
        const int timeColumn = int(CResultListDlg::Captions(problem, 2).indexOf(QStringLiteral("所要時間")));
        list->SetItemText(0, timeColumn, QStringLiteral("59分59秒"));
        const QFontMetrics metrics(list->font());
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        for (int c = 0; c < list->columnCount(); ++c)
            for (int row = 0; row < list->ItemCount(); ++row)
                EXPECT_GE(list->header()->sectionSize(c), metrics.horizontalAdvance(list->ItemText(row, c)) + 2 * margin)
                    << "task " << problem << ", column " << c << ": " << list->ItemText(row, c).toStdString();
        dlg.reset();
        menu.hide();
    }
}

TEST_F(AfterTrial, QuestionnaireColumnsAndMissCheckJudging) {
    EXPECT_EQ(CResultListDlg::Captions(1, 3),
              (QStringList{"枚数", "カードNO.", "フリガナ", "氏名", "郵便番号", "住所", "電話番号", "メールアドレス",
                           "問１", "問２", "問３", "所要時間"}));
    runTrial(3, 3, 2);
    const QStringList cells = CResultListDlg::RowCells(deck(), 1, 3, 3);
    EXPECT_EQ(cells.mid(2, 4), (QStringList{QString(), QString(), QString(), QString()}))
        << "marks where the printed value differs are right";
    deck().at(deck().CardAtPosition(1)).input[3] = QStringLiteral("N");
    EXPECT_EQ(CResultListDlg::RowCells(deck(), 1, 3, 3)[5], QStringLiteral("×"));
}

TEST_F(AfterTrial, SelectPicksTheRowByCountOrAsksForOneInRange) {
    runTrial(2, 3, 4);
    env().graph_flg = 1;
    auto dlg = openList();
    EXPECT_TRUE(Child<QPushButton>(dlg.get(), "graphButton")->isVisible());
    auto* list = Child<CICListCtrl>(dlg.get(), "cardList");
    auto* count = Child<CNumberSpinField>(dlg.get(), "countField");
    for (const QString& bad : {QStringLiteral("0"), QStringLiteral("5"), QStringLiteral("x")}) {
        folder.notifier.entries.clear();
        count->setFieldText(bad);
        Click(dlg.get(), "selectButton");
        EXPECT_EQ(messages(), QStringList{QStringLiteral("作業枚数の範囲で選択してください。")}) << bad.toStdString();
    }
    folder.notifier.entries.clear();
    count->setFieldText(QStringLiteral("3"));
    Click(dlg.get(), "selectButton");
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(list->SingleSelection(), 2);
    EXPECT_TRUE(list->hasFocus());

    count->setFocus();
    count->setFieldText(QStringLiteral("4"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(list->SingleSelection(), 3);
    EXPECT_TRUE(dlg->isVisible()) << "Enter serves the count field only";

    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(menu.isVisible());
    Click(dlg.get(), "backButton");
    EXPECT_EQ(dlg->result(), CResultListDlg::kBackToMenu);
    EXPECT_TRUE(menu.isVisible());
}

TEST_F(AfterTrial, EnterPressesTheFocusedButtonOfTheList) {
    runTrial(2, 2, 2);
    auto dlg = openList();
    Child<QPushButton>(dlg.get(), "backButton")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), CResultListDlg::kBackToMenu);
}

TEST_F(AfterTrial, DetailNeedsASelectedRowAndSaysWhenNoCardWasFinished) {
    struct Case {
        bool anyFinished;
        QString message;
    } cases[] = {{true, QStringLiteral("リストを選択してください。")},
                 {false, QStringLiteral("表示できるカードがありません。")}};
    runTrial(2, 2, 2);
    for (const Case& c : cases) {
        folder.notifier.entries.clear();
        if (!c.anyFinished)
            deck().at(deck().CardAtPosition(0)).finished = QDateTime();
        auto dlg = openList();
        Child<CICListCtrl>(dlg.get(), "cardList")->clearSelection();
        Click(dlg.get(), "detailButton");
        EXPECT_EQ(messages(), QStringList{c.message});
    }
}

TEST(ResultDetailTexts, SpacesShowAndDifferencesArePerCharacter) {
    EXPECT_EQ(CResultDetailDlg::VisibleSpaces(QStringLiteral("山田　太郎 A")), QStringLiteral("山田＿太郎_A"));
    EXPECT_EQ(CResultDetailDlg::DifferenceMarks(QStringLiteral("ABCD"), QStringLiteral("ABXD")), "NNCN");
    EXPECT_EQ(CResultDetailDlg::DifferenceMarks(QStringLiteral("山田太郎X"), QStringLiteral("山田太郎")), "NNNNC");
    EXPECT_EQ(CResultDetailDlg::DifferenceMarks(QStringLiteral("AB"), QStringLiteral("ABC")), "NN");
    EXPECT_EQ(CResultDetailDlg::DifferenceMarks(QStringLiteral("A_"), QStringLiteral("A ")), "NC")
        << "a typed underscore is not a space";
}

class ResultDetail : public ::testing::Test {
protected:
    static std::unique_ptr<CArrBaseInfo> card(int number, QStringList correct, QStringList printed, QStringList input) {
        auto c = std::make_unique<CArrBaseInfo>();
        c->number = number;
        for (int i = 0; i < correct.size(); ++i) {
            c->correct[i] = correct[i];
            c->erroneous[i] = printed.value(i);
            c->input[i] = input.value(i);
        }
        return c;
    }
    TestFolder folder;
};

TEST_F(ResultDetail, VoucherCorrectionMarksTheTypedDifferences) {
    CArrDenpyo deck;
    deck.Append(card(42, {"AB12", "P-1", "03-1", "a@b"}, {"AB72", "P-1", "03-1", "a@c"}, {"AB13", "P-1", "03 1", "a@b"}));
    CResultDetailDlg dlg(deck, 0, 2);
    EXPECT_EQ(Child<QLabel>(&dlg, "cardNumber")->text(), QStringLiteral("0042"));
    const auto& items = dlg.Items();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0].title, QStringLiteral("顧客コード"));
    EXPECT_EQ(items[0].correct->Text(), QStringLiteral("AB12"));
    EXPECT_EQ(items[0].before->Text(), QStringLiteral("AB72"));
    EXPECT_EQ(items[0].after->Text(), QStringLiteral("AB13"));
    EXPECT_EQ(items[0].after->ReadMarks(), "NNNC");
    EXPECT_EQ(items[0].correct->ReadMarks(), "NNNN");
    EXPECT_EQ(items[2].after->Text(), QStringLiteral("03_1"));
    EXPECT_EQ(items[2].after->ReadMarks(), "NNCN");
    EXPECT_EQ(items[3].after->ReadMarks(), "NNN");
}

TEST_F(ResultDetail, MissCheckShowsWhereMarksBelongAndWhereTheyWerePut) {
    CArrDenpyo deck;
    deck.Append(card(7, {"AB12", "P-1", "03", "x"}, {"AB72", "P-1", "03", "y"}, {"NNNC", "NNN", "NN", "N"}));
    CResultDetailDlg dlg(deck, 0, 3);
    const auto& items = dlg.Items();
    EXPECT_EQ(items[0].correct->Text(), QStringLiteral("AB72"));
    EXPECT_EQ(items[0].correct->ReadMarks(), "NNCN");
    EXPECT_EQ(items[0].before->Text(), QStringLiteral("AB72"));
    EXPECT_EQ(items[0].before->ReadMarks(), "NNNN");
    EXPECT_EQ(items[0].after->Text(), QStringLiteral("AB72"));
    EXPECT_EQ(items[0].after->ReadMarks(), "NNNC");
    EXPECT_EQ(items[3].correct->ReadMarks(), "C");
    EXPECT_EQ(items[3].after->ReadMarks(), "N");
}

TEST_F(ResultDetail, QuestionnaireShowsAnswerTextsAndOneInputRow) {
    CArrHagaki deck;
    deck.Append(card(3,
                     {"ヤマダ　タロウ", "山田　太郎", "100-0001", "東京都", "03", "a@b", "2", "1", "両方ともON"},
                     {},
                     {"ヤマダ　タロオ", "山田　太郎", "100-0001", "東京都", "03", "a@b", "2", "", "1"}));
    CResultDetailDlg dlg(deck, 0, 1);
    const auto& items = dlg.Items();
    ASSERT_EQ(items.size(), 9);
    EXPECT_EQ(items[2].title, QStringLiteral("〒（郵便番号）"));
    for (const auto& item : items)
        EXPECT_EQ(item.after, nullptr) << "questionnaire groups have no 入力後 row";
    EXPECT_EQ(items[0].correct->Text(), QStringLiteral("ヤマダ＿タロウ"));
    EXPECT_EQ(items[0].before->ReadMarks(), "NNNNNNC");
    EXPECT_EQ(items[1].before->ReadMarks(), "NNNNN");
    EXPECT_EQ(items[6].correct->Text(), QStringLiteral("2.チラシを見て"));
    EXPECT_EQ(items[6].before->ReadMarks(), "NNNNNNNN");
    EXPECT_EQ(items[7].correct->Text(), QStringLiteral("1.役に立った"));
    EXPECT_EQ(items[7].before->Text(), QStringLiteral("回答なし"));
    EXPECT_EQ(items[7].before->ReadMarks(), "CCCC") << "a differing answer is marked whole";
    EXPECT_EQ(items[8].correct->Text(), QStringLiteral("希望する＿希望しない"));
    EXPECT_EQ(items[8].before->Text(), QStringLiteral("希望する"));
    EXPECT_EQ(items[8].before->ReadMarks(), "CCCC");
}

TEST_F(AfterTrial, GraphShowsCompletedTestAndLevelUpTrials) {
    EXPECT_EQ(CGraphDlg::CaptionText(3, 20, 7), QStringLiteral("目標作業枚数： 20 枚　　　　　　結果作業枚数： 7 枚"));
    EXPECT_EQ(CGraphDlg::CaptionText(2, 20, 7), QStringLiteral("結果作業枚数： 7 枚"));
    const CArrKaisekiMain::Conditions c = CGraphDlg::HistoryConditions(7, 2);
    EXPECT_EQ(c.userCode, 7);
    EXPECT_EQ(c.problemCode, 2);
    EXPECT_EQ(c.endTimeFilter, 0);
    EXPECT_EQ(c.timeBucket, 0);
    EXPECT_FALSE(c.selection.has_value());
    EXPECT_TRUE(c.testLevelUpOnly);
    EXPECT_EQ(c.selectionType, CArrKaisekiMain::SelectCompleted);
    EXPECT_EQ(c.courseFilter, CArrKaisekiMain::AnyCourse);

    runTrial(2, 1, 3);
    clock.advance(3600);
    runTrial(2, 2, 3); // basic training: not on the graph
    clock.advance(3600);
    runTrial(2, 3, 2);
    env().target_value = 20;
    CGraphDlg dlg(*result, env(), app->UserDb(), app->MasterDb());
    EXPECT_EQ(Child<QLabel>(&dlg, "caption")->text(), CGraphDlg::CaptionText(3, 20, 2));
    EXPECT_FALSE(dlg.Graph()->HasData()) << "the analysis waits until the screen is up";
    dlg.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Graph()->HasData(); }));
    EXPECT_EQ(dlg.History().GetSize(), 2);
}

} // namespace
