#include "ExternalDataChecks.h"

#include "AppSub.h"
#include "ICException.h"
#include "UserDbServer.h"

#include <QFileInfo>

namespace ExternalDataChecks {
namespace {
bool isFolder(const QString& path) { return !path.trimmed().isEmpty() && QFileInfo(path.trimmed()).isDir(); }

bool classroomInstallation(const QString& folderWithSlash) {
    try {
        return UserDb::configuredServer(folderWithSlash + QStringLiteral("Quillon01.ini")).has_value();
    } catch (const CICException&) {
        return true; // opening it names what is wrong with the key
    }
}
} // namespace

std::optional<Refusal> CheckExport(const QString& source, const QString& destination) {
    using namespace ExportStrings;
    if (!isFolder(source))
        return Refusal{SourceMissing, Field::Source};
    const QString s = AppSub::FolderWithSlash(source);
    // A classroom's installation keeps its data on the server its ini names.
    if (!classroomInstallation(s) &&
        (!QFileInfo::exists(s + QStringLiteral("UserData.mdb")) || !QFileInfo(s + QStringLiteral("解析結果")).isDir()))
        return Refusal{NoDataInSource, Field::Source};
    if (!isFolder(destination))
        return Refusal{DestinationMissing, Field::Destination};
    if (QFileInfo::exists(AppSub::FolderWithSlash(destination) + QStringLiteral("UserData.ukv")))
        return Refusal{ExportExists, Field::Destination};
    return std::nullopt;
}

std::optional<Refusal> CheckImport(const QString& folder) {
    if (folder.trimmed().isEmpty() || !QFileInfo::exists(AppSub::FolderWithSlash(folder) + QStringLiteral("UserData.ukv")))
        return Refusal{ExportStrings::NoImportData, Field::Import};
    return std::nullopt;
}
} // namespace ExternalDataChecks
