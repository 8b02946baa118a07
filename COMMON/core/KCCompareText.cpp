#include "KCCompareText.h"

#include "Codec.h"

#include <algorithm>
#include <array>

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
    // Written through a pointer into room for one code point per unit, then cut
    // to length: the miss-check splits three texts of every item it judges.
    out.resize(text.size());
    char32_t* const begin = out.data();
    char32_t* o = begin;
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p < end) {
        const char16_t c = *p++;
        if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p))
            *o++ = QChar::surrogateToUcs4(c, *p++);
        else
            *o++ = c;
    }
    out.resize(o - begin);
}

namespace {
// Every character of the BMP once, in order: the text of one such character
// views its entry instead of allocating, since an analysis keeps two texts
// for each of tens of thousands of wrong characters.
constexpr std::array<QChar, 0x10000> kBmp = [] {
    std::array<QChar, 0x10000> all{};
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = QChar(char16_t(i));
    return all;
}();
} // namespace

QString CKCCompareText::charText(const std::u32string& chars, int position) {
    if (position < 0 || position >= static_cast<int>(chars.size()))
        return {};
    const char32_t c = chars[position];
    if (c <= 0xFFFF)
        return QString::fromRawData(&kBmp[c], 1);
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
