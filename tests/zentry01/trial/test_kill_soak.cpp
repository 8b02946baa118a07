// Kill anywhere: a child process runs trial after trial of every task through
// the real task screens, on the delivered master data, and is killed with
// SIGKILL at a random moment: while the trainee types, while a card is saved,
// while the trial closes, or at any moment from its start (its own start-up
// closing the trial an earlier kill left behind included); or, beside it, a
// second child writes users as the utility does and is killed while it
// registers or edits one. After every kill:
// each input-value file holds whole CR LF lines only, one per saved card;
// each history row is either as created or completed; zentry-tool reads every
// trial; every user row is whole, none lost; and the next start closes the
// interrupted trial from its file and runs trials again, and users can be
// registered again. The number of kills and the seed come from
// ZENTRY_SOAK_KILLS and ZENTRY_SOAK_SEED (bench/kill-soak.sh runs the long form).
#include "ChildTest.h"
#include "TaskScreenFixture.h"

#include "DenpyoDlg.h"
#include "IKCRitchEditCtrl.h"
#include "ProgramFolder.h"
#include "Recordset.h"
#include "TaskScreens.h"
#include "UserRegistry.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSet>

#include <chrono>
#include <thread>

using namespace taskscreens;

namespace {

const QString kFolderVariable = QStringLiteral("ZENTRY_SOAK_FOLDER");
const QString kSeedVariable = QStringLiteral("ZENTRY_SOAK_CHILD_SEED");
const QString kDayVariable = QStringLiteral("ZENTRY_SOAK_DAY");
const QString kBuiltMaster = QStringLiteral(ZENTRY_PROGRAM_DIR "/Quillon01.mst");

// The child answers "yes" to the question that ends a trial and passes every
// message on to the parent.
class SoakNotifier : public INotifier {
public:
    void message(const QString& text, MsgIcon) override {
        ChildTest::report("MESSAGE " + text.toUtf8().replace('\n', ' '));
    }
    bool askYesNo(const QString&, MsgIcon) override { return true; }
};

// What the trainee does to a card: types into the first field, or marks its
// first character on the miss-check screen.
void workOn(CDenpyoDlg& dlg, int task, int card) {
    auto* field = dlg.findChild<CIKCRitchEditCtrl*>();
    field->setFocus();
    if (task == 3) {
        QTest::keyClick(field, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(field, Qt::Key_F1);
    } else {
        QTest::keyClicks(field, QStringLiteral("k%1").arg(card));
    }
}

// The child's side: trials until it is killed. Run only as the child of KillSoak.
TEST(KillSoakChild, RunsTrialsUntilKilled) {
    const QString folderPath = qEnvironmentVariable(kFolderVariable.toLatin1());
    if (folderPath.isEmpty())
        GTEST_SKIP() << "runs only as the child process of KillSoak";
    setProgramFolder(folderPath);
    SoakNotifier notifier;
    setNotifier(&notifier);
    // Each child works on a day of its own, so no two trials share a file name.
    FakeClock clock(naiveDateTime(
        QDate(2026, 4, 1).addDays(qEnvironmentVariableIntValue(kDayVariable.toLatin1())), QTime(9, 0)));
    QRandomGenerator random(qEnvironmentVariableIntValue(kSeedVariable.toLatin1()));

    CZentry01App app; // the start-up of the program, as far as it concerns the data
    app.OpenDatabases();
    app.CloseUnfinishedTrials();
    ChildTest::report("STARTED");
    for (;;) {
        const int task = 1 + random.bounded(3);
        CExecEnv& env = app.ExecEnv();
        env.user_code = kTrainee;
        env.problem_code = task;
        env.course_code = 1 + random.bounded(3);
        env.ResetTraineeConditions();
        app.CreateDeck(task, env.course_code);
        env.LoadInstructorConditions();
        ASSERT_TRUE(app.ShowSeq().Build(*app.CurrentDeck(), app.UserDb(), env));

        CKaisekiFile kaiseki;
        std::unique_ptr<CDenpyoDlg> dlg = TaskScreens::Create(task, kaiseki);
        ChildTest::report("OPENING");
        ASSERT_TRUE(dlg->OpenTrial());
        ChildTest::report("OPENED " + QByteArray::number(dlg->HistoryNumber()));
        dlg->show();
        const int cards = 1 + random.bounded(5);
        for (int card = 1; card <= cards; ++card) {
            ChildTest::report("TYPING");
            workOn(*dlg, task, card);
            clock.advance(7);
            ChildTest::report("SAVING");
            QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("next")), Qt::LeftButton);
            ChildTest::report("SAVED");
        }
        ChildTest::report("CLOSING");
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("abort")), Qt::LeftButton);
        ChildTest::report("CLOSED");
        clock.advance(300);
    }
}

