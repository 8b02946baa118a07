// The trial-history screen in both modes: filters, deletion, the screens it
// leads to, and the shared window placement.
#include "ICListCtrl.h"
#include "OutMainDlg.h"
#include "OutListBase.h"
#include "OutResultList.h"
#include "ResultOutputFixture.h"
#include "RirekiDlg.h"
#include "ScreenSetup.h"
#include "UserHikakuDlg.h"
#include "UserSelectDlg.h"
#include "HistoryList.h"
#include "ProgramProcess.h"
#include "SingleInstance.h"
#include "TrialState.h"

#include <QComboBox>

using namespace utility;

namespace {
const QString kSelectTitle = QStringLiteral("解析結果の出力 [試行履歴の選択]");

// Chooses an entry of a drop-down list with the keyboard, as a user does.
void choose(QComboBox* list, int index) {
    list->setFocus();
    while (list->currentIndex() < index)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        QTest::keyClick(list, Qt::Key_Up);
}

QStringList column(CICListCtrl* list, int c) {
    QStringList out;
    for (int row = 0; row < list->ItemCount(); ++row)
        out << list->ItemText(row, c);
    return out;
}

class HistoryScreen : public ResultOutputTest {
protected:
    void SetUp() override {
        ResultOutputTest::SetUp();
        // Questionnaire trials, the task the screen starts with.
        for (const TrialRow& t : {TrialRow{.id = 1, .task = 1}, TrialRow{.id = 2, .task = 1, .wrong = {1}},
                                   TrialRow{.id = 3, .task = 1, .withFile = false},
                                   TrialRow{.id = 4, .task = 1, .course = 2}})
            addTrial(t);
    }
    std::unique_ptr<CRirekiDlg> open(bool selection) {
        auto dlg = std::make_unique<CRirekiDlg>(app->UserDb(), app->MasterDb(), kSelectTitle, 1, selection);
        dlg->show();
        return dlg;
    }
};

TEST_F(HistoryScreen, SelectionAndListModes) {
    for (bool selection : {true, false}) {
        SCOPED_TRACE(selection);
        auto dlg = open(selection);
        CICListCtrl* list = dlg->List();
        EXPECT_EQ(column(list, 0), (QStringList{"1回目", "2回目", "3回目"}));
        EXPECT_EQ(list->HasCheckBoxes(), selection);
        EXPECT_EQ(list->GetCheck(2), selection) << "rows start checked";
        EXPECT_EQ(list->columnCount(), 19);
        EXPECT_EQ(list->SingleSelection(), 0);
        EXPECT_EQ(Child<QLabel>(dlg.get(), "countLabel")->text(), "3 件");
        EXPECT_EQ(Child<QLineEdit>(dlg.get(), "userName")->text(), "山田　太郎");
        for (const char* button : {"resultsButton", "deleteButton"})
            EXPECT_EQ(Child<QPushButton>(dlg.get(), button)->isVisible(), selection) << button;
        EXPECT_TRUE(Child<QPushButton>(dlg.get(), "cardListButton")->isVisible());
        EXPECT_EQ(dlg->minimumSize(), QSize(720, 520));
    }
}

TEST_F(HistoryScreen, FilterRules) {
    auto dlg = open(true);
    auto* data = Child<QComboBox>(dlg.get(), "dataList");
    choose(data, 1);
    EXPECT_EQ(dlg->Filter().displayData, 2);
    // The basic course has no best-trial choices.
    choose(Child<QComboBox>(dlg.get(), "courseList"), 1);
    EXPECT_FALSE(data->isEnabled());
    EXPECT_EQ(data->currentIndex(), 0);
    EXPECT_EQ(dlg->List()->ItemData(0), 4);
    choose(Child<QComboBox>(dlg.get(), "courseList"), 0);
    EXPECT_TRUE(data->isEnabled());
    // 60分換算値 lists every completed trial, but has no card list.
    choose(Child<QComboBox>(dlg.get(), "trialTimeList"), 4);
    EXPECT_FALSE(Child<QPushButton>(dlg.get(), "cardListButton")->isEnabled());
    EXPECT_EQ(dlg->List()->ItemCount(), 3);
}

TEST_F(HistoryScreen, DeletionAsksThenRemovesTheTrialAndItsFile) {
    auto dlg = open(true);
    CICListCtrl* list = dlg->List();
    list->SelectRow(1);
    folder.notifier.answers = {false, true};
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->ItemCount(), 3) << "answered no";
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(messages(),
              QStringList(2, "選択された試行回（2回目 2026/05/01 11:00:00）の履歴を削除してよろしいですか。"));
    EXPECT_EQ(column(list, 0), (QStringList{"1回目", "2回目"}));
    EXPECT_EQ(list->ItemData(1), 3);
    EXPECT_FALSE(QFile::exists(inputFile({.id = 2, .task = 1})));

    list->clearSelection();
    Click(dlg.get(), "deleteButton");
    EXPECT_EQ(messages().last(), "削除したいリスト行を選択してください。");
}

TEST_F(HistoryScreen, CheckedTrialsGoToTheBasicScreen) {
    auto dlg = open(true);
    CICListCtrl* list = dlg->List();
    for (int row = 0; row < 3; ++row)
        list->SetCheck(row, false);
    Click(dlg.get(), "resultsButton");
    EXPECT_EQ(messages(), QStringList{"試行回が選択されていません。\n解析したい行のチェックをONにしてください。"});

    list->SetCheck(1, true);
    list->SetCheck(2, true);
    ModalScript script;
    QStringList trials;
    script.on<COutMainDlg>([&](COutMainDlg* out) {
        for (int row = 0; row < out->List(0)->RowCount(); ++row)
            trials << out->List(0)->Text(row, 0);
        Click(out, "closeButton");
    });
    Click(dlg.get(), "resultsButton");
    ASSERT_TRUE(script.done());
    EXPECT_EQ(trials, (QStringList{"2回目", "3回目"}));
}

