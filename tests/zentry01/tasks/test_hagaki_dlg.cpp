// The questionnaire input screen: the nine-item form, the coded answers of
// 問１ to 問３, the postal search, the answer switch and the postcard layout.
#include "TaskScreenFixture.h"

#include "HagakiDlg.h"
#include "ICStatic.h"
#include "IKCRitchEditCtrl.h"
#include "KCPrintImage.h"
#include "ZipDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextLayout>

using namespace taskscreens;

namespace {

const QStringList kTextFields = {QStringLiteral("furigana"), QStringLiteral("name"),      QStringLiteral("zipCode"),
                                 QStringLiteral("address"),  QStringLiteral("telephone"), QStringLiteral("mailAddress")};
const QString kHeader = QStringLiteral(
    "開始時刻,終了時刻,経過時間,評価除外フラグ,NO.,フリガナ,氏名,郵便番号,住所,電話番号,メールアドレス,問１,問２,問３");

class HagakiDlgTest : public TaskScreenTest {
protected:
    std::unique_ptr<CHagakiDlg> open() {
        auto dlg = std::make_unique<CHagakiDlg>(kaiseki);
        EXPECT_TRUE(dlg->OpenTrial());
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        return dlg;
    }
    CIKCRitchEditCtrl* field(QWidget* dlg, int item) {
        return static_cast<CIKCRitchEditCtrl*>(dlg->findChild<QWidget*>(kTextFields[item]));
    }
    // What an input method delivers: the committed text at the caret.
    void commit(QWidget* w, const QString& text) {
        w->setFocus();
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(w, &event);
    }
    // What an input method shows while the trainee composes, not yet text.
    void compose(QWidget* w, const QString& preedit) {
        w->setFocus();
        QInputMethodEvent event(preedit, {});
        QApplication::sendEvent(w, &event);
    }
    // Types a card's answers: Japanese through the input method, the rest by keys.
    void fillForm(QWidget* dlg, const QStringList& a, int q1Index, int q2Id, bool wish, bool noWish) {
        commit(field(dlg, 0), a[0]);
        commit(field(dlg, 1), a[1]);
        QTest::keyClicks(field(dlg, 2), a[2]);
        commit(field(dlg, 3), a[3]);
        QTest::keyClicks(field(dlg, 4), a[4]);
        QTest::keyClicks(field(dlg, 5), a[5]);
        dlg->findChild<QComboBox*>(QStringLiteral("question1"))->setCurrentIndex(q1Index);
        QTest::mouseClick(dlg->findChild<QRadioButton*>(QStringLiteral("question2_%1").arg(q2Id)), Qt::LeftButton);
        if (wish)
            QTest::mouseClick(dlg->findChild<QCheckBox*>(QStringLiteral("question3_1")), Qt::LeftButton);
        if (noWish)
            QTest::mouseClick(dlg->findChild<QCheckBox*>(QStringLiteral("question3_2")), Qt::LeftButton);
    }
    QPushButton* button(QWidget* dlg, const char* name) {
        return dlg->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    CICStatic* label(QWidget* dlg, const QString& name) {
        return static_cast<CICStatic*>(dlg->findChild<QWidget*>(name + QStringLiteral("Label")));
    }
    // Chooses entry `row` of the postal search list as soon as it is up (-1: cancel).
    static void chooseInZipList(int row, QStringList* shown) {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, row, shown] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* list = qobject_cast<CZipDlg*>(w);
                if (!list || !list->isVisible())
                    continue;
                timer->stop();
                timer->deleteLater();
                for (int i = 0; i < list->list()->count(); ++i)
                    *shown << list->list()->item(i)->text();
                if (row < 0) {
                    list->reject();
                    return;
                }
                list->list()->setCurrentRow(row);
                QTest::mouseClick(list->okButton(), Qt::LeftButton);
                return;
            }
        });
        timer->start(10);
    }
};

