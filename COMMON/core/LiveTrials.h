#pragma once
// The live state of the trials running now, for the instructor's view of the
// room. The task program keeps one small row per trial beside its history
// row: the PC, the cards done, the time left and how the trial stands, written
// as the trial starts (with the history row), after each card, and as it ends
// (with the completed history row). Who, which task and course, the start and
// the time limit are read from the history row itself.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class CDB;

namespace LiveTrials {

// As stored; Silent is what a reader makes of a running trial that has not
// reported for too long.
enum class State { Running = 0, Finished = 1, Aborted = 2, Silent = 3 };

// The table and its index, for the schema of the user database.
QStringList TableStatements();

// The server channel every report notifies, for the screens that listen.
inline const QString kChannel = QStringLiteral("zentry_live");

// This PC as the rows name it.
QString HostName();

// ---- writes of the task program
// Both run inside the caller's write transaction and throw CDBException.
void WriteStart(CDB& db, int autoNumber, int secondsLeft, const QDateTime& at);
// secondsLeft nullopt keeps the last reported value (a trial closed after a kill).
void WriteEnd(CDB& db, int autoNumber, int cardsDone, std::optional<int> secondsLeft, State state,
              const QDateTime& at);
// After a completed card: one statement, never waiting for the other program's
// lock, so the next card is never held up. False when it was skipped (locked,
// or an error); the next report carries the count anyway.
bool ReportCard(CDB& db, int autoNumber, int cardsDone, int secondsLeft, int cardSeconds, const QDateTime& at);

// ---- reading
// Rows stay listed this long after their last report.
constexpr int kListedSeconds = 2 * 60 * 60;
// The least time a card of the task may be expected to take: a questionnaire
// card has nine items to type, a voucher four codes.
int SlowestCardFloor(int task);
// A running trial that has not reported for longer than this is silent: twice
// the slowest card expected (the slowest so far, at least the floor) plus a minute.
int SilentAfterSeconds(int task, int slowestCardSoFar);

struct Row {
    int autoNumber = 0;
    int userCode = 0;
    QString userName; // "姓　名"; empty when the user is not registered
    QString host;
    int task = 0;
    int course = 0;
    QDateTime started;
    int endTime = 0;      // the time-limit code as stored
    int limitSeconds = 0; // what it means (30 minutes for an unknown code)
    int orderFlg = 0;
    int displayFlg = 0;
    int target = 0;
    int target2 = 0;
    int cardsDone = 0;
    QDateTime reported;
    int reportedSecondsLeft = 0; // as of the last report
    State reportedState = State::Running;
    int slowestCard = 0; // the longest a card has taken so far, seconds
    // As of the time the row was aged.
    int secondsLeft = 0;
    State state = State::Running;

    // Screen texts.
    QString ConditionsText() const; // "画面・番号順", "紙・シャッフル・目標 30/25"
    QString StateText() const;      // 実施中 / 終了 / 中止 / 応答なし
    static QString StateText(State s);
    static QString SecondsText(int seconds); // "%02d:%02d"
    // One JSON object, the fields in a fixed order, ending in "\n".
    QByteArray JsonLine() const;
    // Same trial, same report (what --follow prints again).
    bool SameReport(const Row& other) const;
};

// The trials reported within kListedSeconds of now, oldest start first, with
// their state and time left as of now. An older database without the table
// reads as no trials. Throws CDBException.
std::vector<Row> Read(CDB& db, const QDateTime& now);
// The state and time left of a read row as of now (Read applies it).
void Age(Row& row, const QDateTime& now);

} // namespace LiveTrials
