// Import of an export folder into the running installation: the round trip
// and every way an import is refused or stops, as one table of cases; the
// export folders made to harm or by mistake, as another.
#include "Codec.h"
#include "Export.h"
#include "ExportFixture.h"
#include "ExportFormat.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <functional>

#include <sys/stat.h>

using namespace exporttest;

class ImportFixture;

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
    std::function<void(ImportFixture&)> prepare;
    Result result;
    QStringList messages; // each message begins with this text, in order
    std::function<void(ImportFixture&)> check;
};
void PrintTo(const ImportCase& c, std::ostream* os) { *os << c.name; }

} // namespace

class ImportFixture : public ExportTest {
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

void roundTripChecks(ImportFixture& t) {
    t.expectSameAsSource(3, "山田", "太郎");
    t.expectSameAsSource(5, "鈴木", "花子");
    EXPECT_EQ(userAndTrials(t.local, 1).count('\n'), 1); // the own user keeps its one trial
    EXPECT_EQ(AppSub::NextHistoryNumber(t.local), 4);    // 1 own + 2 appended
    EXPECT_EQ(AppSub::NextUserCode(t.local), 4);
}
mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 07777;
}
void unchanged(ImportFixture& t) { EXPECT_EQ(dump(t.local).toStdString(), t.before.toStdString()); }
void badFile(ImportFixture& t, const QString& ukv) { t.rewrite(kUkv, ukv); }

const QString k137 = "エクスポート／インポートの管理ファイル UserData.ukv の内容が正しく読み込めません。";