TEST_F(HagakiDlgTest, AnEmptyFormAwaitsEachCard) {
    prepareTrial(1, 1, QStringLiteral("display_flg=1\n"));
    auto dlg = open();
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(field(dlg.get(), i)->Text().isEmpty());
    auto* q1 = dlg->findChild<QComboBox*>(QStringLiteral("question1"));
    ASSERT_EQ(q1->count(), 7);
    EXPECT_EQ(q1->itemText(0), QStringLiteral("1.書店で実物を見て"));
    EXPECT_EQ(q1->itemText(6), QStringLiteral("0.回答なし"));
    EXPECT_EQ(q1->currentText(), QStringLiteral("0.回答なし"));
    EXPECT_TRUE(dlg->findChild<QRadioButton*>(QStringLiteral("question2_0"))->isChecked());
    EXPECT_FALSE(dlg->findChild<QCheckBox*>(QStringLiteral("question3_1"))->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(field(dlg.get(), 0)));
    EXPECT_TRUE(dlg->InputFilePath().endsWith(QStringLiteral("_入力値_アンケート_山田_太郎.csv")));
    EXPECT_EQ(readText(dlg->InputFilePath()), kHeader + QStringLiteral("\r\n"));

    // Answers typed on one card are gone on the next.
    fillForm(dlg.get(), PostcardAnswers()[0], 1, 1, true, false);
    QTest::mouseClick(button(dlg.get(), "next"), Qt::LeftButton);
    EXPECT_TRUE(field(dlg.get(), 3)->Text().isEmpty());
    EXPECT_EQ(q1->currentText(), QStringLiteral("0.回答なし"));
    EXPECT_TRUE(dlg->findChild<QRadioButton*>(QStringLiteral("question2_0"))->isChecked());
    EXPECT_FALSE(dlg->findChild<QCheckBox*>(QStringLiteral("question3_1"))->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(field(dlg.get(), 0)));
}

// Every text field through the input method: the composition shows in the
// field but only the committed text is the answer, and the input-value file
// holds it as Windows writes it (〜 and − as 0x8160 and 0x817C; a character
// without a code-page-932 form never arrives).
TEST_F(HagakiDlgTest, JapaneseComposedAndCommittedInEveryFieldIsLoggedByteForByte) {
    prepareTrial(1, 1);
    auto dlg = open();
    const QStringList preedits = {"やまだ", "やまだ", "ひゃく", "とうきょうと", "ぜろさん", "やまだ"};
    const QStringList commits = {"ヤマダ　タロウ", "山田　太郎", "100−0001", "東京都千代田区千代田1〜2",
                                 "03−1111−2222", QString::fromUtf8("yamada\xF0\x9F\x98\x80@example.jp")};
    for (int i = 0; i < 6; ++i) {
        CIKCRitchEditCtrl* f = field(dlg.get(), i);
        compose(f, preedits[i]);
        EXPECT_EQ(f->textCursor().block().layout()->preeditAreaText(), preedits[i]) << i;
        EXPECT_EQ(f->Text(), QString()) << "a composition is not yet text";
        commit(f, commits[i]);
        EXPECT_EQ(f->textCursor().block().layout()->preeditAreaText(), QString()) << i;
    }
    clock.advance(60);
    QTest::mouseClick(button(dlg.get(), "next"), Qt::LeftButton);
    folder.notifier.answers = {true};
    QTest::mouseClick(button(dlg.get(), "abort"), Qt::LeftButton);
    EXPECT_EQ(readBytes(dlg->InputFilePath()), readBytes(QStringLiteral(ZENTRY_TEST_DATA "/trials/hagaki_input_method.csv")));
}

