// Files read ahead on a second thread reach the caller in the order of the
// list, each as CTCLoadCSVFile::Load reads it, failures included; the same
// without the thread.
#include "CsvReadAhead.h"
#include "ICException.h"
#include "TestFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <thread>

namespace {
// More files than the thread reads ahead, so that it stops and goes on again;
// two of them fail to load, one among the first files read ahead.
constexpr int kFiles = 2 * CCsvReadAhead::kAhead + 4;
constexpr int kMissing = 3;
constexpr int kFolder = CCsvReadAhead::kAhead + 3;

QStringList writeFiles(const TestFolder& folder) {
    QStringList paths;
    for (int i = 0; i < kFiles; ++i) {
        paths << folder.file(QStringLiteral("f%1.csv").arg(i));
        if (i == kFolder) {
            QDir().mkpath(paths.last());
        } else if (i != kMissing) {
            QFile f(paths.last());
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QStringLiteral("file,%1\r\n").arg(i).toLatin1());
        }
    }
    return paths;
}

// Waits until the thread has read as far ahead as it goes.
bool filled(CCsvReadAhead& files) {
    const QDeadlineTimer deadline(10'000);
    while (files.ReadAhead() < CCsvReadAhead::kAhead && !deadline.hasExpired())
        std::this_thread::yield();
    return files.ReadAhead() == CCsvReadAhead::kAhead;
}

// The second field of each file, or the kind of failure its load threw.
QStringList takeAll(CCsvReadAhead& files, CTCLoadCSVFile& file) {
    QStringList got;
    for (int i = 0; i < kFiles; ++i) {
        try {
            got << (files.TakeNext(file) ? file.GetField(1, 2) : QStringLiteral("none"));
        } catch (const CICException& e) {
            const QString text = e.GetErrorMessage();
            got << (text.contains("が存在しません") ? "missing" : text.contains("を読み込めません") ? "unreadable" : text);
        }
    }
    return got;
}
} // namespace

// Read by the caller alone, by the caller racing the thread, and with the
// thread well ahead.
enum class Reading { Alone, Racing, Ahead };

class CsvReadAhead : public ::testing::TestWithParam<Reading> {};

TEST_P(CsvReadAhead, GivesEachFileInOrderWithWhatItsLoadThrew) {
    TestFolder folder;
    CCsvReadAhead files(writeFiles(folder), GetParam() != Reading::Alone);
    if (GetParam() == Reading::Ahead) {
        ASSERT_TRUE(filled(files));
    }
    QStringList want;
    for (int i = 0; i < kFiles; ++i)
        want << (i == kMissing ? "missing" : i == kFolder ? "unreadable" : QString::number(i));
    CTCLoadCSVFile file;
    EXPECT_EQ(takeAll(files, file), want);
    EXPECT_FALSE(files.TakeNext(file));
    EXPECT_EQ(file.GetField(1, 2), QString::number(kFiles - 1)) << "the last file stays";
}

INSTANTIATE_TEST_SUITE_P(Readings, CsvReadAhead,
                         ::testing::Values(Reading::Alone, Reading::Racing, Reading::Ahead));

// Left early while its thread waits for the caller, the reader stops the
// thread rather than hang (the test's time limit catches a hang).
TEST(CsvReadAheadStop, LeftEarlyStopsTheWaitingThread) {
    TestFolder folder;
    CCsvReadAhead files(writeFiles(folder));
    ASSERT_TRUE(filled(files));
}
