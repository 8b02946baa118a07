#include "ToolCommand.h"

#include "ClassroomSettings.h"
#include "DB.h"
#include "ICException.h"
#include "ProgramFolder.h"
#include "UserDbServer.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace ToolCommand {

Result Failed(const QString& error) { return {kFailed, {}, error}; }
Result BadArguments(const QString& error) { return {kBadArguments, {}, error}; }

int Options::number(const char* name, int def) const {
    return has(name) ? text(name).toInt() : def;
}

std::optional<Options> Parse(const QStringList& args, std::initializer_list<OptionRule> known, QString* error) {
    Options options;
    for (int i = 0; i < args.size(); ++i) {
        QString name = args.at(i);
        QString value;
        bool inlineValue = false;
        const int eq = name.indexOf(u'=');
        if (name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            inlineValue = true;
        }
        const auto option = std::find_if(known.begin(), known.end(),
                                         [&](const OptionRule& s) { return name == QLatin1String(s.name); });
        if (option == known.end()) {
            *error = QStringLiteral("unknown option: %1").arg(args.at(i));
            return std::nullopt;
        }
        if (option->kind == OptionRule::Flag) {
            if (inlineValue) {
                *error = QStringLiteral("%1 takes no value").arg(name);
                return std::nullopt;
            }
            options.values.insert(name, QString());
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("%1 needs a value").arg(name);
                return std::nullopt;
            }
            value = args.at(++i);
        }
        if (name == QLatin1String("--folder") && value.isEmpty()) {
            *error = QStringLiteral("--folder needs a folder");
            return std::nullopt;
        }
        if (option->kind == OptionRule::Int) {
            bool ok = false;
            const int n = value.toInt(&ok);
            if (!ok || n < option->min || n > option->max) {
                *error = QStringLiteral("%1 must be a whole number from %2 to %3: %4")
                             .arg(name)
                             .arg(option->min)
                             .arg(option->max)
                             .arg(value);
                return std::nullopt;
            }
        }
        options.values.insert(name, value);
    }
    return options;
}

bool OpenUserDatabase(const QString& folder, CDB& user, QString* error) {
    const QFileInfo info(folder);
    if (!info.isDir()) {
        *error = QStringLiteral("folder not found: %1").arg(folder);
        return false;
    }
    setProgramFolder(info.absoluteFilePath());
    try {
        // A classroom's folder names its server; the tool reads the same data there.
        if (UserDb::configuredServer()) {
            if (user.OpenPrevious(programFolder()) != 1)
                return false;
            // The trials' files and conditions are read from the server too.
            ClassroomSettings::setServer(&user);
            return true;
        }
    } catch (const CICException& e) {
        *error = e.GetErrorMessage();
        return false;
    } catch (const CDBException& e) {
        *error = e.text();
        return false;
    }
    const QString path = programFolder() + QStringLiteral("UserData.mdb");
    // The tool only reads: a missing user database is an error, never created from the template.
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("user database not found: %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    try {
        if (user.OpenPrevious(programFolder()) == 1)
            return true;
        *error = QStringLiteral("cannot open the user database: %1").arg(QDir::toNativeSeparators(path));
    } catch (const CICException& e) {
        *error = e.GetErrorMessage();
    } catch (const CDBException& e) {
        *error = e.text();
    }
    return false;
}

bool OpenMasterDatabase(CDB& master, QString* error) {
    try {
        master.OpenMaster();
        return true;
    } catch (const CICException& e) {
        *error = e.GetErrorMessage();
    } catch (const CDBException& e) {
        *error = e.text();
    }
    return false;
}

} // namespace ToolCommand