TEST_F(HagakiDlgTest, TheNineAnswersAreLoggedAsCodes) {
    prepareTrial(1, 1);
    auto dlg = open();
    // Card 11, all right: 問１ "2" is the list's second entry.
    fillForm(dlg.get(), PostcardAnswers()[0], 1, 1, true, false);
    clock.advance(95);
    QTest::mouseClick(button(dlg.get(), "next"), Qt::LeftButton);
    // Card 12: both 問３ boxes ticked, which is never right.
    fillForm(dlg.get(), PostcardAnswers()[1], 5, 3, true, true);
    clock.advance(70);
    QTest::mouseClick(button(dlg.get(), "next"), Qt::LeftButton);
    // Card 13 has no answers to 問１ to 問３: left alone, they are right.
    fillForm(dlg.get(), PostcardAnswers()[2], 6, 0, false, false);
    clock.advance(61);
    folder.notifier.answers = {true};
    QTest::mouseClick(button(dlg.get(), "next"), Qt::LeftButton);
    ASSERT_EQ(dlg->result(), CDenpyoDlg::kTrialClosed);

    EXPECT_EQ(readText(dlg->InputFilePath()).toStdString(),
              kHeader.toStdString() + std::string("\r\n"
                                       "09:30:00,09:31:35,1分35秒,,0011,ヤマダ　タロウ,山田　太郎,100-0001,"
                                       "東京都千代田区千代田,03-1111-2222,yamada@example.jp,2,1,1\r\n"
                                       "09:31:35,09:32:45,2分45秒,,0012,スズキ　ハナコ,鈴木　花子,123-4567,"
                                       "東京都港区芝大門,06-3333-4444,suzuki@example.jp,6,3,両方ともON\r\n"
                                       "09:32:45,09:33:46,3分46秒,,0013,サトウ　ケン,佐藤　健,765-4321,"
                                       "大阪府大阪市北区梅田,045-555-6666,sato@example.jp,,,\r\n"));
    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), 3);
    EXPECT_EQ(history(1, QStringLiteral("correct_number")).toInt(), 2);
    EXPECT_EQ(history(1, QStringLiteral("answer_koumoku")).toInt(), 27);
    EXPECT_EQ(history(1, QStringLiteral("correct_koumoku")).toInt(), 26);
    expectHistoryMatchesTool(1, 1);
    EXPECT_EQ(startNumber(1), 0); // through the whole deck: unchanged
}

TEST_F(HagakiDlgTest, CheckColoursTheWrongItemsLabels) {
    prepareTrial(1, 2);
    env().SetTraineeConditions(2, 0, 0, 0, 0, 0, 1, 1, 1, 3, 1, 0);
    auto dlg = open();
    QStringList answers = PostcardAnswers()[0];
    answers[4] = QStringLiteral("03-1111-2223");
    fillForm(dlg.get(), answers, 1, 2, false, true);
    pressOkOnFeedback();
    QTest::mouseClick(button(dlg.get(), "check"), Qt::LeftButton);
    const QColor red(255, 0, 0);
    EXPECT_EQ(label(dlg.get(), QStringLiteral("telephone"))->TextColour(), red);
    EXPECT_EQ(label(dlg.get(), QStringLiteral("question2"))->TextColour(), red);
    EXPECT_EQ(label(dlg.get(), QStringLiteral("question3"))->TextColour(), red);
    EXPECT_NE(label(dlg.get(), QStringLiteral("question1"))->TextColour(), red);
    EXPECT_NE(label(dlg.get(), QStringLiteral("furigana"))->TextColour(), red);
    // The form keeps what was typed and stays usable.
    EXPECT_EQ(field(dlg.get(), 4)->Text(), QStringLiteral("03-1111-2223"));
    EXPECT_TRUE(dlg->findChild<QComboBox*>(QStringLiteral("question1"))->isEnabled());
    EXPECT_TRUE(dlg->findChild<QCheckBox*>(QStringLiteral("question3_2"))->isChecked());

    clock.advance(50);
    folder.notifier.answers = {true};
    QTest::mouseClick(button(dlg.get(), "abort"), Qt::LeftButton);
    QTest::mouseClick(button(dlg.get(), "next"), Qt::LeftButton); // closed: nothing more
    EXPECT_EQ(readText(dlg->InputFilePath()), kHeader + QStringLiteral(",チェック\r\n"));
    EXPECT_EQ(startNumber(1), 21);
}

