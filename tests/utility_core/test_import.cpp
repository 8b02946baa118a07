// Import of an export folder into the running installation: the round trip
// and every way an import is refused or stops, as one table of cases.
#include "Codec.h"
#include "Export.h"
#include "ExportFixture.h"
#include "ExportFormat.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <functional>

using namespace exporttest;

class ImportTest;

namespace {

using Result = CExport::ImportResult;

// A user and their trials, independent of codes and identifiers.
QString userAndTrials(CDB& db, int code) {
    CRsUser_tbl u(&db);
    u.Open(CRecordset::dbOpenSnapshot, "select * from [User_tbl] where [user_code] = %d ", {code});
    QStringList out{QStringList{u.m_user_kname1, u.m_user_kname2, u.m_user_name1, u.m_user_name2,
                                QString::number(u.m_start_no1), QString::number(u.m_start_no2),
                                QString::number(u.m_start_no3)}
                        .join(',')};
    CRsHistory_tbl h(&db);
    h.Open(CRecordset::dbOpenSnapshot,
           "select * from [History_tbl] where [user_code] = %d and [delete_flg] <> 1 order by [execution_date], [AutoNumber]",
           {code});
    for (; !h.IsEOF(); h.MoveNext())
        out << QStringList{h.m_problem_code, h.m_execution_date.toString(Qt::ISODate), h.m_course_code,
                           QString::number(h.m_answer_number), QString::number(h.m_correct_rate, 'f', 6),
                           QString::number(h.m_answer_number60, 'f', 6), QString::number(h.m_target_value),
                           h.m_color_code, h.m_answer_time, h.m_first_update.toString(Qt::ISODate)}
                   .join(',');
    return out.join('\n');
}

int codeOf(CDB& db, const QString& name1, const QString& name2) {
    CRsUser_tbl u(&db);
    u.Open(CRecordset::dbOpenSnapshot, "select * from [User_tbl] where [user_name1] = '%s' and [user_name2] = '%s' ",
           {name1, name2});
    return u.IsEOF() ? 0 : u.m_user_code;
}

// Everything an import could change: every row of both tables and every analysis file.
QString dump(CDB& db) {
    QStringList rows;
    for (const char* table : {"User_tbl", "History_tbl"}) {
        QSqlQuery q(db.database());
        q.exec(QString("select * from [%1] order by 1").arg(table));
        while (q.next()) {
            QStringList fields;
            for (int i = 0; i < q.record().count(); ++i)
                fields << q.value(i).toString();
            rows << fields.join(',');
        }
    }
    const auto files = filesUnder(AppSub::AnalysisFolder(false));
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        rows << it.key() + '=' + QString::fromLatin1(it.value().toHex());
    return rows.join('\n');
}

struct ImportCase {
    const char* name;
    std::function<void(ImportTest&)> prepare;
    Result result;
    QStringList messages; // each message begins with this text, in order
    std::function<void(ImportTest&)> check;
};
void PrintTo(const ImportCase& c, std::ostream* os) { *os << c.name; }

} // namespace

class ImportTest : public ExportTest, public ::testing::WithParamInterface<ImportCase> {
public:
    void SetUp() override {
        fillSource();
        CExport exporter;
        ASSERT_TRUE(exporter.Export(source, exportFolder));
        // The receiving installation has a user and a trial of its own.
        TestUser own;
        own.code = 1;
        own.kname1 = "サトウ";
        own.name1 = "佐藤";
        own.name2 = "一郎";
        AddTestUser(local, own);
        addTrial(local, {1, 1, kDay.addDays(-30), 20, 50.0});
    }

    // The source installation's user and trials, by name.
    QString sourceUser(int code) {
        QString out;
        inSource([&](CDB& db) { out = userAndTrials(db, code); });
        return out;
    }
    void expectSameAsSource(int sourceCode, const QString& name1, const QString& name2) {
        const int code = codeOf(local, name1, name2);
        ASSERT_NE(code, 0) << name1.toStdString();
        EXPECT_EQ(userAndTrials(local, code).toStdString(), sourceUser(sourceCode).toStdString());
        EXPECT_EQ(filesUnder(AppSub::UserFolder(code, false)), filesUnder(source + "解析結果/" + QString::number(sourceCode)));
    }
    void rewrite(const char* file, const QString& text) {
        writeBytes(exportFolder + file, cp932::encode(QString(text).replace("\n", "\r\n")));
    }
    Result import() { return CExport().Import(local, exportFolder); }

