#pragma once
// "zentry-tool export" and "zentry-tool import": the external data screen's
// work for administrators who move many installations. The screen's checks
// and messages go to standard error.
#include <QStringList>

// Exit status: 0 done; 1 refused or failed; 2 bad arguments.
int RunExportCommand(const QStringList& args);
int RunImportCommand(const QStringList& args);
QString ExportUsage();
QString ImportUsage();
