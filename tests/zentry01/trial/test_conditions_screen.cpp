// The conditions screen: which choices each course opens, what "次へ" stores,
// the checks of the two target fields, and the feedback rule.
#include "ColourSwatch.h"
#include "ExecEnv.h"
#include "MokuhyDlg.h"
#include "NumberSpinField.h"
#include "ShellFixture.h"
#include "StringTable.h"
#include "Zentry01Strings.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace shell;

namespace {

class ConditionsScreen : public ::testing::Test {
protected:
    void SetUp() override { Zentry01Strings::Register(); }
    void TearDown() override { StringTable::clear(); }

    // Opens the screen for a course over an environment whose trainee
    // conditions are all switched on, so that a disabled control shows by
    // storing 0 where the environment held 1.
    std::unique_ptr<CMokuhyDlg> open(int course, int displayFlg, int deckSize = 40) {
        folder.writeIni(QStringLiteral("[Settings]\ndisplay_flg=%1\n").arg(displayFlg));
        env.course_code = course;
        env.SetTraineeConditions(4, 1, 1, 1, 5, 3, 1, 1, 1, 3, 5, 1);
        auto dlg = std::make_unique<CMokuhyDlg>(env, deckSize);
        dlg->show();
        dlg->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        return dlg;
    }
    static QCheckBox* box(QWidget* w, const char* name) { return Child<QCheckBox>(w, name); }
    static CNumberSpinField* field(QWidget* w, const char* name) { return Child<CNumberSpinField>(w, name); }
    static void type(CNumberSpinField* f, const QString& text) { f->setFieldText(text); }
    QStringList messages() const { return folder.notifier.texts(); }