TEST_F(HagakiDlgTest, PostalSearchFillsTheAddressFromOneRow) {
    prepareTrial(1, 1);
    auto dlg = open();
    ASSERT_TRUE(button(dlg.get(), "zipSearch")->isVisible());
    for (const QString& typed : {QStringLiteral("100-0001"), QStringLiteral("1000001")}) {
        field(dlg.get(), 2)->SetText(QString());
        field(dlg.get(), 3)->SetText(QString());
        QTest::keyClicks(field(dlg.get(), 2), typed);
        QTest::mouseClick(button(dlg.get(), "zipSearch"), Qt::LeftButton);
        EXPECT_EQ(field(dlg.get(), 3)->Text(), QStringLiteral("東京都千代田区千代田")) << typed.toStdString();
        EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(field(dlg.get(), 3)));
        EXPECT_EQ(field(dlg.get(), 3)->textCursor().position(), 10);
        EXPECT_EQ(field(dlg.get(), 2)->Text(), typed); // the code stays as typed
    }
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

TEST_F(HagakiDlgTest, PostalSearchRefusesOtherFormsAndUnknownCodes) {
    prepareTrial(1, 1);
    auto dlg = open();
    commit(field(dlg.get(), 3), QStringLiteral("手入力の住所"));
    for (const QString& typed : {QStringLiteral("10-00001"), QStringLiteral("100000"), QStringLiteral("1000-001"),
                                 QStringLiteral("9999999"), QString()}) {
        folder.notifier.entries.clear();
        field(dlg.get(), 2)->SetText(typed);
        QTest::mouseClick(button(dlg.get(), "zipSearch"), Qt::LeftButton);
        EXPECT_EQ(folder.notifier.texts(), QStringList{QStringLiteral("郵便番号が見つかりません。")})
            << typed.toStdString();
        EXPECT_EQ(folder.notifier.entries.value(0).icon, MsgIcon::Exclamation);
        EXPECT_EQ(field(dlg.get(), 3)->Text(), QStringLiteral("手入力の住所"));
    }
}

