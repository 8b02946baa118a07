#pragma once
// "zentry-tool history": one user's trial-history list with its extremes, as
// the history screen shows it for the four filter choices, printed as JSON.
#include "ToolCommand.h"

ToolCommand::Result HistoryCommand(const QStringList& args);
QString HistoryUsage();
