// The voucher correction screen and the trial life cycle every task screen
// shares: opening, cards, 次へ, 中止, the time limit, チェック, closing once,
// the history row and the next start number, layout and keys.
#include "TaskScreenFixture.h"

#include "AppSub.h"
#include "CountTimer.h"
#include "DenpyoDlg.h"
#include "ICStatic.h"
#include "IKCRitchEditCtrl.h"
#include "KCPrintImage.h"
#include "KCStaticShintyoku.h"
#include "ProgramResources.h"

#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>

using namespace taskscreens;

namespace {

const QStringList kVoucherFields = {QStringLiteral("customerCode"), QStringLiteral("productCode"),
                                    QStringLiteral("telephone"), QStringLiteral("mailAddress")};

class DenpyoDlgTest : public TaskScreenTest {
protected:
    // Opens the screen for a trial prepared with prepareTrial and shows it.
    std::unique_ptr<CDenpyoDlg> open(QWidget* menu = nullptr) {
        auto dlg = std::make_unique<CDenpyoDlg>(kaiseki, menu);
        EXPECT_TRUE(dlg->OpenTrial());
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        return dlg;
    }
    // The control wrappers carry no meta-object of their own: found by name.
    template <class T> static T* child(QWidget* dlg, const QString& name) {
        return static_cast<T*>(dlg->findChild<QWidget*>(name));
    }
    CIKCRitchEditCtrl* field(QWidget* dlg, int item) { return child<CIKCRitchEditCtrl>(dlg, kVoucherFields[item]); }
    CICStatic* label(QWidget* dlg, int item) { return child<CICStatic>(dlg, kVoucherFields[item] + "Label"); }
    CKCStaticShintyoku* progress(QWidget* dlg) { return child<CKCStaticShintyoku>(dlg, "progressText"); }
    CCountTimer* dial(QWidget* dlg) { return child<CCountTimer>(dlg, "countTimer"); }
    QStringList fieldTexts(QWidget* dlg) {
        QStringList out;
        for (int i = 0; i < 4; ++i)
            out << field(dlg, i)->Text();
        return out;
    }
    // Replaces a field's text by typing, as the trainee does.
    void retype(QWidget* dlg, int item, const QString& text) {
        CIKCRitchEditCtrl* f = field(dlg, item);
        f->setFocus();
        QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f, Qt::Key_Delete);
        QTest::keyClicks(f, text);
    }
    void click(QWidget* dlg, const char* name) {
        auto* b = dlg->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_TRUE(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QString inputFile(const CDenpyoDlg& dlg, const char* task = "顧客伝票") {
        return folder.path() + QStringLiteral("解析結果/7/") +
               dlg.OpenedAt().toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral("_入力値_") +
               QString::fromUtf8(task) + QStringLiteral("_山田_太郎.csv");
    }
    static QByteArray golden(const QString& name) {
        return readBytes(QStringLiteral(ZENTRY_TEST_DATA "/trials/") + name);
    }
};

TEST_F(DenpyoDlgTest, OpeningCreatesTheRecordsAndShowsTheFirstCard) {
    prepareTrial(2, 1, QStringLiteral("display_flg=1\ndisplay_position=1\n"));
    auto dlg = open();

    EXPECT_EQ(dlg->HistoryNumber(), 1);
    EXPECT_EQ(history(1, QStringLiteral("problem_code")).toString(), QStringLiteral("2"));
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QString());
    EXPECT_EQ(history(1, QStringLiteral("execution_date")).toString(), QStringLiteral("2026-04-01 09:30:00"));
    EXPECT_EQ(dlg->InputFilePath(), inputFile(*dlg));
    EXPECT_EQ(readText(dlg->InputFilePath()),
              QStringLiteral("開始時刻,終了時刻,経過時間,評価除外フラグ,NO.,顧客コード,商品コード,電話番号,メールアドレス\r\n"));
    EXPECT_TRUE(kaiseki.IsOpen());

    // The printed (erroneous) values of card 11, its number, its image.
    EXPECT_EQ(fieldTexts(dlg.get()), VoucherPrinted()[0]);
    EXPECT_EQ(dlg->findChild<QLabel*>(QStringLiteral("cardNo"))->text(), QStringLiteral("0011"));
    EXPECT_FALSE(dlg->findChild<CKCPrintImage*>()->bitmap().isNull());
    EXPECT_EQ(deck().TrialStart(), clock.now());
    // A skill test has no check button; the fix buttons never show.
    for (const char* hidden : {"check", "fix", "uncheck", "print"})
        EXPECT_FALSE(dlg->findChild<QPushButton*>(QString::fromLatin1(hidden))->isVisible()) << hidden;
    // The focus goes to 顧客コード once the screen is up.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == field(dlg.get(), 0); }));
    EXPECT_EQ(field(dlg.get(), 0)->textCursor().position(), 0);
}

TEST_F(DenpyoDlgTest, AWholeDeckIsLoggedCardByCardAndScored) {
    prepareTrial(2, 1);
    auto dlg = open();
    retype(dlg.get(), 0, QStringLiteral("A1234"));
    retype(dlg.get(), 2, QStringLiteral("03-1234-5678"));
    retype(dlg.get(), 3, QStringLiteral("taro@example.jp"));
    clock.advance(40);
    click(dlg.get(), "next");
    EXPECT_EQ(dlg->Position(), 1);
    EXPECT_EQ(fieldTexts(dlg.get()), VoucherPrinted()[1]);
    clock.advance(25);
    click(dlg.get(), "next"); // left as printed: wrong
    clock.advance(10);
    folder.notifier.answers = {true};
    click(dlg.get(), "next"); // the last card asks to finish

    EXPECT_EQ(dlg->result(), CDenpyoDlg::kTrialClosed);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(folder.notifier.texts(), QStringList{QStringLiteral("作業を終了してよろしいですか？")});
    EXPECT_EQ(readBytes(dlg->InputFilePath()), golden(QStringLiteral("denpyo_course1.csv")));

    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), 3);
    EXPECT_EQ(history(1, QStringLiteral("correct_number")).toInt(), 2);
    EXPECT_EQ(history(1, QStringLiteral("answer_koumoku")).toInt(), 12);
    EXPECT_EQ(history(1, QStringLiteral("correct_koumoku")).toInt(), 11);
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QStringLiteral("1"));
    EXPECT_EQ(history(1, QStringLiteral("answer_time")).toString(), QStringLiteral("01分15秒"));
    EXPECT_EQ(history(1, QStringLiteral("last_update")).toString(), QStringLiteral("2026-04-01 09:31:15"));
    expectHistoryMatchesTool(2, 1);
    // Through the whole deck the voucher correction keeps the stored start number.
    EXPECT_EQ(startNumber(2), 0);

    EXPECT_EQ(readBytes(kaiseki.Path()), golden(QStringLiteral("denpyo_course1_analysis.csv")));
    EXPECT_TRUE(kaiseki.Path().endsWith(QStringLiteral("/解析結果/7/20260401_093000_解析結果_顧客伝票_山田_太郎.csv")));
    EXPECT_FALSE(kaiseki.IsOpen());
}

