#include "ExportCommand.h"

#include "DB.h"
#include "Export.h"
#include "ExportStrings.h"
#include "ExternalDataChecks.h"
#include "ICException.h"
#include "Notifier.h"
#include "ProgramFolder.h"

#include <QFileInfo>

namespace {
using ToolCommand::OptionRule;
using ToolCommand::Result;

Result refused(const ExternalDataChecks::Refusal& r) { return ToolCommand::Failed(ExportStrings::Text(r.message)); }

// Runs the work; what it raises is reported like the screen's exception report.
template <typename Work> Result guarded(Work work) {
    try {
        return work();
    } catch (const CICException& e) {
        return ToolCommand::Failed(e.GetErrorMessage());
    } catch (const CDBException& e) {
        return ToolCommand::Failed(e.text());
    }
}

Result done(ExportStrings::Id message) {
    notifyMessage(ExportStrings::Text(message), MsgIcon::Information);
    return {};
}
} // namespace

QString ExportUsage() { return QStringLiteral("usage: zentry-tool export --from INSTALLATION --to FOLDER\n"); }

QString ImportUsage() { return QStringLiteral("usage: zentry-tool import --folder PROGRAM_FOLDER --from FOLDER\n"); }

Result ExportCommand(const QStringList& args) {
    QString error;
    const auto o = ToolCommand::Parse(args, {{"--from", OptionRule::Text}, {"--to", OptionRule::Text}}, &error);
    if (!o)
        return ToolCommand::BadArguments(error);
    if (!o->has("--from") || !o->has("--to"))
        return ToolCommand::BadArguments(QStringLiteral("--from and --to are required"));
    const QString from = o->text("--from"), to = o->text("--to");
    if (const auto refusal = ExternalDataChecks::CheckExport(from, to))
        return refused(*refusal);
    return guarded([&] {
        CExport exporter;
        if (!exporter.Export(from, to))
            return ToolCommand::Failed(QStringLiteral("nothing was exported"));
        notifyMessage(ExportStrings::ExportDoneText(exporter.LeftOutTrials()), MsgIcon::Information);
        return Result{};
    });
}

Result ImportCommand(const QStringList& args) {
    QString error;
    const auto o = ToolCommand::Parse(args, {{"--folder", OptionRule::Text}, {"--from", OptionRule::Text}}, &error);
    if (!o)
        return ToolCommand::BadArguments(error);
    if (!o->has("--folder") || !o->has("--from"))
        return ToolCommand::BadArguments(QStringLiteral("--folder and --from are required"));
    const QString folder = o->text("--folder"), from = o->text("--from");
    if (!QFileInfo(folder).isDir())
        return ToolCommand::Failed(QStringLiteral("folder not found: %1").arg(folder));
    if (const auto refusal = ExternalDataChecks::CheckImport(from))
        return refused(*refusal);
    setProgramFolder(folder);
    return guarded([&] {
        CDB userDb;
        userDb.OpenUser();
        switch (CExport().Import(userDb, from)) {
        case CExport::ImportResult::Done:
            return done(ExportStrings::ImportDone);
        case CExport::ImportResult::Incomplete:
            return ToolCommand::Failed(QStringLiteral("the import is incomplete"));
        case CExport::ImportResult::Failed:
            break;
        }
        return ToolCommand::Failed(QStringLiteral("nothing was imported"));
    });
}
