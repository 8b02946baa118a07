// The user comparison screen: its list, the task and level choices, and the saved file.
#include "ArrUserHikaku.h"
#include "FileDialogs.h"
#include "ICListCtrl.h"
#include "UserHikakuDlg.h"
#include "UtilityFixture.h"

#include <QComboBox>
#include <QFile>

using namespace utility;

namespace {
class UserCompareScreen : public UtilityTest {};

TEST_F(UserCompareScreen, WithoutUsersNothingCanBeSaved) {
    CUserHikakuDlg dlg(app->UserDb());
    EXPECT_EQ(dlg.List()->ItemCount(), 0);
    EXPECT_EQ(dlg.List()->columnCount(), CArrUserHikaku::kColumns);
    EXPECT_EQ(Child<QLabel>(&dlg, "countLabel")->text(), "0 件");
    EXPECT_FALSE(Child<QPushButton>(&dlg, "saveButton")->isEnabled());
    EXPECT_EQ(dlg.windowTitle(), "解析結果の出力[ユーザー比較]");
}

TEST_F(UserCompareScreen, ListsEveryUserAndSavesTheListAsShown) {
    addUser(1, "ヤマダ", "タロウ", "山田", "太郎");
    addUser(2, "スズキ", "ハナコ", "鈴木", "花子");
    int id = 0;
    for (const auto& [user, task, work] : {std::tuple{1, "2", 30.0}, {1, "2", 40.0}, {2, "2", 35.0}, {2, "1", 90.0}})
        AddTestHistory(app->UserDb(), ++id, [&](CRsHistory_tbl& r) {
            r.m_user_code = user;
            r.m_problem_code = task;
            r.m_answer_number60 = work;
            r.m_answer_koumoku60 = work * 4;
            r.m_correct_rate60 = 90;
        });
    CUserHikakuDlg dlg(app->UserDb());
    CICListCtrl* list = dlg.List();
    ASSERT_EQ(list->ItemCount(), 2);
    // Task 1: only 鈴木 has a skill test; the best-ranked user ends the list.
    EXPECT_EQ(list->ItemText(0, 1), "山田　太郎");
    EXPECT_EQ(list->ItemText(0, 5), "");
    EXPECT_EQ(list->ItemData(1), 2);
    EXPECT_EQ(list->ItemText(1, 5), "90枚");

    auto* tasks = Child<QComboBox>(&dlg, "taskList");
    tasks->setCurrentIndex(1);
    emit tasks->activated(1);
    EXPECT_EQ(list->ItemText(1, 12), "30枚/40枚");
    auto* levels = Child<QComboBox>(&dlg, "levelList");
    levels->setCurrentIndex(1);
    emit levels->activated(1);
    EXPECT_EQ(list->ItemText(1, 12), "120項目/160項目");

    CArrUserHikaku expected;
    expected.Compute(app->UserDb(), 2, CArrUserHikaku::ItemLevel);
    FileDialogs::clearNextFileNames();
    FileDialogs::setNextFileName(folder.file("compare"));
    Click(&dlg, "saveButton");
    QFile saved(folder.file("compare.csv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), expected.CsvBytes());
    EXPECT_TRUE(messages().isEmpty());
}
} // namespace
