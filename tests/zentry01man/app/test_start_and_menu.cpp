// The utility's start-up and menu: the seven buttons, the screens they open,
// the about box, start-up with a missing master data file, and one running
// copy beside the task program (real processes).
#include "AboutDlg.h"
#include "KaisekiDlg.h"
#include "PrintDlg.h"
#include "ProgramProcess.h"
#include "UserSelectDlg.h"
#include "UtilityFixture.h"
#include "Zentry01ManDlg.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QRandomGenerator>

#include <functional>

using namespace utility;

namespace {

class UtilityMenu : public UtilityTest {};

TEST_F(UtilityMenu, SevenButtonsInOrderUnderTheTitle) {
    CZentry01ManDlg menu;
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("指導者用ユーティリティ"));
    QStringList captions;
    for (QPushButton* b : menu.findChildren<QPushButton*>())
        captions << b->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("  １．解析結果の出力(&1)"),
                                     QStringLiteral("  ２．アンケートカードと顧客伝票の印刷(&2)"),
                                     QStringLiteral("  ３．ユーザー名の登録・編集・削除(&3)"),
                                     QStringLiteral("  ４．試行条件の設定(&4)"), QStringLiteral("  ５．マスターデータ管理(&5)"),
                                     QStringLiteral("  ６．外部データの取り込み・取り出し(&6)"),
                                     QStringLiteral("  ７．終了(&7)")}));
}

TEST_F(UtilityMenu, PrintingAndExternalDataOpenTheirScreensAndTheMenuStays) {
    CZentry01ManDlg menu;
    menu.show();
    ModalScript script;
    QStringList titles;
    script.on<CPrintDlg>([&](CPrintDlg* s) {
        titles << s->windowTitle();
        Click(s, "cancelButton");
    });
    script.on<CKaisekiDlg>([&](CKaisekiDlg* s) {
        titles << s->windowTitle();
        Click(s, "closeButton");
    });
    for (const char* button : {"printButton", "externalButton"})
        Click(&menu, button);
    EXPECT_TRUE(script.done()) << script.seen.join(',').toStdString();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("アンケートカードと顧客伝票の印刷"),
                                   QStringLiteral("外部データの取り出し・取り込み")}));
    EXPECT_TRUE(menu.isVisible());
}

TEST_F(UtilityMenu, AnalysisOutputOpensTheUserSelectionAndSevenEnds) {
    CZentry01ManDlg menu;
    menu.show();
    ModalScript script;
    QString title;
    script.on<CUserSelectDlg>([&](CUserSelectDlg* s) {
        title = s->windowTitle();
        Click(s, "closeButton");
    });
    Click(&menu, "analysisButton");
    EXPECT_TRUE(script.done());
    EXPECT_EQ(title, QStringLiteral("解析結果の出力 [ユーザー名選択]"));
    EXPECT_TRUE(menu.isVisible());
    QTest::keyClick(&menu, Qt::Key_7);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(menu.result(), QDialog::Rejected);
}

TEST_F(UtilityMenu, EnterPressesTheFocusedButton) {
    CZentry01ManDlg menu;
    menu.show();
    ModalScript script;
    script.on<CPrintDlg>([&](CPrintDlg* s) { Click(s, "cancelButton"); });
    struct Case {
        const char* button;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } cases[] = {{"printButton", Qt::Key_Return, Qt::NoModifier}, {"endButton", Qt::Key_Enter, Qt::KeypadModifier}};
    for (const Case& c : cases) {
        auto* button = Child<QPushButton>(&menu, c.button);
        button->setFocus();
        QTest::keyClick(button, c.key, c.modifiers);
    }
    EXPECT_TRUE(script.done()) << script.seen.join(',').toStdString();
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(menu.result(), QDialog::Rejected);
}