const UserRegistry::Names kRegistered{QStringLiteral("ソーク"), QStringLiteral("イチ"), QStringLiteral("試験"),
                                      QStringLiteral("一")};
const UserRegistry::Names kEdited{QStringLiteral("ヘンシュウ"), QStringLiteral("ニ"), QStringLiteral("編集"),
                                  QStringLiteral("二")};

// The utility's side: registers users and edits each once, until it is killed.
TEST(KillSoakChild, WritesUsersUntilKilled) {
    const QString folderPath = qEnvironmentVariable(kFolderVariable.toLatin1());
    if (folderPath.isEmpty())
        GTEST_SKIP() << "runs only as a child process of KillSoak";
    setProgramFolder(folderPath);
    SoakNotifier notifier;
    setNotifier(&notifier);
    CDB db;
    db.OpenUser();
    for (;;) {
        ChildTest::report("REGISTERING");
        const int code = UserRegistry::Add(db, kRegistered);
        ChildTest::report("REGISTERED " + QByteArray::number(code));
        ChildTest::report("EDITING");
        ASSERT_EQ(UserRegistry::Update(db, code, kEdited), UserRegistry::Result::Done);
    }
}

// One trial of a child as its reports tell it.
struct ReportedTrial {
    int autoNumber = 0;
    int saved = 0;
    bool saving = false;  // a card was being saved when the reports end
    bool closing = false; // the trial was being closed
    bool closed = false;
};

struct Reported {
    std::vector<ReportedTrial> trials;
    QByteArrayList messages;
};

Reported readReports(const QList<QByteArray>& reports) {
    Reported r;
    for (const QByteArray& line : reports) {
        ReportedTrial* last = r.trials.empty() ? nullptr : &r.trials.back();
        if (line.startsWith("MESSAGE ")) {
            r.messages << line.mid(8);
        } else if (line.startsWith("OPENED ")) {
            r.trials.push_back({line.mid(7).toInt()});
        } else if (last && line == "SAVING") {
            last->saving = true;
        } else if (last && line == "SAVED") {
            last->saving = false;
            ++last->saved;
        } else if (last && line == "CLOSING") {
            last->closing = true;
        } else if (last && line == "CLOSED") {
            last->closed = true;
        }
    }
    return r;
}

struct Row {
    int autoNumber = 0;
    int problem = 0;
    QDateTime start;
    bool created = false;   // exactly as the trial's opening wrote it
    bool completed = false; // exactly as a trial's end writes it
    int answerNumber = 0;
};

class KillSoak : public TaskScreenTest {
protected:
    void SetUp() override {
        TaskScreenTest::SetUp();
        app.reset(); // each child has the databases to itself while it runs
        if (!QFile::exists(kBuiltMaster))
            GTEST_SKIP() << "the default master data file has not been built";
    }

    // The instructor's settings differ from child to child.
    void writeSettings(QRandomGenerator& random) {
        folder.writeIni(
            QStringLiteral("[Settings]\nmst_path=%1\ndisplay_flg=%2\ndisplay_position=%3\norder_flg=%4\n")
                .arg(kBuiltMaster)
                .arg(random.bounded(2))
                .arg(1 + random.bounded(2))
                .arg(1 + random.bounded(2)));
    }

