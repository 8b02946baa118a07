// The one-line rich field: marks in red, read back one letter per character.
#include "IKCRitchEditCtrl.h"
#include "ScreenFit.h"

#include <QDialog>
#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTextLayout>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>

namespace {
// A character outside the basic plane takes two UTF-16 units but is one character.
const QString kWide = QString::fromUcs4(U"\U0002000B");

struct TwoFieldScreen {
    TwoFieldScreen() {
        auto* layout = new QVBoxLayout(&dialog);
        first = new CIKCRitchEditCtrl(&dialog);
        second = new CIKCRitchEditCtrl(&dialog);
        button = new QPushButton(QStringLiteral("mark"), &dialog);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(button);
        first->SetText(QStringLiteral("ABCD"));
        second->SetText(QStringLiteral("0123"));
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    QDialog dialog;
    CIKCRitchEditCtrl* first;
    CIKCRitchEditCtrl* second;
    QPushButton* button;
};
} // namespace

TEST(RichEdit, ReadMarksGivesOneLetterPerCharacter) {
    CIKCRitchEditCtrl field;
    EXPECT_EQ(field.ReadMarks(), QString());

    field.SetText(QStringLiteral("Aア"));
    field.SetSelection(1, 2);
    field.MarkSelection();
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NC"));

    field.SetText(QStringLiteral("a") + kWide + QStringLiteral("b"));
    field.MarkRange(1, 2);
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NCN"));
    field.MarkRange(2, 3);
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NCC"));
}

TEST(RichEdit, MarkAndUnmarkOnlyTheSelectedCharacters) {
    CIKCRitchEditCtrl field;
    field.SetText(QStringLiteral("電話０３"));
    field.SetSelection(0, 4);
    field.MarkSelection();
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("CCCC"));
    field.SetSelection(1, 3);
    field.UnmarkSelection();
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("CNNC"));
    field.SetCaret(2); // an empty selection marks nothing
    field.MarkSelection();
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("CNNC"));
    field.ClearMarks();
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NNNN"));
}

TEST(RichEdit, ShowMarksAppliesTheMarkStringAndResetsTheRest) {
    CIKCRitchEditCtrl field;
    field.SetText(QStringLiteral("ｱイｳエ"));
    field.MarkRange(0, 4);
    field.ShowMarks(QStringLiteral("NC"));
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NCNN"));
    field.ShowMarks(QStringLiteral("CNNNNNNC")); // longer than the text
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("CNNN"));
    field.ShowMarks(QStringLiteral("xCyC"));
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NCNC"));
    field.ShowMarks(QString());
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NNNN"));
}

TEST(RichEdit, ShowDifferencesMarksCharactersThatDifferFromTheReference) {
    CIKCRitchEditCtrl field;
    field.SetText(QStringLiteral("03-１234"));
    field.ShowDifferences(QStringLiteral("03-1234"));
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NNNCNNN"));

    field.SetText(QStringLiteral("ab") + kWide + QStringLiteral("d"));
    field.ShowDifferences(QStringLiteral("abcd"));
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NNCN"));

    field.SetText(QStringLiteral("12345"));
    field.ShowDifferences(QStringLiteral("123"));
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NNNCC"));
    field.ShowDifferences(QStringLiteral("1234567"));
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NNNNN"));
}

TEST(RichEdit, SetTextUsesTheFieldFontAndNormalColourAndKeepsOneLine) {
    CIKCRitchEditCtrl field;
    field.SetFont(120, QStringLiteral("ＭＳ Ｐゴシック"), true);
    field.SetTextColour(QColor(0, 0, 255));
    field.SetText(QStringLiteral("山田\r\n二行目"));
    EXPECT_EQ(field.Text(), QStringLiteral("山田"));
    EXPECT_EQ(field.textCursor().position(), 0);
    const QTextCharFormat format = field.document()->begin().begin().fragment().charFormat();
    EXPECT_DOUBLE_EQ(format.fontPointSize(), 12.0);
    EXPECT_EQ(format.fontFamilies().toStringList(), QStringList{QStringLiteral("ＭＳ Ｐゴシック")});
    EXPECT_EQ(format.fontWeight(), QFont::Bold);
    EXPECT_EQ(format.foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(field.ReadMarks(), QStringLiteral("NN"));
    // Nothing left to undo after a text was set.
    EXPECT_FALSE(field.document()->isUndoAvailable());
}

// On a screen reduced to fit its display the window's fonts are scaled
// down; a field's text, set or typed, follows its scaled font instead of
// overflowing the field at the size first asked for.
TEST(RichEdit, TextFollowsTheFieldFontScaledToFitTheScreen) {
    // A design of 800 x 600 on half that room: fonts at about half size.
    ScreenFit::SetDisplay(ScreenFit::Display{QRect(0, 0, 400, 300), 1, 1, QMargins()});
    QWidget window;
    auto* set = new CIKCRitchEditCtrl(&window);
    auto* typed = new CIKCRitchEditCtrl(&window);
    for (CIKCRitchEditCtrl* field : {set, typed})
        field->SetFont(120, QStringLiteral("ＭＳ Ｐゴシック"));
    ScreenFit::FitFonts(&window);
    ScreenFit::SetDisplay(ScreenFit::Display{QRect(0, 0, 1920, 1040), 0, 0, {}});
    const double fitted = set->font().pointSizeF();
    ASSERT_LT(fitted, 7.0);

    set->SetText(QStringLiteral("山田"));
    QTest::keyClicks(typed, QStringLiteral("abc"));
    for (CIKCRitchEditCtrl* field : {set, typed}) {
        const QTextCharFormat format = field->document()->begin().begin().fragment().charFormat();
        // A size of the text's own, or the document's, which is the widget's.
        const double size = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                           : field->document()->defaultFont().pointSizeF();
        EXPECT_DOUBLE_EQ(size, fitted) << field->Text().toStdString();
    }
}

TEST(RichEdit, MarkedCharactersAreDrawnInRed) {
    CIKCRitchEditCtrl field;
    field.resize(200, 40);
    field.SetFont(200, QStringLiteral("ＭＳ ゴシック"));
    field.SetText(QStringLiteral("ＡＢ"));
    auto redPixels = [&] {
        const QImage image = field.grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            }
        return n;
    };
    EXPECT_EQ(redPixels(), 0);
    field.ShowMarks(QStringLiteral("NC"));
    EXPECT_GT(redPixels(), 10);
}

