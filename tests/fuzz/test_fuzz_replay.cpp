// The inputs kept from fuzzing each reader, replayed with the normal build:
// every one must pass its target's checks.
#include "FuzzTarget.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

void fuzz::Failed(const char* condition, const char* file, int line) {
    ADD_FAILURE_AT(file, line) << condition << " does not hold";
}

TEST(FuzzCorpus, EveryKeptInputPassesItsTarget) {
    ASSERT_GE(fuzz::Targets().size(), 4u);
    for (const fuzz::Registered& target : fuzz::Targets()) {
        const QDir dir(QStringLiteral(ZENTRY_SOURCE_DIR "/tests/fuzz/corpus/") +
                       QString::fromLatin1(target.name));
        const QStringList inputs = dir.entryList(QDir::Files, QDir::Name);
        EXPECT_FALSE(inputs.isEmpty()) << "no kept inputs for " << target.name;
        for (const QString& input : inputs) {
            SCOPED_TRACE(std::string(target.name) + "/" + input.toStdString());
            QFile file(dir.filePath(input));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            target.target(file.readAll());
        }
    }
}
