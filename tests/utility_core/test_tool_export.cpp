// zentry-tool export and import: the same work and checks as the screen, the
// screen's messages on standard error, and the exit status.
#include "ExportFixture.h"

#include <QProcess>

using namespace exporttest;

namespace {
struct ToolRun {
    int exitCode;
    QString err;
};
ToolRun tool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ZENTRY_PROGRAM_DIR "/zentry-tool"), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

TEST_F(ExportTest, ToolExportsAndImportsWithTheScreensChecks) {
    fillSource();
    local.Close(); // the tool opens the installation itself
    struct Step {
        QStringList args;
        int exitCode;
        QString message;
    } steps[] = {
        {{"export", "--from", source, "--to", exportFolder}, 0, "エクスポートが正常に終了しました。"},
        {{"export", "--from", source, "--to", exportFolder}, 1, "指定されたフォルダには既にエクスポートデータが存在しています。"},
        {{"export", "--from", exportFolder, "--to", exportFolder}, 1, "指定されたVer2データフォルダには"},
        {{"import", "--folder", folder.path(), "--from", source}, 1, "指定されたフォルダには「ソラミ！ミルテア」のデータが見つかりません。"},
        {{"import", "--folder", folder.path(), "--from", exportFolder}, 0, "インポートが正常に終了しました。"},
        {{"import", "--folder", folder.path(), "--from", exportFolder}, 1, "既にインポート済み"},
        {{"import", "--from", exportFolder}, 2, "--folder and --from are required"},
        {{"export", "--from", source, "--to"}, 2, "--to needs a value"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.args.join(' ').toStdString());
        const ToolRun r = tool(s.args);
        EXPECT_EQ(r.exitCode, s.exitCode);
        EXPECT_TRUE(r.err.contains(s.message)) << r.err.toStdString();
    }
    EXPECT_EQ(readBytes(exportFolder + "UserData.ukv"), readBytes(ZENTRY_TEST_DATA "/export/UserData.ukv"));
    local.OpenUser();
    EXPECT_EQ(AppSub::NextUserCode(local), 3); // both users of the export arrived
    EXPECT_EQ(AppSub::NextHistoryNumber(local), 3);
}
