#include "LiveCommand.h"

#include "Clock.h"
#include "DB.h"
#include "ICException.h"
#include "LiveTrials.h"

#include <QHash>
#include <QSqlQuery>
#include <QThread>

using ToolCommand::OptionRule;

QString LiveUsage() {
    return QStringLiteral(
        "usage: zentry-tool live --folder DIR [--follow]\n"
        "\n"
        "Prints the trials of the program folder DIR that run now or ended within the\n"
        "last two hours, one JSON object (UTF-8) a line, oldest start first:\n"
        "{\"user_code\":n,\"user_name\":\"...\",\"host\":\"...\",\"task\":1-3,\"course\":1-3,\n"
        " \"started\":\"YYYY-MM-DD HH:MM:SS\",\"end_time\":minutes,\"cards_done\":n,\n"
        " \"seconds_left\":n,\"state\":\"running|finished|aborted|silent\"}\n"
        "\n"
        "  --follow  keep watching: a line for each trial that starts, reports a card,\n"
        "            ends or falls silent, until interrupted (the time left alone\n"
        "            does not count as a change)\n"
        "\n"
        "Exit status: 0 done, 1 folder or database failure, 2 bad arguments.\n");
}

namespace {
qint64 dataVersion(CDB& db) {
    QSqlQuery q(db.database());
    return q.exec(QStringLiteral("PRAGMA data_version")) && q.next() ? q.value(0).toLongLong() : -1;
}
} // namespace

ToolCommand::Result LiveCommand(const QStringList& args, const std::function<void(const QByteArray&)>& write) {
    QString error;
    const auto options =
        ToolCommand::Parse(args, {{"--folder", OptionRule::Text}, {"--follow", OptionRule::Flag}}, &error);
    if (!options)
        return ToolCommand::BadArguments(error);
    if (!options->has("--folder"))
        return ToolCommand::BadArguments(QStringLiteral("--folder is required"));
    CDB user;
    if (!ToolCommand::OpenUserDatabase(options->text("--folder"), user, &error))
        return ToolCommand::Failed(error);

    QHash<int, LiveTrials::Row> printed;
    std::vector<LiveTrials::Row> rows;
    qint64 version = -1;
    for (;;) {
        // The time alone can make a running trial silent: rows are aged on every
        // look, read again only when the database changed.
        const qint64 now = dataVersion(user);
        try {
            if (now != version || now < 0) {
                rows = LiveTrials::Read(user, appClock().now());
                version = now;
            } else {
                for (LiveTrials::Row& r : rows)
                    LiveTrials::Age(r, appClock().now());
            }
        } catch (const CDBException& e) {
            return ToolCommand::Failed(e.text());
        }
        QByteArray out;
        for (const LiveTrials::Row& r : rows) {
            const auto it = printed.constFind(r.autoNumber);
            if (it != printed.cend() && it->SameReport(r))
                continue;
            printed.insert(r.autoNumber, r);
            out += r.JsonLine();
        }
        if (!out.isEmpty())
            write(out);
        if (!options->has("--follow"))
            return {ToolCommand::kDone, {}, {}};
        QThread::msleep(1000);
    }
}