TEST(RichEdit, FocusCollapsesTheOtherFieldsSelectionButAButtonKeepsIt) {
    TwoFieldScreen screen;
    screen.first->setFocus();
    screen.first->SetSelection(1, 3);
    screen.second->setFocus();
    EXPECT_FALSE(screen.first->HasSelection());
    EXPECT_EQ(screen.first->textCursor().position(), 0);

    screen.second->SetSelection(0, 2);
    QTest::mouseClick(screen.button, Qt::LeftButton);
    EXPECT_TRUE(screen.button->hasFocus());
    ASSERT_TRUE(screen.second->HasSelection());
    screen.second->MarkSelection();
    EXPECT_EQ(screen.second->ReadMarks(), QStringLiteral("CCNN"));
}

TEST(RichEdit, EnterGoesToTheScreenAndReadOnlyFieldsSelectByKeyboard) {
    QDialog dialog;
    auto* field = new CIKCRitchEditCtrl(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    field->SetText(QStringLiteral("ABC"));
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->Text(), QStringLiteral("ABC"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    field->setFocus();
    field->SetReadOnly(true);
    field->SetCaret(0);
    QTest::keyClick(field, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_EQ(field->Text(), QStringLiteral("ABC"));
    EXPECT_TRUE(field->HasSelection());
}

// What the trainee types reaches the field only as far as code page 932 holds
// it; an input method's composition shows but is not text until committed.
namespace {
struct PastingField : CIKCRitchEditCtrl {
    using CIKCRitchEditCtrl::insertFromMimeData;
};
} // namespace

TEST(RichEdit, CharactersWithoutACodePageFormAreRefusedHoweverTheyCome) {
    const QString yoshi = QString::fromUcs4(U"\U00020BB7"); // 𠮷
    const QString smile = QString::fromUcs4(U"\U0001F600"); // 😀
    const struct {
        const char* way;
        std::function<void(PastingField&)> type;
    } ways[] = {
        {"key", [&](PastingField& f) { QTest::sendKeyEvent(QTest::Click, &f, Qt::Key_unknown, yoshi, Qt::NoModifier); }},
        {"input method",
         [&](PastingField& f) {
             QInputMethodEvent commit;
             commit.setCommitString(yoshi + QStringLiteral("家") + smile);
             QApplication::sendEvent(&f, &commit);
         }},
        {"paste",
         [&](PastingField& f) {
             QMimeData data;
             data.setText(smile + QStringLiteral("家"));
             f.insertFromMimeData(&data);
         }},
    };
    for (const auto& w : ways) {
        PastingField field;
        field.SetText(QStringLiteral("吉田"));
        field.SetCaret(2);
        w.type(field);
        EXPECT_EQ(field.Text(), QString(w.way == std::string("key") ? "吉田" : "吉田家")) << w.way;
    }

    CIKCRitchEditCtrl field;
    QInputMethodEvent compose(QStringLiteral("よしだ"), {});
    QApplication::sendEvent(&field, &compose);
    EXPECT_EQ(field.Text(), QString());
    EXPECT_EQ(field.textCursor().block().layout()->preeditAreaText(), QStringLiteral("よしだ"));
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("吉田〜"));
    QApplication::sendEvent(&field, &commit);
    EXPECT_EQ(field.Text(), QStringLiteral("吉田〜"));
    EXPECT_EQ(field.textCursor().block().layout()->preeditAreaText(), QString());
}
