#pragma once
// "zentry-tool live": the trials running now and those ended within two
// hours, as the utility's live screen lists them, one JSON object a line;
// with --follow a line for each change, until interrupted.
#include "ToolCommand.h"

#include <functional>

// write receives each chunk of output as it is ready (standard output, flushed).
ToolCommand::Result LiveCommand(const QStringList& args, const std::function<void(const QByteArray&)>& write);
QString LiveUsage();
