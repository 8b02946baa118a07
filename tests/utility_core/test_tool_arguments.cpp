// zentry-tool history and compare: refused arguments and folders they cannot read.
#include "DB.h"
#include "TestFolder.h"
#include "ToolProcess.h"

#include <QFileInfo>

#include <gtest/gtest.h>

TEST(UtilityToolCommands, BadArgumentsAndMissingFoldersOrDatabases) {
    TestFolder folder;
    const QString dir = folder.path();
    const struct {
        QStringList args;
        int exitCode;
        QString message;
    } cases[] = {
        {{"history", "--folder", dir, "--user", "1"}, 2, "--folder, --user and --task are required"},
        {{"history", "--folder", dir, "--user", "1", "--task", "1", "--time", "7"}, 2,
         "--time must be a whole number from 1 to 6: 7"},
        {{"history", "--folder", dir, "--user", "1", "--task", "1", "--course", "3"}, 2,
         "--course must be a whole number from 1 to 2: 3"},
        {{"history", "--folder", dir, "--user", "1", "--task", "1", "--data=0"}, 2,
         "--data must be a whole number from 1 to 3: 0"},
        {{"compare", "--folder", dir, "--task", "1", "--level", "3"}, 2,
         "--level must be a whole number from 1 to 2: 3"},
        {{"compare", "--task", "1"}, 2, "--folder and --task are required"},
        {{"compare", "--folder", dir, "--task", "1", "--user", "1"}, 2, "unknown option: --user"},
        {{"compare", "--folder", dir + "nowhere", "--task", "1"}, 1, "folder not found: " + dir + "nowhere"},
        // UserData.org is there, but the tools never create the user database from it.
        {{"compare", "--folder", dir, "--task", "1"}, 1, "user database not found: " + dir + "UserData.mdb"},
        {{"history", "--folder", dir, "--user", "1", "--task", "1"}, 1,
         "user database not found: " + dir + "UserData.mdb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolRun r = RunZentryTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(folder.file("UserData.mdb")));

    // Without users there is nothing to save, and nothing is written.
    CDB().OpenUser();
    const ToolRun empty = RunZentryTool({"compare", "--folder", dir, "--task", "1"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.out.isEmpty());
    EXPECT_TRUE(empty.err.contains("保存できるものはありません。")) << empty.err.toStdString();
}
