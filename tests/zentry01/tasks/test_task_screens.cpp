// What the three task screens share: a layout that keeps every control whole
// and apart in every placement, course and progress setting, and item
// shortcuts that only move the focus.
#include "TaskScreenFixture.h"

#include "DenpyoDlg.h"
#include "IKCRitchEditCtrl.h"
#include "KCStaticShintyoku.h"
#include "TaskScreens.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QMessageBox>
#include <QPointer>
#include <QFileInfo>
#include <QTextDocument>

#include <map>
#include <vector>

using namespace taskscreens;

namespace {

class AnyTaskScreen : public TaskScreenTest {
protected:
    std::unique_ptr<CDenpyoDlg> open(int task, bool activate = true) {
        std::unique_ptr<CDenpyoDlg> dlg = TaskScreens::Create(task, kaiseki);
        EXPECT_TRUE(dlg->OpenTrial());
        dlg->show();
        if (activate) {
            dlg->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        }
        return dlg;
    }
    // Every answer the screen holds: texts with their marks, lists, choices.
    static QStringList answers(QWidget* dlg) {
        QStringList out;
        for (auto* f : dlg->findChildren<CIKCRitchEditCtrl*>())
            out << f->Text() + '|' + f->ReadMarks();
        for (auto* c : dlg->findChildren<QComboBox*>())
            out << QString::number(c->currentIndex());
        for (auto* b : dlg->findChildren<QAbstractButton*>())
            if (b->isCheckable())
                out << b->objectName() + (b->isChecked() ? "=1" : "=0");
        return out;
    }
};

// ---------------------------------------------------------------- layout

struct Placement {
    const char* name;
    const char* ini;
    bool enlarged;
};
const Placement kPlacements[] = {
    {"paper", "display_flg=0\n", false},
    {"imageLeft", "display_flg=1\ndisplay_position=1\n", false},
    {"imageRight", "display_flg=1\ndisplay_position=2\n", false},
    {"enlargedLeft", "display_flg=1\ndisplay_position=1\n", true},
    {"enlargedRight", "display_flg=1\ndisplay_position=2\n", true},
};

struct LayoutCase {
    int task;
    Placement placement;
};
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << "task" << c.task << '_' << c.placement.name; }

const std::map<int, std::vector<std::pair<const char*, QString>>> kLongestValues = {
    {1,
     {{"furigana", "スギヤマ　マサユキ"},
      {"address", "福井県三方上中郡若狭町杉山３－１１－１"},
      {"mailAddress", "t.hattori@hikari.example.ne.jp"}}},
    {2, {{"productCode", "FKL-05436-40"}, {"mailAddress", "mariko_yoshida@mail.example.jp"}}},
    {3, {{"mailAddress", "chiba.kaito@post.example.co.jp"}}},
};