TEST_F(DenpyoDlgTest, NoAtTheLastCardStaysAndAsksAgainWithoutASecondLine) {
    prepareTrial(2, 1);
    auto dlg = open();
    click(dlg.get(), "next");
    click(dlg.get(), "next");
    folder.notifier.answers = {false};
    click(dlg.get(), "next");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->Finished());
    EXPECT_EQ(dlg->Position(), 2);
    EXPECT_EQ(progress(dlg.get())->GetText(), QString()); // progress box off

    folder.notifier.answers = {false};
    click(dlg.get(), "next");
    folder.notifier.answers = {true};
    click(dlg.get(), "next");
    EXPECT_EQ(dlg->result(), CDenpyoDlg::kTrialClosed);
    EXPECT_EQ(folder.notifier.texts().size(), 3);
    EXPECT_EQ(readText(dlg->InputFilePath()).count(QStringLiteral("\r\n")), 4); // header and three cards
    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), 3);
}

TEST_F(DenpyoDlgTest, AbortEndsWithFlagOneAndStoresTheCardOnScreen) {
    prepareTrial(2, 1);
    auto dlg = open();
    clock.advance(30);
    click(dlg.get(), "next");

    folder.notifier.answers = {false};
    click(dlg.get(), "abort");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(folder.notifier.entries.last().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(folder.notifier.entries.last().question);

    folder.notifier.answers = {true};
    click(dlg.get(), "abort");
    EXPECT_EQ(dlg->result(), CDenpyoDlg::kTrialClosed);
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QStringLiteral("1"));
    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), 1);
    EXPECT_EQ(history(1, QStringLiteral("correct_number")).toInt(), 0);
    EXPECT_EQ(history(1, QStringLiteral("answer_time")).toString(), QStringLiteral("00分30秒"));
    EXPECT_EQ(startNumber(2), 12); // the card that was on screen
    EXPECT_EQ(readText(dlg->InputFilePath()).count(QStringLiteral("\r\n")), 2);
}

