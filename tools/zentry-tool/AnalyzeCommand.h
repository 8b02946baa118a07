#pragma once
// "zentry-tool analyze": the error analysis of a user's trials in a program
// folder, printed as one JSON object.
#include "ToolCommand.h"

class CArrKaisekiMain;

// The command line after "analyze": the JSON of the analysis, or the reason it failed.
ToolCommand::Result AnalyzeCommand(const QStringList& args);

// The JSON object of an analysis run: {"trials": [...]}.
QByteArray AnalysisJson(const CArrKaisekiMain& analysis);

QString AnalyzeUsage();
