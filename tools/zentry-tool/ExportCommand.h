#pragma once
// "zentry-tool export" and "zentry-tool import": the external data screen's
// work for administrators who move many installations. The screen's checks
// and messages go to standard error.
#include "ToolCommand.h"

ToolCommand::Result ExportCommand(const QStringList& args);
ToolCommand::Result ImportCommand(const QStringList& args);
QString ExportUsage();
QString ImportUsage();