    TestFolder folder;
    CExecEnv env;
};

struct CourseRule {
    int course;
    int displayFlg;
    // enabled and stored value: progress, timer, remainder, enlarge, graph,
    // error feedback, final feedback
    bool enabled[7];
    int stored[7];
    bool targetsOpen;
};

void PrintTo(const CourseRule& r, std::ostream* os) {
    *os << "course " << r.course << " display_flg " << r.displayFlg;
}

class CourseRules : public ConditionsScreen, public ::testing::WithParamInterface<CourseRule> {};

TEST_P(CourseRules, EachControlFollowsTheCourseAndStoresZeroWhenClosed) {
    const CourseRule& rule = GetParam();
    auto dlg = open(rule.course, rule.displayFlg);
    const char* names[7] = {"progressCheck", "timerCheck", "remainderCheck", "enlargeCheck",
                            "graphCheck", "errorFeedbackCheck", "finalFeedbackCheck"};
    for (int i = 0; i < 7; ++i) {
        QCheckBox* c = box(dlg.get(), names[i]);
        EXPECT_EQ(c->isEnabled(), rule.enabled[i]) << names[i];
        EXPECT_EQ(c->isChecked(), rule.stored[i] == 1) << names[i];
    }
    for (int code = 1; code <= 4; ++code)
        EXPECT_TRUE(Child<QRadioButton>(dlg.get(), QStringLiteral("endTime%1").arg(code).toLatin1())->isEnabled());
    EXPECT_TRUE(Child<QRadioButton>(dlg.get(), "endTime4")->isChecked());
    for (const char* name : {"workField", "workLabel", "workUnit", "correctField", "correctLabel", "correctUnit"})
        EXPECT_EQ(Child<QWidget>(dlg.get(), name)->isEnabled(), rule.targetsOpen) << name;
    EXPECT_EQ(field(dlg.get(), "workField")->fieldText(), rule.targetsOpen ? "5" : "");
    EXPECT_EQ(field(dlg.get(), "correctField")->fieldText(), rule.targetsOpen ? "3" : "");

    Click(dlg.get(), "nextButton");
    ASSERT_EQ(dlg->result(), QDialog::Accepted) << messages().join('|').toStdString();
    EXPECT_EQ(env.end_time, 4);
    const int stored[7] = {env.progress_flg, env.timer_flg, env.remainder_flg, env.enlarge_flg,
                           env.graph_flg, env.error_feedback_flg, env.final_feedback_flg};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(stored[i], rule.stored[i]) << names[i];
    EXPECT_EQ(env.target_value, rule.targetsOpen ? 5 : 0);
    EXPECT_EQ(env.target_value2, rule.targetsOpen ? 3 : 0);
    EXPECT_EQ(env.result_code, 3);
    EXPECT_EQ(env.color_code, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Courses, CourseRules,
    ::testing::Values(
        // 実力テスト: only the time limit can be chosen.
        CourseRule{1, 1, {false, false, false, false, false, false, false}, {0, 0, 0, 0, 0, 0, 0}, false},
        // 基礎トレーニング: progress, enlargement when the image is on screen, error-check feedback.
        CourseRule{2, 1, {true, false, false, true, false, true, false}, {1, 0, 0, 1, 0, 1, 0}, false},
        CourseRule{2, 0, {true, false, false, false, false, true, false}, {1, 0, 0, 0, 0, 1, 0}, false},
        // レベルアップトレーニング: everything but the error-check feedback.
        CourseRule{3, 1, {true, true, true, true, true, false, true}, {1, 1, 1, 1, 1, 0, 1}, true},
        CourseRule{3, 0, {true, true, true, false, true, false, true}, {1, 1, 1, 0, 1, 0, 1}, true}));

TEST_F(ConditionsScreen, TargetFieldAcceptsOnlyPlainNumbersWithinTheDeck) {
    const QString outOfRange =
        QStringLiteral("作業枚数の入力に誤りがあります。\n1 ～ 40 までの範囲で入力してください。");
    struct Case {
        QString typed;
        bool accepted;
    };
    const Case cases[] = {
        {QStringLiteral("1"), true},        {QStringLiteral("40"), true},
        {QStringLiteral(" 12 "), true},     {QStringLiteral("0"), false},
        {QStringLiteral("41"), false},      {QStringLiteral("１２"), false},
        {QStringLiteral("+5"), false},      {QStringLiteral("12 枚"), false},
        {QStringLiteral("-3"), false},      {QStringLiteral("99999999999"), false},
    };
    for (const Case& c : cases) {
        folder.notifier.entries.clear();
        auto dlg = open(3, 0);
        type(field(dlg.get(), "workField"), c.typed);
        type(field(dlg.get(), "correctField"), QStringLiteral("1"));
        Click(dlg.get(), "nextButton");
        if (c.accepted) {
            EXPECT_EQ(dlg->result(), QDialog::Accepted) << c.typed.toStdString();
            EXPECT_TRUE(messages().isEmpty()) << c.typed.toStdString();
            EXPECT_EQ(env.target_value, c.typed.trimmed().toInt());
        } else {
            EXPECT_TRUE(dlg->isVisible()) << c.typed.toStdString();
            ASSERT_EQ(messages().size(), 1) << c.typed.toStdString();
            EXPECT_EQ(messages().first(), outOfRange);
            EXPECT_EQ(folder.notifier.entries.first().icon, MsgIcon::Exclamation);
            EXPECT_TRUE(field(dlg.get(), "workField")->hasFocus());
        }
    }
}

TEST_F(ConditionsScreen, EmptyTargetsAreAskedForInOrder) {
    auto dlg = open(3, 0);
    type(field(dlg.get(), "workField"), QStringLiteral("  "));
    type(field(dlg.get(), "correctField"), QString());
    Click(dlg.get(), "nextButton");
    ASSERT_EQ(messages(), QStringList{QStringLiteral("作業枚数を入力してください。")});
    EXPECT_TRUE(field(dlg.get(), "workField")->hasFocus());

    folder.notifier.entries.clear();
    type(field(dlg.get(), "workField"), QStringLiteral("8"));
    Click(dlg.get(), "nextButton");
    ASSERT_EQ(messages(), QStringList{QStringLiteral("正しい枚数を入力してください。")});
    EXPECT_TRUE(field(dlg.get(), "correctField")->hasFocus());
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(ConditionsScreen, CorrectCountMayEqualButNotExceedTheWorkCount) {
    auto dlg = open(3, 0);
    type(field(dlg.get(), "workField"), QStringLiteral("10"));
    type(field(dlg.get(), "correctField"), QStringLiteral("11"));
    Click(dlg.get(), "nextButton");
    ASSERT_EQ(messages(), QStringList{QStringLiteral(
                              "目標枚数の入力に誤りがあります。正しい枚数は作業枚数以下の枚数を入力してください。")});
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(field(dlg.get(), "correctField")->hasFocus());
    EXPECT_EQ(env.target_value, 5) << "nothing is stored while the screen refuses";

    folder.notifier.entries.clear();
    type(field(dlg.get(), "correctField"), QStringLiteral("10"));
    Click(dlg.get(), "nextButton");
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(env.target_value, 10);
    EXPECT_EQ(env.target_value2, 10);
}

TEST_F(ConditionsScreen, SpinArrowsStepWithinTheDeck) {
    auto dlg = open(3, 0, 12);
    CNumberSpinField* work = field(dlg.get(), "workField");
    EXPECT_EQ(work->low(), 1);
    EXPECT_EQ(work->high(), 12);
    type(work, QStringLiteral("11"));
    work->stepBy(1);
    EXPECT_EQ(work->fieldText(), "12");
    work->stepBy(1);
    EXPECT_EQ(work->fieldText(), "12");
    type(work, QStringLiteral("abc"));
    work->stepBy(1);
    EXPECT_EQ(work->fieldText(), "1") << "a field without a number starts from the bottom";
}

TEST_F(ConditionsScreen, FeedbackRuleOpensMethodAndColourStepByStep) {
    auto dlg = open(2, 0);
    QCheckBox* errorFeedback = box(dlg.get(), "errorFeedbackCheck");
    auto method = [&](const char* n) { return Child<QRadioButton>(dlg.get(), n); };
    auto colourOpen = [&] {
        bool all = true, none = true;
        for (int code = 1; code <= 6; ++code) {
            const bool e = Child<QRadioButton>(dlg.get(), QStringLiteral("colour%1").arg(code).toLatin1())->isEnabled();
            all = all && e;
            none = none && !e;
        }
        EXPECT_TRUE(all || none) << "the colour choices open and close together";
        EXPECT_EQ(Child<QLabel>(dlg.get(), "colourLabel")->isEnabled(), all);
        return all;
    };
    auto swatch = [&](int code) {
        return Child<CColourSwatch>(dlg.get(), QStringLiteral("swatch%1").arg(code).toLatin1())->colour();
    };

    QTest::mouseClick(errorFeedback, Qt::LeftButton);
    ASSERT_FALSE(errorFeedback->isChecked());
    EXPECT_FALSE(method("methodSound")->isEnabled());
    EXPECT_FALSE(Child<QLabel>(dlg.get(), "methodLabel")->isEnabled());
    EXPECT_FALSE(colourOpen());
    EXPECT_EQ(swatch(2), dlg->palette().color(QPalette::Button));

    QTest::mouseClick(errorFeedback, Qt::LeftButton);
    QTest::mouseClick(method("methodSound"), Qt::LeftButton);
    EXPECT_TRUE(method("methodSound")->isEnabled());
    EXPECT_FALSE(colourOpen());

    QTest::mouseClick(method("methodColour"), Qt::LeftButton);
    EXPECT_TRUE(colourOpen());
    const QColor expected[6] = {QColor(0, 0, 0),     QColor(255, 0, 0),   QColor(0, 0, 255),
                                QColor(0, 255, 0),   QColor(255, 255, 0), QColor(255, 128, 0)};
    for (int code = 1; code <= 6; ++code)
        EXPECT_EQ(swatch(code), expected[code - 1]) << code;

    QTest::mouseClick(method("methodFigure"), Qt::LeftButton);
    EXPECT_TRUE(colourOpen());
}

TEST_F(ConditionsScreen, CancelLeavesTheEnvironmentAlone) {
    auto dlg = open(3, 1);
    type(field(dlg.get(), "workField"), QStringLiteral("30"));
    box(dlg.get(), "timerCheck")->setChecked(false);
    Click(dlg.get(), "cancelButton");
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(env.target_value, 5);
    EXPECT_EQ(env.timer_flg, 1);
}

TEST_F(ConditionsScreen, EscapeCancelsAndEnterGoesNext) {
    auto dlg = open(1, 0);
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_FALSE(dlg->isVisible());

    auto again = open(1, 0);
    Child<QRadioButton>(again.get(), "endTime1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(again->result(), QDialog::Accepted);
    EXPECT_EQ(env.end_time, 4);
}

} // namespace
