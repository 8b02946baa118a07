// Two programs, one database: two processes write one user database at the
// same time through the operations the programs use (the utility's user
// registrations, name edits and soft deletions of users and trials; the task
// program's trial rows and start numbers), on a shared set of users. Nothing is
// lost, no identifier is given twice and no message appears: a busy database
// is waited for. ZENTRY_WRITERS_WRITES sets the writes per process
// (bench/two-writers.sh runs the long form).
#include "ChildTest.h"

#include "ArrKaisekiMain.h"
#include "DB.h"
#include "ExecEnv.h"
#include "HistoryList.h"
#include "ProgramFolder.h"
#include "TestFolder.h"
#include "TestRows.h"
#include "UserRegistry.h"

#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QThread>

#include <map>
#include <set>

namespace {

const QString kFolderVariable = QStringLiteral("ZENTRY_WRITER_FOLDER");
const QString kWriterVariable = QStringLiteral("ZENTRY_WRITER");
const QString kWritesVariable = QStringLiteral("ZENTRY_WRITERS_WRITES");
constexpr int kPoolUsers = 20;

// Every message a writer would show goes to the parent.
class WriterNotifier : public INotifier {
public:
    void message(const QString& text, MsgIcon) override {
        ChildTest::report("MESSAGE " + text.toUtf8().replace('\n', ' '));
    }
    bool askYesNo(const QString& text, MsgIcon) override {
        message(text, MsgIcon::Question);
        return false;
    }
};

QString fullWidth(int n) {
    QString text = QString::number(n);
    for (QChar& c : text)
        c = QChar(c.unicode() - u'0' + 0xFF10);
    return text;
}

UserRegistry::Names namesOf(const char* kana, int writer, int step) {
    return {QString::fromUtf8(kana), writer == 1 ? QStringLiteral("イチ") : QStringLiteral("ニ"),
            QStringLiteral("試験"), fullWidth(step)};
}

// The pool users whose names a writer edits: the odd ones for writer 1, the even for 2.
int ownPoolUser(int writer, int step) {
    return writer + 2 * (step % (kPoolUsers / 2));
}

QByteArray line(const char* what, std::initializer_list<int> values) {
    QByteArray out(what);
    for (int v : values)
        out += ' ' + QByteArray::number(v);
    return out;
}

// The child's side: one writer. Run only as the child of TwoWriters.
TEST(TwoWritersChild, Writes) {
    const QString folder = qEnvironmentVariable(kFolderVariable.toLatin1());
    if (folder.isEmpty())
        GTEST_SKIP() << "runs only as a child process of TwoWriters";
    setProgramFolder(folder);
    WriterNotifier notifier;
    setNotifier(&notifier);
    const int me = qEnvironmentVariableIntValue(kWriterVariable.toLatin1());
    const int writes = qEnvironmentVariableIntValue(kWritesVariable.toLatin1());
    CDB db;
    db.OpenUser();
    // Both writers start writing at the same moment.
    ChildTest::report("READY");
    while (!QFile::exists(folder + QStringLiteral("go")))
        QThread::msleep(1);
    CExecEnv env;
    env.problem_code = me; // each writer keeps its own start number column
    env.course_code = 1;
    env.order_flg = 1;
    QVector<int> users, trials;
    QRandomGenerator pause(me);
    for (int done = 0, step = 0; done < writes; ++step) {
        // A moment between writes, as between a user's actions: the writers
        // take turns at the lock instead of one running ahead of the other.
        QThread::usleep(pause.bounded(1500));
        switch (step % 8) {
        case 0:
        case 4: {
            const int code = UserRegistry::Add(db, namesOf("シケン", me, step));
            ChildTest::report(line("USER", {code, step}));
            users << code;
            ++done;
            break;
        }
        case 1:
        case 5: {
            const int user = ownPoolUser(me, step);
            if (UserRegistry::Update(db, user, namesOf("ヘンシュウ", me, step)) == UserRegistry::Result::Done)
                ChildTest::report(line("EDIT", {user, step}));
            ++done;
            break;
        }
        case 2: {
            env.user_code = 1 + step % kPoolUsers;
            if (env.StoreNextStartNumber(db, step))
                ChildTest::report(line("START", {env.user_code, step}));
            ++done;
            break;
        }
        case 3: {
            env.user_code = 1 + step % kPoolUsers;
            const int id = env.CreateHistoryRow(db, appClock().now());
            CArrKaisekiMain_ShikouKai totals;
            totals.m_answer_number = step;
            if (id && env.CompleteHistoryRow(db, id, totals, 1, QStringLiteral("01分00秒")))
                ChildTest::report(line("TRIAL", {id, env.user_code, step}));
            trials << id;
            done += 2;
            break;
        }
        case 6:
            if (!users.isEmpty() && UserRegistry::Delete(db, users.first()) == UserRegistry::Result::Done)
                ChildTest::report(line("DELUSER", {users.takeFirst()}));
            ++done;
            break;
        case 7:
            if (!trials.isEmpty() && CHistoryList::Delete(db, trials.first()))
                ChildTest::report(line("DELTRIAL", {trials.takeFirst()}));
            ++done;
            break;
        }
    }
    ChildTest::report("DONE");
}

// What one writer reports, as numbers after its keyword.
QList<QList<int>> reported(const QList<QByteArray>& reports, const char* what) {
    QList<QList<int>> out;
    for (const QByteArray& r : reports) {
        QList<QByteArray> parts = r.split(' ');
        if (parts.takeFirst() != what)
            continue;
        QList<int> values;
        for (const QByteArray& p : parts)
            values << p.toInt();
        out << values;
    }
    return out;
}

class TwoWriters : public ::testing::Test {
protected:
    void SetUp() override {
        CDB db;
        db.OpenUser();
        for (int code = 1; code <= kPoolUsers; ++code) {
            TestUser u;
            u.code = code;
            AddTestUser(db, u);
        }
    }
    QVariant value(const QString& sql) {
        QSqlQuery q(db.database());
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }

