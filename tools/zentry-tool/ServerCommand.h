#pragma once
#include "ToolCommand.h"

ToolCommand::Result ServerCommand(const QStringList& args);
QString ServerUsage();
