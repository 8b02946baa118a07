#pragma once
// Keyboard and screen-reader habits every screen of both programs shares,
// installed once for the whole application as it starts (and by the screen
// set-up, for a QApplication made later):
// - Enter on a focused push button presses it, as Space does, except on a
//   screen that keeps Enter for itself. Elsewhere Enter keeps the screen's own
//   meaning (its default button, a field's own use).
// - Every focusable control without an accessible name of its own is named
//   after the text a sighted user reads beside it: its label (the one it is the
//   buddy of, else the caption to its left on the same row, else the one just
//   above it), without the mnemonic marks. Buttons, check boxes and radio
//   buttons carry their own text.
// - A framed list, text field or scroll area keeps every line of its frame at
//   a fractional desktop scale.
#include <QString>

class QWidget;

namespace ScreenConventions {

// Idempotent; needs a QApplication.
void Install();

// Enter on a button of screen is left to the screen (a task screen, where
// Enter serves the task and presses no button).
void LeaveEnterToScreen(QWidget* screen);

// Names the unnamed controls of window now; Install does it whenever a window is
// shown. A name given by the screen's own code is never replaced.
void NameControls(QWidget* window);

// The controls a user reaches with the keyboard: buttons, check boxes, radio
// buttons, line and text edits, combo and spin boxes, lists and tables.
bool IsInteractive(const QWidget* widget);

// "フリガナ(&1)" → "フリガナ", "選択(&S)" → "選択", "A && B" → "A & B"; surrounding
// blanks (half- and full-width) and a trailing colon dropped.
QString WithoutMnemonic(const QString& caption);

} // namespace ScreenConventions