    QString before;
};

namespace {
const QString kHeader = "ユーザーコード\tユーザー姓（カナ）\tユーザー名(カナ）\tユーザー姓(漢字）\tユーザー名(漢字）\t"
                        "アンケート入力次回開始No\t顧客伝票修正次回開始No\tミスチェック次回開始No\t\n";
const char* kUkv = "UserData.ukv";

void roundTripChecks(ImportTest& t) {
    t.expectSameAsSource(3, "山田", "太郎");
    t.expectSameAsSource(5, "鈴木", "花子");
    EXPECT_EQ(userAndTrials(t.local, 1).count('\n'), 1); // the own user keeps its one trial
    EXPECT_EQ(AppSub::NextHistoryNumber(t.local), 4);    // 1 own + 2 appended
    EXPECT_EQ(AppSub::NextUserCode(t.local), 4);
}
void unchanged(ImportTest& t) { EXPECT_EQ(dump(t.local).toStdString(), t.before.toStdString()); }
void badFile(ImportTest& t, const QString& ukv) { t.rewrite(kUkv, ukv); }

const QString k137 = "エクスポート／インポートの管理ファイル UserData.ukv の内容が正しく読み込めません。";

const ImportCase kCases[] = {
    {"RoundTripIntoAnInstallationWithOtherUsers", [](ImportTest&) {}, Result::Done, {}, roundTripChecks},
    {"TheSameExportTwiceIsRefused",
     [](ImportTest& t) {
         ASSERT_EQ(t.import(), Result::Done);
         t.before = dump(t.local);
     },
     Result::Failed,
     {"指定されたインポートデータの一部または全部は既にインポート済み"},
     unchanged},
    {"AUserOfTheSameNameIsMergedAndKeepsItsOwnEntries",
     [](ImportTest& t) {
         TestUser same;
         same.code = 2;
         same.kname1 = "ヤマダ別";
         same.start[1] = 99;
         AddTestUser(t.local, same);
     },
     Result::Done,
     {},
     [](ImportTest& t) {
         EXPECT_EQ(codeOf(t.local, "山田", "太郎"), 2);
         EXPECT_TRUE(userAndTrials(t.local, 2).startsWith("ヤマダ別,タロウ,山田,太郎,0,99,0\n2,2026-05-12"));
         EXPECT_EQ(filesUnder(AppSub::UserFolder(2, false)), filesUnder(t.source + "解析結果/3"));
         t.expectSameAsSource(5, "鈴木", "花子");
     }},
    {"HistoryColumnsReorderedAndRecasedStillImport",
     [](ImportTest& t) {
         const auto history = *ExportFormat::ParseHistoryTsv(readBytes(t.exportFolder + "History_tbl.tsv"));
         QStringList lines;
         auto reversed = [](QStringList l) {
             std::reverse(l.begin(), l.end());
             return l.join('\t');
         };
         lines << reversed(history.header).toUpper();
         for (const QStringList& row : history.rows)
             lines << reversed(row);
         t.rewrite("History_tbl.tsv", lines.join('\n') + '\n');
     },
     Result::Done,
     {},
     roundTripChecks},
    {"AHeaderOnlyManagementFileImportsNothing", [](ImportTest& t) { badFile(t, kHeader); }, Result::Done, {}, unchanged},
    {"AnEmptyGivenNameIsRefused",
     [](ImportTest& t) { badFile(t, kHeader + "3\tヤマダ\tタロウ\t山田\t\t0\t0\t0\t\n"); },
     Result::Failed,
     {k137},
     unchanged},
    {"ACodeZeroIsRefused", [](ImportTest& t) { badFile(t, kHeader + "0\tヤ\tタ\t山\t太\t0\t0\t0\t\n"); },
     Result::Failed, {k137}, unchanged},
    {"ACodeThatIsAPathIsRefused", [](ImportTest& t) { badFile(t, kHeader + "../3\tヤ\tタ\t山\t太\t0\t0\t0\t\n"); },
     Result::Failed, {k137}, unchanged},
    {"ANameTheExportCouldNotWriteBackIsRefused",
     [](ImportTest& t) { badFile(t, kHeader + "3\t\"ヤ\tマ\"\tタ\t山\t太\t0\t0\t0\t\n"); }, Result::Failed, {k137},
     unchanged},
    {"AFileWithoutTheHeaderIsRefused", [](ImportTest& t) { badFile(t, "3\tヤ\tタ\t山\t太\t0\t0\t0\t\n"); },
     Result::Failed, {k137}, unchanged},
    {"HistoryRefusedByAReadOnlyDatabaseFailsAndWritesNothing",
     [](ImportTest& t) {
         for (auto [code, n1, n2] : {std::tuple{2, "山田", "太郎"}, std::tuple{3, "鈴木", "花子"}}) {
             TestUser u;
             u.code = code;
             u.name1 = n1;
             u.name2 = n2;
             AddTestUser(t.local, u);
         }
         t.before = dump(t.local);
         t.local.Close();
         ASSERT_EQ(t.local.OpenPrevious(t.folder.path()), 1);
     },
     Result::Failed,
     {"[History_tbl] の更新ができません。"},
     unchanged},
    {"AHistoryAppendTheDatabaseRefusesRollsBackThatUserOnly",
     [](ImportTest& t) {
         // The second export user will be local user 3.
         QSqlQuery(t.local.database())
             .exec("create trigger refuse before insert on History_tbl when new.user_code = 3 "
                   "begin select raise(abort, 'refused by test'); end");
     },
     Result::Failed,
     {"refused by test"},
     [](ImportTest& t) {
         // The earlier user's trials stay; the import ends before any file is copied.
         EXPECT_EQ(userAndTrials(t.local, 2), t.sourceUser(3));
         EXPECT_EQ(userAndTrials(t.local, 3).count('\n'), 0);
         EXPECT_TRUE(filesUnder(AppSub::AnalysisFolder(false)).isEmpty());
     }},
    {"AFileThatCannotBeCopiedIsReportedWithItsUserAndTheImportIsIncomplete",
     [](ImportTest& t) { QFile::link(t.exportFolder + "nowhere", t.exportFolder + "解析結果/5/broken.txt"); },
     Result::Incomplete,
     {"ファイルのコピーに失敗しました。\nコピー元：", "解析結果のコピーに失敗しました。\n\nユーザー：鈴木　花子（コード 3）",
      "インポートは最後まで行いましたが、解析結果の一部のファイルをコピーできませんでした。"},
     [](ImportTest& t) {
         t.expectSameAsSource(3, "山田", "太郎");
         EXPECT_EQ(userAndTrials(t.local, 3), t.sourceUser(5));
         EXPECT_TRUE(t.folder.notifier.texts().value(0).contains("解析結果/5/broken.txt\nコピー先："));
     }},
    {"NamesThatArePathsStayData",
     [](ImportTest& t) { badFile(t, kHeader + "3\tヤ\tタ\t../..\tx/../y\t0\t0\t0\t\n"); },
     Result::Done,
     {},
     [](ImportTest& t) {
         const int code = codeOf(t.local, "../..", "x/../y");
         ASSERT_EQ(code, 2);
         const QString path = AppSub::InputFilePath(t.local, 1, kDay, code);
         EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(AppSub::UserFolder(code, false)).absoluteFilePath());
         EXPECT_EQ(filesUnder(AppSub::UserFolder(code, false)), filesUnder(t.source + "解析結果/3"));
     }},
};
} // namespace

TEST_P(ImportTest, Import) {
    const ImportCase& c = GetParam();
    before = dump(local);
    c.prepare(*this);
    folder.notifier.entries.clear();
    EXPECT_EQ(import(), c.result);
    const QStringList texts = folder.notifier.texts();
    ASSERT_EQ(texts.size(), c.messages.size()) << texts.join("\n---\n").toStdString();
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_TRUE(texts[i].contains(c.messages[i])) << texts[i].toStdString();
    c.check(*this);
}

INSTANTIATE_TEST_SUITE_P(Cases, ImportTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
