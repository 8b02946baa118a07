// zentry-tool: command-line access to the shared core.
//   zentry-tool analyze --folder DIR --user N --task T [...]
//   zentry-tool export --from INSTALLATION --to FOLDER
//   zentry-tool import --folder PROGRAM_FOLDER --from FOLDER
#include "AnalyzeCommand.h"
#include "ExportCommand.h"
#include "Notifier.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {
constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

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

QString usage() {
    return QStringLiteral(
        "usage: zentry-tool COMMAND [OPTIONS]\n\ncommands:\n  analyze   error analysis of a user's "
        "trials as JSON (zentry-tool analyze --help)\n"
        "  export    export of an installation's users, trials and analysis files\n"
        "  import    import of an export folder into an installation\n");
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
        return kBadArguments;
    }
    const QString command = args.takeFirst();
    if (isHelp(command)) {
        printTo(stdout, usage());
        return 0;
    }
    if (command == QLatin1String("export") || command == QLatin1String("import")) {
        const bool exporting = command == QLatin1String("export");
        if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
            printTo(stdout, exporting ? ExportUsage() : ImportUsage());
            return 0;
        }
        return exporting ? RunExportCommand(args) : RunImportCommand(args);
    }
    if (command != QLatin1String("analyze")) {
        printTo(stderr, QStringLiteral("zentry-tool: unknown command: %1\n").arg(command) + usage());
        return kBadArguments;
    }
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        printTo(stdout, AnalyzeUsage());
        return 0;
    }
    QString error;
    const std::optional<AnalyzeOptions> options = ParseAnalyzeOptions(args, &error);
    if (!options) {
        printTo(stderr, QStringLiteral("zentry-tool analyze: %1\n").arg(error) + AnalyzeUsage());
        return kBadArguments;
    }
    const std::optional<QByteArray> json = RunAnalyze(*options, &error);
    if (!json) {
        printTo(stderr, QStringLiteral("zentry-tool analyze: %1\n").arg(error));
        return kFailed;
    }
    std::fwrite(json->constData(), 1, static_cast<size_t>(json->size()), stdout);
    return 0;
}
