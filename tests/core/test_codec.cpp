#include "Codec.h"

#include <gtest/gtest.h>

TEST(Codec, RoundTripsJapaneseAndHalfWidthKatakana) {
    const QString text = QStringLiteral("ｱｲｳｴｵ ﾀﾞｲｺﾝ 漢字かなカナ～１２３abc");
    QByteArray bytes = cp932::encode(text);
    EXPECT_EQ(cp932::decode(bytes), text);
    // Half-width katakana are one byte each; the dakuten is a character of its own.
    EXPECT_EQ(cp932::byteLength(QStringLiteral("ｱｲｳ")), 3);
    EXPECT_EQ(cp932::byteLength(QStringLiteral("ﾀﾞ")), 2);
    EXPECT_EQ(cp932::byteLength(QStringLiteral("漢字")), 4);
}

TEST(Codec, MicrosoftMappingOfWaveDash) {
    // 0x8160 is the full-width tilde in the Microsoft table.
    EXPECT_EQ(cp932::encode(QStringLiteral("～")), QByteArray("\x81\x60"));
    EXPECT_EQ(cp932::charCode(QStringLiteral("～")), 0x8160u);
}

TEST(Codec, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(cp932::encode(QStringLiteral("aé漢")), QByteArray("a?\x8a\xbf"));
    // A character outside the basic plane is one "?", not two.
    EXPECT_EQ(cp932::encode(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QByteArray("x?y"));
    EXPECT_EQ(cp932::charCode(QStringLiteral("é")), unsigned('?'));
}

TEST(Codec, CharacterCodesLeadByteHigh) {
    EXPECT_EQ(cp932::charCode(QStringLiteral("A")), 0x41u);
    EXPECT_EQ(cp932::charCode(QStringLiteral("ｱ")), 0xB1u);
    EXPECT_EQ(cp932::charCode(QStringLiteral("ア")), 0x8341u);
    EXPECT_EQ(cp932::charCode(QStringLiteral("ー")), 0x815Bu);
    EXPECT_EQ(cp932::charCode(QString()), 0u);
    EXPECT_TRUE(cp932::isDoubleByte(QChar(0x3042)));
    EXPECT_FALSE(cp932::isDoubleByte(QChar('1')));
}

TEST(Codec, CharactersKeepSurrogatePairsWhole) {
    QStringList chars = cp932::characters(QString::fromUtf8("a\xF0\x9F\x98\x80漢"));
    ASSERT_EQ(chars.size(), 3);
    EXPECT_EQ(chars[1].size(), 2);
}
