#pragma once
// "zentry-tool analyze": the error analysis of a user's trials in a program
// folder, printed as one JSON object.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class CArrKaisekiMain;

struct AnalyzeOptions {
    QString folder;
    int user = 0;
    int task = 0;
    int endTime = 0;
    int bucket = 0;
    std::optional<QList<int>> history; // AutoNumbers, numbered 1, 2, ... in this order
    bool testLevelUp = false;
    int selectionType = 0;
    int course = 0;
};

// The options after "analyze"; nullopt with *error set when they are not usable.
std::optional<AnalyzeOptions> ParseAnalyzeOptions(const QStringList& args, QString* error);

// Opens the folder's databases and runs the analysis. Returns the JSON text
// (UTF-8, one line), or nullopt with *error set.
std::optional<QByteArray> RunAnalyze(const AnalyzeOptions& options, QString* error);

// The JSON object of an analysis run: {"trials": [...]}.
QByteArray AnalysisJson(const CArrKaisekiMain& analysis);

QString AnalyzeUsage();
