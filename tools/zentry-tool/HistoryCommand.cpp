#include "HistoryCommand.h"

#include "DB.h"
#include "HistoryList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using ToolCommand::OptionRule;

QString HistoryUsage() {
    return QStringLiteral(
        "usage: zentry-tool history --folder DIR --user N --task T [--time E] [--course G] [--data D]\n"
        "\n"
        "Prints user N's trial-history list of task T (1 questionnaire input, 2 voucher\n"
        "correction, 3 voucher miss-check) in the program folder DIR as the instructor\n"
        "utility's history screen lists it, with the user's extremes, as JSON (UTF-8):\n"
        "{\"extremes\": {...}, \"rows\": [{\"AutoNumber\": n, \"cells\": [19 texts]}]}.\n"
        "\n"
        "  --time E    1..4 completed trials of 15, 30, 45, 60 minutes, 5 every completed\n"
        "              trial converted to 60 minutes, 6 aborted trials (default 2)\n"
        "  --course G  1 skill test and level-up training, 2 basic training (default 1)\n"
        "  --data D    1 every trial, 2 skill tests with the highest work count, 3 skill\n"
        "              tests with the highest correct rate (course 1 only; default 1)\n"
        "\n"
        "Exit status: 0 done, 1 folder or database failure, 2 bad arguments.\n");
}

ToolCommand::Result HistoryCommand(const QStringList& args) {
    QString error;
    const auto options = ToolCommand::Parse(args,
                                            {{"--folder", OptionRule::Text},
                                             {"--user", OptionRule::Int, 1, 2147483647},
                                             {"--task", OptionRule::Int, 1, 3},
                                             {"--time", OptionRule::Int, 1, 6},
                                             {"--course", OptionRule::Int, 1, 2},
                                             {"--data", OptionRule::Int, 1, 3}},
                                            &error);
    if (!options)
        return ToolCommand::BadArguments(error);
    if (!options->has("--folder") || !options->has("--user") || !options->has("--task"))
        return ToolCommand::BadArguments(QStringLiteral("--folder, --user and --task are required"));
    HistoryFilter filter;
    filter.task = options->number("--task");
    filter.trialTime = options->number("--time", filter.trialTime);
    filter.courseGroup = options->number("--course", filter.courseGroup);
    filter.displayData = options->number("--data", filter.displayData);

    CDB user;
    if (!ToolCommand::OpenUserDatabase(options->text("--folder"), user, &error))
        return ToolCommand::Failed(error);
    CHistoryList list;
    if (!list.Load(user, options->number("--user"), filter))
        return ToolCommand::Failed(QStringLiteral("the history could not be read (see the message above)"));

    const CHistoryMaxMin& e = list.Extremes();
    const QJsonObject extremes{
        {"max_answer_number", e.m_maxAnswerNumber},
        {"min_answer_number", e.m_minAnswerNumber},
        {"max_correct_rate", e.m_maxCorrectRate},
        {"min_correct_rate", e.m_minCorrectRate},
        {"max_answer_koumoku", e.m_maxAnswerKoumoku},
        {"min_answer_koumoku", e.m_minAnswerKoumoku},
        {"max_correct_rate_koumoku", e.m_maxCorrectRateKoumoku},
        {"min_correct_rate_koumoku", e.m_minCorrectRateKoumoku},
    };
    QJsonArray rows;
    for (const HistoryListRow& row : list.Rows())
        rows.append(QJsonObject{{"AutoNumber", row.autoNumber}, {"cells", QJsonArray::fromStringList(row.cells)}});
    return {ToolCommand::kDone,
            QJsonDocument(QJsonObject{{"extremes", extremes}, {"rows", rows}}).toJson(QJsonDocument::Compact) + '\n',
            {}};
}