const ImportCase kCases[] = {
    {"RoundTripIntoAnInstallationWithOtherUsers", [](ImportFixture&) {}, Result::Done, {}, roundTripChecks},
    {"TheSameExportTwiceIsRefused",
     [](ImportFixture& t) {
         ASSERT_EQ(t.import(), Result::Done);
         t.before = dump(t.local);
     },
     Result::Failed,
     {"指定されたインポートデータの一部または全部は既にインポート済み"},
     unchanged},
    {"AUserOfTheSameNameIsMergedAndKeepsItsOwnEntries",
     [](ImportFixture& t) {
         TestUser same;
         same.code = 2;
         same.kname1 = "ヤマダ別";
         same.start[1] = 99;
         AddTestUser(t.local, same);
     },
     Result::Done,
     {},
     [](ImportFixture& t) {
         EXPECT_EQ(codeOf(t.local, "山田", "太郎"), 2);
         EXPECT_TRUE(userAndTrials(t.local, 2).startsWith("ヤマダ別,タロウ,山田,太郎,0,99,0\n2,2026-05-12"));
         EXPECT_EQ(filesUnder(AppSub::UserFolder(2, false)), filesUnder(t.source + "解析結果/3"));
         t.expectSameAsSource(5, "鈴木", "花子");
     }},
    {"HistoryColumnsReorderedAndRecasedStillImport",
     [](ImportFixture& t) {
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
    {"AHeaderOnlyManagementFileImportsNothing", [](ImportFixture& t) { badFile(t, kHeader); }, Result::Done, {}, unchanged},
    {"AnEmptyGivenNameIsRefused",
     [](ImportFixture& t) { badFile(t, kHeader + "3\tヤマダ\tタロウ\t山田\t\t0\t0\t0\t\n"); },
     Result::Failed,
     {k137},
     unchanged},
    {"ACodeZeroIsRefused", [](ImportFixture& t) { badFile(t, kHeader + "0\tヤ\tタ\t山\t太\t0\t0\t0\t\n"); },
     Result::Failed, {k137}, unchanged},
    {"ACodeThatIsAPathIsRefused", [](ImportFixture& t) { badFile(t, kHeader + "../3\tヤ\tタ\t山\t太\t0\t0\t0\t\n"); },
     Result::Failed, {k137}, unchanged},
    {"ANameTheExportCouldNotWriteBackIsRefused",
     [](ImportFixture& t) { badFile(t, kHeader + "3\t\"ヤ\tマ\"\tタ\t山\t太\t0\t0\t0\t\n"); }, Result::Failed, {k137},
     unchanged},
    {"AFileWithoutTheHeaderIsRefused", [](ImportFixture& t) { badFile(t, "3\tヤ\tタ\t山\t太\t0\t0\t0\t\n"); },
     Result::Failed, {k137}, unchanged},
    {"HistoryRefusedByAReadOnlyDatabaseFailsAndWritesNothing",
     [](ImportFixture& t) {
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
    {"AHistoryAppendTheDatabaseRefusesRollsBackTheWholeImportAndTheRetryImportsOnce",
     [](ImportFixture& t) {
         // The second export user gets a second trial, and the database
         // refuses that one: its first trial and the first user were written
         // already in the same transaction.
         t.inSource([](CDB& db) { addTrial(db, {5, 5, kDay.addDays(3), 17, 70.0}); });
         ASSERT_TRUE(CExport().Export(t.source, t.exportFolder));
         QSqlQuery(t.local.database())
             .exec("create trigger refuse before insert on History_tbl when new.user_code = 3 and "
                   "new.execution_date like '2026-05-15%' begin select raise(abort, 'refused by test'); end");
     },
     Result::Failed,
     {"refused by test", "インポートを取り消しました。"},
     [](ImportFixture& t) {
         unchanged(t);
         QSqlQuery(t.local.database()).exec("drop trigger refuse");
         t.folder.notifier.entries.clear();
         ASSERT_EQ(t.import(), Result::Done) << t.folder.notifier.texts().join('\n').toStdString();
         t.expectSameAsSource(3, "山田", "太郎");
         t.expectSameAsSource(5, "鈴木", "花子");
         EXPECT_EQ(AppSub::NextHistoryNumber(t.local), 5); // 1 own + 3 appended once
     }},
    {"AFileThatCannotBeMovedIntoPlaceIsReportedWithItsUserAndTheImportIsIncomplete",
     [](ImportFixture& t) {
         TestUser same;
         same.code = 2;
         AddTestUser(t.local, same);
         // A folder where the export has a file of the same name.
         QDir().mkpath(AppSub::UserFolder(2, true) + "/sub/note.txt");
     },
     Result::Incomplete,
     {"解析結果のコピーに失敗しました。\n\nユーザー：山田　太郎（コード 2）",
      "インポートは最後まで行いましたが、解析結果の一部のファイルをコピーできませんでした。"},
     [](ImportFixture& t) {
         EXPECT_EQ(userAndTrials(t.local, 2).section('\n', 1), t.sourceUser(3).section('\n', 1));
         t.expectSameAsSource(5, "鈴木", "花子");
         EXPECT_EQ(filesUnder(AppSub::UserFolder(2, false)).size(), 1); // the trial's file is in
     }},
    {"ADeletedLocalUserOfTheSameNameIsNotMergedInto",
     [](ImportFixture& t) {
         TestUser gone;
         gone.code = 2;
         gone.deleted = 1;
         AddTestUser(t.local, gone);
     },
     Result::Done,
     {},
     [](ImportFixture& t) {
         EXPECT_EQ(userAndTrials(t.local, 2).count('\n'), 0);
         EXPECT_EQ(userAndTrials(t.local, 3), t.sourceUser(3));
         EXPECT_EQ(userAndTrials(t.local, 4), t.sourceUser(5));
         EXPECT_FALSE(QFileInfo::exists(AppSub::UserFolder(2, false)));
     }},
    {"CopiedFoldersAndFilesAreNoWiderThanTheProgramFolder",
     [](ImportFixture& t) {
         for (const char* path : {"解析結果/3", "解析結果/3/sub", "解析結果/3/sub/note.txt"})
             ::chmod(QFile::encodeName(t.exportFolder + path).constData(), 0777);
     },
     Result::Done,
     {},
     [](ImportFixture& t) {
         const int code = codeOf(t.local, "山田", "太郎");
         const mode_t program = modeOf(t.folder.path());
         for (const QString& dir : {AppSub::UserFolder(code, false), AppSub::UserFolder(code, false) + "/sub"})
             EXPECT_EQ(modeOf(dir) & ~program, 0u) << dir.toStdString();
         QFile fresh(t.folder.file("fresh"));
         ASSERT_TRUE(fresh.open(QIODevice::WriteOnly));
         EXPECT_EQ(modeOf(AppSub::UserFolder(code, false) + "/sub/note.txt"), modeOf(t.folder.file("fresh")));
     }},
    {"NamesThatArePathsStayData",
     [](ImportFixture& t) { badFile(t, kHeader + "3\tヤ\tタ\t../..\tx/../y\t0\t0\t0\t\n"); },
     Result::Done,
     {},
     [](ImportFixture& t) {
         const int code = codeOf(t.local, "../..", "x/../y");
         ASSERT_EQ(code, 2);
         const QString path = AppSub::InputFilePath(t.local, 1, kDay, code);
         EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(AppSub::UserFolder(code, false)).absoluteFilePath());
         EXPECT_EQ(filesUnder(AppSub::UserFolder(code, false)), filesUnder(t.source + "解析結果/3"));
     }},
};
} // namespace

// An export folder made to harm or by mistake: refused with a message before
// anything is written, never followed out of the folder, never waited on.
struct HostileCase {
    const char* name;
    std::function<void(ImportFixture&)> prepare;
    QString message; // the one message contains this
};
void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }
class HostileImport : public ImportFixture, public ::testing::WithParamInterface<HostileCase> {};

namespace {
const QString kSpecial = "通常のファイルでもフォルダでもないもの";

// Replaces an item of the export folder by a link to target.
void linkInstead(ImportFixture& t, const QString& item, const QString& target) {
    const QString path = t.exportFolder + item;
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
    ASSERT_TRUE(QFile::link(target, path)) << path.toStdString();
}

// Sets a column of the history file's first trial.
void editTrial(ImportFixture& t, const QString& column, const QString& value) {
    QStringList lines = cp932::decode(readBytes(t.exportFolder + "History_tbl.tsv")).split("\r\n");
    const int field = lines[0].split('\t').indexOf(column);
    ASSERT_GE(field, 0);
    QStringList row = lines[1].split('\t');
    row[field] = value;
    lines[1] = row.join('\t');
    writeBytes(t.exportFolder + "History_tbl.tsv", cp932::encode(lines.join("\r\n")));
}

const QString kUser3 = "3\tヤマダ\tタロウ\t山田\t太郎\t12\t0\t7\t\n";

const HostileCase kHostile[] = {
    {"AUserFolderLinkedToASystemFolder", [](ImportFixture& t) { linkInstead(t, "解析結果/3", "/etc"); }, kSpecial},
    {"AFileLinkedToASystemFile", [](ImportFixture& t) { linkInstead(t, "解析結果/5/x.csv", "/etc/passwd"); }, kSpecial},
    {"TheAnalysisFolderALink",
     [](ImportFixture& t) {
         const QString elsewhere = t.sourceDir.path() + "/elsewhere";
         ASSERT_TRUE(QDir().rename(t.exportFolder + "解析結果", elsewhere));
         linkInstead(t, "解析結果", elsewhere);
     },
     kSpecial},
    {"TheManagementFileAPipe",
     [](ImportFixture& t) {
         QFile::remove(t.exportFolder + kUkv);
         ASSERT_EQ(::mkfifo(QFile::encodeName(t.exportFolder + kUkv).constData(), 0600), 0);
     },
     kSpecial},
    {"TheHistoryFileLinkedToADevice", [](ImportFixture& t) { linkInstead(t, "History_tbl.tsv", "/dev/zero"); }, kSpecial},
    {"AHistoryFileLargerThanItsUsersCanHave",
     [](ImportFixture& t) {
         QFile f(t.exportFolder + "History_tbl.tsv");
         ASSERT_TRUE(f.resize(ExportFormat::MaxHistoryBytes(2) + 1)); // sparse: nothing is written
     },
     "History_tbl.tsv を読み込めません。\n" + QString::number(ExportFormat::MaxHistoryBytes(2)) + " バイトを超えています。"},
    {"AUserLineRepeated", [](ImportFixture& t) { badFile(t, kHeader + kUser3 + kUser3); }, "は 1 人目と同じユーザーコードです。"},
    {"LinesEndedByCrAlone",
     [](ImportFixture& t) { writeBytes(t.exportFolder + kUkv, cp932::encode(QString(kHeader + kUser3).replace('\n', '\r'))); },
     "行末が CR だけです"},
    {"ALineOver64KiB", [](ImportFixture& t) { badFile(t, kHeader + "3\t" + QString(70000, 'x') + "\tタ\t山\t太\t0\t0\t0\t\n"); },
     "2 行目が 65536 バイトを超えています。"},
    {"ANameOver60Characters", [](ImportFixture& t) { badFile(t, kHeader + "3\tヤ\tタ\t" + QString(61, u'山') + "\t太\t0\t0\t0\t\n"); },
     "の氏名が 60 文字を超えています。"},
    {"ATrialOfAnUnreadableUserCode", [](ImportFixture& t) { editTrial(t, "user_code", "x5"); }, "の user_code「x5」が正の数ではありません。"},
    {"ANegativeCount", [](ImportFixture& t) { editTrial(t, "answer_number", "-3"); }, "の answer_number「-3」は負の数です。"},
    {"ARateOver100", [](ImportFixture& t) { editTrial(t, "correct_rate", "100.5"); }, "の correct_rate「100.5」は0 から 100 の間ではありません。"},
    {"ADeleteFlagOtherThan0Or1", [](ImportFixture& t) { editTrial(t, "delete_flg", "2"); }, "の delete_flg「2」は0 か 1 ではありません。"},
    {"ADateThatDoesNotExist", [](ImportFixture& t) { editTrial(t, "execution_date", "2026/02/30 10:00:00"); },
     "の execution_date「2026/02/30 10:00:00」は日時ではありません。"},
};
} // namespace

TEST_P(HostileImport, IsRefusedAndWritesNothing) {
    const HostileCase& c = GetParam();
    before = dump(local);
    c.prepare(*this);
    folder.notifier.entries.clear();
    EXPECT_EQ(import(), Result::Failed);
    const QStringList texts = folder.notifier.texts();
    ASSERT_EQ(texts.size(), 1) << texts.join("\n---\n").toStdString();
    EXPECT_TRUE(texts[0].contains(c.message)) << texts[0].toStdString();
    unchanged(*this);
    EXPECT_EQ(QDir(folder.path()).entryList({".import-*"}, QDir::AllEntries | QDir::Hidden), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileImport, ::testing::ValuesIn(kHostile),
                         [](const auto& info) { return std::string(info.param.name); });

class ImportTest : public ImportFixture, public ::testing::WithParamInterface<ImportCase> {};

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
    EXPECT_EQ(QDir(folder.path()).entryList({".import-*"}, QDir::AllEntries | QDir::Hidden), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Cases, ImportTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
