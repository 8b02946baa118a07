// zentry-tool analyze, run as a separate process on a prepared program folder.
#include "AnalysisFixtures.h"
#include "TestFolder.h"
#include "ToolProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace analysis;
using fixtures::MasterWriter;

namespace {
const QDateTime kFirst = naiveDateTime(QDate(2026, 4, 1), QTime(9, 30, 0));
const QDateTime kSecond = naiveDateTime(QDate(2026, 4, 2), QTime(10, 0, 0));

using Result = ToolRun;

void writeMaster(const QString& path) {
    MasterWriter w(path);
    w.voucher("Mst02", 10, {"123", "P-100", "03-1234-5678", "a@b.jp"});
    w.voucher("Mst02", 20, {"123", "P-200", "03-1234-5678", "c@d.jp"});
    w.voucher("Mst02", 30, {"ABC", "P-300", "045-111-2222", "e@f.jp"});
    w.voucher("Mst02Error", 10, {"128", "P-100", "03-1234-5678", "a@b.jp"});
    w.voucher("Mst02Error", 20, {"123", "P-200", "03-1234-5678", "c@d.jp"});
    w.voucher("Mst02Error", 30, {"ABC", "P-3OO", "045-111-2222", "e@f.jp"});
}

class ZentryTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(ZentryToolPath()).isExecutable())
            << "build the zentry-tool target first: " << ZentryToolPath().toStdString();
        writeMaster(folder.file("Quillon01.mst"));
        CDB user;
        user.OpenUser();
        fixtures::addUser(user, 1, "山田", "太郎");
        History h;
        h.problem = 2;
        h.endTime = "3";
        h.executed = kFirst;
        addHistory(user, h);
        writeFile(inputFilePath(1, 2, kFirst),
                  {headerLine(2, 1), cardLine("1分0秒", 10, {"128", "P-100", "03-1234-5678", "a@b.jp"}),
                   cardLine("2分0秒", 20, {"123", "P-200", "03-1234-5678", "c@d.jp"}),
                   cardLine("16分0秒", 30, {"ABC", "P-300", "045-111-2222", "ｅ@f.jp"})});
        // An aborted level-up trial whose file is gone, and a deleted row.
        h.autoNumber = 2;
        h.executed = kSecond;
        h.endTime = "2";
        h.course = "3";
        h.endFlag = "1";
        addHistory(user, h);
        h.autoNumber = 3;
        h.deleted = 1;
        addHistory(user, h);
        user.Close();
    }

    QStringList args(const QStringList& more = {}) {
        return QStringList{"analyze", "--folder", folder.path(), "--user", "1", "--task", "2"} + more;
    }

    QJsonArray trials(const Result& r) {
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
        return doc.object().value("trials").toArray();
    }

    TestFolder folder;
};

QList<int> ints(const QJsonValue& v) {
    QList<int> out;
    for (const QJsonValue& e : v.toArray())
        out << e.toInt();
    return out;
}
} // namespace

