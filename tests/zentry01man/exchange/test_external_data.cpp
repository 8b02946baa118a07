// The external data screen: the remembered folders, folder choice, the checks
// in their order with the focus on the faulty field, and export and import
// started from the screen.
#include "AppSub.h"
#include "FileDialogs.h"
#include "KaisekiDlg.h"
#include "UtilityFixture.h"

#include <QTemporaryDir>

using namespace utility;

namespace {

class ExternalData : public UtilityTest {
protected:
    void SetUp() override {
        UtilityTest::SetUp();
        FileDialogs::clearNextFileNames();
        // The running installation exports itself: a user and its analysis folder.
        addUser(1, QStringLiteral("ヤマダ"), QStringLiteral("タロウ"), QStringLiteral("山田"), QStringLiteral("太郎"));
        AppSub::UserFolder(1, true);
    }
    void open() {
        screen = std::make_unique<CKaisekiDlg>();
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    }
    QLineEdit* field(const char* name) { return Child<QLineEdit>(screen.get(), name); }
    void fill(const QString& source, const QString& destination, const QString& import) {
        field("sourceField")->setText(source);
        field("destinationField")->setText(destination);
        field("importField")->setText(import);
    }

    std::unique_ptr<CKaisekiDlg> screen;
    QTemporaryDir exportDir;
};

TEST_F(ExternalData, FoldersAreRememberedInOrderWhicheverWayTheScreenCloses) {
    open();
    FileDialogs::setNextFileName(exportDir.path());
    Click(screen.get(), "sourceFieldBrowse");
    EXPECT_EQ(field("sourceField")->text(), exportDir.path());
    fill(QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c"));
    QTest::keyClick(screen.get(), Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
    QFile ini(AppSub::ProfilePath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromLatin1(ini.readAll()).contains("Ver2InstallPath=/a\r\nExportPath=/b\r\nImportPath=/c\r\n"));
    open();
    EXPECT_EQ(field("destinationField")->text(), QStringLiteral("/b"));
    EXPECT_EQ(field("importField")->text(), QStringLiteral("/c"));
}

TEST_F(ExternalData, ExportChecksComeBeforeTheQuestion) {
    open();
    const QString here = folder.path();
    struct Case {
        QString source, destination;
        QList<bool> answers;
        QStringList messages;
        const char* focused;
    } cases[] = {
        {"", exportDir.path(), {}, {"Ver2データフォルダが見つかりません。またはアクセスできません。\nインストール先フォルダを確認してください。"}, "sourceField"},
        {exportDir.path(), exportDir.path(), {}, {"指定されたVer2データフォルダには「ソラミ！ミルテア」のデータが見つかりません。"}, "sourceField"},
        {here, "", {}, {"保存先フォルダが見つかりません。またはアクセスできません。\n保存先フォルダを確認してください。"}, "destinationField"},
        {here, exportDir.path(), {false}, {"データをエクスポートしてよろしいですか？"}, "destinationField"},
        {here, exportDir.path(), {true}, {"データをエクスポートしてよろしいですか？", "エクスポートが正常に終了しました。"}, "exportButton"},
        {here, exportDir.path(), {true}, {"指定されたフォルダには既にエクスポートデータが存在しています。\n\n"
                                          "指定したフォルダの中にあるすべてのファイルを削除するか、または別なフォルダを指定してください。"}, "destinationField"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messages.join('|').toStdString());
        folder.notifier.entries.clear();
        folder.notifier.answers = c.answers;
        fill(c.source, c.destination, QString());
        Click(screen.get(), "exportButton");
        EXPECT_EQ(messages(), c.messages);
        if (std::string(c.focused) != "exportButton") {
            EXPECT_TRUE(field(c.focused)->hasFocus());
        }
    }
    EXPECT_TRUE(QFile::exists(exportDir.path() + "/UserData.ukv"));
    EXPECT_TRUE(QFile::exists(exportDir.path() + "/解析結果/1"));
}

TEST_F(ExternalData, ImportNeedsAManagementFileAndReportsSuccess) {
    open();
    fill(folder.path(), exportDir.path(), QString());
    folder.notifier.answers = {true};
    Click(screen.get(), "exportButton");
    folder.notifier.entries.clear();
    for (const QString& from : {QString(), folder.path()}) {
        field("importField")->setText(from);
        Click(screen.get(), "importButton");
        EXPECT_EQ(messages().value(0), QStringLiteral("指定されたフォルダには「ソラミ！ミルテア」のデータが見つかりません。"));
        EXPECT_TRUE(field("importField")->hasFocus());
        folder.notifier.entries.clear();
    }
    // Importing this installation's own export into a copy where its user has no files yet.
    QDir(AppSub::UserFolder(1, false)).removeRecursively();
    field("importField")->setText(exportDir.path());
    Click(screen.get(), "importButton");
    EXPECT_EQ(messages(), QStringList{QStringLiteral("インポートが正常に終了しました。")});
    EXPECT_EQ(AppSub::UserList(app->UserDb()).size(), 1); // merged with itself by name
}

} // namespace
