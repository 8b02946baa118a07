#pragma once
// What the zentry-tool commands share: their result, the reading of options
// ("--name VALUE" or "--name=VALUE"), and opening a program folder's databases
// read-only.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>

class CDB;

namespace ToolCommand {

enum ExitCode { kDone = 0, kFailed = 1, kBadArguments = 2 };

struct Result {
    int exitCode = kDone;
    QByteArray out; // written to standard output as is
    QString error;  // the reason, written to standard error
};
Result Failed(const QString& error);
Result BadArguments(const QString& error);

struct OptionRule {
    enum Kind { Flag, Text, Int };
    const char* name;
    Kind kind;
    int min = 0, max = 0; // Int only
};

struct Options {
    QHash<QString, QString> values; // by option name; flags hold the empty text
    bool has(const char* name) const { return values.contains(QLatin1String(name)); }
    QString text(const char* name) const { return values.value(QLatin1String(name)); }
    int number(const char* name, int def = 0) const;
};

// The options given, each checked against its description (the last of a repeated
// option counts); nullopt with *error set for an unknown option, a missing
// value, a flag with a value, an empty --folder or a number out of range.
std::optional<Options> Parse(const QStringList& args, std::initializer_list<OptionRule> known, QString* error);

// Points the program folder at `folder` and opens its UserData.mdb read-only
// (never created from the template). False with *error set.
bool OpenUserDatabase(const QString& folder, CDB& user, QString* error);
// The master data file named by the folder's Quillon01.ini (after OpenUserDatabase).
bool OpenMasterDatabase(CDB& master, QString* error);

} // namespace ToolCommand
