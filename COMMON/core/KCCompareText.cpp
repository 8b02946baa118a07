#include "KCCompareText.h"

#include "Codec.h"

#include <algorithm>

bool CKCCompareText::SameChar(char32_t a, char32_t b) {
    if (a == b)
        return true;
    if (a == 0 || b == 0)
        return false;
    // Different characters that the code page writes as the same bytes are equal.
    const unsigned ca = cp932::charCode(a);
    return ca != '?' && ca == cp932::charCode(b);
}

void CKCCompareText::SplitChars(QStringView text, std::u32string& out) {
    out.clear();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            out.push_back(QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
        } else {
            out.push_back(c.unicode());
        }
    }
}

QString CKCCompareText::charText(const std::u32string& chars, int position) {
    if (position < 0 || position >= static_cast<int>(chars.size()))
        return {};
    const char32_t c = chars[position];
    return QString::fromUcs4(&c, 1);
}

int CKCCompareText::finish() {
    return std::all_of(m_match.begin(), m_match.end(), [](char m) { return m != 0; }) ? 1 : 0;
}

int CKCCompareText::Compare(QStringView expected, QStringView typed) {
    SplitChars(expected, m_left);
    SplitChars(typed, m_right);
    const int length = static_cast<int>(std::max(m_left.size(), m_right.size()));
    m_match.assign(length, 0);
    for (int p = 0; p < length; ++p)
        m_match[p] = SameChar(codeAt(m_left, p), codeAt(m_right, p)) ? 1 : 0;
    return finish();
}

int CKCCompareText::CompareMarks(QStringView correct, QStringView printed, QStringView marks) {
    SplitChars(correct, m_left);
    SplitChars(printed, m_right);
    SplitChars(marks, m_marks);
    const int length = static_cast<int>(std::max(m_left.size(), m_right.size()));
    m_match.assign(length, 0);
    for (int p = 0; p < length; ++p) {
        const bool same = SameChar(codeAt(m_left, p), codeAt(m_right, p));
        const char32_t mark = codeAt(m_marks, p);
        m_match[p] = ((mark == U'N' && same) || (mark == U'C' && !same)) ? 1 : 0;
    }
    return finish();
}
