// The trainee's user selection lists exactly the users the instructor's
// registry lists, after registrations, an edit and a deletion.
#include "ShellFixture.h"
#include "UserListCtrl.h"
#include "UserRegistry.h"
#include "UserSelectDlg.h"

#include <QLabel>

using namespace shell;

namespace {

// code | 氏名 | フリガナ of every row.
QStringList rowsOf(const CUserListCtrl& list, int nameColumn) {
    QStringList out;
    for (int r = 0; r < list.ItemCount(); ++r)
        out << QString::number(list.ItemData(r)) + '|' + list.ItemText(r, nameColumn) + '|' +
                   list.ItemText(r, nameColumn + 1);
    return out;
}

using RegistryUsers = ShellTest;

TEST_F(RegistryUsers, TheTaskProgramListsExactlyTheRegistrysUsers) {
    CDB& db = app->UserDb();
    const int sato = UserRegistry::Add(db, {QStringLiteral("サトウ"), QStringLiteral("ジロウ"), QStringLiteral("佐藤"),
                                            QStringLiteral("次郎")});
    const int abe = UserRegistry::Add(db, {QStringLiteral("アベ"), {}, QStringLiteral("阿部"), {}});
    const int gone = UserRegistry::Add(db, {QStringLiteral("イトウ"), {}, QStringLiteral("伊藤"), {}});
    ASSERT_EQ(UserRegistry::Update(db, sato, {QStringLiteral("ワタナベ"), QStringLiteral("ジロウ"),
                                              QStringLiteral("渡辺"), QStringLiteral("次郎")}),
              UserRegistry::Result::Done);
    ASSERT_EQ(UserRegistry::Delete(db, gone), UserRegistry::Result::Done);

    CUserListCtrl registry(true);
    registry.Fill(db);
    CUserSelectDlg selection(db);
    const QStringList expected{QString::number(abe) + QStringLiteral("|阿部　|アベ　"),
                               QStringLiteral("7|山田　太郎|ヤマダ　タロウ"),
                               QString::number(sato) + QStringLiteral("|渡辺　次郎|ワタナベ　ジロウ")};
    EXPECT_EQ(rowsOf(registry, 1), expected);
    EXPECT_EQ(rowsOf(*Child<CUserListCtrl>(&selection, "userList"), 0), expected);
    EXPECT_EQ(Child<QLabel>(&selection, "countLabel")->text(), QStringLiteral("3 件"));
}

} // namespace
