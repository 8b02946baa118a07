#include "ICException.h"

#include <gtest/gtest.h>

TEST(ICException, MessageNamesFileWithoutFolderAndLine) {
    try {
        CICException::Throw(QStringLiteral("データベース x が見つかりません。"), "..\\COMMON\\DB.cpp", 86);
        FAIL() << "did not throw";
    } catch (const CICException& e) {
        EXPECT_EQ(e.GetErrorMessage(),
                  QStringLiteral("エラーが発生しました。\nFile : DB.cpp  Line : 86\nデータベース x が見つかりません。"));
    }
    try {
        CICException::Throw(QStringLiteral("m"), "/src/other/place/Thing.cpp", 7);
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().contains(QStringLiteral("File : Thing.cpp  Line : 7\n")));
    }
}

TEST(ICException, BufferCopyTruncatesAndTerminates) {
    try {
        IC_THROW(QStringLiteral("abc"));
    } catch (const CICException& e) {
        char16_t buf[10];
        std::fill(std::begin(buf), std::end(buf), u'#');
        EXPECT_TRUE(e.GetErrorMessage(buf, 10));
        EXPECT_EQ(QString::fromUtf16(buf), e.GetErrorMessage().left(9));
        EXPECT_EQ(buf[9], 0);
    }
}
