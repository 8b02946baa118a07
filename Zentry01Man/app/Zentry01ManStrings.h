#pragma once
// The instructor utility's numbered message texts.
namespace Zentry01ManStrings {
enum Id {
    VersionMenuItem = 101,
    ProductTitle = 102,
    SelectRowToDelete = 103,
    ConfirmDeleteUser = 104,
    ConfirmSettings = 105,
    FileNotFound = 106,
    NotUpdatable = 107,
    DuplicateName = 108,
    EnterNames = 109,
    SelectRowToEdit = 110,
    EnterIn = 111,
    SelectUserRow = 112,
    NoTrialChecked = 113,
    SelectListRow = 114,
    PrintRangeError = 115,
    ConfirmCancelPrint = 116,
    StartNumberOutOfRange = 118,
    ConfirmDeleteTrial = 125,
    InputFileMissing = 126,
    CountOutOfRange = 127,
    NothingToSave = 128,
    // 129 to 138, 142 and 143: export and import (ExportStrings)
    NoPdfProgram = 141,
};
// Adds every text to the running program's string table.
void Register();
} // namespace Zentry01ManStrings
