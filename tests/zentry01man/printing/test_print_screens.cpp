// Printing of cards and vouchers: the printing screen's enabling rules and
// range checks, printing to PDF (pages, page sizes, progress, cancel, a
// document that cannot start) and the handwritten forms sent to lp or xdg-open.
#include "HandwrittenForms.h"
#include "NumberSpinField.h"
#include "PrintDialogs.h"
#include "PrintDlg.h"
#include "PrintingDlg.h"
#include "ProgramFolder.h"
#include "UtilityFixture.h"

#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace utility;

namespace {

struct Pdf {
    int pages = 0;
    QStringList mediaBoxes; // "W H" in points, one per page
};
Pdf readPdf(const QString& path) {
    QFile f(path);
    Pdf pdf;
    if (!f.open(QIODevice::ReadOnly))
        return pdf;
    const QString text = QString::fromLatin1(f.readAll());
    pdf.pages = text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
    auto it = QRegularExpression(QStringLiteral("/MediaBox\\s*\\[\\s*0 0 ([\\d.]+) ([\\d.]+)")).globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        pdf.mediaBoxes << QString::number(qRound(m.captured(1).toDouble())) + ' ' +
                              QString::number(qRound(m.captured(2).toDouble()));
    }
    return pdf;
}

class PrintScreen : public UtilityTest {
protected:
    void SetUp() override {
        UtilityTest::SetUp();
        PrintDialogs::clearNextAnswers();
        screen = std::make_unique<CPrintDlg>();
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
        start = Child<CNumberSpinField>(screen.get(), "startField");
        end = Child<CNumberSpinField>(screen.get(), "endField");
    }
    void TearDown() override {
        screen.reset();
        PrintDialogs::clearNextAnswers();
        UtilityTest::TearDown();
    }
    void choose(const char* radio) { QTest::mouseClick(Child<QRadioButton>(screen.get(), radio), Qt::LeftButton, {}, QPoint(4, 4)); }
    void range(const QString& from, const QString& to) {
        choose("rangeSpecified");
        start->setFieldText(from);
        end->setFieldText(to);
    }
    QString pdf(const char* name) { return out.path() + '/' + name; }

    std::unique_ptr<CPrintDlg> screen;
    CNumberSpinField* start = nullptr;
    CNumberSpinField* end = nullptr;
    QTemporaryDir out;
};

TEST_F(PrintScreen, EnablingRulesFollowEveryClick) {
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("アンケートカードと顧客伝票の印刷"));
    EXPECT_FALSE(start->isEnabled());
    range("", "9999");
    EXPECT_TRUE(start->isEnabled());
    // Fields outside the questionnaire deck's numbers take its ends; inside they stay.
    choose("rangeAll");
    choose("rangeSpecified");
    EXPECT_EQ(start->fieldText(), QStringLiteral("1"));
    EXPECT_EQ(end->fieldText(), QStringLiteral("300"));
    start->setFieldText(QStringLiteral("20"));
    choose("typedVouchers");
    EXPECT_EQ(start->fieldText(), QStringLiteral("20"));
    EXPECT_EQ(std::make_pair(start->low(), start->high()), std::make_pair(1, 300));
    // Handwritten forms are printed whole.
    choose("handCards");
    EXPECT_FALSE(start->isEnabled());
    EXPECT_FALSE(Child<QRadioButton>(screen.get(), "rangeSpecified")->isEnabled());
    EXPECT_TRUE(Child<QRadioButton>(screen.get(), "rangeAll")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(screen.get(), "dataSet2")->isEnabled());
}

TEST_F(PrintScreen, RangeErrorsNameBothEndsAndFocusTheFaultyField) {
    struct Case {
        QString from, to;
        const char* focused;
    } cases[] = {{"0", "5", "startField"}, {"abc", "5", "startField"}, {"5", "301", "endField"}, {"10", "5", "startField"}};
    for (const Case& c : cases) {
        SCOPED_TRACE((c.from + "-" + c.to).toStdString());
        folder.notifier.entries.clear();
        range(c.from, c.to);
        Click(screen.get(), "okButton");
        EXPECT_EQ(messages(), QStringList{QStringLiteral("印刷範囲の指定に誤りがあります。正しく入力してください。\n\n"
                                                         "指定できるNoの範囲は、1～300 です。")});
        EXPECT_TRUE(Child<QWidget>(screen.get(), c.focused)->hasFocus());
        EXPECT_TRUE(screen->isVisible());
    }
}