TEST_F(DenpyoDlgTest, TheTimeLimitEndsTheTrialFromTheFirstCardShown) {
    prepareTrial(2, 1);
    env().end_time = 1; // 15 minutes
    QWidget menu;
    menu.show();
    auto dlg = open(&menu);
    EXPECT_FALSE(menu.isVisible()); // the menu is hidden while the trial runs
    clock.advance(14 * 60 + 59);
    QTest::qWait(400);
    EXPECT_TRUE(dlg->isVisible());
    clock.advance(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->result() == CDenpyoDlg::kTrialClosed; }));
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(menu.isVisible()); // a skill test goes straight back to the menu
    // No card was finished: nothing logged, the time-up end flag is empty.
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QString());
    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), 0);
    EXPECT_EQ(history(1, QStringLiteral("answer_time")).toString(), QString());
    EXPECT_EQ(startNumber(2), 11);
    EXPECT_EQ(readText(dlg->InputFilePath()).count(QStringLiteral("\r\n")), 1);
}

// A trainee who takes a while to answer: the event loop runs while the question is open.
class SlowAnswer : public RecordingNotifier {
public:
    bool askYesNo(const QString& text, MsgIcon icon) override {
        QTest::qWait(600);
        openWhileAsking = dialog && dialog->isVisible() && dialog->result() == 0;
        return RecordingNotifier::askYesNo(text, icon);
    }
    QDialog* dialog = nullptr;
    bool openWhileAsking = false;
};

TEST_F(DenpyoDlgTest, TheTimerWaitsWhileTheEndQuestionIsOpen) {
    prepareTrial(2, 1);
    env().end_time = 1;
    auto dlg = open();
    SlowAnswer slow;
    slow.dialog = dlg.get();
    slow.answers = {false};
    INotifier* previous = setNotifier(&slow);
    clock.advance(20 * 60);
    click(dlg.get(), "abort");
    setNotifier(previous);
    EXPECT_TRUE(slow.openWhileAsking);
    // Answered "no" after the limit: the next tick ends the trial as timed out.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->result() == CDenpyoDlg::kTrialClosed; }));
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QString());
}

