// The first screens: user selection, the menu with its about box, and the
// course screen; their keys (Enter, Esc, digits) and what each button does.
#include "AboutDlg.h"
#include "CourseDlg.h"
#include "ICListCtrl.h"
#include "ShellFixture.h"
#include "UserSelectDlg.h"
#include "Zentry01Dlg.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace shell;

namespace {

class UserSelection : public ShellTest {
protected:
    std::unique_ptr<CUserSelectDlg> open() {
        auto dlg = std::make_unique<CUserSelectDlg>(app->UserDb());
        dlg->show();
        dlg->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        return dlg;
    }
    void addMoreUsers() {
        AddUser(app->UserDb(), 3, QStringLiteral("アオキ"), QStringLiteral("ハナ"), QStringLiteral("青木"),
                QStringLiteral("花"));
        AddUser(app->UserDb(), 12, QStringLiteral("ワタナベ"), QStringLiteral("ケン"), QStringLiteral("渡辺"),
                QStringLiteral("健"));
        AddUser(app->UserDb(), 5, QStringLiteral("イトウ"), QStringLiteral("ユイ"), QStringLiteral("伊藤"),
                QStringLiteral("結衣"), 1);
    }
};

TEST_F(UserSelection, ListsLiveUsersInKanaOrderWithTheirCodes) {
    addMoreUsers();
    auto dlg = open();
    auto* list = Child<CICListCtrl>(dlg.get(), "userList");
    ASSERT_EQ(list->ItemCount(), 3) << "the deleted user is left out";
    EXPECT_EQ(list->columnCount(), 2);
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("氏名"));
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("フリガナ"));
    EXPECT_EQ(list->ItemText(0, 0), QStringLiteral("青木　花"));
    EXPECT_EQ(list->ItemText(0, 1), QStringLiteral("アオキ　ハナ"));
    EXPECT_EQ(list->ItemText(1, 0), QStringLiteral("山田　太郎"));
    EXPECT_EQ(list->ItemText(2, 1), QStringLiteral("ワタナベ　ケン"));
    EXPECT_EQ(list->ItemData(2), 12);
    EXPECT_EQ(list->SingleSelection(), 0);
    EXPECT_EQ(Child<QLabel>(dlg.get(), "countLabel")->text(), QStringLiteral("3 件"));
    EXPECT_LE(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width())
        << "both columns fit without a horizontal scroll bar";
    EXPECT_TRUE(messages().isEmpty());

    list->SelectRow(2);
    Click(dlg.get(), "nextButton");
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->SelectedUserCode(), 12);
}

TEST_F(UserSelection, DoubleClickOnARowActsAsNext) {
    addMoreUsers();
    auto dlg = open();
    auto* list = Child<CICListCtrl>(dlg.get(), "userList");
    list->SelectRow(1);
    const QRect cell = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->SelectedUserCode(), userCode);
}

TEST_F(UserSelection, NextWithoutASelectedRowAsksForOne) {
    auto dlg = open();
    auto* list = Child<CICListCtrl>(dlg.get(), "userList");
    list->clearSelection();
    Click(dlg.get(), "nextButton");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(messages(), QStringList{QStringLiteral("ユーザ名リストの行を選択してください。")});
    EXPECT_EQ(folder.notifier.entries.first().icon, MsgIcon::Exclamation);
}