class TaskLayout : public AnyTaskScreen, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(TaskLayout, EveryVisibleControlIsWholeAndApartInEveryCourseAndProgressSetting) {
    const LayoutCase c = GetParam();
    for (int course : {1, 2, 3}) {
        for (bool progress : {false, true}) {
            SCOPED_TRACE(QStringLiteral("course %1, progress and timer %2").arg(course).arg(progress ? "on" : "off").toStdString());
            prepareTrial(c.task, course, QString::fromLatin1(c.placement.ini));
            env().SetTraineeConditions(1, progress, progress, progress, 20, 10, 1, 1, 1, 2, 1, c.placement.enlarged);
            auto dlg = open(c.task, false);
            // Ctrl+T shows the dial in the courses that have one.
            auto* dial = dlg->findChild<QWidget*>(QStringLiteral("countTimer"));
            if (course != 2 && !dial->isVisible())
                QTest::keyClick(dlg->findChild<CIKCRitchEditCtrl*>(), Qt::Key_T, Qt::ControlModifier);
            EXPECT_EQ(dial->isVisible(), course != 2);

            // The progress text inside the box's frame, below its title, every line whole.
            auto* box = dlg->findChild<QGroupBox*>(QStringLiteral("progressBox"));
            auto* text = dlg->findChild<CKCStaticShintyoku*>(QStringLiteral("progressText"));
            if (box->isVisible()) {
                EXPECT_TRUE(box->contentsRect().contains(text->geometry()));
                const QRect needed = QFontMetrics(text->font()).boundingRect(
                    text->rect(), Qt::AlignLeft | Qt::AlignTop, text->GetText());
                EXPECT_LE(needed.height(), text->height()) << text->GetText().toStdString();
                EXPECT_LE(needed.width(), text->width()) << text->GetText().toStdString();
            }

            // The longest values of the bundled cards show whole in their fields.
            for (const auto& [name, value] : kLongestValues.at(c.task)) {
                auto* field = dlg->findChild<CIKCRitchEditCtrl*>(QString::fromLatin1(name));
                field->SetText(value);
                EXPECT_LE(field->document()->size().width(), field->viewport()->width()) << name;
            }

            // The screen's own controls; those inside a group box belong to it.
            QList<QWidget*> shown;
            for (QWidget* w : dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (w->isVisible() && !w->isWindow())
                    shown << w;
            for (int i = 0; i < shown.size(); ++i) {
                const QString a = shown[i]->objectName() + '(' + shown[i]->metaObject()->className() + ')';
                EXPECT_TRUE(dlg->rect().contains(shown[i]->geometry())) << a.toStdString();
                for (int j = i + 1; j < shown.size(); ++j)
                    EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                        << a.toStdString() << " and " << shown[j]->objectName().toStdString();
            }
        }
    }
}

std::vector<LayoutCase> layoutCases() {
    std::vector<LayoutCase> cases;
    for (int task : {1, 2, 3})
        for (const Placement& p : kPlacements)
            cases.push_back({task, p});
    return cases;
}
INSTANTIATE_TEST_SUITE_P(TasksAndPlacements, TaskLayout, ::testing::ValuesIn(layoutCases()),
                         ::testing::PrintToStringParamName());

// ---------------------------------------------------------------- an empty deck

TEST_F(AnyTaskScreen, ADeckWithoutCardsOpensNoTrial) {
    folder.writeIni(QStringLiteral("[Settings]\n"));
    env().user_code = kUser;
    env().problem_code = 2;
    env().course_code = 1;
    app->CreateDeck(2, 1);
    deck().Clear();
    QWidget menu;
    menu.show();
    CDenpyoDlg dlg(kaiseki, &menu);
    // A screen opened without a card cannot be closed by the trainee: ended
    // here so that the test fails instead of hanging.
    QTimer::singleShot(5000, &dlg, [&dlg] { dlg.done(QDialog::Accepted); });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_EQ(folder.notifier.texts(), QStringList{TaskScreens::NoCardsText()});
    EXPECT_FALSE(history(1, QStringLiteral("AutoNumber")).isValid()) << "no history row";
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("解析結果"))));
    EXPECT_TRUE(menu.isVisible());
}

// ---------------------------------------------------------------- closing

// Messages shown as real modal boxes, as the program shows them.
class ModalMessages : public RecordingNotifier {
public:
    void message(const QString& text, MsgIcon icon) override {
        RecordingNotifier::message(text, icon);
        QMessageBox box(QMessageBox::Warning, QString(), text);
        box.exec();
    }
};

struct NestedWindow {
    const char* name;
    int task, course;
    const char* typedZip;  // typed before the window opens (postal search)
    const char* button;    // opens the window
    bool modalMessages;    // messages as real boxes
};
void PrintTo(const NestedWindow& n, std::ostream* os) { *os << n.name; }

class TimeUpUnderAWindow : public AnyTaskScreen, public ::testing::WithParamInterface<NestedWindow> {};

TEST_P(TimeUpUnderAWindow, ClosesItFirstAndEndsTheTrialForGood) {
    const NestedWindow n = GetParam();
    prepareTrial(n.task, n.course);
    env().end_time = 1;
    ModalMessages boxes;
    INotifier* previous = n.modalMessages ? setNotifier(&boxes) : nullptr;
    auto dlg = open(n.task);
    if (*n.typedZip)
        QTest::keyClicks(dlg->findChild<QWidget*>(QStringLiteral("zipCode")), QString::fromLatin1(n.typedZip));

    // The limit falls while the window is up; should it stay, it is closed
    // after a while so that the test ends.
    QPointer<QWidget> nested;
    bool opened = false, leftOpen = false;
    QTimer watch;
    QElapsedTimer since;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!opened && modal && modal != dlg.get()) {
            opened = true;
            nested = modal;
            since.start();
            clock.advance(15 * 60);
        } else if (nested && nested->isVisible() && since.elapsed() > 3000) {
            leftOpen = true;
            nested->close();
            if (auto* d = qobject_cast<QDialog*>(nested.data()))
                d->reject();
        }
    });
    watch.start(10);
    QTest::mouseClick(dlg->findChild<QPushButton*>(QString::fromLatin1(n.button)), Qt::LeftButton);
    QTest::qWait(300);
    watch.stop();
    if (previous)
        setNotifier(previous);

    EXPECT_TRUE(opened) << "the window opened";
    EXPECT_FALSE(leftOpen) << "the window stayed open after the time was up";
    EXPECT_EQ(dlg->result(), CDenpyoDlg::kTrialClosed);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QString()) << "ended by the time limit";
    EXPECT_EQ(history(1, QStringLiteral("last_update")).toString(), QStringLiteral("2026-04-01 09:45:00"));
}