TEST_F(UtilityMenu, TheWindowMenuOpensTheAboutBox) {
    CZentry01ManDlg menu;
    menu.show();
    QString item;
    QTimer::singleShot(50, [&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        item = popup->actions().last()->text();
        popup->setActiveAction(popup->actions().last());
        QTest::keyClick(popup, Qt::Key_Return);
    });
    ModalScript script;
    QString version;
    script.on<CAboutDlg>([&](CAboutDlg* about) {
        version = Child<QLabel>(about, "versionLine")->text();
        QTest::keyClick(about, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), menu.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&menu, &event);
    EXPECT_EQ(item, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    EXPECT_TRUE(script.done());
    EXPECT_EQ(version, QStringLiteral("指導者用ユーティリティ Version 3.0"));
}

// Start-up runs with real message boxes; the test answers them and closes the menu.
struct StartUp {
    QStringList shown;
    QString caption;
    bool menuSeen = false;
    bool userDbOpen = false;
    bool masterDbOpen = false;
};
StartUp runUtility() {
    StartUp seen;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            seen.shown << box->text();
            seen.caption = box->windowTitle();
            box->accept();
        } else if (auto* menu = qobject_cast<CZentry01ManDlg*>(w)) {
            seen.menuSeen = true;
            menu->reject();
        }
    });
    answer.start(20);
    {
        CZentry01ManApp app;
        EXPECT_EQ(app.Run(), 0);
        seen.userDbOpen = app.UserDb().IsOpen();
        seen.masterDbOpen = app.MasterDb().IsOpen();
    }
    StringTable::clear();
    return seen;
}

TEST(UtilityStartUp, AMissingMasterFileIsShownAndTheMenuOpensAllTheSame) {
    PrivateTemp temp;
    TestFolder folder; // no master data file in it
    const StartUp seen = runUtility();
    EXPECT_TRUE(seen.userDbOpen) << "the user database opens after a master failure";
    EXPECT_FALSE(seen.masterDbOpen);
    EXPECT_TRUE(seen.menuSeen);
    ASSERT_FALSE(seen.shown.isEmpty());
    EXPECT_TRUE(seen.shown.last().contains(QStringLiteral("Quillon01.mst が見つかりません。")))
        << seen.shown.last().toStdString();
    EXPECT_EQ(seen.caption, QStringLiteral("指導者用ユーティリティ"));
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A damaged user database is named at start-up and left byte for byte as it
// was: the template never replaces it, whatever the utility does next.
TEST(UtilityStartUp, ADamagedUserDatabaseIsNamedAndKept) {
    const std::pair<const char*, std::function<void(const QString&)>> damages[] = {
        {"random bytes",
         [](const QString& path) {
             QByteArray bytes(8192, '\0');
             QRandomGenerator random(13);
             random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(bytes);
         }},
        {"truncated",
         [](const QString& path) {
             {
                 CDB db;
                 db.OpenUser();
                 AddTestUser(db, TestUser{});
             }
             QFile(path).resize(QFile(path).size() / 2);
         }},
    };
    for (const auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        PrivateTemp temp;
        TestFolder folder;
        folder.copyBuiltMaster();
        const QString path = folder.file(QStringLiteral("UserData.mdb"));
        damage(path);
        const QByteArray before = bytesOf(path);
        const StartUp seen = runUtility();
        ASSERT_FALSE(seen.shown.isEmpty());
        EXPECT_TRUE(seen.shown.first().contains(QStringLiteral("ユーザーデータベース")) &&
                    seen.shown.first().contains(QStringLiteral("UserData.mdb")))
            << seen.shown.first().toStdString();
        EXPECT_FALSE(seen.userDbOpen);
        EXPECT_TRUE(seen.menuSeen) << "start-up goes on to the menu";
        EXPECT_EQ(bytesOf(path), before) << "the damaged file was changed";
    }
}

// Both programs and a second utility start, as processes on one program folder.
TEST(UtilitySingleInstance, ASecondUtilityEndsAndTheTaskProgramRunsBeside) {
    PrivateTemp temp;
    TestFolder folder;
    folder.copyBuiltMaster();
    const QString utility = copyProgramTo(folder.path(), QStringLiteral("Zentry01Man"));
    const QString task = copyProgramTo(folder.path(), QStringLiteral("Zentry01"));
    auto lockExists = [&](const char* name) { return QFile::exists(temp.path() + '/' + name + QStringLiteral(".lock")); };

    QProcess first;
    startHeadless(first, utility);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lockExists("_QUILLON01MAN_MUTEX"); }, 20000));
    QProcess taskProgram;
    startHeadless(taskProgram, task);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lockExists("_QUILLON01_MUTEX"); }, 20000));

    QProcess second;
    startHeadless(second, utility);
    ASSERT_TRUE(second.waitForFinished(20000)) << "the second utility did not end";
    EXPECT_EQ(second.exitCode(), 0);
    QTest::qWait(200);
    EXPECT_EQ(first.state(), QProcess::Running) << first.readAll().toStdString();
    EXPECT_EQ(taskProgram.state(), QProcess::Running) << taskProgram.readAll().toStdString();

    for (QProcess* p : {&first, &taskProgram}) {
        p->kill();
        p->waitForFinished(10000);
    }
}

} // namespace
