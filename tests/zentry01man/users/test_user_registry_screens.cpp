// The registry screens: the name entry dialog's checks and messages, new /
// edit / delete through the registry list, and what lands in User_tbl.
#include "AddUserDlg.h"
#include "AddUserEditDlg.h"
#include "Recordsets.h"
#include "UserListCtrl.h"
#include "UtilityFixture.h"

using namespace utility;

namespace {

struct Entry {
    const char* what;
    QString kname1, kname2, name1, name2;
    QString message; // empty: accepted
};

class Registry : public UtilityTest {
protected:
    void SetUp() override {
        UtilityTest::SetUp();
        addUser(1, QStringLiteral("ヤマダ"), QStringLiteral("タロウ"), QStringLiteral("山田"), QStringLiteral("太郎"));
        addUser(2, QStringLiteral("スズキ"), QStringLiteral("ハナコ"), QStringLiteral("鈴木"), QStringLiteral("花子"));
    }
    void fill(CAddUserEditDlg& dlg, const Entry& e) {
        TypeInto(Child<QLineEdit>(&dlg, "kname1Edit"), e.kname1);
        TypeInto(Child<QLineEdit>(&dlg, "kname2Edit"), e.kname2);
        TypeInto(Child<QLineEdit>(&dlg, "name1Edit"), e.name1);
        TypeInto(Child<QLineEdit>(&dlg, "name2Edit"), e.name2);
    }
    // Rows of the registry list: code | 氏名 | フリガナ.
    static QStringList rows(CAddUserDlg& registry) {
        auto* list = Child<CUserListCtrl>(&registry, "userList");
        QStringList out;
        for (int r = 0; r < list->ItemCount(); ++r)
            out << list->ItemText(r, 0) + '|' + list->ItemText(r, 1) + '|' + list->ItemText(r, 2);
        return out;
    }
    static QString count(CAddUserDlg& registry) { return Child<QLabel>(&registry, "countLabel")->text(); }
    int storedRows() {
        CRsUser_tbl rs(&app->UserDb());
        rs.Open(CRecordset::dbOpenSnapshot, QStringLiteral("[User_tbl]"));
        return rs.GetRecordCount();
    }
};

TEST_F(Registry, NewUserEntriesAreCheckedInOrder) {
    const QString fmt = QStringLiteral("%1 は、%2で入力してください。");
    const QString kanaMsg = fmt.arg(QStringLiteral("フリガナ"), QStringLiteral("全角カタカナ"));
    const QString nameMsg = fmt.arg(QStringLiteral("氏名"), QStringLiteral("全角文字"));
    const QString dup = QStringLiteral("同一氏名がすでに登録されています。");
    const Entry entries[] = {
        {"no family name", QStringLiteral("カトウ"), {}, {}, QStringLiteral("一郎"),
         QStringLiteral("氏名およびフリガナを入力してください。")},
        {"blank family reading", QStringLiteral(" \t"), {}, QStringLiteral("加藤"), {},
         QStringLiteral("氏名およびフリガナを入力してください。")},
        {"hiragana reading", QStringLiteral("かとう"), {}, QStringLiteral("加藤"), {}, kanaMsg},
        {"half-width reading", QStringLiteral("ｶﾄｳ"), {}, QStringLiteral("加藤"), {}, kanaMsg},
        {"ASCII letter in the name", QStringLiteral("カトウ"), {}, QStringLiteral("加藤K"), {}, nameMsg},
        {"same reading as a user", QStringLiteral("ヤマダ"), QStringLiteral("タロウ"), QStringLiteral("山多"),
         QStringLiteral("太朗"), dup},
        {"same name as a user", QStringLiteral("ヤマタ"), QStringLiteral("フトシ"), QStringLiteral("山田"),
         QStringLiteral("太郎"), dup},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.what);
        folder.notifier.entries.clear();
        CAddUserEditDlg dlg(app->UserDb(), 0);
        dlg.show();
        fill(dlg, e);
        Click(&dlg, "okButton");
        ASSERT_EQ(messages(), QStringList{e.message});
        EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Exclamation);
        EXPECT_TRUE(dlg.isVisible()) << "the dialog stays open";
        EXPECT_EQ(storedRows(), 2);
        if (e.message == dup) {
            auto* name1 = Child<QLineEdit>(&dlg, "name1Edit");
            EXPECT_EQ(dlg.focusWidget(), name1);
            EXPECT_EQ(name1->selectedText(), e.name1);
        }
    }
}