INSTANTIATE_TEST_SUITE_P(Windows, TimeUpUnderAWindow,
                         ::testing::Values(NestedWindow{"CheckFeedback", 2, 2, "", "check", false},
                                           NestedWindow{"PostalList", 1, 1, "1234567", "zipSearch", false},
                                           NestedWindow{"Message", 1, 1, "9999999", "zipSearch", true}),
                         ::testing::PrintToStringParamName());

// Presses 中止 (answering yes) while the first message of the closing is up.
class AbortDuringMessage : public RecordingNotifier {
public:
    void message(const QString& text, MsgIcon icon) override {
        RecordingNotifier::message(text, icon);
        if (std::exchange(abort, nullptr)) {
            answers << true;
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }
    QPushButton* button = nullptr;
    QPushButton* abort = nullptr;
};

TEST_F(AnyTaskScreen, ASecondCloseDuringTheFirstWritesNothingTwice) {
    prepareTrial(2, 1);
    // The analysis-result file lands on a full disk: its write fails with a message.
    QDir().mkpath(folder.file(QStringLiteral("解析結果/7")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"),
                            folder.file(QStringLiteral("解析結果/7/20260401_093000_解析結果_顧客伝票_山田_太郎.csv"))));
    // Counts the writes of the program's own connection.
    QSqlQuery q(app->UserDb().database());
    ASSERT_TRUE(q.exec(QStringLiteral("create temp table writes (t text)")));
    for (const char* table : {"History_tbl", "User_tbl"})
        ASSERT_TRUE(q.exec(QStringLiteral("create temp trigger count_%1 after update on %1 begin "
                                          "insert into writes values ('%1'); end")
                               .arg(QLatin1String(table))));
    AbortDuringMessage notifier;
    INotifier* previous = setNotifier(&notifier);
    auto dlg = open(2);
    notifier.button = notifier.abort = dlg->findChild<QPushButton*>(QStringLiteral("abort"));
    notifier.answers = {true};
    QTest::mouseClick(notifier.button, Qt::LeftButton);
    setNotifier(previous);

    EXPECT_EQ(dlg->result(), CDenpyoDlg::kTrialClosed);
    ASSERT_GE(notifier.entries.size(), 2);
    EXPECT_TRUE(notifier.entries[1].text.contains(QStringLiteral("解析結果ファイル"))) << notifier.entries[1].text.toStdString();
    EXPECT_EQ(notifier.entries.size(), 2) << "the second 中止 asks nothing";
    ASSERT_TRUE(q.exec(QStringLiteral("select t, count(*) from writes group by t order by t")));
    QStringList writes;
    while (q.next())
        writes << q.value(0).toString() + '=' + q.value(1).toString();
    EXPECT_EQ(writes, (QStringList{"History_tbl=1", "User_tbl=1"}));
}

// ---------------------------------------------------------------- keys

struct ItemKeys {
    int task;
    QStringList focusOrder; // where Alt+1, Alt+2, ... put the focus
};
void PrintTo(const ItemKeys& k, std::ostream* os) { *os << "task" << k.task; }

class AltItemKeys : public AnyTaskScreen, public ::testing::WithParamInterface<ItemKeys> {};

TEST_P(AltItemKeys, MoveToTheItemAndChangeNoAnswer) {
    const ItemKeys k = GetParam();
    prepareTrial(k.task, 1);
    auto dlg = open(k.task);
    const QStringList before = answers(dlg.get());
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < k.focusOrder.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(Qt::Key_1 + i), Qt::AltModifier);
            QTest::qWait(20); // a clicked button would change its state a moment later
            ASSERT_TRUE(QApplication::focusWidget());
            EXPECT_EQ(QApplication::focusWidget()->objectName(), k.focusOrder[i]) << "Alt+" << i + 1;
            EXPECT_EQ(answers(dlg.get()), before) << "Alt+" << i + 1;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, AltItemKeys,
    ::testing::Values(ItemKeys{1, {"furigana", "name", "zipCode", "address", "telephone", "mailAddress", "question1",
                                   "question2_0", "question3_1"}},
                      ItemKeys{2, {"customerCode", "productCode", "telephone", "mailAddress"}},
                      ItemKeys{3, {"customerCode", "productCode", "telephone", "mailAddress"}}),
    ::testing::PrintToStringParamName());

} // namespace