TEST_F(UserSelection, AnEmptyListSaysSoAndLeavesOnlyClose) {
    TestFolder empty;
    CDB userDb;
    userDb.OpenUser();
    CUserSelectDlg dlg(userDb);
    dlg.show();
    EXPECT_EQ(empty.notifier.texts(),
              QStringList{QStringLiteral("「ソラミ！ミルテア」のユーザーが何も登録されていません。\n\n責任者を呼んでください。")});
    EXPECT_EQ(Child<QLabel>(&dlg, "countLabel")->text(), QStringLiteral("0 件"));
    EXPECT_FALSE(Child<QPushButton>(&dlg, "nextButton")->isEnabled());
    Click(&dlg, "closeButton");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(UserSelection, EscapeCloses) {
    auto dlg = open();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_FALSE(dlg->isVisible());
}

class Menu : public ShellTest {
protected:
    std::unique_ptr<CZentry01Dlg> open() {
        auto dlg = std::make_unique<CZentry01Dlg>();
        dlg->SetTrialRunner([this](int problem, QWidget* menu) {
            runs << problem;
            menu->hide(); // as the trial's screens do
            if (throwInTrial)
                throw std::runtime_error("deck failed");
        });
        dlg->show();
        dlg->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        return dlg;
    }
    QList<int> runs;
    bool throwInTrial = false;
};

TEST_F(Menu, TaskButtonsRunTheirTaskAndTheMenuComesBack) {
    auto dlg = open();
    for (const char* name : {"task1Button", "task2Button", "task3Button"})
        Click(dlg.get(), name);
    EXPECT_EQ(runs, (QList<int>{1, 2, 3}));
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("ソラミ！ミルテア"));
}

