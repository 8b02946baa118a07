#pragma once
// What every screen does on opening and on resizing: the common set-up (title,
// icon, size, close item), DPI scaling, small layout helpers, the remembered
// window placement, and saving a list as a CSV file.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QAbstractItemModel;
class QComboBox;
class QDialog;
class QIcon;
class QLabel;
class QWidget;

namespace ScreenSetup {

// Title = the product title; the icon; a top-level window of its own (so it has
// a task-bar entry); 800 × 600 scaled by DPI, or 1024 × 720 when largeIfImage is
// set and display_flg reads 1; the position is left alone.
// Unless keepCloseItem is set, the window has no close button and ignores close
// requests from the window system (Alt+F4, the title bar); the screen still
// closes through its own buttons (accept, reject, done, or close() from code).
void SetUpScreen(QWidget* screen, const QIcon& icon, bool largeIfImage = false, bool keepCloseItem = false);

// value × logical DPI ÷ 96, horizontally and vertically, reduced where the
// window would not fit its screen (ScreenFit).
int ScaleX(const QWidget* screen, int value);
int ScaleY(const QWidget* screen, int value);
QSize ScaleSize(const QWidget* screen, const QSize& size);

// Layout helpers for the resize handlers; positions are in the parent's coordinates.
void CentreHorizontally(QWidget* control, int areaLeft, int areaWidth);
void CentreHorizontally(QWidget* control); // within the parent's width
void MoveBy(QWidget* control, int dx, int dy);
void MoveKeepingSize(QWidget* control, const QPoint& topLeft);
// Bottom-right corner margin pixels inside area (default: the parent's rectangle).
void PlaceBottomRight(QWidget* control, const QRect& area, int margin = 20);
void PlaceBottomRight(QWidget* control, int margin = 20);

// The item data of the current entry when the list is shown (within its window),
// enabled and has a current entry; else def.
int SelectedItemData(const QComboBox* list, int def);

// Window placement in the ini file (keys WindowShowCmd, Top, Left, Width, Height).
// WindowShowCmd is 1 normal, 2 minimised, 3 maximised; the position is the
// top-left of the window's frame and the size its inner size. Both directions
// keep the whole window, frame included, inside the screen's available area.
void SaveWindowPlacement(const QString& section, const QWidget* screen);
void RestoreWindowPlacement(const QString& section, QWidget* screen);

// The instructor utility's resizable screens share one placement, section
// WindowPos. SetUpPlacedScreen gives a screen its title and icon, minimise and
// maximise buttons and a size of 720 × 520, never smaller unless the screen is;
// the shared placement is restored when the screen is first shown and saved
// when it finishes.
inline constexpr const char* kSharedPlacement = "WindowPos";
void SetUpPlacedScreen(QDialog* screen, const QString& title, const QIcon& icon);
// The note at the bottom of such a screen.
QLabel* ResizeNote(QWidget* screen);
// Runs a placed screen from another: the caller's placement is saved first (the
// nested screen opens exactly where the caller is), and the placement the
// nested screen leaves is taken over when it closes.
int ExecOnSharedPlacement(QWidget* caller, QDialog& nested);

// Writes bytes to path through a file beside it that is renamed over it, so a
// failure never leaves half a file; the failure is reported, naming the path.
bool SaveFile(const QString& path, const QByteArray& bytes);

// Asks for a file (save dialog, ".csv") and writes the list: a header line of
// the column captions, then one line per row; fields by the CSV-field rule, joined
// by ",", code page 932, CR LF. An empty list is refused with a message. False when
// nothing was written (empty, cancelled or failed; a failure is reported).
bool SaveListAsCsv(QWidget* parent, const QAbstractItemModel& list);
// The writing step alone; false with *error set when the file cannot be written.
bool WriteListCsv(const QString& path, const QAbstractItemModel& list, bool alwaysQuote, QString* error);

} // namespace ScreenSetup
