#pragma once
// The numbered texts of export and import. They live beside the work so that
// zentry-tool says exactly what the screen says; the utility's string table
// takes them from here.
#include <QString>

namespace ExportStrings {
enum Id {
    DestinationMissing = 129,
    ExportDone = 130,
    ConfirmExport = 132,
    ExportExists = 134,
    NoImportData = 135,
    ImportDone = 136,
    BadManagementFile = 137,
    AlreadyImported = 138,
    SourceMissing = 142,
    NoDataInSource = 143,
};
inline constexpr Id kAll[] = {DestinationMissing, ExportDone,        ConfirmExport,   ExportExists,
                              NoImportData,       ImportDone,        BadManagementFile, AlreadyImported,
                              SourceMissing,      NoDataInSource};
QString Text(Id id);
// The export's closing message: ExportDone, and how many trials without an
// end it left out when there were any.
QString ExportDoneText(int leftOutTrials);
} // namespace ExportStrings
