#include "DenMissDlg.h"

#include "AppSub.h"
#include "ArrDenpyo.h"
#include "Guarded.h"
#include "IKCRitchEditCtrl.h"
#include "KCPrintImageDraw.h"
#include "ScreenSetup.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {
// Leading and trailing blanks of a voucher value (tabs, line ends and
// half-width spaces; a full-width space is a character of the value).
QString trimmed(const QString& text) {
    const auto blank = [](QChar c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    qsizetype begin = 0, end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}
} // namespace

CDenMissDlg::CDenMissDlg(CKaisekiFile& kaiseki, QWidget* parent) : CDenpyoDlg(kaiseki, parent) {}

void CDenMissDlg::CreateItems() {
    CDenpyoDlg::CreateItems();
    for (CIKCRitchEditCtrl* field : m_fields)
        field->SetReadOnly(true);
    m_mark = AddButton(QStringLiteral("ミスチェック箇所の指摘(F1)"), QStringLiteral("mark"));
    m_unmark = AddButton(QStringLiteral("ミスチェック箇所の指摘解除(F2)"), QStringLiteral("unmark"));
    connect(m_mark, &QPushButton::clicked, this, [this] { Guarded([this] { MarkSelections(); }); });
    connect(m_unmark, &QPushButton::clicked, this, [this] { Guarded([this] { UnmarkSelections(); }); });
}

int CDenMissDlg::LayoutItems(int x, int y, int fieldRight) {
    y = CDenpyoDlg::LayoutItems(x, y, fieldRight);
    const int fieldX = x + ScreenSetup::ScaleX(this, FieldOffset());
    const int width = std::min(ScreenSetup::ScaleX(this, 260), fieldRight - fieldX);
    const int height = ScreenSetup::ScaleY(this, 32);
    m_mark->setGeometry(fieldX, y, width, height);
    m_unmark->setGeometry(fieldX, y + height + ScreenSetup::ScaleY(this, 6), width, height);
    return y + 2 * height + ScreenSetup::ScaleY(this, 12);
}

void CDenMissDlg::ShowItems(const CArrBaseInfo& card, bool answers) {
    m_answerTexts.clear();
    for (int i = 0; i < m_fields.size(); ++i) {
        m_fields[i]->SetText(trimmed(card.erroneous[i]));
        if (answers)
            m_answerTexts << trimmed(card.correct[i]);
    }
}

// A card saved before (by チェック) gets its own marks back; a new card with
// the answer switch on is marked where the printed value is wrong.
void CDenMissDlg::EnableItems() {
    const CArrBaseInfo& card = Deck().at(CurrentDeckIndex());
    for (int i = 0; i < m_fields.size(); ++i) {
        CIKCRitchEditCtrl* field = m_fields[i];
        field->setEnabled(true);
        field->ClearMarks();
        if (!card.input[i].isEmpty())
            field->ShowMarks(card.input[i]);
        else if (i < m_answerTexts.size())
            field->ShowDifferences(m_answerTexts[i]);
        field->SetCaret(0);
    }
    for (CIKCRitchEditCtrl* field : m_fields)
        field->EmptyUndoBuffer();
}

void CDenMissDlg::StoreItems(CArrBaseInfo& card) {
    for (int i = 0; i < m_fields.size(); ++i)
        card.input[i] = m_fields[i]->ReadMarks();
}

bool CDenMissDlg::ItemRight(int deckIndex, int item) const { return Deck().MissCheckItemCorrect(deckIndex, item); }

int CDenMissDlg::ImageComparison(bool answers) const {
    return answers ? CKCPrintImageDraw::kCompareDisplayed : CKCPrintImageDraw::kCompareNone;
}

void CDenMissDlg::MarkSelections() {
    for (CIKCRitchEditCtrl* field : m_fields)
        if (field->HasSelection())
            field->MarkSelection();
}

void CDenMissDlg::UnmarkSelections() {
    for (CIKCRitchEditCtrl* field : m_fields)
        if (field->HasSelection())
            field->UnmarkSelection();
}

bool CDenMissDlg::TaskKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    const bool ctrlOrAlt = mods == Qt::ControlModifier || mods == Qt::AltModifier;
    if ((event->key() == Qt::Key_F1 && mods == Qt::NoModifier) || (event->key() == Qt::Key_Z && ctrlOrAlt)) {
        MarkSelections();
        return true;
    }
    if ((event->key() == Qt::Key_F2 && mods == Qt::NoModifier) || (event->key() == Qt::Key_S && ctrlOrAlt)) {
        UnmarkSelections();
        return true;
    }
    return false;
}