TEST_F(DenpyoDlgTest, ProgressTextAndDialFollowTheClock) {
    prepareTrial(2, 3);
    env().SetTraineeConditions(1, 1, 1, 1, 20, 10, 1, 1, 1, 1, 1, 0);
    auto dlg = open();
    CKCStaticShintyoku* text = progress(dlg.get());
    CCountTimer* timer = dial(dlg.get());
    EXPECT_TRUE(dlg->findChild<QGroupBox*>(QStringLiteral("progressBox"))->isVisible());
    EXPECT_TRUE(timer->isVisible());
    EXPECT_EQ(timer->Total(), 900);
    clock.advance(61);
    click(dlg.get(), "next");
    EXPECT_EQ(text->GetText(), QStringLiteral("　目標作業枚数：20枚\n　目標正解枚数：10枚\n　終わった枚数：1枚\n"
                                                  "　残り時間　　：13分59秒"));
    EXPECT_EQ(timer->Remaining(), 839);
    clock.advance(59);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timer->Remaining() == 780; }));

    // Ctrl+T hides and shows the dial in courses 1 and 3.
    QTest::keyClick(field(dlg.get(), 1), Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(timer->isVisible());
    QTest::keyClick(field(dlg.get(), 1), Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(timer->isVisible());
    EXPECT_EQ(field(dlg.get(), 1)->Text(), VoucherPrinted()[1][1]); // the key typed nothing
}

TEST_F(DenpyoDlgTest, BasicTrainingChecksACardAndLogsTheCheckCount) {
    prepareTrial(2, 2, QStringLiteral("sound_flg=1\n"));
    env().SetTraineeConditions(2, 1, 1, 1, 0, 0, 1, 1, 1, 3, 2, 0);
    auto dlg = open();
    ResetLastSound();
    ASSERT_TRUE(dlg->findChild<QPushButton*>(QStringLiteral("check"))->isVisible());
    // No dial in course 2, and the timer line is not part of its progress text.
    EXPECT_FALSE(dial(dlg.get())->isVisible());
    EXPECT_EQ(progress(dlg.get())->GetText(), QStringLiteral("\n　終わった枚数：0枚\n"));

    // Card 21: customer code and telephone corrected, the mail address left wrong.
    retype(dlg.get(), 0, QStringLiteral("A1234"));
    retype(dlg.get(), 2, QStringLiteral("03-1234-5678"));
    pressOkOnFeedback();
    click(dlg.get(), "check");
    const QList<CICStatic*> labels = {label(dlg.get(), 0), label(dlg.get(), 1), label(dlg.get(), 2),
                                      label(dlg.get(), 3)};
    const QColor normal = labels[0]->palette().color(QPalette::ButtonText);
    EXPECT_EQ(labels[0]->TextColour(), normal);
    EXPECT_EQ(labels[2]->TextColour(), normal);
    EXPECT_EQ(labels[3]->TextColour(), QColor(255, 0, 0));
    EXPECT_EQ(deck().at(deck().CardAtPosition(0)).errorChecks, 1);
    EXPECT_TRUE(field(dlg.get(), 0)->isEnabled());
    EXPECT_EQ(field(dlg.get(), 0)->Text(), QStringLiteral("A1234")); // the inputs stay
    EXPECT_EQ(readText(dlg->InputFilePath()).count(QStringLiteral("\r\n")), 1); // a check logs nothing

    retype(dlg.get(), 3, QStringLiteral("taro@example.jp"));
    pressOkOnFeedback();
    click(dlg.get(), "check");
    EXPECT_EQ(labels[3]->TextColour(), normal);
    retype(dlg.get(), 3, QStringLiteral("tar@example.jp"));
    pressOkOnFeedback();
    click(dlg.get(), "check");
    EXPECT_EQ(labels[3]->TextColour(), QColor(255, 0, 0));
    retype(dlg.get(), 3, QStringLiteral("taro@example.jp"));
    clock.advance(12);
    click(dlg.get(), "next");
    EXPECT_EQ(LastSoundPlayed(), LastSound::NextCardWave);
    // The labels start normal on the next card.
    EXPECT_EQ(labels[3]->TextColour(), normal);

    folder.notifier.answers = {true};
    click(dlg.get(), "next");
    EXPECT_EQ(readText(dlg->InputFilePath()),
              QStringLiteral("開始時刻,終了時刻,経過時間,評価除外フラグ,NO.,顧客コード,商品コード,電話番号,"
                             "メールアドレス,チェック\r\n"
                             "09:30:00,09:30:12,0分12秒,,0021,A1234,P-567,03-1234-5678,taro@example.jp,3\r\n"
                             "09:30:12,09:30:12,0分12秒,,0022,B2007,Q-100,06-9876-5432,hana@mail.jp,0\r\n"));
}

TEST_F(DenpyoDlgTest, TrainingLeavesTheMenuToTheResultScreens) {
    prepareTrial(2, 2);
    env().error_feedback_flg = 0;
    QWidget menu;
    menu.show();
    auto dlg = open(&menu);
    EXPECT_FALSE(dlg->findChild<QPushButton*>(QStringLiteral("check"))->isVisible()); // no error-check feedback
    folder.notifier.answers = {true};
    click(dlg.get(), "abort");
    EXPECT_EQ(dlg->result(), CDenpyoDlg::kTrialClosed);
    EXPECT_FALSE(menu.isVisible());
}

TEST_F(DenpyoDlgTest, SkillTestPlaysNoSwitchSound) {
    prepareTrial(2, 1, QStringLiteral("sound_flg=1\n"));
    auto dlg = open();
    ResetLastSound();
    click(dlg.get(), "next");
    EXPECT_EQ(LastSoundPlayed(), LastSound::None);
}

TEST_F(DenpyoDlgTest, AnswerSwitchOpensTheFieldsWithTheCorrectValues) {
    prepareTrial(2, 1, QStringLiteral("corvane_pass=1\n"));
    auto dlg = open();
    EXPECT_EQ(fieldTexts(dlg.get()), VoucherCorrect()[0]);
    folder.notifier.answers = {true};
    click(dlg.get(), "abort");
    click(dlg.get(), "next"); // the screen is closed: nothing happens
    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), 0);
}

