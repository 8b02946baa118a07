#include "LiveTrials.h"

#include "Clock.h"
#include "DB.h"
#include "DbEngine.h"
#include "ICException.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>

#include <algorithm>

namespace LiveTrials {
namespace {
QString dateText(const QDateTime& t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

QDateTime dateOf(const QVariant& v) {
    const QString s = v.toString();
    if (s.size() < 19)
        return {};
    return naiveDateTime(QDate::fromString(s.left(10), QStringLiteral("yyyy-MM-dd")),
                         QTime::fromString(s.mid(11, 8), QStringLiteral("HH:mm:ss")));
}

// A classroom server tells the listening live screens at once (delivered
// when the write commits).
void notifyListeners(CDB& db) {
    if (DbEngines::engineOf(db) != DbEngine::PostgreSQL)
        return;
    QSqlQuery q(db.database());
    q.exec(QStringLiteral("NOTIFY %1").arg(kChannel));
}

void run(QSqlQuery& q) {
    if (!q.exec())
        throw CDBException(q.lastError().text());
}

int limitSecondsOf(int endTime) {
    switch (endTime) {
    case 1:
        return 15 * 60;
    case 3:
        return 45 * 60;
    case 4:
        return 60 * 60;
    default:
        return 30 * 60;
    }
}

QByteArray jsonString(const QString& s) {
    QString out = QStringLiteral("\"");
    for (const QChar c : s) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return (out + QLatin1Char('"')).toUtf8();
}

const char* stateName(State s) {
    switch (s) {
    case State::Running:
        return "running";
    case State::Finished:
        return "finished";
    case State::Aborted:
        return "aborted";
    case State::Silent:
        return "silent";
    }
    return "running";
}
} // namespace

QStringList TableStatements() {
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS [Live_tbl] ([AutoNumber] INTEGER PRIMARY KEY, [host] TEXT, "
                       "[cards_done] INTEGER, [seconds_left] INTEGER, [state] INTEGER, [reported] TEXT, "
                       "[slowest_card] INTEGER)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS [Live_reported] ON [Live_tbl] ([reported])"),
    };
}

QString HostName() {
    return QSysInfo::machineHostName();
}

void WriteStart(CDB& db, int autoNumber, int secondsLeft, const QDateTime& at) {
    QSqlQuery& q = db.cachedQuery(QStringLiteral(
        "insert into [Live_tbl] ([AutoNumber], [host], [cards_done], [seconds_left], [state], [reported], "
        "[slowest_card]) values (?, ?, 0, ?, 0, ?, 0)"));
    q.bindValue(0, autoNumber);
    q.bindValue(1, HostName());
    q.bindValue(2, secondsLeft);
    q.bindValue(3, dateText(at));
    run(q);
    notifyListeners(db);
}

void WriteEnd(CDB& db, int autoNumber, int cardsDone, std::optional<int> secondsLeft, State state,
              const QDateTime& at) {
    QSqlQuery& q = db.cachedQuery(QStringLiteral(
        "update [Live_tbl] set [cards_done] = ?, [seconds_left] = coalesce(?, [seconds_left]), [state] = ?, "
        "[reported] = ? where [AutoNumber] = ?"));
    q.bindValue(0, cardsDone);
    q.bindValue(1, secondsLeft ? QVariant(*secondsLeft) : QVariant(QMetaType(QMetaType::Int)));
    q.bindValue(2, static_cast<int>(state));
    q.bindValue(3, dateText(at));
    q.bindValue(4, autoNumber);
    run(q);
    notifyListeners(db);
}

bool ReportCard(CDB& db, int autoNumber, int cardsDone, int secondsLeft, int cardSeconds, const QDateTime& at) {
    // A lock held by the other program (an import) would stall the trainee:
    // the report is skipped instead of waited for. Nor does it wait for the
    // disk: the card itself is already on it in the input-value file, and a
    // report lost to a power cut is written again by the next card or the end.
    // A server's rows are locked per row and its disk is the server's: there
    // the report is a plain update.
    const bool embedded = DbEngines::engineOf(db) == DbEngine::SQLite;
    QSqlQuery pragma(db.database());
    QString synchronous;
    if (embedded) {
        synchronous = pragma.exec(QStringLiteral("PRAGMA synchronous")) && pragma.next() ? pragma.value(0).toString()
                                                                                         : QString();
        pragma.finish();
        pragma.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        db.SetBusyTimeout(0);
    }
    bool written = false;
    try {
        QSqlQuery& q = db.cachedQuery(QStringLiteral(
            "update [Live_tbl] set [cards_done] = ?, [seconds_left] = ?, [reported] = ?, "
            "[slowest_card] = case when [slowest_card] < ? then ? else [slowest_card] end "
            "where [AutoNumber] = ? and [state] = 0"));
        q.bindValue(0, cardsDone);
        q.bindValue(1, secondsLeft);
        q.bindValue(2, dateText(at));
        q.bindValue(3, cardSeconds);
        q.bindValue(4, cardSeconds);
        q.bindValue(5, autoNumber);
        written = q.exec();
        if (written)
            notifyListeners(db);
    } catch (const CDBException&) {
    }
    if (embedded) {
        db.SetBusyTimeout(CDB::kBusyTimeoutMs);
        if (!synchronous.isEmpty())
            pragma.exec(QStringLiteral("PRAGMA synchronous = %1").arg(synchronous.toInt()));
    }
    return written;
}

int SlowestCardFloor(int task) { return task == 1 ? 120 : 60; }

int SilentAfterSeconds(int task, int slowestCardSoFar) {
    return 2 * std::max(slowestCardSoFar, SlowestCardFloor(task)) + 60;
}

QString Row::StateText(State s) {
    switch (s) {
    case State::Running:
        return QStringLiteral("実施中");
    case State::Finished:
        return QStringLiteral("終了");
    case State::Aborted:
        return QStringLiteral("中止");
    case State::Silent:
        return QStringLiteral("応答なし");
    }
    return {};
}

QString Row::StateText() const { return StateText(state); }

QString Row::SecondsText(int seconds) {
    return QString::asprintf("%02d:%02d", seconds / 60, seconds % 60);
}

QString Row::ConditionsText() const {
    QString text = (displayFlg ? QStringLiteral("画面") : QStringLiteral("紙")) + QStringLiteral("・") +
                   (orderFlg == 2 ? QStringLiteral("シャッフル") : QStringLiteral("番号順"));
    if (course == 3 && (target || target2))
        text += QStringLiteral("・目標 %1/%2").arg(target).arg(target2);
    return text;
}

QByteArray Row::JsonLine() const {
    QByteArray out = "{\"user_code\":" + QByteArray::number(userCode);
    out += ",\"user_name\":" + jsonString(userName);
    out += ",\"host\":" + jsonString(host);
    out += ",\"task\":" + QByteArray::number(task);
    out += ",\"course\":" + QByteArray::number(course);
    out += ",\"started\":" + jsonString(dateText(started));
    out += ",\"end_time\":" + QByteArray::number(limitSeconds / 60);
    out += ",\"cards_done\":" + QByteArray::number(cardsDone);
    out += ",\"seconds_left\":" + QByteArray::number(secondsLeft);
    out += ",\"state\":\"" + QByteArray(stateName(state)) + "\"}\n";
    return out;
}

bool Row::SameReport(const Row& o) const {
    return autoNumber == o.autoNumber && cardsDone == o.cardsDone && reported == o.reported &&
           reportedState == o.reportedState && state == o.state && userName == o.userName;
}

void Age(Row& row, const QDateTime& now) {
    row.state = row.reportedState;
    row.secondsLeft = row.reportedSecondsLeft;
    if (row.reportedState != State::Running)
        return;
    const qint64 silentFor = row.reported.secsTo(now);
    const qint64 left = row.reportedSecondsLeft - std::max<qint64>(silentFor, 0);
    row.secondsLeft = static_cast<int>(std::max<qint64>(0, std::min<qint64>(left, row.reportedSecondsLeft)));
    if (silentFor > SilentAfterSeconds(row.task, row.slowestCard))
        row.state = State::Silent;
}

std::vector<Row> Read(CDB& db, const QDateTime& now) {
    std::vector<Row> rows;
    db.RestoreLostConnection();
    auto hasTable = [&] {
        return db.database().tables().contains(QStringLiteral("Live_tbl"), Qt::CaseInsensitive);
    };
    // A server restarted since the last look: asked again on a new connection.
    if (!hasTable() && !(db.RestoreLostConnection() && hasTable()))
        return rows;
    QSqlQuery& q = db.cachedQuery(QStringLiteral(
        "select [Live_tbl].[AutoNumber], [History_tbl].[user_code], [User_tbl].[user_name1], "
        "[User_tbl].[user_name2], [Live_tbl].[host], [History_tbl].[problem_code], [History_tbl].[course_code], "
        "[History_tbl].[execution_date], [History_tbl].[end_time], [History_tbl].[order_flg], "
        "[History_tbl].[display_flg], [History_tbl].[target_value], [History_tbl].[target_value2], "
        "[Live_tbl].[cards_done], [Live_tbl].[seconds_left], [Live_tbl].[state], [Live_tbl].[reported], "
        "[Live_tbl].[slowest_card] "
        "from [Live_tbl] inner join [History_tbl] on [History_tbl].[AutoNumber] = [Live_tbl].[AutoNumber] "
        "left join [User_tbl] on [User_tbl].[user_code] = [History_tbl].[user_code] "
        "and [User_tbl].[delete_flg] <> 1 "
        "where [Live_tbl].[reported] >= ? and [History_tbl].[delete_flg] <> 1 "
        "order by [History_tbl].[execution_date], [Live_tbl].[AutoNumber]"));
    q.bindValue(0, dateText(now.addSecs(-kListedSeconds)));
    run(q);
    while (q.next()) {
        Row r;
        r.autoNumber = q.value(0).toInt();
        r.userCode = q.value(1).toInt();
        if (!q.value(2).isNull())
            r.userName = q.value(2).toString() + QStringLiteral("　") + q.value(3).toString();
        r.host = q.value(4).toString();
        r.task = q.value(5).toString().toInt();
        r.course = q.value(6).toString().toInt();
        r.started = dateOf(q.value(7));
        r.endTime = q.value(8).toString().toInt();
        r.limitSeconds = limitSecondsOf(r.endTime);
        r.orderFlg = q.value(9).toString().toInt();
        r.displayFlg = q.value(10).toString().toInt();
        r.target = q.value(11).toInt();
        r.target2 = q.value(12).toInt();
        r.cardsDone = q.value(13).toInt();
        r.reportedSecondsLeft = q.value(14).toInt();
        const int state = q.value(15).toInt();
        r.reportedState = state >= 0 && state <= 2 ? static_cast<State>(state) : State::Running;
        r.reported = dateOf(q.value(16));
        r.slowestCard = q.value(17).toInt();
        Age(r, now);
        rows.push_back(std::move(r));
    }
    q.finish();
    return rows;
}

} // namespace LiveTrials
