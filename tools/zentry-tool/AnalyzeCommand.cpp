#include "AnalyzeCommand.h"

#include "ArrKaisekiMain.h"
#include "DB.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
using ToolCommand::OptionRule;

std::optional<CArrRirekiNum> historyList(const QString& text) {
    CArrRirekiNum ids;
    for (const QString& part : text.split(u',')) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (!ok || id < 1)
            return std::nullopt;
        ids.Add(id);
    }
    return ids;
}

QJsonArray intArray(const int* values, int count) {
    QJsonArray out;
    for (int i = 0; i < count; ++i)
        out.append(values[i]);
    return out;
}

QJsonObject trialJson(const CArrKaisekiMain_ShikouKai& t) {
    QJsonArray wrong;
    for (const CArrKaisekiMain_Moji& m : t.m_wrongChars)
        wrong.append(QJsonObject{{"card", m.m_cardNo},
                                 {"item", m.m_itemCode},
                                 {"class", m.m_charClass},
                                 {"kind", m.m_errorKind},
                                 {"expected", m.m_expected},
                                 {"found", m.m_found}});
    return QJsonObject{
        {"AutoNumber", t.m_AutoNumber},
        {"trial_number", t.m_trialNo},
        {"input_file", t.m_inputFile},
        {"file_missing", t.m_fileMissing},
        {"message", t.m_message},
        {"answer_number", t.m_answer_number},
        {"answer_koumoku", t.m_answer_koumoku},
        {"correct_number", t.m_correct_number},
        {"correct_koumoku", t.m_correct_koumoku},
        {"correct_rate", t.m_correct_rate},
        {"correct_rate_koumoku", t.m_correct_rate_koumoku},
        {"answer_number60", t.m_answer_number60},
        {"answer_koumoku60", t.m_answer_koumoku60},
        {"correct_number60", t.m_correct_number60},
        {"correct_koumoku60", t.m_correct_koumoku60},
        {"correct_rate60", t.m_correct_rate60},
        {"correct_rate_koumoku60", t.m_correct_rate_koumoku60},
        {"error_cards", t.m_errorCards},
        {"error_card_rate", t.m_errorCardRate},
        {"item_errors", intArray(t.m_itemErrors, CArrKaisekiMain_ShikouKai::kItemCount)},
        {"class_errors", intArray(t.m_classErrors, CArrKaisekiMain_ShikouKai::kClassCount)},
        {"wrong_characters", wrong},
    };
}
} // namespace

QString AnalyzeUsage() {
    return QStringLiteral(
        "usage: zentry-tool analyze --folder DIR --user N --task T [--end-time E] [--bucket B]\n"
        "                           [--history ID[,ID...]] [--test-levelup] [--selection-type S] [--course "
        "C]\n"
        "\n"
        "Runs the error analysis over user N's trials of task T (1 questionnaire input,\n"
        "2 voucher correction, 3 voucher miss-check) in the program folder DIR (its\n"
        "UserData.mdb, the master data file named in its Quillon01.ini, and 解析結果),\n"
        "and prints {\"trials\": [...]} as JSON (UTF-8) on standard output.\n"
        "\n"
        "  --end-time E        only trials with this time-limit code (1 15 min .. 4 60 min); 0 any\n"
        "  --bucket B          judge only cards completed in this quarter hour (1..4); 0 the whole trial\n"
        "  --history IDS       only these history rows (AutoNumber), numbered 1, 2, ... in this order;\n"
        "                      a trial without an end is analysed as far as it went\n"
        "  --test-levelup      leave out aborted trials and basic-training trials\n"
        "  --selection-type S  1..4 completed trials of that time-limit code, 5 completed, 6 aborted; 0 all\n"
        "  --course C          1, 2, 3 that course, 4 course 1 or 3; 0 any\n"
        "\n"
        "Exit status: 0 done, 1 folder, database or analysis failure, 2 bad arguments.\n");
}

ToolCommand::Result AnalyzeCommand(const QStringList& args) {
    QString error;
    const auto options = ToolCommand::Parse(args,
                                            {{"--folder", OptionRule::Text},
                                             {"--user", OptionRule::Int, 1, 2147483647},
                                             {"--task", OptionRule::Int, 1, 3},
                                             {"--end-time", OptionRule::Int, 0, 4},
                                             {"--bucket", OptionRule::Int, 0, 4},
                                             {"--history", OptionRule::Text},
                                             {"--test-levelup", OptionRule::Flag},
                                             {"--selection-type", OptionRule::Int, 0, 6},
                                             {"--course", OptionRule::Int, 0, 4}},
                                            &error);
    if (!options)
        return ToolCommand::BadArguments(error);
    if (!options->has("--folder") || !options->has("--user") || !options->has("--task"))
        return ToolCommand::BadArguments(QStringLiteral("--folder, --user and --task are required"));

    CArrKaisekiMain::Conditions c;
    c.userCode = options->number("--user");
    c.problemCode = options->number("--task");
    c.endTimeFilter = options->number("--end-time");
    c.timeBucket = options->number("--bucket");
    if (options->has("--history")) {
        c.selection = historyList(options->text("--history"));
        if (!c.selection)
            return ToolCommand::BadArguments(
                QStringLiteral("--history needs history numbers (AutoNumber) separated by commas: %1")
                    .arg(options->text("--history")));
        for (int i = 0; i < c.selection->GetSize(); ++i)
            c.selectionNumbers.Add(i + 1);
        // Trials named by number are analysed even without an end: what a
        // killed or running trial holds so far.
        c.includeUnfinished = true;
    }
    c.testLevelUpOnly = options->has("--test-levelup");
    c.selectionType = options->number("--selection-type");
    c.courseFilter = options->number("--course");

    CDB user;
    CDB master;
    if (!ToolCommand::OpenUserDatabase(options->text("--folder"), user, &error) ||
        !ToolCommand::OpenMasterDatabase(master, &error))
        return ToolCommand::Failed(error);
    CArrKaisekiMain analysis;
    if (analysis.Run(user, master, c) != 1)
        return ToolCommand::Failed(QStringLiteral("the analysis failed (see the message above)"));
    return {ToolCommand::kDone, AnalysisJson(analysis), {}};
}

QByteArray AnalysisJson(const CArrKaisekiMain& analysis) {
    QJsonArray trials;
    for (const auto& trial : analysis.Trials())
        trials.append(trialJson(*trial));
    return QJsonDocument(QJsonObject{{"trials", trials}}).toJson(QJsonDocument::Compact) + '\n';
}
