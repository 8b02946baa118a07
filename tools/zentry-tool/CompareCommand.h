#pragma once
// "zentry-tool compare": the user comparison of one task and level, as the
// bytes of the CSV file that the comparison screen saves.
#include "ToolCommand.h"

ToolCommand::Result CompareCommand(const QStringList& args);
QString CompareUsage();
