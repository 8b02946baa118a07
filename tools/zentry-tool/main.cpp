// zentry-tool: command-line access to the shared core.
//   zentry-tool analyze --folder DIR --user N --task T [...]
//   zentry-tool history --folder DIR --user N --task T [...]
//   zentry-tool compare --folder DIR --task T [--level L]
//   zentry-tool export --from INSTALLATION --to FOLDER
//   zentry-tool import --folder PROGRAM_FOLDER --from FOLDER
//   zentry-tool server init --url URL | migrate --folder PROGRAM_FOLDER --url URL
//   zentry-tool live --folder PROGRAM_FOLDER [--follow]
#include "AnalyzeCommand.h"
#include "CompareCommand.h"
#include "ExportCommand.h"
#include "HistoryCommand.h"
#include "ServerCommand.h"
#include "LiveCommand.h"
#include "Notifier.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {
void printTo(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

// Messages of the core go to standard error; questions are answered "no".
class StdErrNotifier : public INotifier {
public:
    void message(const QString& text, MsgIcon) override {
        printTo(stderr, QStringLiteral("zentry-tool: %1\n").arg(text));
    }
    bool askYesNo(const QString& text, MsgIcon) override {
        printTo(stderr, QStringLiteral("zentry-tool: %1 (answered no)\n").arg(text));
        return false;
    }
};

struct Command {
    const char* name;
    ToolCommand::Result (*run)(const QStringList& args);
    QString (*usage)();
};

const Command kCommands[] = {
    {"analyze", AnalyzeCommand, AnalyzeUsage},
    {"history", HistoryCommand, HistoryUsage},
    {"compare", CompareCommand, CompareUsage},
    {"export", ExportCommand, ExportUsage},
    {"import", ImportCommand, ImportUsage},
    {"server", ServerCommand, ServerUsage},
    {"live", nullptr, LiveUsage},
};

// Lines of a command that runs until interrupted go out as they come.
void writeNow(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

QString usage() {
    return QStringLiteral(
        "usage: zentry-tool COMMAND [OPTIONS]\n\ncommands:\n"
        "  analyze   error analysis of a user's trials as JSON (zentry-tool analyze --help)\n"
        "  history   a user's trial-history list and extremes as JSON (zentry-tool history --help)\n"
        "  compare   the user comparison as the saved CSV file (zentry-tool compare --help)\n"
        "  export    export of an installation's users, trials and analysis files\n"
        "  import    import of an export folder into an installation\n"
        "  server    a classroom's PostgreSQL server: init, migrate (zentry-tool server --help)\n"
        "  live      the trials running now as JSON lines, --follow to keep watching\n");
}

bool isHelp(const QString& arg) {
    return arg == QLatin1String("--help") || arg == QLatin1String("-h") || arg == QLatin1String("help");
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    StdErrNotifier notifier;
    setNotifier(&notifier);

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        printTo(stderr, usage());
        return ToolCommand::kBadArguments;
    }
    const QString name = args.takeFirst();
    if (isHelp(name)) {
        printTo(stdout, usage());
        return ToolCommand::kDone;
    }
    const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                      [&](const Command& c) { return name == QLatin1String(c.name); });
    if (command == std::end(kCommands)) {
        printTo(stderr, QStringLiteral("zentry-tool: unknown command: %1\n").arg(name) + usage());
        return ToolCommand::kBadArguments;
    }
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        printTo(stdout, command->usage());
        return ToolCommand::kDone;
    }
    const ToolCommand::Result result = command->run ? command->run(args) : LiveCommand(args, writeNow);
    if (result.exitCode != ToolCommand::kDone) {
        QString text = QStringLiteral("zentry-tool %1: %2\n").arg(name, result.error);
        if (result.exitCode == ToolCommand::kBadArguments)
            text += command->usage();
        printTo(stderr, text);
        return result.exitCode;
    }
    std::fwrite(result.out.constData(), 1, static_cast<size_t>(result.out.size()), stdout);
    return ToolCommand::kDone;
}
