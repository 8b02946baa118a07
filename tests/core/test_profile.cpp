#include "AppSub.h"
#include "Codec.h"
#include "PrivateProfile.h"
#include "TestFolder.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace PrivateProfile;

TEST(PrivateProfile, IntegersReadLikeTheWindowsProfileFunctions) {
    EXPECT_EQ(parseProfileInt("12", 5), 12);
    EXPECT_EQ(parseProfileInt("  12abc", 5), 12);
    EXPECT_EQ(parseProfileInt("abc", 5), 0);
    EXPECT_EQ(parseProfileInt("", 5), 5);
    EXPECT_EQ(parseProfileInt("-3", 5), -3);
    EXPECT_EQ(parseProfileInt("0x1F", 5), 31);
    EXPECT_EQ(parseProfileInt("+7", 5), 7);
}

TEST(PrivateProfile, SectionsAndKeysAreCaseInsensitiveAndDefaultsApply) {
    TestFolder folder;
    folder.writeIni(QStringLiteral("; comment\n[settings]\nORDER_FLG = 2\nmst_path=\"/x/y.mst\"\nempty=\n[WindowPos]\nTop=30\n"));
    const QString ini = AppSub::ProfilePath();
    EXPECT_EQ(readInt("Settings", "order_flg", 1, ini), 2);
    EXPECT_EQ(readInt("Settings", "start_flg", 1, ini), 1);
    EXPECT_EQ(readInt("Settings", "empty", 9, ini), 9);
    EXPECT_EQ(readString("Settings", "mst_path", "d", ini), "/x/y.mst");
    EXPECT_EQ(readInt("windowpos", "top", 0, ini), 30);
    EXPECT_EQ(readInt("Settings", "Top", 0, ini), 0); // other section
    EXPECT_EQ(AppSub::GetProfileInt("order_flg", 1), 2);
    EXPECT_EQ(readString("Settings", "k", "def", folder.file("missing.ini")), "def");
}

TEST(PrivateProfile, WritingKeepsOtherKeysAndComments) {
    TestFolder folder;
    folder.writeIni(QStringLiteral("; keep me\n[Settings]\norder_flg=2\nzip_flg=0\n\n[WindowPos]\nTop=30\n"));
    const QString ini = AppSub::ProfilePath();
    ASSERT_TRUE(writeString("Settings", "ZIP_FLG", "1", ini));
    ASSERT_TRUE(writeString("Settings", "mst_path", QStringLiteral("/データ/マスター.mst"), ini));
    ASSERT_TRUE(writeInt("Other", "x", -4, ini));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    EXPECT_EQ(cp932::decode(bytes), QStringLiteral("; keep me\r\n[Settings]\r\norder_flg=2\r\nZIP_FLG=1\r\n"
                                                   "mst_path=/データ/マスター.mst\r\n\r\n[WindowPos]\r\nTop=30\r\n"
                                                   "[Other]\r\nx=-4\r\n"));
    EXPECT_TRUE(bytes.contains(cp932::encode(QStringLiteral("マスター"))));
    EXPECT_EQ(AppSub::GetProfileString("mst_path", ""), QStringLiteral("/データ/マスター.mst"));
}

TEST(PrivateProfile, LongTextsAreCutAt2047Bytes) {
    TestFolder folder;
    folder.writeIni("[Settings]\nlong=" + QString(1500, QChar(0x3042)) + "\n");
    QString v = AppSub::GetProfileString("long", "");
    EXPECT_EQ(cp932::byteLength(v), 2046); // never half a double-byte character
}
