#pragma once
// The entry field of the task screens: one line of text whose characters can be
// coloured red. The miss-check task marks wrong characters this way and reads
// the field back as a mark string, "C" for a red character and "N" for any
// other, one letter per character (a double-byte character is one letter).
#include <QColor>
#include <QTextEdit>

class CIKCRitchEditCtrl : public QTextEdit {
    Q_OBJECT

public:
    explicit CIKCRitchEditCtrl(QWidget* parent = nullptr);

    // The font of the whole text (size in tenths of a point); italic, underline
    // and strike-out are applied only when set, as is bold.
    void SetFont(int pointTenths, const QString& faceName, bool bold = false, bool italic = false,
                 bool underline = false, bool strikeOut = false);
    // Replaces the text, in the field's font and normal colour; the caret goes to
    // the start. A one-line field keeps the text up to its first line break.
    void SetText(const QString& text);
    QString Text() const { return toPlainText(); }

    // The colour of unmarked text; without one, the system's window-text colour.
    void SetTextColour(const QColor& colour);
    QColor NormalColour() const;

    void MarkSelection();
    void UnmarkSelection();
    // Colours the characters from start up to (not including) end red; positions in characters.
    void MarkRange(int start, int end);
    // Every character back to the normal colour.
    void ClearMarks();
    // Colours red each character whose letter in marks is "C"; the rest stay normal.
    void ShowMarks(const QString& marks);
    QString ReadMarks() const;
    // Colours red each character that differs from the reference at the same position
    // (also those beyond the reference's end).
    void ShowDifferences(const QString& reference);

    bool HasSelection() const { return textCursor().hasSelection(); }
    // Selection in characters.
    void SetSelection(int start, int end);
    void SetCaret(int position);
    void CollapseSelection() { SetCaret(0); }
    void EmptyUndoBuffer();
    // Read-only fields still take the caret and keyboard selection.
    void SetReadOnly(bool readOnly);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static const QColor& MarkColour();

protected:
    void focusInEvent(QFocusEvent* event) override;
    // Typed, composed or pasted characters that code page 932 cannot hold are
    // refused (with a beep): every file and comparison would see them as "?".
    // While an input method composes, its text is shown but is not yet part
    // of the field's text.
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void colourRange(int start, int end, const QColor& colour);
    int documentPosition(int characterIndex) const;
    int characterIndex(int documentPosition) const;
    QTextCharFormat baseFormat() const;

    int m_pointTenths = 0;
    QString m_faceName;
    bool m_bold = false, m_italic = false, m_underline = false, m_strikeOut = false;
    bool m_ownColour = false;
    QColor m_colour;
};
