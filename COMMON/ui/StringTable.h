#pragma once
// Each program's message texts, keyed by the numbers its screens use, and the
// message boxes built from them. Every box goes through the installed notifier
// (Notifier.h), so tests answer them with a recording notifier.
#include "Notifier.h"

#include <QHash>
#include <QString>

#include <exception>
#include <initializer_list>
#include <utility>

class CICException;
class CDBException;

namespace StringTable {
// Adds (or replaces) strings of the running program's table.
void add(int id, const QString& text);
void add(std::initializer_list<std::pair<int, QString>> entries);
// The string with that id; empty when the table has none.
QString text(int id);
bool contains(int id);
// Empties the table and the product title (tests start from a clean table).
void clear();
} // namespace StringTable

// The process-wide product title: caption of every message box, title of every screen.
void SetProductTitle(int stringId);
QString ProductTitle();

enum class MsgButtons {
    Ok,
    YesNo,          // "yes" is the default button
    YesNoDefaultNo, // "no" is the default button
};

// True for OK and for "yes"; false for "no".
bool AppMessageBox(const QString& text, MsgIcon icon = MsgIcon::Exclamation, MsgButtons buttons = MsgButtons::Ok);
bool AppMessageBox(int stringId, MsgIcon icon = MsgIcon::Exclamation, MsgButtons buttons = MsgButtons::Ok);
// The string with its %1 (and %2) filled in; a number is written in decimal.
bool AppMessageBox(int stringId, const QString& arg1, MsgIcon icon = MsgIcon::Exclamation,
                   MsgButtons buttons = MsgButtons::Ok);
bool AppMessageBox(int stringId, int arg1, MsgIcon icon = MsgIcon::Exclamation, MsgButtons buttons = MsgButtons::Ok);
bool AppMessageBox(int stringId, const QString& arg1, const QString& arg2, MsgIcon icon = MsgIcon::Exclamation,
                   MsgButtons buttons = MsgButtons::Ok);
// The string with its placeholders filled in, without showing it.
QString FormatString(int stringId, const QString& arg1);
QString FormatString(int stringId, const QString& arg1, const QString& arg2);

// The exception's own text (at most 511 bytes in code page 932), stop icon by default.
void ShowException(const CICException& e, MsgIcon icon = MsgIcon::Stop);
void ShowException(const CDBException& e, MsgIcon icon = MsgIcon::Stop);
// Any other exception that reaches a handler: its what() text.
void ShowException(const std::exception& e, MsgIcon icon = MsgIcon::Stop);
