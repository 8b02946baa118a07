// The voucher miss-check screen: read-only fields with the printed values,
// marking by button and key, mark strings logged and judged, the answer
// switch, and the next start number after the whole deck.
#include "TaskScreenFixture.h"

#include "DenMissDlg.h"
#include "ICStatic.h"
#include "IKCRitchEditCtrl.h"
#include "KCPrintImage.h"

#include <QLabel>

using namespace taskscreens;

namespace {

const QStringList kFields = {QStringLiteral("customerCode"), QStringLiteral("productCode"),
                             QStringLiteral("telephone"), QStringLiteral("mailAddress")};

class DenMissDlgTest : public TaskScreenTest {
protected:
    std::unique_ptr<CDenMissDlg> open() {
        auto dlg = std::make_unique<CDenMissDlg>(kaiseki);
        EXPECT_TRUE(dlg->OpenTrial());
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        return dlg;
    }
    CIKCRitchEditCtrl* field(QWidget* dlg, int item) {
        return static_cast<CIKCRitchEditCtrl*>(dlg->findChild<QWidget*>(kFields[item]));
    }
    CICStatic* label(QWidget* dlg, int item) {
        return static_cast<CICStatic*>(dlg->findChild<QWidget*>(kFields[item] + QStringLiteral("Label")));
    }
    QPushButton* button(QWidget* dlg, const char* name) {
        return dlg->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // Selects characters [start, end) of a field with the keyboard.
    void select(QWidget* dlg, int item, int start, int end) {
        CIKCRitchEditCtrl* f = field(dlg, item);
        f->setFocus();
        QTest::keyClick(f, Qt::Key_Home);
        for (int i = 0; i < start; ++i)
            QTest::keyClick(f, Qt::Key_Right);
        for (int i = start; i < end; ++i)
            QTest::keyClick(f, Qt::Key_Right, Qt::ShiftModifier);
    }
};

TEST_F(DenMissDlgTest, FieldsShowThePrintedValuesReadOnly) {
    prepareTrial(3, 1, QStringLiteral("display_flg=1\n"));
    auto dlg = open();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(field(dlg.get(), i)->Text(), VoucherPrinted()[0][i]);
        EXPECT_TRUE(field(dlg.get(), i)->isReadOnly());
        EXPECT_EQ(field(dlg.get(), i)->ReadMarks(), QString(VoucherPrinted()[0][i].size(), 'N'));
    }
    QTest::keyClicks(field(dlg.get(), 0), QStringLiteral("xyz"));
    EXPECT_EQ(field(dlg.get(), 0)->Text(), VoucherPrinted()[0][0]);
    EXPECT_TRUE(button(dlg.get(), "mark")->isVisible());
    EXPECT_TRUE(button(dlg.get(), "unmark")->isVisible());
    EXPECT_EQ(button(dlg.get(), "mark")->text(), QStringLiteral("ミスチェック箇所の指摘(F1)"));
    EXPECT_EQ(button(dlg.get(), "unmark")->text(), QStringLiteral("ミスチェック箇所の指摘解除(F2)"));
}

TEST_F(DenMissDlgTest, TheMarkButtonMarksTheSelectionTheFieldKept) {
    prepareTrial(3, 1);
    auto dlg = open();
    select(dlg.get(), 0, 3, 4); // "8" of A1284
    // The button takes the focus; the field keeps its selection.
    button(dlg.get(), "mark")->setFocus();
    QTest::mouseClick(button(dlg.get(), "mark"), Qt::LeftButton);
    EXPECT_EQ(field(dlg.get(), 0)->ReadMarks(), QStringLiteral("NNNCN"));

    // With no selection anywhere the buttons do nothing.
    field(dlg.get(), 1)->setFocus(); // collapses the other fields' selections
    QTest::mouseClick(button(dlg.get(), "mark"), Qt::LeftButton);
    EXPECT_EQ(field(dlg.get(), 0)->ReadMarks(), QStringLiteral("NNNCN"));
    EXPECT_EQ(field(dlg.get(), 1)->ReadMarks(), QStringLiteral("NNNNN"));

    select(dlg.get(), 0, 2, 5);
    QTest::mouseClick(button(dlg.get(), "unmark"), Qt::LeftButton);
    EXPECT_EQ(field(dlg.get(), 0)->ReadMarks(), QStringLiteral("NNNNN"));
}

TEST_F(DenMissDlgTest, MarkingKeys) {
    prepareTrial(3, 1);
    auto dlg = open();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        bool mark;
    } keys[] = {{Qt::Key_F1, Qt::NoModifier, true},       {Qt::Key_F2, Qt::NoModifier, false},
                {Qt::Key_Z, Qt::ControlModifier, true},   {Qt::Key_S, Qt::ControlModifier, false},
                {Qt::Key_Z, Qt::AltModifier, true},       {Qt::Key_S, Qt::AltModifier, false}};
    for (const auto& k : keys) {
        select(dlg.get(), 2, 8, 10); // "55" of 03-1234-5578
        QTest::keyClick(field(dlg.get(), 2), k.key, k.mods);
        EXPECT_EQ(field(dlg.get(), 2)->ReadMarks(), k.mark ? QStringLiteral("NNNNNNNNCCNN") : QString(12, 'N'))
            << int(k.key) << " " << int(k.mods);
    }
}

