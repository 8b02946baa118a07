// Message texts from the string table, the product title as caption, and the
// real message box the programs show.
#include "ICException.h"
#include "MessageBoxNotifier.h"
#include "StringTable.h"
#include "TestFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {
class StringTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        StringTable::clear();
        StringTable::add({{102, QStringLiteral("ソラミ！ミルテア")},
                          {104, QStringLiteral("ユーザー登録名を削除してよろしいですか？\n\n%1")},
                          {125, QStringLiteral("選択された試行回（%1 %2）の履歴を削除してよろしいですか。")}});
    }
    void TearDown() override { StringTable::clear(); }
    TestFolder folder;
};
} // namespace

TEST_F(StringTableTest, FillsPlaceholdersAndWritesNumbersInDecimal) {
    EXPECT_EQ(FormatString(104, QStringLiteral("ヤマダ　タロウ")),
              QStringLiteral("ユーザー登録名を削除してよろしいですか？\n\nヤマダ　タロウ"));
    EXPECT_EQ(FormatString(125, QStringLiteral("3"), QStringLiteral("2024/01/02")),
              QStringLiteral("選択された試行回（3 2024/01/02）の履歴を削除してよろしいですか。"));
    // An argument holding a placeholder is not filled a second time.
    EXPECT_EQ(FormatString(125, QStringLiteral("%2"), QStringLiteral("x")),
              QStringLiteral("選択された試行回（%2 x）の履歴を削除してよろしいですか。"));
    AppMessageBox(104, -12);
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_EQ(folder.notifier.entries[0].text, QStringLiteral("ユーザー登録名を削除してよろしいですか？\n\n-12"));
    EXPECT_EQ(StringTable::text(999), QString());
    EXPECT_FALSE(StringTable::contains(999));
}

TEST_F(StringTableTest, ProductTitleComesFromTheTable) {
    EXPECT_EQ(ProductTitle(), QString());
    SetProductTitle(102);
    EXPECT_EQ(ProductTitle(), QStringLiteral("ソラミ！ミルテア"));
}

TEST_F(StringTableTest, MessagesAndQuestionsGoThroughTheNotifier) {
    folder.notifier.answers = {true, false};
    EXPECT_TRUE(AppMessageBox(QStringLiteral("a"), MsgIcon::Information));
    EXPECT_TRUE(AppMessageBox(104, QStringLiteral("x"), MsgIcon::Exclamation, MsgButtons::YesNo));
    EXPECT_FALSE(AppMessageBox(QStringLiteral("b"), MsgIcon::Exclamation, MsgButtons::YesNoDefaultNo));
    ASSERT_EQ(folder.notifier.entries.size(), 3);
    EXPECT_FALSE(folder.notifier.entries[0].question);
    EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Information);
    EXPECT_TRUE(folder.notifier.entries[1].question);
    EXPECT_TRUE(folder.notifier.entries[2].question);
}

TEST_F(StringTableTest, ExceptionsAreShownWithTheStopIconAndTheirOwnText) {
    try {
        IC_THROW(QStringLiteral("ファイル x が存在しません。"));
    } catch (const CICException& e) {
        ShowException(e);
    }
    try {
        throw CDBException(QStringLiteral("no such column: start_no4"));
    } catch (const std::exception& e) {
        ShowException(e);
    }
    ASSERT_EQ(folder.notifier.entries.size(), 2);
    EXPECT_TRUE(folder.notifier.entries[0].text.startsWith(QStringLiteral("エラーが発生しました。\nFile : ")));
    EXPECT_TRUE(folder.notifier.entries[0].text.endsWith(QStringLiteral("ファイル x が存在しません。")));
    EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Stop);
    EXPECT_EQ(folder.notifier.entries[1].text, QStringLiteral("no such column: start_no4"));
    EXPECT_EQ(folder.notifier.entries[1].icon, MsgIcon::Stop);
}

TEST_F(StringTableTest, LongExceptionTextIsCutAt511BytesWithoutSplittingACharacter) {
    // 'a' then 300 double-byte characters: 601 bytes; 511 bytes hold 'a' and 255 of them.
    const QString text = QStringLiteral("a") + QString(300, QChar(0x3042));
    ShowException(CDBException(text));
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_EQ(folder.notifier.entries[0].text, QStringLiteral("a") + QString(255, QChar(0x3042)));
}

// The real box: caption, icon, Japanese button texts and the default button.
TEST_F(StringTableTest, MessageBoxNotifierShowsABoxWithTheProductTitle) {
    ASSERT_TRUE(installJapaneseTranslations(*qApp));
    SetProductTitle(102);
    MessageBoxNotifier boxes;
    QString caption, yesText, noText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool defaultIsNo = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        icon = box->icon();
        yesText = box->button(QMessageBox::Yes)->text();
        noText = box->button(QMessageBox::No)->text();
        defaultIsNo = static_cast<QAbstractButton*>(box->defaultButton()) == box->button(QMessageBox::No);
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(boxes.askYesNo(QStringLiteral("作業を終了してよろしいですか？"), MsgIcon::Exclamation, QMessageBox::No));
    EXPECT_EQ(caption, QStringLiteral("ソラミ！ミルテア"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_TRUE(yesText.startsWith(QStringLiteral("はい"))) << yesText.toStdString();
    EXPECT_TRUE(noText.startsWith(QStringLiteral("いいえ"))) << noText.toStdString();
    EXPECT_TRUE(defaultIsNo);

    // Esc answers "no"; an OK box has only OK.
    QTimer::singleShot(0, [] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &esc);
    });
    EXPECT_FALSE(boxes.askYesNo(QStringLiteral("q"), MsgIcon::Exclamation));
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        box->button(QMessageBox::Ok)->click();
    });
    boxes.message(QStringLiteral("m"), MsgIcon::Stop);
}

// Qt wraps a box's text at half the width of a narrow screen (the offscreen
// one is 800 wide), inside words in Japanese: lines are kept whole where the
// screen has room, and the box stays on the screen where it has not.
TEST_F(StringTableTest, LinesStayWholeWhereTheScreenHasRoom) {
    const QString whole = QStringLiteral(
        "前回、試行の途中でプログラムが終了しました。\n次の試行は、それまでに終わったカードで中止した試行として記録しました。"
        "\n\n見本　太郎　2026/12/08 13:07:15 開始　アンケート入力（0枚）");
    const QString tooLong = QString(120, QChar(0x3042));
    for (const QString& text : {whole, tooLong}) {
        std::unique_ptr<QMessageBox> box(
            MessageBoxNotifier::createBox(text, MsgIcon::Exclamation, QMessageBox::Ok, QMessageBox::Ok));
        box->show();
        const QRect screen = box->screen()->availableGeometry();
        EXPECT_LE(box->frameGeometry().width(), screen.width());
        if (text == tooLong)
            continue;
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        for (const QString& line : text.split('\n'))
            EXPECT_LE(label->fontMetrics().horizontalAdvance(line), label->contentsRect().width()) << line.toStdString();
    }
}
