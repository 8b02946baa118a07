#include "Codec.h"
#include "KCCompareText.h"

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

// Characters that Linux input methods type where Windows types another form:
// the code page holds them as Windows writes its form.
struct LinuxForm {
    const char* name;
    char16_t typed;   // as the input method produces it
    char16_t windows; // as Windows produces it
    unsigned code;
};

void PrintTo(const LinuxForm& f, std::ostream* os) { *os << f.name; }

class LinuxInputForms : public ::testing::TestWithParam<LinuxForm> {};

TEST_P(LinuxInputForms, AreWrittenAndComparedAsTheWindowsForm) {
    const LinuxForm f = GetParam();
    const QString typed(QChar(f.typed)), windows(QChar(f.windows));
    const QByteArray bytes = QByteArray(1, char(f.code >> 8)) + char(f.code & 0xFF);
    EXPECT_EQ(cp932::encode(QStringLiteral("a") + typed), QByteArray("a") + bytes);
    EXPECT_EQ(cp932::encode(windows), bytes);
    EXPECT_EQ(cp932::charCode(typed), f.code);
    EXPECT_EQ(cp932::byteLength(typed), 2);
    EXPECT_TRUE(cp932::canEncode(typed));
    EXPECT_TRUE(cp932::sameBytes(QStringLiteral("1") + typed + QStringLiteral("2"),
                                 QStringLiteral("1") + windows + QStringLiteral("2")));
    EXPECT_TRUE(CKCCompareText::SameChar(f.typed, f.windows));
    EXPECT_EQ(cp932::decode(bytes), windows);
}

INSTANTIATE_TEST_SUITE_P(Characters, LinuxInputForms,
                         ::testing::Values(LinuxForm{"WaveDash", 0x301C, 0xFF5E, 0x8160},
                                           LinuxForm{"MinusSign", 0x2212, 0xFF0D, 0x817C},
                                           LinuxForm{"EmDash", 0x2014, 0x2015, 0x815C},
                                           LinuxForm{"DoubleVerticalLine", 0x2016, 0x2225, 0x8161},
                                           LinuxForm{"Cent", 0x00A2, 0xFFE0, 0x8191},
                                           LinuxForm{"Pound", 0x00A3, 0xFFE1, 0x8192},
                                           LinuxForm{"Not", 0x00AC, 0xFFE2, 0x81CA}),
                         ::testing::PrintToStringParamName());

TEST(Codec, CharactersWithoutAFormNeverCompareEqual) {
    const QString yoshi = QString::fromUcs4(U"\U00020BB7"); // 𠮷
    const QString smile = QString::fromUcs4(U"\U0001F600"); // 😀
    const QString e = QStringLiteral("é");
    for (const QString& c : {yoshi, smile, e})
        EXPECT_FALSE(cp932::canEncode(QStringLiteral("山") + c)) << c.toStdString();
    EXPECT_FALSE(cp932::sameBytes(yoshi, smile));
    EXPECT_FALSE(cp932::sameBytes(QStringLiteral("田") + e, QStringLiteral("田?")));
    EXPECT_TRUE(cp932::sameBytes(yoshi, yoshi));
    EXPECT_EQ(cp932::keepEncodable(QStringLiteral("山") + yoshi + QStringLiteral("田") + smile),
              QStringLiteral("山田"));
    EXPECT_FALSE(CKCCompareText::SameChar(U'\U00020BB7', U'\U0001F600'));
}

// Decoding goes through a table learnt from the converter; it must give what
// the converter gives for every byte pair, in any company, broken ones included.
TEST(Codec, DecodingEqualsTheConverterForEveryBytePair) {
    const QByteArray around[] = {QByteArray(), QByteArray("a"), QByteArray("\x82\xa0"), QByteArray("\x81")};
    for (int lead = 0; lead < 256; ++lead) {
        QByteArray all;
        for (int trail = 0; trail < 256; ++trail)
            {
            const char unit[] = {char(lead), char(trail), ','};
            all.append(unit, 3);
        }
        for (const QByteArray& before : around)
            for (const QByteArray& after : around) {
                const QByteArray bytes = before + all + after;
                ASSERT_EQ(cp932::decode(bytes), cp932::decodeByConverter(bytes)) << "lead " << lead;
            }
        // Pairs back to back, so a trail is followed by the next lead.
        QByteArray packed;
        for (int trail = 0; trail < 256; ++trail)
            {
            const char unit[] = {char(lead), char(trail)};
            packed.append(unit, 2);
        }
        ASSERT_EQ(cp932::decode(packed), cp932::decodeByConverter(packed)) << "lead " << lead;
    }
    // Random bytes, mostly broken.
    quint32 seed = 12345;
    for (int run = 0; run < 2000; ++run) {
        QByteArray bytes;
        for (int i = 0; i < run % 37; ++i) {
            seed = seed * 1103515245u + 12345u;
            bytes += char(seed >> 16);
        }
        ASSERT_EQ(cp932::decode(bytes), cp932::decodeByConverter(bytes)) << bytes.toHex().toStdString();
    }
}
