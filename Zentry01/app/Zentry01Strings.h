#pragma once
// The task program's numbered message texts.
namespace Zentry01Strings {
enum Id {
    VersionMenuItem = 101,
    ProductTitle = 102,
    ConfirmEnd = 104,
    ZipNotFound = 108,
    SelectListRow = 109,
    SelectUserRow = 114,
    NoUsers = 115,
    TargetOutOfRange = 116,
    TargetEmpty = 117,
    StartNumberMissing = 118,
    NotUpdatable = 119,
    CorrectAboveWork = 120,
    CountOutOfRange = 121,
    UnfinishedTrialsClosed = 122,
};
// Adds every text to the running program's string table.
void Register();
} // namespace Zentry01Strings