    std::vector<Row> rows() {
        std::vector<Row> out;
        QSqlQuery q(app->UserDb().database());
        EXPECT_TRUE(q.exec(QStringLiteral(
            "select [AutoNumber], [problem_code], [execution_date], [end_flg], [answer_time], "
            "[first_update], "
            "[last_update], [answer_number] + [answer_koumoku] + [correct_number] + [correct_koumoku] + "
            "[correct_rate] + [correct_rate_koumoku] + [answer_number60] + [answer_koumoku60] + "
            "[correct_number60] + [correct_koumoku60] + [correct_rate60] + [correct_rate_koumoku60], "
            "[answer_number] from [History_tbl] order by [AutoNumber]")));
        while (q.next()) {
            Row r;
            r.autoNumber = q.value(0).toInt();
            r.problem = q.value(1).toInt();
            r.start = dateFromDb(q.value(2));
            const QString endFlag = q.value(3).toString(), answerTime = q.value(4).toString();
            const QString first = q.value(5).toString(), last = q.value(6).toString();
            r.created =
                endFlag.isEmpty() && answerTime.isEmpty() && first == last && q.value(7).toDouble() == 0;
            r.completed = endFlag == QLatin1String("1") && last > first;
            r.answerNumber = q.value(8).toInt();
            out.push_back(r);
        }
        return out;
    }

    // Card lines of a trial's input-value file, -1 when there is no file. Every
    // line must be whole and carry the fields of the file's header.
    int cardLines(const Row& row) {
        static const char* const words[] = {"アンケート", "顧客伝票", "ミスチェック"};
        const QString path = folder.path() + QStringLiteral("解析結果/7/") +
                             row.start.toString(QStringLiteral("yyyyMMdd_HHmmss")) +
                             QStringLiteral("_入力値_") + QString::fromUtf8(words[row.problem - 1]) +
                             QStringLiteral("_山田_太郎.csv");
        if (!QFile::exists(path))
            return -1;
        const QByteArray bytes = readBytes(path);
        if (bytes.isEmpty())
            return 0; // created, killed before its header was written
        EXPECT_TRUE(bytes.endsWith("\r\n")) << "a line was cut short in " << path.toStdString();
        QStringList lines = cp932::decode(bytes).split(QStringLiteral("\r\n"));
        lines.removeLast();
        const qsizetype fields = lines.first().count(u',');
        for (const QString& line : lines)
            EXPECT_EQ(line.count(u','), fields) << line.toStdString();
        return static_cast<int>(lines.size()) - 1;
    }

    // zentry-tool's card counts of every trial of the task.
    // The tool lists finished trials; one without an end it analyses when named.
    QHash<int, int> toolCounts(int problem, int unfinishedRow = 0) {
        QStringList args{QStringLiteral("analyze"), QStringLiteral("--folder"), folder.path(),
                         QStringLiteral("--user"), QString::number(kUser), QStringLiteral("--task"),
                         QString::number(problem)};
        if (unfinishedRow)
            args << QStringLiteral("--history") << QString::number(unfinishedRow);
        QProcess tool;
        tool.start(QStringLiteral(ZENTRY_PROGRAM_DIR "/zentry-tool"), args);
        EXPECT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        QHash<int, int> counts;
        const QJsonArray trials = QJsonDocument::fromJson(tool.readAllStandardOutput())
                                      .object()[QStringLiteral("trials")]
                                      .toArray();
        for (const QJsonValue& t : trials)
            counts.insert(t[QStringLiteral("AutoNumber")].toInt(),
                          t[QStringLiteral("answer_number")].toInt());
        return counts;
    }

