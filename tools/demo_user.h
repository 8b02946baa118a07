#pragma once
#include <QString>

// Registers the demo trainee in PROGRAM_DIR/UserData.mdb when no user exists.
// Returns the process exit status.
int addDemoUser(const QString& programDir);