TEST_F(Registry, NewUserIsListedSelectedUnderTheNextCode) {
    addUser(9, QStringLiteral("キエタ"), {}, QStringLiteral("消田"), {}, 1);
    CAddUserDlg registry(app->UserDb());
    registry.show();
    ASSERT_EQ(count(registry), QStringLiteral("2 件"));
    ModalScript script;
    script.on<CAddUserEditDlg>([&](CAddUserEditDlg* dlg) {
        fill(*dlg, {"", QStringLiteral(" アーサー "), {}, QStringLiteral("　阿佐"), {}, {}});
        Click(dlg, "okButton");
    });
    Click(&registry, "newButton");
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(messages().isEmpty()) << messages().join('|').toStdString();
    // Single-byte blanks trimmed, the ideographic space kept; code 10 after the deleted 9.
    EXPECT_EQ(rows(registry), (QStringList{QStringLiteral("10|　阿佐　|アーサー　"),
                                          QStringLiteral("2|鈴木　花子|スズキ　ハナコ"),
                                          QStringLiteral("1|山田　太郎|ヤマダ　タロウ")}));
    EXPECT_EQ(Child<CUserListCtrl>(&registry, "userList")->SelectedUserCode(), 10);
    EXPECT_EQ(count(registry), QStringLiteral("3 件"));
}

TEST_F(Registry, EditingIntoADuplicateIsAllowedAndKeepsTheRowSelected) {
    CAddUserDlg registry(app->UserDb());
    registry.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&registry));
    auto* list = Child<CUserListCtrl>(&registry, "userList");
    ModalScript script;
    QString loaded;
    script.on<CAddUserEditDlg>([&](CAddUserEditDlg* dlg) {
        loaded = Child<QLineEdit>(dlg, "kname1Edit")->text() + Child<QLineEdit>(dlg, "name2Edit")->text();
        fill(*dlg, {"", QStringLiteral("スズキ"), QStringLiteral("ハナコ"), QStringLiteral("鈴木"), QStringLiteral("花子"), {}});
        Click(dlg, "okButton");
    });
    const QPoint cell = list->visualItemRect(list->topLevelItem(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(loaded, QStringLiteral("ヤマダ太郎"));
    EXPECT_TRUE(messages().isEmpty()) << messages().join('|').toStdString();
    EXPECT_EQ(rows(registry).count(QStringLiteral("1|鈴木　花子|スズキ　ハナコ")), 1);
    EXPECT_EQ(list->SelectedUserCode(), 1);
}

TEST_F(Registry, DeleteAsksWithTheReadingAndMarksTheRow) {
    CAddUserDlg registry(app->UserDb());
    registry.show();
    auto* list = Child<CUserListCtrl>(&registry, "userList");
    ASSERT_TRUE(list->SelectUser(1));
    folder.notifier.answers = {false};
    Click(&registry, "deleteButton");
    EXPECT_EQ(rows(registry).size(), 2) << "declined";
    folder.notifier.answers = {true};
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(messages(), QStringList(2, QStringLiteral("ユーザー登録名を削除してよろしいですか？\n\nヤマダ　タロウ")));
    EXPECT_TRUE(folder.notifier.entries[1].question);
    EXPECT_EQ(rows(registry), QStringList{QStringLiteral("2|鈴木　花子|スズキ　ハナコ")});
    EXPECT_EQ(count(registry), QStringLiteral("1 件"));
    EXPECT_EQ(storedRows(), 2) << "rows are never removed";
}

TEST_F(Registry, AfterADeleteTheSelectionStaysWhereTheUserStood) {
    addUser(3, QStringLiteral("アオキ"), QStringLiteral("ケン"), QStringLiteral("青木"),
            QStringLiteral("健"));
    struct Case {
        int deleted;
        int selectedAfter;
    } cases[] = {{2, 1}, {1, 3}, {3, 0}}; // listed by reading: アオキ (3), スズキ (2), ヤマダ (1)
    CAddUserDlg registry(app->UserDb());
    registry.show();
    auto* list = Child<CUserListCtrl>(&registry, "userList");
    for (const Case& c : cases) {
        ASSERT_TRUE(list->SelectUser(c.deleted));
        folder.notifier.answers = {true};
        Click(&registry, "deleteButton");
        EXPECT_EQ(list->SelectedUserCode(), c.selectedAfter) << "deleted " << c.deleted;
    }
    EXPECT_EQ(list->ItemCount(), 0);
}

TEST_F(Registry, EditAndDeleteNeedASelectedRow) {
    CAddUserDlg registry(app->UserDb());
    registry.show();
    Child<CUserListCtrl>(&registry, "userList")->clearSelection();
    Click(&registry, "editButton");
    Click(&registry, "deleteButton");
    EXPECT_EQ(messages(), (QStringList{QStringLiteral("編集したいリスト行を選択してください。"),
                                       QStringLiteral("削除したいリスト行を選択してください。")}));
}

TEST_F(Registry, AnEmptyTableCountsZero) {
    for (int code : {1, 2}) {
        CRsUser_tbl rs(&app->UserDb());
        rs.Open(CRecordset::dbOpenDynaset, QStringLiteral("select * from [User_tbl] where [user_code] = %d "), {code});
        app->UserDb().BeginTrans();
        rs.Edit();
        rs.m_delete_flg = 1;
        rs.Update();
        app->UserDb().CommitTrans();
    }
    CAddUserDlg registry(app->UserDb());
    EXPECT_EQ(count(registry), QStringLiteral("0 件"));
}

} // namespace
