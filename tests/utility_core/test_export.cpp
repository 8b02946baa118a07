// Export of an installation into an export folder: the two files byte for
// byte, the copy of the analysis folder, a read-only source, and the checks
// made before an export or import starts.
#include "Export.h"
#include "ExportFixture.h"
#include "ExternalDataChecks.h"
#include "ICException.h"

#include <QProcess>

#include <unistd.h>

using namespace exporttest;

namespace {
QByteArray golden(const char* name) { return readBytes(QStringLiteral(ZENTRY_TEST_DATA "/export/") + name); }

// Makes a folder and its files unwritable for the life of the object: by
// permissions, and for root (who ignores them) by the immutable attribute.
class ReadOnlyTree {
public:
    explicit ReadOnlyTree(const QString& folder) : m_folder(folder) {
        QProcess::execute(QStringLiteral("chmod"), {"-R", "a-w", folder});
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {"-R", "+i", folder});
    }
    ~ReadOnlyTree() {
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {"-R", "-i", m_folder});
        QProcess::execute(QStringLiteral("chmod"), {"-R", "u+w", m_folder});
    }
    bool ok() const {
        QFile probe(m_folder + "/probe");
        if (!probe.open(QIODevice::WriteOnly))
            return true;
        probe.remove();
        return false;
    }

private:
    QString m_folder;
};
} // namespace

TEST_F(ExportTest, WritesTheTwoFilesByteForByteAndCopiesTheAnalysisFolder) {
    fillSource();
    CExport exporter;
    ASSERT_TRUE(exporter.Export(source, exportFolder));
    EXPECT_EQ(readBytes(exportFolder + "UserData.ukv"), golden("UserData.ukv"));
    EXPECT_EQ(readBytes(exportFolder + "History_tbl.tsv"), golden("History_tbl.tsv"));
    const auto copied = filesUnder(exportFolder + "解析結果");
    EXPECT_EQ(copied.size(), 3);
    EXPECT_EQ(copied, filesUnder(source + "解析結果"));
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

TEST_F(ExportTest, WorksFromAFolderNobodyCanWriteTo) {
    fillSource();
    ReadOnlyTree readOnly(source);
    if (!readOnly.ok())
        GTEST_SKIP() << "cannot make a folder read-only here";
    CExport exporter;
    ASSERT_TRUE(exporter.Export(source, exportFolder)) << folder.notifier.texts().join('\n').toStdString();
    EXPECT_EQ(readBytes(exportFolder + "UserData.ukv"), golden("UserData.ukv"));
    EXPECT_EQ(readBytes(exportFolder + "History_tbl.tsv"), golden("History_tbl.tsv"));
    EXPECT_EQ(filesUnder(exportFolder + "解析結果").size(), 3);
}

TEST_F(ExportTest, AFileThatCannotBeCopiedStopsTheExportWithBothMessages) {
    fillSource();
    QFile::link(source + "解析結果/3/missing", source + "解析結果/3/broken.csv");
    CExport exporter;
    try {
        exporter.Export(source, exportFolder);
        FAIL() << "export succeeded";
    } catch (const CICException& e) {
        EXPECT_TRUE(e.GetErrorMessage().endsWith("\n解析結果のコピーに失敗しました。"));
    }
    ASSERT_EQ(folder.notifier.entries.size(), 1);
    EXPECT_TRUE(folder.notifier.texts()[0].startsWith("ファイルのコピーに失敗しました。\nコピー元：" + source +
                                                      "解析結果/3/broken.csv\nコピー先：" + exportFolder +
                                                      "解析結果/3/broken.csv\n\n\nエラー "));
}

TEST_F(ExportTest, AMissingSourceDatabaseWritesNothing) {
    CExport exporter;
    EXPECT_FALSE(exporter.Export(source, exportFolder));
    EXPECT_EQ(folder.notifier.texts(),
              QStringList{"データベース " + source + "UserData.mdb が見つかりません。インストール先Ver2フォルダを確認してください\n\n"});
    EXPECT_TRUE(QDir(exportFolder).isEmpty());
}

TEST_F(ExportTest, ChecksRefuseInTheScreensOrder) {
    using namespace ExportStrings;
    using ExternalDataChecks::Field;
    fillSource();
    const QString noData = sourceDir.path() + "/empty";
    const QString dbOnly = sourceDir.path() + "/dbonly";
    QDir().mkpath(noData);
    writeBytes(dbOnly + "/UserData.mdb", "x");
    const QString withExport = exportDir.path() + "/done";
    writeBytes(withExport + "/UserData.ukv", "");
    struct Case {
        QString source, destination;
        std::optional<Id> message;
        Field field;
    } cases[] = {
        {"", exportFolder, SourceMissing, Field::Source},
        {source + "nowhere", exportFolder, SourceMissing, Field::Source},
        {noData, exportFolder, NoDataInSource, Field::Source},
        {dbOnly, exportFolder, NoDataInSource, Field::Source},
        {source, "  ", DestinationMissing, Field::Destination},
        {source, exportFolder + "nowhere", DestinationMissing, Field::Destination},
        {source, withExport, ExportExists, Field::Destination},
        {" " + source + " ", exportDir.path(), std::nullopt, Field::Source},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.source + " → " + c.destination).toStdString());
        const auto refusal = ExternalDataChecks::CheckExport(c.source, c.destination);
        ASSERT_EQ(refusal.has_value(), c.message.has_value());
        if (refusal) {
            EXPECT_EQ(refusal->message, *c.message);
            EXPECT_EQ(refusal->field, c.field);
        }
    }
    EXPECT_EQ(ExternalDataChecks::CheckImport("")->message, NoImportData);
    EXPECT_EQ(ExternalDataChecks::CheckImport(exportFolder)->message, NoImportData);
    EXPECT_FALSE(ExternalDataChecks::CheckImport(withExport).has_value());
}
