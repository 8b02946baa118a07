#include "ExportCommand.h"

#include "DB.h"
#include "Export.h"
#include "ExportStrings.h"
#include "ExternalDataChecks.h"
#include "ICException.h"
#include "Notifier.h"
#include "ProgramFolder.h"

#include <QFileInfo>
#include <QMap>

#include <optional>

namespace {
constexpr int kDone = 0, kFailed = 1, kBadArguments = 2;

// --name VALUE or --name=VALUE for each of the given names, all required.
std::optional<QMap<QString, QString>> options(const QStringList& args, const QStringList& names, QString* error) {
    QMap<QString, QString> out;
    for (int i = 0; i < args.size(); ++i) {
        QString name = args.at(i), value;
        const int eq = name.indexOf(u'=');
        if (eq > 0) {
            value = name.mid(eq + 1);
            name.truncate(eq);
        } else if (i + 1 < args.size()) {
            value = args.at(++i);
        } else {
            *error = QStringLiteral("%1 needs a value").arg(name);
            return std::nullopt;
        }
        if (!names.contains(name)) {
            *error = QStringLiteral("unknown option: %1").arg(name);
            return std::nullopt;
        }
        out.insert(name, value);
    }
    for (const QString& name : names)
        if (!out.contains(name)) {
            *error = QStringLiteral("%1 is required").arg(name);
            return std::nullopt;
        }
    return out;
}

int refuse(const ExternalDataChecks::Refusal& r) {
    notifyMessage(ExportStrings::Text(r.message), MsgIcon::Exclamation);
    return kFailed;
}

int bad(const QString& command, const QString& error, const QString& usage) {
    notifyMessage(QStringLiteral("%1: %2\n%3").arg(command, error, usage), MsgIcon::Exclamation);
    return kBadArguments;
}

template <typename Work> int guarded(Work work) {
    try {
        return work();
    } catch (const CICException& e) {
        notifyError(e.GetErrorMessage());
    } catch (const CDBException& e) {
        notifyError(e.text());
    }
    return kFailed;
}
} // namespace

QString ExportUsage() {
    return QStringLiteral("usage: zentry-tool export --from INSTALLATION --to FOLDER\n");
}

QString ImportUsage() {
    return QStringLiteral("usage: zentry-tool import --folder PROGRAM_FOLDER --from FOLDER\n");
}

int RunExportCommand(const QStringList& args) {
    QString error;
    const auto o = options(args, {QStringLiteral("--from"), QStringLiteral("--to")}, &error);
    if (!o)
        return bad(QStringLiteral("export"), error, ExportUsage());
    const QString from = o->value(QStringLiteral("--from")), to = o->value(QStringLiteral("--to"));
    if (const auto refusal = ExternalDataChecks::CheckExport(from, to))
        return refuse(*refusal);
    return guarded([&] {
        CExport exporter;
        if (!exporter.Export(from, to))
            return kFailed;
        notifyMessage(ExportStrings::Text(ExportStrings::ExportDone), MsgIcon::Information);
        return kDone;
    });
}

int RunImportCommand(const QStringList& args) {
    QString error;
    const auto o = options(args, {QStringLiteral("--folder"), QStringLiteral("--from")}, &error);
    if (!o)
        return bad(QStringLiteral("import"), error, ImportUsage());
    const QString folder = o->value(QStringLiteral("--folder")), from = o->value(QStringLiteral("--from"));
    if (!QFileInfo(folder).isDir())
        return bad(QStringLiteral("import"), QStringLiteral("no program folder %1").arg(folder), ImportUsage());
    if (const auto refusal = ExternalDataChecks::CheckImport(from))
        return refuse(*refusal);
    setProgramFolder(folder);
    return guarded([&] {
        CDB userDb;
        userDb.OpenUser();
        if (CExport().Import(userDb, from) != CExport::ImportResult::Done)
            return kFailed;
        notifyMessage(ExportStrings::Text(ExportStrings::ImportDone), MsgIcon::Information);
        return kDone;
    });
}