    // Everything the files and the database hold after a kill.
    void checkAfterKill(const Reported& reported, int round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // The only message a child may show is the one about a trial it closed at its start.
        for (const QByteArray& m : reported.messages)
            EXPECT_TRUE(m.startsWith("前回、試行の途中で")) << m.toStdString();
        app = std::make_unique<CZentry01App>();
        app->OpenDatabases();
        const std::vector<Row> all = rows();
        QHash<int, int> lines;
        QHash<int, QHash<int, int>> tool;
        for (const Row& row : all) {
            EXPECT_TRUE(row.created != row.completed) << "row " << row.autoNumber << " is half-written";
            lines[row.autoNumber] = cardLines(row);
            if (!tool.contains(row.problem))
                tool[row.problem] = toolCounts(row.problem);
            const int counted = row.completed ? tool[row.problem].value(row.autoNumber, -1)
                                              : toolCounts(row.problem, row.autoNumber).value(row.autoNumber, -1);
            EXPECT_EQ(counted, std::max(0, lines[row.autoNumber])) << "zentry-tool on row " << row.autoNumber;
            if (!row.completed) {
                EXPECT_FALSE(tool[row.problem].contains(row.autoNumber)) << "unfinished row " << row.autoNumber
                                                                         << " listed as a finished trial";
            }
            if (row.completed) {
                EXPECT_EQ(row.answerNumber, std::max(0, lines[row.autoNumber])) << "row " << row.autoNumber;
            }
        }
        for (const ReportedTrial& t : reported.trials) {
            const auto row = std::find_if(all.begin(), all.end(),
                                          [&](const Row& r) { return r.autoNumber == t.autoNumber; });
            ASSERT_NE(row, all.end()) << "no history row " << t.autoNumber;
            if (t.closed) {
                EXPECT_TRUE(row->completed) << "row " << t.autoNumber;
            } else if (!t.closing) {
                EXPECT_TRUE(row->created) << "row " << t.autoNumber;
            }
            if (!t.closing) {
                EXPECT_GE(lines[t.autoNumber], t.saved) << "a saved card is missing";
                EXPECT_LE(lines[t.autoNumber], t.saved + (t.saving ? 1 : 0));
            }
        }
    }

    // Every user row is whole (as registered or as edited) and each user the
    // utility child reported is there; the next registration takes a new code.
    void checkUsers(const QList<QByteArray>& reports, int round) {
        SCOPED_TRACE("users, round " + std::to_string(round));
        QSet<int> reported;
        bool inFlight = false;
        for (const QByteArray& line : reports) {
            if (line.startsWith("MESSAGE "))
                ADD_FAILURE() << line.toStdString();
            if (line.startsWith("REGISTERED "))
                reported << line.mid(11).toInt();
            inFlight = line == "REGISTERING";
        }
        QSqlQuery q(app->UserDb().database());
        ASSERT_TRUE(q.exec(QStringLiteral("select [user_code], [user_kname1], [user_kname2], [user_name1], "
                                          "[user_name2] from [User_tbl] where [user_code] <> %1")
                               .arg(kUser)));
        int rows = 0, largest = kUser;
        while (q.next()) {
            ++rows;
            largest = std::max(largest, q.value(0).toInt());
            const QStringList names{q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                                    q.value(4).toString()};
            const auto listOf = [](const UserRegistry::Names& n) {
                return QStringList{n.kname1, n.kname2, n.name1, n.name2};
            };
            EXPECT_TRUE(names == listOf(kRegistered) || names == listOf(kEdited))
                << "user " << q.value(0).toInt() << " is half-written: " << names.join(u',').toStdString();
            reported.remove(q.value(0).toInt());
        }
        EXPECT_TRUE(reported.isEmpty()) << "a registered user is missing";
        usersWritten += rows - usersSeen;
        EXPECT_LE(rows - usersSeen, registeredNow(reports) + (inFlight ? 1 : 0));
        usersSeen = rows;
        // The utility's next start registers under the next free code.
        EXPECT_EQ(UserRegistry::Add(app->UserDb(), kRegistered), largest + 1);
        ++usersSeen;
    }
    static int registeredNow(const QList<QByteArray>& reports) {
        return static_cast<int>(std::count_if(reports.begin(), reports.end(),
                                              [](const QByteArray& r) { return r.startsWith("REGISTERED "); }));
    }
    int usersSeen = 0;    // user rows besides the trainee's after the last check
    int usersWritten = 0; // by the utility children, all rounds

