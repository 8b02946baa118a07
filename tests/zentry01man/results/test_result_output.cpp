// The result output screens: the basic screen's three lists, the error list,
// the graph and its printout, the per-card list and the card comparison.
#include "FileDialogs.h"
#include "ICListCtrl.h"
#include "ICTabCtrl.h"
#include "IKCRitchEditCtrl.h"
#include "KCGraph.h"
#include "NumberSpinField.h"
#include "OutDetailDlg.h"
#include "OutDetailList.h"
#include "OutGraphDlg.h"
#include "OutListBase.h"
#include "OutMainDlg.h"
#include "OutMainList.h"
#include "OutResultList.h"
#include "PrintDialogs.h"
#include "ResultDetailDlg.h"
#include "ResultOutputFixture.h"
#include "ScreenFit.h"

#include <QComboBox>
#include <QHeaderView>
#include <QGroupBox>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>

using namespace utility;

namespace {
const QString kMissing = QStringLiteral("Error. 入力値ファイルが見つかりません.");

QStringList row(const COutListBase* list, int r) {
    QStringList out;
    for (int c = 0; c < list->ColumnCount(); ++c)
        out << list->Text(r, c);
    return out;
}

// The list's column is wide enough to show the text of its first row whole.
bool showsWhole(const COutReportView* list, int column) {
    return list->header()->sectionSize(column) >= list->fontMetrics().horizontalAdvance(list->Text(0, column));
}

class ResultOutput : public ResultOutputTest {
protected:
    // The trials of user 1 chosen on the history list, numbered 1, 2, ...
    COutSelection chosen(const QList<TrialRow>& trials, int trialTime = 2, int courseGroup = 1) {
        COutSelection s;
        s.userCode = 1;
        s.filter = {trials.first().task, trialTime, courseGroup, 1};
        for (const TrialRow& t : trials) {
            addTrial(t);
            s.autoNumbers.Add(t.id);
            s.positions.Add(s.positions.GetSize() + 1);
        }
        return s;
    }
};

TEST_F(ResultOutput, BasicScreenSumsUpEachTrialAndMarksTheExtremes) {
    // Trials 1 and 2 tie on the work count; trial 3 has lost its file.
    COutMainDlg dlg(app->UserDb(), app->MasterDb(),
                    chosen({{.id = 1, .cards = 4}, {.id = 2, .cards = 4, .wrong = {0, 2}}, {.id = 3, .withFile = false}}));
    const COutListBase* sums = dlg.List(0);
    ASSERT_EQ(sums->RowCount(), 3);
    EXPECT_EQ(sums->ColumnCount(), 20);
    EXPECT_EQ(row(sums, 0), (QStringList{"1回目", "テスト", "2026/05/01 10:00:00", "全体", "4枚", "4枚", "0枚", "100.0%",
                                         "16", "16", "0", "100.0%", "○", "○", "○", "", "○", "○", "○", ""}));
    EXPECT_EQ(row(sums, 1).mid(4), (QStringList{"4枚", "2枚", "2枚", "50.0%", "16", "14", "2", "87.5%", "○", "", "○",
                                                "○", "○", "", "○", "○"}));
    EXPECT_EQ(row(sums, 2).mid(3, 3), (QStringList{"全体", kMissing, kMissing}));
    EXPECT_EQ(row(sums, 2).mid(12), QStringList(8, QString())) << "no markers without a file";
    EXPECT_EQ(row(dlg.List(1), 1).mid(3), (QStringList{"2枚", "0枚", "0枚", "0枚"}));
    EXPECT_TRUE(showsWhole(sums, 2));
    EXPECT_EQ(row(dlg.List(2), 2).mid(3, 1), QStringList{kMissing});
    // The reason runs once across the values of the row, after the leading columns.
    EXPECT_EQ((QList<int>{sums->MessageColumn(0), sums->MessageColumn(2), dlg.List(2)->MessageColumn(2)}),
              (QList<int>{-1, 4, 3}));
    EXPECT_EQ(dlg.Tabs()->count(), 3);
    EXPECT_EQ(Child<QLabel>(&dlg, "titleLine")->text(), "顧客伝票修正  30分  実力テスト/レベルアップトレーニング");
    EXPECT_EQ(Child<QLabel>(&dlg, "countLabel")->text(), "3 件");
}

TEST_F(ResultOutput, BasicScreenOfConvertedValuesAndOfTheBasicCourse) {
    COutMainDlg converted(app->UserDb(), app->MasterDb(), chosen({{.id = 1, .endTime = 3, .cards = 3}}, 5));
    EXPECT_EQ(converted.Tabs()->count(), 1);
    EXPECT_FALSE(Child<QPushButton>(&converted, "errorsButton")->isVisibleTo(&converted));
    EXPECT_FALSE(Child<QComboBox>(&converted, "bandList")->isEnabled());
    // 45 minutes: 3 cards count as 3.99 an hour.
    EXPECT_EQ(row(converted.List(0), 0).mid(4, 2), (QStringList{"3枚", "3枚"}));

    COutMainDlg basic(app->UserDb(), app->MasterDb(), chosen({{.id = 2, .course = 2}}, 2, 2));
    EXPECT_EQ(basic.List(0)->ColumnCount(), 12) << "no marker columns";
    EXPECT_EQ(basic.Tabs()->count(), 3);
}

TEST_F(ResultOutput, ErrorListFiltersSavesAndComparesACard) {
    // Task 3: the first item of cards 1 and 3 left unmarked where the voucher is wrong.
    COutDetailDlg dlg(app->UserDb(), app->MasterDb(),
                      chosen({{.id = 1, .task = 3, .cards = 4, .wrong = {0, 2}}, {.id = 2, .task = 3, .withFile = false}}),
                      0);
    COutDetailList* list = dlg.List();
    auto entries = [&](const char* name) {
        QList<int> data;
        auto* box = Child<QComboBox>(&dlg, name);
        for (int i = 0; i < box->count(); ++i)
            data << box->itemData(i).toInt();
        return data;
    };
    EXPECT_EQ(entries("kindList"), (QList<int>{0, 2, 3}));
    EXPECT_EQ(entries("itemList"), (QList<int>{0, 21, 22, 23, 24}));
    EXPECT_EQ(entries("classList"), (QList<int>{0, 1, 2, 3, 4, 5, 6}));
    const int all = list->RowCount();
    ASSERT_GT(all, 2);
    EXPECT_EQ(list->Text(all - 1, 3), kMissing);
    EXPECT_EQ((QList<int>{list->MessageColumn(0), list->MessageColumn(all - 1)}), (QList<int>{-1, 3}));
    EXPECT_TRUE(showsWhole(list, 1));
    for (int r = 0; r < all - 1; ++r) {
        EXPECT_EQ(list->Text(r, 4), "顧客コード");
        EXPECT_TRUE(list->Text(r, 3) == "0001" || list->Text(r, 3) == "0003");
    }
    auto* kinds = Child<QComboBox>(&dlg, "kindList");
    kinds->setCurrentIndex(1);
    emit kinds->activated(1);
    const int overlooked = list->RowCount();
    kinds->setCurrentIndex(2);
    emit kinds->activated(2);
    EXPECT_EQ(overlooked + list->RowCount() - 1, all) << "見落とし and 過剰チェック, each with the trial row";
    EXPECT_EQ(Child<QLabel>(&dlg, "countLabel")->text(), QStringLiteral("%1 件").arg(list->RowCount()));

    FileDialogs::clearNextFileNames();
    FileDialogs::setNextFileName(folder.file("errors.csv"));
    Click(&dlg, "saveButton");
    QFile saved(folder.file("errors.csv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith(cp932::encode("試行回,実施日,経過時間,NO,項目名,エラー種類,文字種,正解文字,誤り文字\r\n")));

    list->clearSelection();
    Click(&dlg, "compareButton");
    EXPECT_EQ(messages(), QStringList{"リスト行を選択してください。"});
    ModalScript script;
    QString title, shown;
    script.on<CResultDetailDlg>([&](CResultDetailDlg* detail) {
        title = detail->windowTitle();
        shown = detail->Items().at(0).after->ReadMarks();
        Click(detail, "okButton");
    });
    kinds->setCurrentIndex(0);
    emit kinds->activated(0);
    list->setCurrentIndex(list->model()->index(0, 0));
    Click(&dlg, "compareButton");
    ASSERT_TRUE(script.done());
    EXPECT_EQ(title, "解析結果の出力 [解答入力値参照]");
    EXPECT_TRUE(shown.contains('C')) << "the trainee's marks of the card";
}

TEST_F(ResultOutput, GraphCoursesAndAPrintedPage) {
    COutGraphDlg dlg(app->UserDb(), app->MasterDb(), chosen({{.id = 1}, {.id = 2, .course = 3}}), 0);
    auto* courses = Child<QComboBox>(&dlg, "courseList");
    EXPECT_EQ(courses->count(), 3);
    EXPECT_EQ(courses->itemText(0), "実力テスト/レベルアップトレーニング");
    EXPECT_EQ(dlg.Analysis().GetSize(), 2);
    courses->setCurrentIndex(2);
    emit courses->activated(2);
    ASSERT_EQ(dlg.Analysis().GetSize(), 1);
    EXPECT_EQ(dlg.Analysis().GetAt(0)->m_AutoNumber, 2);

    const QString pdf = folder.file("graph.pdf");
    PrintDialogs::setNextAnswer(pdf);
    Click(&dlg, "printButton");
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // One landscape page.
    const QString pdfText = QString::fromLatin1(file.readAll());
    const QRegularExpression mediaBox(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    QRegularExpressionMatchIterator pages = mediaBox.globalMatch(pdfText);
    ASSERT_TRUE(pages.hasNext());
    const QRegularExpressionMatch page = pages.next();
    EXPECT_GT(page.captured(1).toDouble(), page.captured(2).toDouble());
    EXPECT_FALSE(pages.hasNext());

    COutGraphDlg basic(app->UserDb(), app->MasterDb(), chosen({{.id = 3, .course = 2}}, 2, 2), 0);
    auto* basicCourses = Child<QComboBox>(&basic, "courseList");
    EXPECT_EQ(basicCourses->count(), 1);
    EXPECT_FALSE(basicCourses->isEnabled());
}

TEST_F(ResultOutput, CardListSelectsByCountAndComparesACard) {
    COutResultList dlg(app->UserDb(), app->MasterDb(), chosen({{.id = 1, .task = 1, .course = 2, .wrong = {1}}}));
    CICListCtrl* list = dlg.List();
    ASSERT_EQ(list->ItemCount(), 5);
    EXPECT_EQ(list->headerItem()->text(list->columnCount() - 1), "チェック回数");
    EXPECT_EQ(list->ItemText(1, 2), "×");
    EXPECT_EQ(list->ItemText(1, 11), "2分0秒");
    auto* count = Child<CNumberSpinField>(&dlg, "countField");
    for (const char* typed : {"0", "6", "3"}) {
        count->setFieldText(typed);
        Click(&dlg, "selectButton");
    }
    EXPECT_EQ(messages(), QStringList(2, "作業枚数の範囲で選択してください。"));
    EXPECT_EQ(list->SingleSelection(), 2);

    ModalScript script;
    QStringList boxes;
    script.on<CResultDetailDlg>([&](CResultDetailDlg* detail) {
        const CResultDetailDlg::ItemBoxes& first = detail->Items().at(0);
        boxes << first.title << first.correct->Text() << first.after->ReadMarks();
        EXPECT_EQ(first.before, nullptr) << "no 入力前 for questionnaire cards";
        Click(detail, "okButton");
    });
    list->SelectRow(1);
    Click(&dlg, "compareButton");
    ASSERT_TRUE(script.done());
    ASSERT_EQ(boxes.size(), 3);
    EXPECT_EQ(boxes[0], "フリガナ");
    EXPECT_TRUE(boxes[2].endsWith('C')) << "the typed extra character is marked";
}

struct ComparisonCase {
    int task;
    QSize available;
    bool allGroups; // room for every group
};
void PrintTo(const ComparisonCase& c, std::ostream* os) {
    *os << "task " << c.task << " on " << c.available.width() << "x" << c.available.height();
}

class AnswerComparison : public ResultOutput, public ::testing::WithParamInterface<ComparisonCase> {
protected:
    void TearDown() override {
        ScreenFit::SetDisplay(ScreenFit::Display{QRect(0, 0, 1920, 1040), 0, 0, {}});
        ResultOutput::TearDown();
    }
};

// The comparison opens showing every group whole where the screen has the
// room, scrolls where it has not, stays on the screen, and its groups keep
// clear of the scroll bar.
TEST_P(AnswerComparison, ShowsEveryGroupWhereTheScreenAllowsAndKeepsOffTheScrollBar) {
    const ComparisonCase& c = GetParam();
    const QMargins frame(4, 30, 4, 4);
    const QRect area(QPoint(0, 24), c.available);
    ScreenFit::SetDisplay(ScreenFit::Display{area, 1, 1, frame});
    const TrialRow trial{.id = 2, .task = c.task};
    addTrial(trial);
    std::unique_ptr<CArrBase> deck = MakeDeckForTask(c.task);
    deck->Load(app->MasterDb(), 1);
    deck->RestoreFromInputFile(inputFile(trial));
    CResultDetailDlg dlg(*deck, 0, c.task, CResultDetailDlg::Utility, nullptr);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_TRUE(area.contains(dlg.geometry().marginsAdded(frame)));
    auto* scroll = dlg.findChild<QScrollArea*>();
    ASSERT_TRUE(scroll);
    QScrollBar* bar = scroll->verticalScrollBar();
    EXPECT_EQ(bar->isVisible(), !c.allGroups);
    const QList<QGroupBox*> groups = scroll->widget()->findChildren<QGroupBox*>();
    ASSERT_FALSE(groups.isEmpty());
    for (QGroupBox* group : groups) {
        const QRect inViewport(group->mapTo(scroll->viewport(), QPoint(0, 0)), group->size());
        if (c.allGroups) {
            EXPECT_TRUE(scroll->viewport()->rect().contains(inViewport)) << group->title().toStdString();
        } else {
            const int barLeft = bar->mapTo(&dlg, QPoint(0, 0)).x();
            EXPECT_GE(barLeft - (group->mapTo(&dlg, QPoint(0, 0)).x() + group->width()), 4)
                << group->title().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Displays, AnswerComparison,
                         ::testing::Values(ComparisonCase{2, QSize(1280, 984), true},
                                           ComparisonCase{2, QSize(1366, 728), true},
                                           ComparisonCase{1, QSize(1366, 728), true},
                                           ComparisonCase{2, QSize(800, 480), false}));
} // namespace