TEST_F(DenMissDlgTest, MarkStringsAreLoggedJudgedAndTheStartGoesBackToOne) {
    QSqlQuery(app->UserDb().database()).exec(QStringLiteral("update [User_tbl] set [start_no3] = 12"));
    prepareTrial(3, 1);
    auto dlg = open();
    // Card 12 (B2007 for B2001): right when only the "7" is marked.
    select(dlg.get(), 0, 4, 5);
    QTest::keyClick(field(dlg.get(), 0), Qt::Key_F1);
    clock.advance(20);
    QTest::mouseClick(button(dlg.get(), "next"), Qt::LeftButton);
    // Card 13 has no error: nothing marked is right.
    clock.advance(5);
    QTest::mouseClick(button(dlg.get(), "next"), Qt::LeftButton);
    // Card 11: one of three errors found, and one right character marked.
    select(dlg.get(), 3, 3, 4); // "0" of tar0@
    QTest::keyClick(field(dlg.get(), 3), Qt::Key_F1);
    select(dlg.get(), 1, 0, 1);
    QTest::keyClick(field(dlg.get(), 1), Qt::Key_F1);
    clock.advance(30);
    folder.notifier.answers = {true};
    QTest::mouseClick(button(dlg.get(), "next"), Qt::LeftButton);
    ASSERT_EQ(dlg->result(), CDenpyoDlg::kTrialClosed);

    EXPECT_EQ(readText(dlg->InputFilePath()),
              QStringLiteral("開始時刻,終了時刻,経過時間,評価除外フラグ,NO.,顧客コード,商品コード,電話番号,メールアドレス\r\n"
                             "09:30:00,09:30:20,0分20秒,,0012,NNNNC,NNNNN,NNNNNNNNNNNN,NNNNNNNNNNNN\r\n"
                             "09:30:20,09:30:25,0分25秒,,0013,NNNNN,NNNNN,NNNNNNNNNNNN,NNNNNNNNNN\r\n"
                             "09:30:25,09:30:55,0分55秒,,0011,NNNNN,CNNNN,NNNNNNNNNNNN,NNNCNNNNNNNNNNN\r\n"));
    EXPECT_TRUE(dlg->InputFilePath().endsWith(QStringLiteral("_入力値_ミスチェック_山田_太郎.csv")));
    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), 3);
    EXPECT_EQ(history(1, QStringLiteral("correct_number")).toInt(), 2);
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QStringLiteral("1"));
    expectHistoryMatchesTool(3, 1);
    // The whole deck was gone through: the next trial starts at card number 1.
    EXPECT_EQ(startNumber(3), 1);
}

TEST_F(DenMissDlgTest, CheckJudgesByMarksAndKeepsThemAfterwards) {
    prepareTrial(3, 2);
    env().SetTraineeConditions(2, 0, 0, 0, 0, 0, 1, 1, 1, 2, 1, 0);
    auto dlg = open();
    // Card 21 is A1284 for A1234: marking the "8" makes 顧客コード right.
    select(dlg.get(), 0, 3, 4);
    QTest::keyClick(field(dlg.get(), 0), Qt::Key_F1);
    pressOkOnFeedback();
    QTest::mouseClick(button(dlg.get(), "check"), Qt::LeftButton);
    EXPECT_EQ(label(dlg.get(), 0)->TextColour(), label(dlg.get(), 0)->palette().color(QPalette::ButtonText));
    EXPECT_EQ(label(dlg.get(), 1)->TextColour(), label(dlg.get(), 1)->palette().color(QPalette::ButtonText));
    EXPECT_EQ(label(dlg.get(), 2)->TextColour(), QColor(255, 0, 0));
    EXPECT_EQ(label(dlg.get(), 3)->TextColour(), QColor(255, 0, 0));
    // The marks survive the check: the fields are re-enabled from the saved marks.
    EXPECT_EQ(field(dlg.get(), 0)->ReadMarks(), QStringLiteral("NNNCN"));
    EXPECT_TRUE(field(dlg.get(), 0)->isEnabled());

    folder.notifier.answers = {true};
    QTest::mouseClick(button(dlg.get(), "abort"), Qt::LeftButton);
    // The check saved the card but logged nothing.
    EXPECT_EQ(readText(dlg->InputFilePath()),
              QStringLiteral("開始時刻,終了時刻,経過時間,評価除外フラグ,NO.,顧客コード,商品コード,電話番号,"
                             "メールアドレス,チェック\r\n"));
    EXPECT_EQ(startNumber(3), 21);
}

TEST_F(DenMissDlgTest, AnswerSwitchPreMarksTheWrongCharactersAndComparesTheImage) {
    prepareTrial(3, 1, QStringLiteral("corvane_pass=1\ndisplay_flg=1\n"));
    auto dlg = open();
    EXPECT_EQ(field(dlg.get(), 0)->ReadMarks(), QStringLiteral("NNNCN"));
    EXPECT_EQ(field(dlg.get(), 2)->ReadMarks(), QStringLiteral("NNNNNNNNNCNN"));
    EXPECT_EQ(field(dlg.get(), 3)->ReadMarks(), QStringLiteral("NNNCNNNNNNNNNNN"));
    // Left as pre-marked, the card is right.
    folder.notifier.answers = {true};
    QTest::mouseClick(button(dlg.get(), "next"), Qt::LeftButton);
    QTest::mouseClick(button(dlg.get(), "abort"), Qt::LeftButton);
    EXPECT_EQ(history(1, QStringLiteral("correct_number")).toInt(), 1);
}

TEST_F(DenMissDlgTest, BlanksAroundAPrintedValueAreNotShown) {
    prepareTrial(3, 1);
    deck().at(deck().CardAtPosition(0)).erroneous[1] = QStringLiteral("  P-567\t");
    auto dlg = open();
    EXPECT_EQ(field(dlg.get(), 1)->Text(), QStringLiteral("P-567"));
}

} // namespace
