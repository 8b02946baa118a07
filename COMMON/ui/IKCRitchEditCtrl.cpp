#include "IKCRitchEditCtrl.h"

#include "Codec.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {
QString firstLine(const QString& text) {
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n\\x{2029}]")));
    return end < 0 ? text : text.left(end);
}

bool isMarked(const QTextCharFormat& format) {
    return format.hasProperty(QTextFormat::ForegroundBrush) &&
           format.foreground().color() == CIKCRitchEditCtrl::MarkColour();
}

// Number of characters (code points) in a piece of text.
int characterCount(QStringView text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!text[i].isLowSurrogate() || i == 0 || !text[i - 1].isHighSurrogate())
            ++n;
    return n;
}
} // namespace

CIKCRitchEditCtrl::CIKCRitchEditCtrl(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    document()->setDocumentMargin(1);
    // A selection stays visible while a button has the focus, so the user sees what a
    // click on a marking button will act on.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);
}

const QColor& CIKCRitchEditCtrl::MarkColour() {
    static const QColor red(255, 0, 0);
    return red;
}

void CIKCRitchEditCtrl::SetFont(int pointTenths, const QString& faceName, bool bold, bool italic, bool underline,
                                bool strikeOut) {
    m_pointTenths = pointTenths;
    m_faceName = faceName;
    m_bold = bold;
    m_italic = italic;
    m_underline = underline;
    m_strikeOut = strikeOut;

    QFont widgetFont = font();
    widgetFont.setFamily(faceName);
    widgetFont.setPointSizeF(pointTenths / 10.0);
    QTextEdit::setFont(widgetFont);

    QTextCursor all(document());
    all.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setFontFamilies({faceName});
    format.setFontPointSize(pointTenths / 10.0);
    if (bold)
        format.setFontWeight(QFont::Bold);
    if (italic)
        format.setFontItalic(true);
    if (underline)
        format.setFontUnderline(true);
    if (strikeOut)
        format.setFontStrikeOut(true);
    all.mergeCharFormat(format);
}

QTextCharFormat CIKCRitchEditCtrl::baseFormat() const {
    QTextCharFormat format;
    if (m_pointTenths > 0) {
        format.setFontFamilies({m_faceName});
        // The widget's size, not the one asked for: a screen reduced to fit
        // its display scales the widget's font, and the text must follow.
        format.setFontPointSize(font().pointSizeF());
        format.setFontWeight(m_bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(m_italic);
        format.setFontUnderline(m_underline);
        format.setFontStrikeOut(m_strikeOut);
    }
    format.setForeground(NormalColour());
    return format;
}

void CIKCRitchEditCtrl::SetText(const QString& text) {
    // Setting a text is not a step the user can undo.
    setUndoRedoEnabled(false);
    clear();
    QTextCursor cursor(document());
    cursor.setCharFormat(baseFormat());
    cursor.insertText(firstLine(text), baseFormat());
    setUndoRedoEnabled(true);
    SetCaret(0);
}

void CIKCRitchEditCtrl::SetTextColour(const QColor& colour) {
    m_ownColour = true;
    m_colour = colour;
}

QColor CIKCRitchEditCtrl::NormalColour() const {
    return m_ownColour ? m_colour : palette().color(QPalette::Active, QPalette::Text);
}

int CIKCRitchEditCtrl::documentPosition(int characterIndex) const {
    const QString text = toPlainText();
    qsizetype pos = 0;
    for (int n = 0; n < characterIndex && pos < text.size(); ++n)
        pos += text[pos].isHighSurrogate() && pos + 1 < text.size() ? 2 : 1;
    return int(pos);
}

int CIKCRitchEditCtrl::characterIndex(int documentPosition) const {
    return characterCount(QStringView(toPlainText()).left(documentPosition));
}

void CIKCRitchEditCtrl::colourRange(int start, int end, const QColor& colour) {
    const int from = documentPosition(start);
    const int to = documentPosition(end);
    if (from >= to)
        return;
    QTextCursor cursor(document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(colour);
    cursor.mergeCharFormat(format);
}

void CIKCRitchEditCtrl::MarkSelection() {
    const QTextCursor c = textCursor();
    colourRange(characterIndex(c.selectionStart()), characterIndex(c.selectionEnd()), MarkColour());
}

void CIKCRitchEditCtrl::UnmarkSelection() {
    const QTextCursor c = textCursor();
    colourRange(characterIndex(c.selectionStart()), characterIndex(c.selectionEnd()), NormalColour());
}

void CIKCRitchEditCtrl::MarkRange(int start, int end) { colourRange(start, end, MarkColour()); }

void CIKCRitchEditCtrl::ClearMarks() { colourRange(0, characterCount(toPlainText()), NormalColour()); }

void CIKCRitchEditCtrl::ShowMarks(const QString& marks) {
    ClearMarks();
    const int count = std::min(characterCount(toPlainText()), int(marks.size()));
    for (int i = 0; i < count; ++i)
        if (marks[i] == 'C')
            MarkRange(i, i + 1);
}

QString CIKCRitchEditCtrl::ReadMarks() const {
    QString marks;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            marks += QString(characterCount(fragment.text()), isMarked(fragment.charFormat()) ? 'C' : 'N');
        }
    }
    return marks;
}

