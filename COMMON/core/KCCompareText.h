#pragma once
// Position-by-position comparison of two texts, one character at a time, with
// no alignment: a missing or extra character shifts every later position.
#include <QString>
#include <string>
#include <vector>

class CKCCompareText {
public:
    // Typed text against the correct one. Over the larger character count of
    // the two, a position matches when both hold the same character or both
    // have ended. 1 when every position matches, else 0.
    int Compare(QStringView expected, QStringView typed);
    int Compare(const QString& expected, const QString& typed) {
        return Compare(QStringView(expected), QStringView(typed));
    }

    // Miss-check marks ("C" marked, "N" not) against the correct and printed
    // values. Over the larger character count of the two values, a position
    // matches when its mark is "N" and the characters are equal, or "C" and
    // they differ; a missing mark never matches, marks beyond are ignored.
    int CompareMarks(QStringView correct, QStringView printed, QStringView marks);
    int CompareMarks(const QString& correct, const QString& printed, const QString& marks) {
        return CompareMarks(QStringView(correct), QStringView(printed), QStringView(marks));
    }

    // Result of the last comparison: one entry per position, true = match.
    int GetSize() const { return static_cast<int>(m_match.size()); }
    bool IsMatch(int position) const { return m_match[position] != 0; }

    // The characters of the last comparison's first and second text; position
    // p past the end gives the empty text.
    QString LeftChar(int position) const { return charText(m_left, position); }
    QString RightChar(int position) const { return charText(m_right, position); }
    int LeftLength() const { return static_cast<int>(m_left.size()); }
    int RightLength() const { return static_cast<int>(m_right.size()); }
    // 0 when the position lies past the end of the text.
    char32_t LeftCode(int position) const { return codeAt(m_left, position); }
    char32_t RightCode(int position) const { return codeAt(m_right, position); }

    // Equal as code page 932 stores them (0 stands for "ended" and equals only
    // itself); a character outside the code page equals only itself.
    static bool SameChar(char32_t a, char32_t b);

    // Splits text into code points (a surrogate pair is one character).
    static void SplitChars(QStringView text, std::u32string& out);

private:
    static QString charText(const std::u32string& chars, int position);
    static char32_t codeAt(const std::u32string& chars, int position) {
        return position < static_cast<int>(chars.size()) ? chars[position] : 0;
    }
    int finish();

    std::u32string m_left, m_right, m_marks;
    std::vector<char> m_match;
};
