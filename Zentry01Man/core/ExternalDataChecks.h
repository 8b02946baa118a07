#pragma once
// The checks made before an export or an import starts, shared by the
// external data screen and zentry-tool so both refuse the same folders with
// the same messages.
#include "ExportStrings.h"

#include <QString>

#include <optional>

namespace ExternalDataChecks {
enum class Field { Source, Destination, Import };
struct Refusal {
    ExportStrings::Id message;
    Field field; // the field the screen puts the focus on
};
// Refusal of an export from the installation folder `source` into `destination`.
std::optional<Refusal> CheckExport(const QString& source, const QString& destination);
// Refusal of an import from `folder`.
std::optional<Refusal> CheckImport(const QString& folder);
} // namespace ExternalDataChecks