void CIKCRitchEditCtrl::ShowDifferences(const QString& reference) {
    ClearMarks();
    const QString text = toPlainText();
    qsizetype a = 0, b = 0;
    for (int index = 0; a < text.size(); ++index) {
        const qsizetype na = text[a].isHighSurrogate() && a + 1 < text.size() ? 2 : 1;
        const qsizetype nb = b < reference.size() && reference[b].isHighSurrogate() && b + 1 < reference.size() ? 2 : 1;
        if (QStringView(text).mid(a, na) != QStringView(reference).mid(b, b < reference.size() ? nb : 0))
            MarkRange(index, index + 1);
        a += na;
        b += nb;
    }
}

void CIKCRitchEditCtrl::SetSelection(int start, int end) {
    QTextCursor cursor(document());
    cursor.setPosition(documentPosition(start));
    cursor.setPosition(documentPosition(end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void CIKCRitchEditCtrl::SetCaret(int position) {
    QTextCursor cursor(document());
    cursor.setPosition(documentPosition(position));
    setTextCursor(cursor);
}

void CIKCRitchEditCtrl::EmptyUndoBuffer() { document()->clearUndoRedoStacks(); }

void CIKCRitchEditCtrl::SetReadOnly(bool readOnly) {
    setReadOnly(readOnly);
    if (readOnly)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

QSize CIKCRitchEditCtrl::sizeHint() const {
    const int frame = 2 * frameWidth();
    const int margin = int(2 * document()->documentMargin());
    return {150, fontMetrics().height() + margin + frame + 2};
}

QSize CIKCRitchEditCtrl::minimumSizeHint() const { return {20, sizeHint().height()}; }

void CIKCRitchEditCtrl::focusInEvent(QFocusEvent* event) {
    if (QWidget* w = window()) {
        for (CIKCRitchEditCtrl* other : w->findChildren<CIKCRitchEditCtrl*>())
            if (other != this)
                other->CollapseSelection();
    }
    QTextEdit::focusInEvent(event);
}

void CIKCRitchEditCtrl::keyPressEvent(QKeyEvent* event) {
    // One line: Enter belongs to the screen, never to the text.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    if (!cp932::canEncode(event->text())) {
        QApplication::beep();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void CIKCRitchEditCtrl::inputMethodEvent(QInputMethodEvent* event) {
    const QString kept = cp932::keepEncodable(event->commitString());
    if (kept == event->commitString()) {
        QTextEdit::inputMethodEvent(event);
        return;
    }
    QApplication::beep();
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QTextEdit::inputMethodEvent(&filtered);
    event->accept();
}

void CIKCRitchEditCtrl::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText())
        return;
    const QString text = firstLine(source->text());
    const QString kept = cp932::keepEncodable(text);
    if (kept != text)
        QApplication::beep();
    textCursor().insertText(kept, baseFormat());
}