struct PrintCase {
    const char* name;
    const char* kind;
    const char* paper;
    QString from, to; // empty: すべて
    int pages;
    QString mediaBox;
    int progressMaximum;
};
void PrintTo(const PrintCase& c, std::ostream* os) { *os << c.name; }
class PrintToPdf : public PrintScreen, public ::testing::WithParamInterface<PrintCase> {};

TEST_P(PrintToPdf, PagesAndPageSizes) {
    const PrintCase& c = GetParam();
    choose(c.kind);
    choose(c.paper);
    if (!c.from.isEmpty())
        range(c.from, c.to);
    PrintDialogs::setNextAnswer(pdf("out.pdf"));
    int maximum = -1;
    QTimer watch;
    watch.callOnTimeout([&] {
        if (auto* bar = QApplication::activeModalWidget() ? QApplication::activeModalWidget()->findChild<QProgressBar*>("progressBar") : nullptr)
            maximum = std::max(maximum, bar->maximum());
    });
    watch.start(0);
    Click(screen.get(), "okButton");
    const Pdf printed = readPdf(pdf("out.pdf"));
    EXPECT_EQ(printed.pages, c.pages);
    EXPECT_EQ(printed.mediaBoxes, QStringList(QList<QString>(c.pages, c.mediaBox)));
    if (c.progressMaximum > 0) {
        EXPECT_EQ(maximum, c.progressMaximum);
    }
    EXPECT_FALSE(screen->isVisible()); // printing ran: the printing screen closed
    EXPECT_EQ(messages(), QStringList{QStringLiteral("PDFファイルに出力しました。\n\n") + pdf("out.pdf")});
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, PrintToPdf,
    ::testing::Values(PrintCase{"OneCardOneA4Page", "typedCards", "paperA4", "7", "7", 1, "595 842", 1},
                      PrintCase{"FiveCardsTwoPages", "typedCards", "paperA4", "1", "5", 2, "595 842", 2},
                      PrintCase{"VouchersOnLandscapeA4", "typedVouchers", "paperA4", "3", "6", 1, "842 595", 0},
                      PrintCase{"PostcardsOnePerPage", "typedCards", "paperPostcard", "1", "3", 3, "284 419", 3},
                      PrintCase{"VoucherPostcardsTurned", "typedVouchers", "paperPostcard", "9", "10", 2, "419 284", 0},
                      PrintCase{"TheDecksLastCards", "typedCards", "paperA4", "297", "300", 1, "595 842", 0},
                      PrintCase{"TheWholeDeck", "typedVouchers", "paperA4", "", "", 75, "842 595", 76}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintScreen, CancelStopsAfterThePageBeingPrintedAndEndsTheDocument) {
    choose("paperPostcard");
    range("1", "40");
    PrintDialogs::setNextAnswer(pdf("cancelled.pdf"));
    folder.notifier.answers << true; // 印刷を中止しますか？
    int cancelledAt = 0;
    QTimer watch;
    watch.callOnTimeout([&] {
        QWidget* printing = QApplication::activeModalWidget();
        auto* bar = printing ? printing->findChild<QProgressBar*>("progressBar") : nullptr;
        if (!cancelledAt && bar && bar->value() >= 2) {
            cancelledAt = bar->value();
            Click(printing, "cancelButton");
        }
    });
    watch.start(0);
    Click(screen.get(), "okButton");
    ASSERT_GE(cancelledAt, 2);
    EXPECT_EQ(readPdf(pdf("cancelled.pdf")).pages, cancelledAt); // a complete document
    EXPECT_EQ(messages(),
              (QStringList{QStringLiteral("印刷を中止しますか？"),
                           QStringLiteral("PDFファイルに出力しました。\n\n") + pdf("cancelled.pdf")}));
    EXPECT_FALSE(screen->isVisible());
}

TEST_F(PrintScreen, ACancelledPrintDialogOrAFailedStartLeaveNoDocument) {
    PrintDialogs::setNextAnswer(QString());
    Click(screen.get(), "okButton");
    EXPECT_TRUE(screen->isVisible()); // nothing printed: the screen stays
    EXPECT_TRUE(messages().isEmpty());

    PrintDialogs::setNextAnswer(out.path() + "/no/such/folder/x.pdf");
    Click(screen.get(), "okButton");
    EXPECT_EQ(messages(), QStringList{QStringLiteral("印刷でエラーが発生しました。\n\n印刷が開始できません。\nエラーコード=-1")});
    EXPECT_FALSE(screen->isVisible());
}

// ---------------------------------------------------------------- handwritten forms

struct FormCase {
    const char* name;
    QStringList programs; // programs the system has
    bool formPresent;
    QString dialogAnswer;
    QString call;    // the program run and its arguments, "" for none
    QString message; // the message shown, "" for none
};
void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }
class HandwrittenPrint : public PrintScreen, public ::testing::WithParamInterface<FormCase> {};