TEST_F(ZentryTool, AnalyzePrintsEveryTrialOfTheUserAndTask) {
    const QJsonArray all = trials(RunZentryTool(args()));
    ASSERT_EQ(all.size(), 2);

    const QJsonObject t = all[0].toObject();
    EXPECT_EQ(t["AutoNumber"].toInt(), 1);
    EXPECT_EQ(t["trial_number"].toInt(), 1);
    EXPECT_EQ(t["input_file"].toString(), inputFilePath(1, 2, kFirst));
    EXPECT_FALSE(t["file_missing"].toBool());
    EXPECT_EQ(t["message"].toString(), "");
    EXPECT_EQ(t["answer_number"].toInt(), 3);
    EXPECT_EQ(t["answer_koumoku"].toInt(), 12);
    EXPECT_EQ(t["correct_number"].toInt(), 1);
    EXPECT_EQ(t["correct_koumoku"].toInt(), 10);
    EXPECT_DOUBLE_EQ(t["correct_rate"].toDouble(), 100.0 / 3);
    EXPECT_DOUBLE_EQ(t["correct_rate_koumoku"].toDouble(), 1000.0 / 12);
    EXPECT_DOUBLE_EQ(t["answer_number60"].toDouble(), 3 * 1.33);
    EXPECT_DOUBLE_EQ(t["answer_koumoku60"].toDouble(), 12 * 1.33);
    EXPECT_DOUBLE_EQ(t["correct_number60"].toDouble(), 1 * 1.33);
    EXPECT_DOUBLE_EQ(t["correct_koumoku60"].toDouble(), 10 * 1.33);
    EXPECT_DOUBLE_EQ(t["correct_rate60"].toDouble(), 1.33 / (3 * 1.33) * 100);
    EXPECT_DOUBLE_EQ(t["correct_rate_koumoku60"].toDouble(), 10 * 1.33 / (12 * 1.33) * 100);
    EXPECT_EQ(t["error_cards"].toInt(), 2);
    EXPECT_DOUBLE_EQ(t["error_card_rate"].toDouble(), 200.0 / 3);
    EXPECT_EQ(ints(t["item_errors"]), (QList<int>{1, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ints(t["class_errors"]), (QList<int>{0, 0, 1, 0, 1, 0}));

    const QJsonArray wrong = t["wrong_characters"].toArray();
    ASSERT_EQ(wrong.size(), 2);
    EXPECT_EQ(
        wrong[0].toObject(),
        (QJsonObject{
            {"card", 10}, {"item", 21}, {"class", 3}, {"kind", 2}, {"expected", "38"}, {"found", "8"}}));
    EXPECT_EQ(
        wrong[1].toObject(),
        (QJsonObject{
            {"card", 30}, {"item", 24}, {"class", 5}, {"kind", 3}, {"expected", "ee"}, {"found", "ｅ"}}))
        << "text is UTF-8";

    const QJsonObject missing = all[1].toObject();
    EXPECT_EQ(missing["AutoNumber"].toInt(), 2);
    EXPECT_EQ(missing["trial_number"].toInt(), 2);
    EXPECT_TRUE(missing["file_missing"].toBool());
    EXPECT_EQ(missing["message"].toString(), "Error. 入力値ファイルが見つかりません.");
    EXPECT_EQ(missing["input_file"].toString(), "");
    EXPECT_EQ(missing["answer_number"].toInt(), 0);
    EXPECT_TRUE(missing["wrong_characters"].toArray().isEmpty());
}

TEST_F(ZentryTool, OptionsReachTheAnalysis) {
    QJsonArray t = trials(RunZentryTool(args({"--history", "2,1"})));
    ASSERT_EQ(t.size(), 2);
    EXPECT_EQ(t[0].toObject()["AutoNumber"].toInt(), 1) << "history order";
    EXPECT_EQ(t[0].toObject()["trial_number"].toInt(), 2) << "numbered in the order given";
    EXPECT_EQ(t[1].toObject()["trial_number"].toInt(), 1);

    t = trials(RunZentryTool(args({"--bucket", "2"})));
    ASSERT_EQ(t.size(), 2);
    EXPECT_EQ(t[0].toObject()["answer_number"].toInt(), 1) << "only the card of the second quarter hour";

    t = trials(RunZentryTool(args({"--selection-type=6"})));
    ASSERT_EQ(t.size(), 1);
    EXPECT_EQ(t[0].toObject()["AutoNumber"].toInt(), 2);

    t = trials(RunZentryTool(args({"--test-levelup"})));
    ASSERT_EQ(t.size(), 1);
    EXPECT_EQ(t[0].toObject()["AutoNumber"].toInt(), 1);

    t = trials(RunZentryTool(args({"--course", "3", "--end-time", "2"})));
    ASSERT_EQ(t.size(), 1);
    EXPECT_EQ(t[0].toObject()["AutoNumber"].toInt(), 2);

    EXPECT_TRUE(trials(RunZentryTool(args({"--end-time", "4"}))).isEmpty());
    EXPECT_TRUE(trials(RunZentryTool(args({"--task", "3"}))).isEmpty()) << "the last --task counts";
}

TEST_F(ZentryTool, TheMasterFileNamedInTheIniFileIsUsed) {
    QDir().mkpath(folder.file("elsewhere"));
    ASSERT_TRUE(QFile::rename(folder.file("Quillon01.mst"), folder.file("elsewhere/Other.mst")));
    folder.writeIni("[Settings]\nmst_path=" + folder.file("elsewhere/Other.mst") + "\n");
    const QJsonArray t = trials(RunZentryTool(args()));
    ASSERT_EQ(t.size(), 2);
    EXPECT_EQ(t[0].toObject()["error_cards"].toInt(), 2);
}

TEST_F(ZentryTool, BadArgumentsAreRefusedWithAMessage) {
    struct Case {
        QStringList args;
        const char* message;
    } cases[] = {
        {{}, "usage: zentry-tool"},
        {{"frobnicate"}, "unknown command: frobnicate"},
        {{"analyze", "--folder", folder.path(), "--user", "1"}, "--folder, --user and --task are required"},
        {args({"--task", "4"}), "--task must be a whole number from 1 to 3: 4"},
        {args({"--user", "one"}), "--user must be a whole number"},
        {args({"--bucket", "5"}), "--bucket must be a whole number from 0 to 4"},
        {args({"--history", "1,x"}), "--history needs history numbers"},
        {args({"--history", ""}), "--history needs history numbers"},
        {args({"--verbose"}), "unknown option: --verbose"},
        {args({"--course"}), "--course needs a value"},
        {args({"--test-levelup=1"}), "--test-levelup takes no value"},
    };
    for (const Case& c : cases) {
        const Result r = RunZentryTool(c.args);
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST_F(ZentryTool, MissingFolderOrDatabasesFail) {
    Result r = RunZentryTool({"analyze", "--folder", folder.file("nowhere"), "--user", "1", "--task", "2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("folder not found: " + folder.file("nowhere"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    ASSERT_TRUE(QFile::rename(folder.file("Quillon01.mst"), folder.file("Quillon01.bak")));
    r = RunZentryTool(args());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Quillon01.mst")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    // The template is there, but the tool never creates the user database from it.
    ASSERT_TRUE(QFile::remove(folder.file("UserData.mdb")));
    r = RunZentryTool(args());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("user database not found: " + folder.file("UserData.mdb")))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder.file("UserData.mdb")));
}

TEST_F(ZentryTool, AnAnalysisFailureIsAnError) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "tool_master_edit");
        db.setDatabaseName(folder.file("Quillon01.mst"));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("insert into Mst02Error values (40, '1', '2', '3', '4', 0)");
        db.close();
    }
    QSqlDatabase::removeDatabase("tool_master_edit");
    const Result r = RunZentryTool(args());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("伝票データと伝票誤りデータのレコード数が違います。")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}
