#include "AnalyzeCommand.h"

#include "ArrKaisekiMain.h"
#include "DB.h"
#include "ICException.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {
struct IntOption {
    const char* name;
    int AnalyzeOptions::*field;
    int min, max;
};

const IntOption kIntOptions[] = {
    {"--user", &AnalyzeOptions::user, 1, 2147483647},
    {"--task", &AnalyzeOptions::task, 1, 3},
    {"--end-time", &AnalyzeOptions::endTime, 0, 4},
    {"--bucket", &AnalyzeOptions::bucket, 0, 4},
    {"--selection-type", &AnalyzeOptions::selectionType, 0, 6},
    {"--course", &AnalyzeOptions::course, 0, 4},
};

std::optional<int> strictInt(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<QList<int>> historyList(const QString& text) {
    QList<int> ids;
    for (const QString& part : text.split(u',')) {
        const std::optional<int> id = strictInt(part.trimmed());
        if (!id || *id < 1)
            return std::nullopt;
        ids << *id;
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
        "  --history IDS       only these history rows (AutoNumber), numbered 1, 2, ... in this order\n"
        "  --test-levelup      leave out aborted trials and basic-training trials\n"
        "  --selection-type S  1..4 completed trials of that time-limit code, 5 completed, 6 aborted; 0 all\n"
        "  --course C          1, 2, 3 that course, 4 course 1 or 3; 0 any\n"
        "\n"
        "Exit status: 0 done, 1 folder, database or analysis failure, 2 bad arguments.\n");
}

std::optional<AnalyzeOptions> ParseAnalyzeOptions(const QStringList& args, QString* error) {
    AnalyzeOptions options;
    bool haveUser = false, haveTask = false;
    for (int i = 0; i < args.size(); ++i) {
        QString name = args.at(i);
        QString value;
        bool inlineValue = false;
        const int eq = name.indexOf(u'=');
        if (name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            inlineValue = true;
        }
        if (name == QLatin1String("--test-levelup")) {
            if (inlineValue) {
                *error = QStringLiteral("--test-levelup takes no value");
                return std::nullopt;
            }
            options.testLevelUp = true;
            continue;
        }
        const bool known = name == QLatin1String("--folder") || name == QLatin1String("--history") ||
                           std::any_of(std::begin(kIntOptions), std::end(kIntOptions),
                                       [&](const IntOption& o) { return name == QLatin1String(o.name); });
        if (!known) {
            *error = QStringLiteral("unknown option: %1").arg(args.at(i));
            return std::nullopt;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("%1 needs a value").arg(name);
                return std::nullopt;
            }
            value = args.at(++i);
        }
        if (name == QLatin1String("--folder")) {
            if (value.isEmpty()) {
                *error = QStringLiteral("--folder needs a folder");
                return std::nullopt;
            }
            options.folder = value;
            continue;
        }
        if (name == QLatin1String("--history")) {
            options.history = historyList(value);
            if (!options.history) {
                *error =
                    QStringLiteral("--history needs history numbers (AutoNumber) separated by commas: %1")
                        .arg(value);
                return std::nullopt;
            }
            continue;
        }
        for (const IntOption& o : kIntOptions) {
            if (name != QLatin1String(o.name))
                continue;
            const std::optional<int> n = strictInt(value);
            if (!n || *n < o.min || *n > o.max) {
                *error = QStringLiteral("%1 must be a whole number from %2 to %3: %4")
                             .arg(name)
                             .arg(o.min)
                             .arg(o.max)
                             .arg(value);
                return std::nullopt;
            }
            options.*(o.field) = *n;
            haveUser = haveUser || name == QLatin1String("--user");
            haveTask = haveTask || name == QLatin1String("--task");
        }
    }
    if (options.folder.isEmpty() || !haveUser || !haveTask) {
        *error = QStringLiteral("--folder, --user and --task are required");
        return std::nullopt;
    }
    return options;
}

std::optional<QByteArray> RunAnalyze(const AnalyzeOptions& options, QString* error) {
    const QFileInfo folder(options.folder);
    if (!folder.isDir()) {
        *error = QStringLiteral("folder not found: %1").arg(options.folder);
        return std::nullopt;
    }
    setProgramFolder(folder.absoluteFilePath());
    const QString userDbPath = programFolder() + QStringLiteral("UserData.mdb");
    // The tool only reads: a missing user database is an error, never created from the template.
    if (!QFileInfo(userDbPath).isFile()) {
        *error = QStringLiteral("user database not found: %1").arg(QDir::toNativeSeparators(userDbPath));
        return std::nullopt;
    }
    CDB user;
    CDB master;
    try {
        if (user.OpenPrevious(programFolder()) != 1) {
            *error =
                QStringLiteral("cannot open the user database: %1").arg(QDir::toNativeSeparators(userDbPath));
            return std::nullopt;
        }
        master.OpenMaster();
    } catch (const CICException& e) {
        *error = e.GetErrorMessage();
        return std::nullopt;
    } catch (const CDBException& e) {
        *error = e.text();
        return std::nullopt;
    }

    CArrKaisekiMain::Conditions c;
    c.userCode = options.user;
    c.problemCode = options.task;
    c.endTimeFilter = options.endTime;
    c.timeBucket = options.bucket;
    if (options.history) {
        c.selection = CArrRirekiNum{};
        for (int i = 0; i < options.history->size(); ++i) {
            c.selection->Add(options.history->at(i));
            c.selectionNumbers.Add(i + 1);
        }
    }
    c.testLevelUpOnly = options.testLevelUp;
    c.selectionType = options.selectionType;
    c.courseFilter = options.course;

    CArrKaisekiMain analysis;
    if (analysis.Run(user, master, c) != 1) {
        *error = QStringLiteral("the analysis failed (see the message above)");
        return std::nullopt;
    }
    return AnalysisJson(analysis);
}

QByteArray AnalysisJson(const CArrKaisekiMain& analysis) {
    QJsonArray trials;
    for (const auto& trial : analysis.Trials())
        trials.append(trialJson(*trial));
    return QJsonDocument(QJsonObject{{"trials", trials}}).toJson(QJsonDocument::Compact) + '\n';
}