TEST_F(Menu, AFailedTrialIsShownAndTheMenuStays) {
    auto dlg = open();
    throwInTrial = true;
    Click(dlg.get(), "task2Button");
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_EQ(folder.notifier.entries.first().icon, MsgIcon::Stop);
    EXPECT_TRUE(messages().first().contains(QStringLiteral("deck failed")));
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(Menu, EnterPressesTheFocusedButtonEscapeEndsDigitsPressTheirButton) {
    auto dlg = open();
    // Enter on no button does nothing: the menu has no default button.
    QTest::keyClick(dlg.get(), Qt::Key_Return);
    EXPECT_TRUE(runs.isEmpty());
    struct Case {
        const char* button;
        Qt::Key key;
    } cases[] = {{"task1Button", Qt::Key_Return}, {"task2Button", Qt::Key_Enter}};
    for (const Case& c : cases) {
        auto* button = Child<QPushButton>(dlg.get(), c.button);
        button->setFocus();
        QTest::keyClick(button, c.key, c.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    }
    EXPECT_EQ(runs, (QList<int>{1, 2}));
    EXPECT_TRUE(dlg->isVisible());

    QTest::keyClick(dlg.get(), Qt::Key_3);
    EXPECT_EQ(runs, (QList<int>{1, 2, 3}));

    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

TEST_F(Menu, EndButtonClosesTheMenu) {
    auto dlg = open();
    Click(dlg.get(), "endButton");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(runs.isEmpty());
}

TEST_F(Menu, ButtonsStayCentredAndTheBannerSpansTheWidth) {
    auto dlg = open();
    for (int width : {800, 1100}) {
        dlg->resize(width, 640);
        QApplication::processEvents();
        auto* banner = Child<QWidget>(dlg.get(), "banner");
        EXPECT_EQ(banner->width(), dlg->width());
        for (const char* name : {"task1Button", "endButton"}) {
            const QRect r = Child<QPushButton>(dlg.get(), name)->geometry();
            EXPECT_LE(std::abs(r.center().x() - dlg->width() / 2), 1) << name << " at " << width;
        }
    }
}

TEST_F(Menu, TheWindowMenuItemOpensTheAboutBox) {
    auto dlg = open();
    QStringList items;
    bool closeEnabled = true;
    QTimer::singleShot(50, [&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        for (QAction* a : popup->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        closeEnabled = popup->actions().first()->isEnabled();
        popup->setActiveAction(popup->actions().last());
        QTest::keyClick(popup, Qt::Key_Return);
    });
    ModalScript script;
    script.on<CAboutDlg>([](CAboutDlg* about) { QTest::keyClick(about, Qt::Key_Return); });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), dlg->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(dlg.get(), &event);
    EXPECT_EQ(items, (QStringList{QStringLiteral("閉じる(&C)"), QStringLiteral("-"),
                                  QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)...")}));
    EXPECT_FALSE(closeEnabled);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(script.seen, QStringList{"CAboutDlg"});
}

TEST_F(Menu, AboutBoxNamesTheVersionAndThePostalDataDate) {
    auto about = CZentry01Dlg::CreateAbout(app->MasterDb());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(Child<QLabel>(about.get(), "versionLine")->text(), QStringLiteral("ソラミ！ミルテア！ Version 3.0"));
    const QString date = app->MasterDb().ZipDataDate();
    ASSERT_FALSE(date.isEmpty());
    EXPECT_EQ(Child<QLabel>(about.get(), "secondLine")->text(),
              QStringLiteral("郵便番号検索は、日本郵政公社 ") + date + QStringLiteral("更新のデータを使用しています。"));
    EXPECT_EQ(CZentry01Dlg::PostalDataLine(QStringLiteral("2024年 1月 5日")),
              QStringLiteral("郵便番号検索は、日本郵政公社 2024年 1月 5日更新のデータを使用しています。"));
    EXPECT_EQ(CZentry01Dlg::PostalDataLine(QString()), QString());
}

TEST_F(Menu, AboutBoxShowsTheZeroDateForAnEmptyPostalVersionTable) {
    {
        QSqlDatabase master = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("edit_master"));
        master.setDatabaseName(folder.file(QStringLiteral("Quillon01.mst")));
        ASSERT_TRUE(master.open());
        ASSERT_TRUE(QSqlQuery(master).exec(QStringLiteral("delete from KEN_ALL_Version")));
        master.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("edit_master"));
    auto about = CZentry01Dlg::CreateAbout(app->MasterDb());
    EXPECT_EQ(Child<QLabel>(about.get(), "secondLine")->text(),
              QStringLiteral("郵便番号検索は、日本郵政公社 1899年12月30日更新のデータを使用しています。"));
}

class CourseScreen : public ShellTest {
protected:
    std::unique_ptr<CCourseDlg> open() {
        menu.show();
        auto dlg = std::make_unique<CCourseDlg>(&menu);
        dlg->show();
        dlg->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        return dlg;
    }
    QWidget menu;
};

TEST_F(CourseScreen, CourseButtonsGiveTheirCode) {
    for (int course = 1; course <= 3; ++course) {
        auto dlg = open();
        EXPECT_FALSE(menu.isVisible()) << "the menu hides while the screen is open";
        EXPECT_EQ(dlg->CourseCode(), 0);
        Click(dlg.get(), QStringLiteral("course%1Button").arg(course).toLatin1().constData());
        EXPECT_EQ(dlg->result(), QDialog::Accepted);
        EXPECT_EQ(dlg->CourseCode(), course);
    }
}

TEST_F(CourseScreen, CancelAndEscapeShowTheMenuAgain) {
    auto dlg = open();
    Click(dlg.get(), "cancelButton");
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_TRUE(menu.isVisible());

    auto again = open();
    QTest::keyClick(again.get(), Qt::Key_Escape);
    EXPECT_EQ(again->result(), QDialog::Rejected);
    EXPECT_TRUE(menu.isVisible());
}

TEST_F(CourseScreen, EnterPressesOnlyTheFocusedButton) {
    auto dlg = open();
    QTest::keyClick(dlg.get(), Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->CourseCode(), 0);
    Child<QPushButton>(dlg.get(), "course2Button")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->CourseCode(), 2);
}

TEST_F(UserSelection, EnterOnCloseClosesElsewhereItMeansNext) {
    struct Case {
        const char* focused; // nullptr: the list
        QDialog::DialogCode result;
    } cases[] = {
        {"closeButton", QDialog::Rejected}, {"nextButton", QDialog::Accepted}, {nullptr, QDialog::Accepted}};
    for (const Case& c : cases) {
        auto dlg = open();
        QWidget* target =
            c.focused ? Child<QWidget>(dlg.get(), c.focused) : Child<QWidget>(dlg.get(), "userList");
        target->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(dlg->isVisible()) << (c.focused ? c.focused : "list");
        EXPECT_EQ(dlg->result(), c.result) << (c.focused ? c.focused : "list");
    }
}

} // namespace