    TestFolder folder;
    CDB db;
};

TEST_F(TwoWriters, InterleavedWritesLoseNothingAndGiveNoIdentifierTwice) {
    const int writes = qEnvironmentVariableIsSet(kWritesVariable.toLatin1())
                           ? qEnvironmentVariableIntValue(kWritesVariable.toLatin1())
                           : 100;
    QList<QByteArray> reports[3];
    {
        std::unique_ptr<ChildTest> writers[3];
        for (int w : {1, 2})
            writers[w] = std::make_unique<ChildTest>(
                QStringLiteral("TwoWritersChild.Writes"),
                QList<QPair<QString, QString>>{{kFolderVariable, folder.path()},
                                               {kWriterVariable, QString::number(w)},
                                               {kWritesVariable, QString::number(writes)}});
        for (int w : {1, 2})
            ASSERT_TRUE(writers[w]->waitFor([](const QByteArray& r) { return r == "READY"; }))
                << "writer " << w;
        QFile go(folder.file(QStringLiteral("go")));
        ASSERT_TRUE(go.open(QIODevice::WriteOnly));
        for (int w : {1, 2}) {
            EXPECT_TRUE(writers[w]->finish()) << "writer " << w;
            reports[w] = writers[w]->reports();
            ASSERT_TRUE(reports[w].contains("DONE")) << "writer " << w;
        }
    }
    db.OpenUser();

    std::set<int> userCodes, trialIds;
    QHash<int, QStringList> poolNames;
    QHash<int, int> startNumber[3];
    for (int w : {1, 2}) {
        SCOPED_TRACE("writer " + std::to_string(w));
        EXPECT_TRUE(reported(reports[w], "MESSAGE").isEmpty())
            << QByteArrayList(reports[w]).join('\n').toStdString();
        const QList<QList<int>> deletedUsers = reported(reports[w], "DELUSER");
        for (const QList<int>& u : reported(reports[w], "USER")) {
            EXPECT_TRUE(userCodes.insert(u[0]).second) << "user code " << u[0] << " given twice";
            EXPECT_EQ(
                value(QStringLiteral("select [user_name2] from [User_tbl] where [user_code] = %1").arg(u[0]))
                    .toString(),
                fullWidth(u[1]));
            EXPECT_EQ(
                value(QStringLiteral("select [delete_flg] from [User_tbl] where [user_code] = %1").arg(u[0]))
                    .toInt(),
                deletedUsers.contains(QList<int>{u[0]}) ? 1 : 0);
        }
        const QList<QList<int>> deletedTrials = reported(reports[w], "DELTRIAL");
        for (const QList<int>& t : reported(reports[w], "TRIAL")) {
            EXPECT_TRUE(trialIds.insert(t[0]).second) << "trial " << t[0] << " given twice";
            const QString row = QStringLiteral(" from [History_tbl] where [AutoNumber] = %1").arg(t[0]);
            EXPECT_EQ(value("select [user_code]" + row).toInt(), t[1]);
            EXPECT_EQ(value("select [answer_number]" + row).toInt(), t[2]);
            EXPECT_EQ(value("select [end_flg]" + row).toString(), QStringLiteral("1"));
            EXPECT_EQ(value("select [delete_flg]" + row).toInt(),
                      deletedTrials.contains(QList<int>{t[0]}) ? 1 : 0);
        }
        for (const QList<int>& e : reported(reports[w], "EDIT"))
            poolNames[e[0]] = {QStringLiteral("ヘンシュウ"), fullWidth(e[1])};
        for (const QList<int>& s : reported(reports[w], "START"))
            startNumber[w][s[0]] = s[1];
    }
    // Each pool user keeps the last names its editor wrote and the last start
    // number each writer stored: neither write undid the other's columns.
    for (int user = 1; user <= kPoolUsers; ++user) {
        SCOPED_TRACE("pool user " + std::to_string(user));
        const QString row = QStringLiteral(" from [User_tbl] where [user_code] = %1").arg(user);
        const QStringList names = poolNames.value(user, {QStringLiteral("ヤマダ"), QStringLiteral("太郎")});
        EXPECT_EQ(value("select [user_kname1]" + row).toString(), names[0]);
        EXPECT_EQ(value("select [user_name2]" + row).toString(), names[1]);
        EXPECT_EQ(value("select [start_no1]" + row).toInt(), startNumber[1].value(user));
        EXPECT_EQ(value("select [start_no2]" + row).toInt(), startNumber[2].value(user));
    }
    EXPECT_EQ(value(QStringLiteral("select count(*) from [User_tbl]")).toInt(),
              kPoolUsers + int(userCodes.size()));
    EXPECT_EQ(value(QStringLiteral("select count(*) from [History_tbl]")).toInt(), int(trialIds.size()));

    // How finely the writes interleaved: changes of writer along the user codes
    // and along the trial identifiers, as they were given out.
    int switches = 0;
    for (const char* what : {"USER", "TRIAL"}) {
        std::map<int, int> writerOf;
        for (int w : {1, 2})
            for (const QList<int>& r : reported(reports[w], what))
                writerOf[r[0]] = w;
        int last = 0;
        for (const auto& [id, writer] : writerOf) {
            switches += last && writer != last ? 1 : 0;
            last = writer;
        }
    }
    std::printf(
        "two writers: %d writes each, %d users and %d trials, %d changes of writer along their identifiers\n",
        writes, int(userCodes.size()), int(trialIds.size()), switches);
}

} // namespace