TEST_F(HagakiDlgTest, SeveralRowsOpenTheListAndEnterOnTheButtonSearches) {
    prepareTrial(1, 1);
    auto dlg = open();
    QTest::keyClicks(field(dlg.get(), 2), QStringLiteral("123-4567"));
    QStringList shown;
    chooseInZipList(2, &shown);
    button(dlg.get(), "zipSearch")->setFocus();
    QTest::keyClick(button(dlg.get(), "zipSearch"), Qt::Key_Return);
    EXPECT_EQ(shown, QStringList({QStringLiteral("東京都港区芝公園"), QStringLiteral("東京都港区芝大門"),
                                  QStringLiteral("東京都港区浜松町")}));
    EXPECT_EQ(field(dlg.get(), 3)->Text(), QStringLiteral("東京都港区浜松町"));

    // Cancelling the list changes nothing.
    shown.clear();
    chooseInZipList(-1, &shown);
    QTest::mouseClick(button(dlg.get(), "zipSearch"), Qt::LeftButton);
    EXPECT_EQ(shown.size(), 3);
    EXPECT_EQ(field(dlg.get(), 3)->Text(), QStringLiteral("東京都港区浜松町"));
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(HagakiDlgTest, WithoutPostalSearchTheButtonIsHidden) {
    prepareTrial(1, 1, QStringLiteral("zip_flg=0\n"));
    auto dlg = open();
    EXPECT_FALSE(button(dlg.get(), "zipSearch")->isVisible());
    QTest::keyClicks(field(dlg.get(), 2), QStringLiteral("1000001"));
    QTest::keyClick(field(dlg.get(), 2), Qt::Key_Return);
    dlg->SearchAddress();
    EXPECT_TRUE(field(dlg.get(), 3)->Text().isEmpty());
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
    EXPECT_EQ(history(1, QStringLiteral("zip_flg")).toString(), QString());
}

TEST_F(HagakiDlgTest, AnswerSwitchFillsTheFormWithTheCorrectAnswers) {
    prepareTrial(1, 1, QStringLiteral("corvane_pass=1\n"));
    auto dlg = open();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(field(dlg.get(), i)->Text(), PostcardAnswers()[0][i]);
    EXPECT_EQ(dlg->findChild<QComboBox*>(QStringLiteral("question1"))->currentText(), QStringLiteral("2.チラシを見て"));
    EXPECT_TRUE(dlg->findChild<QRadioButton*>(QStringLiteral("question2_1"))->isChecked());
    EXPECT_TRUE(dlg->findChild<QCheckBox*>(QStringLiteral("question3_1"))->isChecked());
    EXPECT_FALSE(dlg->findChild<QCheckBox*>(QStringLiteral("question3_2"))->isChecked());
    folder.notifier.answers = {true};
    QTest::mouseClick(button(dlg.get(), "next"), Qt::LeftButton);
    // Card 12: 問１ 6 and 問２ 3 and 問３ 2.
    EXPECT_EQ(dlg->findChild<QComboBox*>(QStringLiteral("question1"))->currentText(), QStringLiteral("6.その他"));
    EXPECT_TRUE(dlg->findChild<QRadioButton*>(QStringLiteral("question2_3"))->isChecked());
    EXPECT_TRUE(dlg->findChild<QCheckBox*>(QStringLiteral("question3_2"))->isChecked());
    QTest::mouseClick(button(dlg.get(), "abort"), Qt::LeftButton);
    EXPECT_EQ(history(1, QStringLiteral("correct_number")).toInt(), 1);
}

struct PostcardLayout {
    int placement;
    bool enlarged;
    QSize image;
    int panelWidth;
};
void PrintTo(const PostcardLayout& c, std::ostream* os) {
    *os << "image " << (c.placement == 1 ? "left" : "right") << (c.enlarged ? " enlarged" : "");
}

class HagakiLayoutTest : public HagakiDlgTest, public ::testing::WithParamInterface<PostcardLayout> {};

TEST_P(HagakiLayoutTest, PostcardBesideTheForm) {
    const PostcardLayout c = GetParam();
    prepareTrial(1, 1, QStringLiteral("display_flg=1\ndisplay_position=%1\n").arg(c.placement));
    env().enlarge_flg = c.enlarged;
    auto dlg = open();
    auto* panel = dlg->findChild<QFrame*>(QStringLiteral("imagePanel"));
    auto* image = dlg->findChild<CKCPrintImage*>();
    EXPECT_EQ(image->size(), c.image);
    EXPECT_EQ(image->bitmap().size(), c.image);
    EXPECT_EQ(panel->width(), int(c.panelWidth * dlg->logicalDpiX() / 96.0));
    // The card is centred in its strip, whole in height.
    EXPECT_EQ(image->geometry().center().x(), panel->rect().center().x());
    EXPECT_GE(image->y(), 0);
    EXPECT_LE(image->geometry().bottom(), panel->rect().bottom());
    EXPECT_TRUE(dlg->rect().contains(panel->geometry()));
    // Every control of the form lies beside the panel, inside the window.
    QList<QWidget*> form;
    for (const QString& name : kTextFields)
        form << dlg->findChild<QWidget*>(name);
    form << dlg->findChild<QWidget*>(QStringLiteral("question1"))
         << dlg->findChild<QWidget*>(QStringLiteral("question2_0"))
         << dlg->findChild<QWidget*>(QStringLiteral("question3_2")) << button(dlg.get(), "next");
    for (QWidget* w : form) {
        EXPECT_FALSE(w->geometry().intersects(panel->geometry())) << w->objectName().toStdString();
        EXPECT_TRUE(dlg->rect().contains(w->geometry())) << w->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Placements, HagakiLayoutTest,
                         ::testing::Values(PostcardLayout{1, false, {382, 565}, 400},
                                           PostcardLayout{2, false, {382, 565}, 400},
                                           PostcardLayout{1, true, {458, 678}, 446},
                                           PostcardLayout{2, true, {458, 678}, 446}));

} // namespace