TEST_F(DenpyoDlgTest, EnterAndEscapeNeverClose) {
    prepareTrial(2, 1);
    auto dlg = open();
    QTest::keyClick(field(dlg.get(), 0), Qt::Key_Return);
    QTest::keyClick(field(dlg.get(), 0), Qt::Key_Escape);
    QTest::keyClick(dlg->findChild<QPushButton*>(QStringLiteral("next")), Qt::Key_Return);
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->Position(), 0);
    EXPECT_EQ(field(dlg.get(), 0)->Text(), VoucherPrinted()[0][0]);
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

TEST_F(DenpyoDlgTest, AltKeysMoveToTheFieldsAndPressTheButtons) {
    prepareTrial(2, 1);
    auto dlg = open();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    QTest::keyClick(dlg.get(), Qt::Key_3, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(field(dlg.get(), 2)));
    // A mnemonic presses its button the way a click does, a moment later.
    QTest::keyClick(dlg.get(), Qt::Key_N, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->Position() == 1; }));
    folder.notifier.answers = {false};
    QTest::keyClick(dlg.get(), Qt::Key_C, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !folder.notifier.entries.isEmpty(); }));
    EXPECT_EQ(folder.notifier.texts(), QStringList{QStringLiteral("作業を終了してよろしいですか？")});
}

// The image beside the fields: its size, its side, and the fields beside it.
struct LayoutCase {
    int placement;
    bool enlarged;
    QSize image;
    int panelWidth;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << "image " << (c.placement == 1 ? "left" : "right") << (c.enlarged ? " enlarged" : "");
}

class DenpyoLayoutTest : public DenpyoDlgTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(DenpyoLayoutTest, ImageAndFieldsShareTheWindow) {
    const LayoutCase c = GetParam();
    prepareTrial(2, 1, QStringLiteral("display_flg=1\ndisplay_position=%1\n").arg(c.placement));
    env().enlarge_flg = c.enlarged;
    auto dlg = open();
    auto* panel = dlg->findChild<QFrame*>(QStringLiteral("imagePanel"));
    auto* image = dlg->findChild<CKCPrintImage*>();
    const double scale = dlg->logicalDpiX() / 96.0;
    EXPECT_EQ(image->size(), c.image);
    EXPECT_EQ(image->bitmap().size(), c.image);
    EXPECT_EQ(panel->width(), int(c.panelWidth * scale));
    EXPECT_EQ(image->geometry().center().x(), panel->rect().center().x());
    const QRect fieldRect = field(dlg.get(), 3)->geometry();
    if (c.placement == 1) {
        EXPECT_EQ(panel->x(), 0);
        EXPECT_GT(fieldRect.left(), panel->geometry().right());
    } else {
        EXPECT_EQ(panel->geometry().right(), dlg->width() - 1);
        EXPECT_LT(fieldRect.right(), panel->x());
    }
    EXPECT_LE(fieldRect.bottom(), dlg->height());
    EXPECT_GE(fieldRect.width(), 200);
}