TEST_F(HistoryScreen, ATrialWithoutAnEndIsRunningOrInterruptedAndNeverAnalysed) {
    addTrial({.id = 5, .task = 1, .cards = 2, .unfinished = true});
    for (bool running : {true, false}) {
        SCOPED_TRACE(running);
        PrivateTemp temp;
        CSingleInstance taskProgram(TrialState::kTaskProgramInstance);
        if (running) {
            ASSERT_EQ(taskProgram.acquire(), CSingleInstance::Start::Acquired);
        }
        auto dlg = open(true);
        CICListCtrl* list = dlg->List();
        ASSERT_EQ(list->ItemCount(), 4);
        EXPECT_EQ(list->ItemText(3, CHistoryList::TrialTime), running ? "実施中" : "中断");
        EXPECT_EQ(list->ItemText(3, CHistoryList::WorkCount), "");
        EXPECT_FALSE(list->GetCheck(3));
        EXPECT_FALSE(list->topLevelItem(3)->flags() & Qt::ItemIsUserCheckable);
    }
    // Even when checked by other means, the analysis has nothing of it to show.
    auto dlg = open(true);
    dlg->List()->SetCheck(3, true);
    ModalScript script;
    QStringList trials;
    script.on<COutMainDlg>([&](COutMainDlg* out) {
        for (int row = 0; row < out->List(0)->RowCount(); ++row)
            trials << out->List(0)->Text(row, 0);
        Click(out, "closeButton");
    });
    Click(dlg.get(), "resultsButton");
    ASSERT_TRUE(script.done());
    EXPECT_EQ(trials, (QStringList{"1回目", "2回目", "3回目"}));
}

TEST_F(HistoryScreen, CardListOfTheSelectedTrial) {
    auto dlg = open(false);
    CICListCtrl* list = dlg->List();
    list->clearSelection();
    Click(dlg.get(), "cardListButton");
    EXPECT_EQ(messages(), QStringList{"リスト行を選択してください。"});

    // Trial 3 has lost its input-value file: the list says so and does not open.
    ModalScript script;
    int rows = 0;
    script.on<COutResultList>([&](COutResultList* cards) {
        rows = cards->List()->ItemCount();
        Click(cards, "closeButton");
    });
    list->SelectRow(2);
    Click(dlg.get(), "cardListButton");
    EXPECT_EQ(messages().last(), "指定された試行回の入力値ファイルが見つかりません。");
    EXPECT_FALSE(script.done());
    const QPoint second = list->visualItemRect(list->topLevelItem(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
    ASSERT_TRUE(script.done());
    EXPECT_EQ(rows, 5);
}

TEST_F(HistoryScreen, ReachedFromTheUserSelectionWhichStaysOutOfSight) {
    const struct {
        int mode;
        QString title;
        bool selection;
    } modes[] = {{CUserSelectDlg::AnalysisOutput, kSelectTitle, true},
                 {CUserSelectDlg::HistoryReference, "解析結果の出力 [試行履歴の一覧]", false}};
    for (const auto& m : modes) {
        CUserSelectDlg select(app->UserDb(), "解析結果の出力 [ユーザー名選択]", m.mode);
        ModalScript script;
        bool hidden = false;
        QString title;
        bool checkBoxes = false;
        script.on<CUserSelectDlg>([&](CUserSelectDlg* s) {
            Click(s, "nextButton");
            ASSERT_TRUE(QTest::qWaitFor([&] { return s->isVisible(); }, 2000)) << "shown again";
            Click(s, "compareButton");
            Click(s, "closeButton");
        });
        script.on<CRirekiDlg>([&](CRirekiDlg* history) {
            hidden = QTest::qWaitFor([&] { return !select.isVisible(); }, 2000);
            title = history->windowTitle();
            checkBoxes = history->List()->HasCheckBoxes();
            Click(history, "closeButton");
        });
        script.on<CUserHikakuDlg>([&](CUserHikakuDlg* compare) { Click(compare, "closeButton"); });
        select.exec();
        ASSERT_TRUE(script.done()) << script.seen.join(' ').toStdString();
        EXPECT_TRUE(hidden);
        EXPECT_EQ(title, m.title);
        EXPECT_EQ(checkBoxes, m.selection);
    }
}

TEST_F(HistoryScreen, NestedScreensShareOnePlacementAndTheListFillsTheWindow) {
    auto dlg = open(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    // The headless screen is 800 × 600: placements stay within it.
    const int narrow = dlg->List()->width();
    dlg->resize(790, 580);
    QTest::qWait(20);
    EXPECT_EQ(dlg->List()->width(), narrow + 70);

    ModalScript script;
    QSize nestedSize;
    script.on<COutMainDlg>([&](COutMainDlg* out) {
        nestedSize = out->size();
        out->resize(760, 540);
        Click(out, "closeButton");
    });
    Click(dlg.get(), "resultsButton");
    ASSERT_TRUE(script.done());
    EXPECT_EQ(nestedSize, QSize(790, 580));
    EXPECT_EQ(dlg->size(), QSize(760, 540));
}
} // namespace
