#include "CompareCommand.h"

#include "ArrUserHikaku.h"
#include "DB.h"
#include "Notifier.h"

using ToolCommand::OptionRule;

QString CompareUsage() {
    return QStringLiteral(
        "usage: zentry-tool compare --folder DIR --task T [--level L]\n"
        "\n"
        "Ranks the users of the program folder DIR by their skill-test trials of task T\n"
        "(1 questionnaire input, 2 voucher correction, 3 voucher miss-check) and writes\n"
        "the comparison list to standard output exactly as the instructor utility saves\n"
        "it: CSV, every field quoted, code page 932, CR LF.\n"
        "\n"
        "  --level L   1 cards (作業枚数, 正解率), 2 items (作業項目数, 項目正解率) (default 1)\n"
        "\n"
        "Without users nothing is written (the utility has nothing to save either).\n"
        "Exit status: 0 done, 1 folder or database failure, 2 bad arguments.\n");
}

ToolCommand::Result CompareCommand(const QStringList& args) {
    QString error;
    const auto options = ToolCommand::Parse(args,
                                            {{"--folder", OptionRule::Text},
                                             {"--task", OptionRule::Int, 1, 3},
                                             {"--level", OptionRule::Int, 1, 2}},
                                            &error);
    if (!options)
        return ToolCommand::BadArguments(error);
    if (!options->has("--folder") || !options->has("--task"))
        return ToolCommand::BadArguments(QStringLiteral("--folder and --task are required"));

    CDB user;
    if (!ToolCommand::OpenUserDatabase(options->text("--folder"), user, &error))
        return ToolCommand::Failed(error);
    CArrUserHikaku comparison;
    if (!comparison.Compute(user, options->number("--task"), options->number("--level", CArrUserHikaku::CardLevel)))
        return ToolCommand::Failed(QStringLiteral("the users could not be read (see the message above)"));
    if (comparison.Users().empty()) {
        notifyMessage(QStringLiteral("保存できるものはありません。"), MsgIcon::Exclamation);
        return {};
    }
    return {ToolCommand::kDone, comparison.CsvBytes(), {}};
}