INSTANTIATE_TEST_SUITE_P(Placements, DenpyoLayoutTest,
                         ::testing::Values(LayoutCase{1, false, {537, 363}, 550}, LayoutCase{2, false, {537, 363}, 550},
                                           LayoutCase{1, true, {644, 435}, 600}, LayoutCase{2, true, {644, 435}, 600}));

TEST_F(DenpyoDlgTest, OnPaperThereIsNoImage) {
    prepareTrial(2, 1, QStringLiteral("display_flg=0\n"));
    auto dlg = open();
    EXPECT_FALSE(dlg->findChild<QFrame*>(QStringLiteral("imagePanel"))->isVisible());
    EXPECT_EQ(dlg->size(), QSize(800, 600) * (dlg->logicalDpiX() / 96.0));
}

TEST_F(DenpyoDlgTest, NumberOrderContinuesFromTheStoredStartAndShuffleStoresOne) {
    QSqlQuery(app->UserDb().database()).exec(QStringLiteral("update [User_tbl] set [start_no2] = 12"));
    prepareTrial(2, 1);
    {
        auto dlg = open();
        EXPECT_EQ(dlg->findChild<QLabel*>(QStringLiteral("cardNo"))->text(), QStringLiteral("0012"));
        click(dlg.get(), "next");
        EXPECT_EQ(dlg->findChild<QLabel*>(QStringLiteral("cardNo"))->text(), QStringLiteral("0013"));
        click(dlg.get(), "next");
        EXPECT_EQ(dlg->findChild<QLabel*>(QStringLiteral("cardNo"))->text(), QStringLiteral("0011"));
        folder.notifier.answers = {true};
        click(dlg.get(), "abort");
    }
    EXPECT_EQ(startNumber(2), 11);

    clock.advance(60);
    prepareTrial(2, 1, QStringLiteral("order_flg=2\n"));
    auto dlg = open();
    click(dlg.get(), "next");
    folder.notifier.answers = {true};
    click(dlg.get(), "abort");
    EXPECT_EQ(dlg->HistoryNumber(), 2);
    EXPECT_EQ(startNumber(2), 1);
    EXPECT_EQ(history(2, QStringLiteral("order_flg")).toString(), QStringLiteral("2"));
}

TEST_F(DenpyoDlgTest, WithoutAHistoryRowTheScreenEndsAtOnce) {
    prepareTrial(2, 1);
    // The user database opened read-only: the row cannot be written.
    ASSERT_EQ(app->UserDb().OpenPrevious(folder.path()), 1);
    CDenpyoDlg dlg(kaiseki);
    EXPECT_FALSE(dlg.OpenTrial());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(kaiseki.IsOpen());
    EXPECT_FALSE(QDir(folder.path() + QStringLiteral("解析結果/7")).exists());
    EXPECT_EQ(folder.notifier.texts(),
              QStringList{QStringLiteral("[History_tbl] の更新ができません。\n読込専用で開かれていないかチェックしてください。")});
}

TEST_F(DenpyoDlgTest, AnInputFileThatCannotBeCreatedEndsTheTrialAsAborted) {
    prepareTrial(2, 1);
    // A plain file where the user's analysis folder belongs.
    QDir().mkpath(folder.path() + QStringLiteral("解析結果"));
    QFile blocker(folder.path() + QStringLiteral("解析結果/7"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QWidget menu;
    menu.show();
    CDenpyoDlg dlg(kaiseki, &menu);
    EXPECT_FALSE(dlg.OpenTrial());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_EQ(folder.notifier.entries[0].icon, MsgIcon::Stop);
    EXPECT_TRUE(folder.notifier.entries[0].text.contains(folder.path() + QStringLiteral("解析結果/7")))
        << folder.notifier.entries[0].text.toStdString();
    // The row already written is completed as a trial ended at once.
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QStringLiteral("1"));
    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), 0);
    EXPECT_EQ(history(1, QStringLiteral("last_update")).toString(), QStringLiteral("2026-04-01 09:30:00"));
    EXPECT_TRUE(menu.isVisible());
}

} // namespace