TEST_P(HandwrittenPrint, SendsTheFormOrSaysWhatIsMissing) {
    const FormCase& c = GetParam();
    const QString form = programFolder() + QStringLiteral("顧客伝票_K_A4.pdf");
    if (c.formPresent) {
        QFile f(form);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4 form");
    }
    QStringList calls;
    HandwrittenForms::Launcher previous = HandwrittenForms::SetLauncher(
        {[&](const QString& p) { return c.programs.contains(p) ? "/usr/bin/" + p : QString(); },
         [&](const QString& p, const QStringList& args, bool, QString*) {
             calls << (p + ' ' + args.join(' '));
             return true;
         }});
    if (!c.dialogAnswer.isNull())
        PrintDialogs::setNextAnswer(c.dialogAnswer.startsWith('/') ? out.path() + c.dialogAnswer : c.dialogAnswer);
    choose("dataSet2");
    choose("handVouchers");
    range("5", "1"); // never checked for a form
    Click(screen.get(), "okButton");
    HandwrittenForms::SetLauncher(previous);

    QString expected = c.call;
    EXPECT_EQ(calls, c.call.isEmpty() ? QStringList() : QStringList{expected.replace("FORM", form)});
    QString message = c.message;
    EXPECT_EQ(messages(),
              message.isEmpty() ? QStringList() : QStringList{message.replace("OUT", out.path())});
    EXPECT_FALSE(form.contains("//"));
    EXPECT_TRUE(screen->isVisible());
    if (c.dialogAnswer.endsWith(".pdf")) {
        EXPECT_EQ(QFile(out.path() + c.dialogAnswer).size(), 13);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, HandwrittenPrint,
    ::testing::Values(
        FormCase{"ToTheChosenPrinter", {"lp", "xdg-open"}, true, "Office", "/usr/bin/lp -d Office FORM", ""},
        FormCase{"PrintToFileCopiesTheForm",
                 {"lp"},
                 true,
                 "/copy.pdf",
                 "",
                 "PDFファイルに出力しました。\n\nOUT/copy.pdf"},
        FormCase{"DialogCancelled", {"lp"}, true, "", "", ""},
        FormCase{"WithoutCupsTheViewerOpensIt", {"xdg-open"}, true, QString(), "/usr/bin/xdg-open FORM", ""},
        FormCase{
            "NoProgram",
            {},
            true,
            QString(),
            "",
            "手書きデータを印刷するプログラムが見つかりません。\n"
            "印刷システム（CUPS の lp）か、PDF を開くプログラム（xdg-open）をインストールしてください。"},
        FormCase{"NoForm",
                 {"lp"},
                 false,
                 QString(),
                 "",
                 "手書きデータが見つかりません。ソラミ！ミルテアの再インストールをしてください。"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
