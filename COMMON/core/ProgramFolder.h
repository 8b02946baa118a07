#pragma once
// The program folder: where the running executable lies, and where both
// programs keep their databases, ini file and analysis folder. Tests and
// zentry-tool point it elsewhere.
#include <QString>

// The folder with a trailing "/".
QString programFolder();
// Overrides the folder (an empty text returns to the executable's folder).
void setProgramFolder(const QString& folder);