    // The next start of the task program, the day after the child's trials,
    // closes what the kill interrupted.
    void checkNextStart(int round) {
        clock.set(naiveDateTime(QDate(2026, 4, 1).addDays(round + 1), QTime(8, 0)));
        const size_t messages = folder.notifier.entries.size();
        bool unfinished = false;
        for (const Row& row : rows())
            unfinished = unfinished || row.created;
        app->CloseUnfinishedTrials();
        for (const Row& row : rows()) {
            ASSERT_TRUE(row.completed) << "row " << row.autoNumber << " was left unfinished";
            EXPECT_EQ(row.answerNumber, std::max(0, cardLines(row)));
        }
        EXPECT_EQ(folder.notifier.entries.size(), messages + (unfinished ? 1 : 0));
    }
};

TEST_F(KillSoak, EveryKillLeavesWholeRecordsThatTheNextStartCloses) {
    const int kills = qEnvironmentVariableIsSet("ZENTRY_SOAK_KILLS")
                          ? std::max(1, qEnvironmentVariableIntValue("ZENTRY_SOAK_KILLS"))
                          : 6;
    const quint32 seed =
        qEnvironmentVariableIsSet("ZENTRY_SOAK_SEED") ? qEnvironmentVariableIntValue("ZENTRY_SOAK_SEED") : 13;
    QRandomGenerator random(seed);
    int withRowsLeft = 0;
    for (int round = 0; round < kills; ++round) {
        writeSettings(random);
        ChildTest child(QStringLiteral("KillSoakChild.RunsTrialsUntilKilled"),
                        {{kFolderVariable, folder.path()},
                         {kSeedVariable, QString::number(random.bounded(1000000))},
                         {kDayVariable, QString::number(round)}});
        // Typing, saving or closing, the first to fourth time it happens; or any
        // moment within two seconds of the start; or while the utility child
        // beside it registers or edits a user.
        static const char* const moments[] = {"TYPING", "SAVING", "CLOSING", "", "REGISTERING", "EDITING"};
        const int moment = round % 6;
        std::unique_ptr<ChildTest> utility;
        if (moment >= 4) {
            utility = std::make_unique<ChildTest>(QStringLiteral("KillSoakChild.WritesUsersUntilKilled"),
                                                  QList<QPair<QString, QString>>{{kFolderVariable, folder.path()}});
            int seen = 0;
            const int nth = 1 + random.bounded(20);
            ASSERT_TRUE(utility->waitFor([&](const QByteArray& r) { return r == moments[moment] && ++seen == nth; }))
                << "the utility child ended early: " << QByteArrayList(utility->reports()).join(' ').toStdString();
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(3000)));
            utility->kill();
        } else if (moment != 3) {
            int seen = 0;
            const int nth = 1 + random.bounded(4);
            ASSERT_TRUE(child.waitFor([&](const QByteArray& r) {
                return r == moments[moment] && ++seen == nth;
            })) << "the child ended early: "
                << QByteArrayList(child.reports()).join(' ').toStdString();
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(3000)));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(random.bounded(2000)));
        }
        child.kill();
        checkAfterKill(readReports(child.reports()), round);
        checkUsers(utility ? utility->reports() : QList<QByteArray>{}, round);
        // Every second kill is followed by a start of the task program here; the
        // others leave the interrupted trial to the next child's start.
        if (round % 2 == 1)
            checkNextStart(round);
        for (const Row& row : rows())
            withRowsLeft += row.created ? 1 : 0;
        app.reset();
    }
    app = std::make_unique<CZentry01App>();
    app->OpenDatabases();
    checkNextStart(kills);
    std::printf("kill soak: %d kills, seed %u, %d trials, %d interrupted trials left for the next start, "
                "%d users written by killed utility children\n",
                kills, seed, static_cast<int>(rows().size()), withRowsLeft, usersWritten);
}

} // namespace
