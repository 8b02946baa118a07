#include "ScreenSetup.h"

#include "AppSub.h"
#include "Codec.h"
#include "ScreenConventions.h"
#include "FileDialogs.h"
#include "GrowToShow.h"
#include "ScreenFit.h"
#include "StringTable.h"
#include "TextUtil.h"
#include "WaitCursor.h"

#include <QAbstractItemModel>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QIcon>
#include <QSaveFile>
#include <QWidget>

namespace {
const char* const kCloseFilterName = "zentryCloseItemDisabled";

// Window-system close requests (title-bar button, Alt+F4) arrive as spontaneous
// close events; the screen's own close calls do not, and pass untouched.
class CloseRequestFilter : public QObject {
public:
    explicit CloseRequestFilter(QObject* parent) : QObject(parent) { setObjectName(kCloseFilterName); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return false;
    }
};

// Restores the shared placement when the screen is first shown: a screen is
// built before the one that opens it has saved where it stands.
class PlacementRestorer : public QObject {
public:
    explicit PlacementRestorer(QWidget* screen) : QObject(screen), m_screen(screen) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_screen && event->type() == QEvent::Show) {
            ScreenSetup::RestoreWindowPlacement(QLatin1String(ScreenSetup::kSharedPlacement), m_screen);
            m_screen->removeEventFilter(this);
        }
        return false;
    }

private:
    QWidget* m_screen;
};

// Written beside the target and renamed over it, so a failure never leaves half a file.
bool writeAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

// A header line of the column captions, then a line per row, in code page 932.
QByteArray listCsv(const QAbstractItemModel& list, bool alwaysQuote) {
    QString text;
    QStringList fields;
    for (int c = 0; c < list.columnCount(); ++c)
        fields << list.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    text += TextUtil::CsvLine(fields, alwaysQuote);
    for (int r = 0; r < list.rowCount(); ++r) {
        fields.clear();
        for (int c = 0; c < list.columnCount(); ++c)
            fields << list.data(list.index(r, c), Qt::DisplayRole).toString();
        text += TextUtil::CsvLine(fields, alwaysQuote);
    }
    return cp932::encode(text);
}
} // namespace

namespace ScreenSetup {

void SetUpScreen(QWidget* screen, const QIcon& icon, bool largeIfImage, bool keepCloseItem) {
    ScreenConventions::Install();
    const bool wasVisible = screen->isVisible();
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    flags |= screen->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    if (keepCloseItem)
        flags |= Qt::WindowCloseButtonHint;
    screen->setWindowFlags(flags);

    QObject* filter = screen->findChild<QObject*>(kCloseFilterName, Qt::FindDirectChildrenOnly);
    if (!keepCloseItem && !filter)
        screen->installEventFilter(new CloseRequestFilter(screen));
    else if (keepCloseItem && filter)
        delete filter;

    screen->setWindowTitle(ProductTitle());
    screen->setWindowIcon(icon);
    const bool large = largeIfImage && AppSub::ImageOnScreen();
    ScreenFit::SetDesignSize(screen, large ? QSize(1024, 720) : QSize(800, 600));
    screen->resize(ScaleSize(screen, large ? QSize(1024, 720) : QSize(800, 600)));
    ScreenFit::KeepFitted(screen);
    if (wasVisible)
        screen->show(); // changing the window flags hides a shown window
}

int ScaleX(const QWidget* screen, int value) { return int(value * ScreenFit::Scale(screen).width()); }
int ScaleY(const QWidget* screen, int value) { return int(value * ScreenFit::Scale(screen).height()); }
QSize ScaleSize(const QWidget* screen, const QSize& size) {
    return {ScaleX(screen, size.width()), ScaleY(screen, size.height())};
}

void CentreHorizontally(QWidget* control, int areaLeft, int areaWidth) {
    control->move(areaLeft + (areaWidth - control->width()) / 2, control->y());
}

void CentreHorizontally(QWidget* control) {
    if (QWidget* parent = control->parentWidget())
        CentreHorizontally(control, 0, parent->width());
}

void MoveBy(QWidget* control, int dx, int dy) { control->move(control->pos() + QPoint(dx, dy)); }

void MoveKeepingSize(QWidget* control, const QPoint& topLeft) { control->move(topLeft); }

void PlaceBottomRight(QWidget* control, const QRect& area, int margin) {
    control->move(area.x() + area.width() - margin - control->width(),
                  area.y() + area.height() - margin - control->height());
}

void PlaceBottomRight(QWidget* control, int margin) {
    if (QWidget* parent = control->parentWidget())
        PlaceBottomRight(control, parent->rect(), margin);
}

int SelectedItemData(const QComboBox* list, int def) {
    if (!list->isVisibleTo(list->window()) || !list->isEnabled() || list->currentIndex() < 0)
        return def;
    bool ok = false;
    const int value = list->currentData().toInt(&ok);
    return ok ? value : def;
}

void SaveWindowPlacement(const QString& section, const QWidget* screen) {
    const int showCmd = screen->isMinimized() ? 2 : screen->isMaximized() ? 3 : 1;
    AppSub::WriteSectionInt(section, QStringLiteral("WindowShowCmd"), showCmd);
    if (showCmd != 1)
        return;
    QRect frame = ScreenFit::FrameRect(screen);
    QSize size = screen->size();
    GrowToShow::PlacementBeforeGrowing(screen, &frame, &size);
    // A window dragged partly off the screen is remembered where it can be reached.
    frame = ScreenFit::KeptInside(frame, ScreenFit::DisplayOf(screen).available);
    AppSub::WriteSectionInt(section, QStringLiteral("Top"), frame.top());
    AppSub::WriteSectionInt(section, QStringLiteral("Left"), frame.left());
    AppSub::WriteSectionInt(section, QStringLiteral("Width"), size.width());
    AppSub::WriteSectionInt(section, QStringLiteral("Height"), size.height());
}

void RestoreWindowPlacement(const QString& section, QWidget* screen) {
    const int top = AppSub::GetSectionInt(section, QStringLiteral("Top"), 0);
    const int left = AppSub::GetSectionInt(section, QStringLiteral("Left"), 0);
    const int width = AppSub::GetSectionInt(section, QStringLiteral("Width"), 0);
    const int height = AppSub::GetSectionInt(section, QStringLiteral("Height"), 0);
    // The frame goes where it was saved (the client area below the frame the
    // window system draws, so nothing creeps by a title bar's height), the whole
    // window on the screen whatever the file says.
    if (width > 0 && height > 0)
        screen->setGeometry(ScreenFit::ClientRectAt(screen, QPoint(left, top), QSize(width, height)));
    if (AppSub::GetSectionInt(section, QStringLiteral("WindowShowCmd"), 1) == 3)
        screen->setWindowState(screen->windowState() | Qt::WindowMaximized);
}

void SetUpPlacedScreen(QDialog* screen, const QString& title, const QIcon& icon) {
    ScreenConventions::Install();
    screen->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                           Qt::WindowCloseButtonHint);
    screen->setWindowTitle(title);
    screen->setWindowIcon(icon);
    // 720 × 520 at least, unless the screen itself is smaller (a high DPI
    // scale on a small laptop screen).
    const ScreenFit::Display display = ScreenFit::DisplayOf(screen);
    const QSize least = QSize(720, 520).boundedTo(display.available.size().shrunkBy(display.frame));
    screen->setMinimumSize(least);
    screen->resize(least);
    screen->installEventFilter(new PlacementRestorer(screen));
    ScreenFit::SetDesignSize(screen, QSize(720, 520));
    ScreenFit::KeepFitted(screen);
    QObject::connect(screen, &QDialog::finished, screen,
                     [screen] { SaveWindowPlacement(QLatin1String(kSharedPlacement), screen); });
}

QLabel* ResizeNote(QWidget* screen) {
    auto* note = new QLabel(QStringLiteral("この画面は最大化やリサイズができます。"), screen);
    note->setObjectName(QStringLiteral("resizeNote"));
    return note;
}

int ExecOnSharedPlacement(QWidget* caller, QDialog& nested) {
    const QString section = QLatin1String(kSharedPlacement);
    SaveWindowPlacement(section, caller);
    const int result = nested.exec();
    // Where the nested screen was left unmoved this puts the caller exactly
    // where it stood: placements carry the frame, so nothing creeps.
    RestoreWindowPlacement(section, caller);
    return result;
}

bool SaveFile(const QString& path, const QByteArray& bytes) {
    QString error;
    bool written = false;
    {
        CWaitCursor wait;
        written = writeAtomically(path, bytes, &error);
    }
    if (!written)
        AppMessageBox(QStringLiteral("ファイル %1 に保存できませんでした。\n\n%2").arg(path, error), MsgIcon::Stop);
    return written;
}

bool WriteListCsv(const QString& path, const QAbstractItemModel& list, bool alwaysQuote, QString* error) {
    return writeAtomically(path, listCsv(list, alwaysQuote), error);
}

bool SaveListAsCsv(QWidget* parent, const QAbstractItemModel& list) {
    if (list.rowCount() == 0) {
        AppMessageBox(QStringLiteral("リストが空です。保存できるものはありません。"), MsgIcon::Exclamation);
        return false;
    }
    const QString path = FileDialogs::getSaveFileName(
        parent, QStringLiteral("CSVﾌｧｲﾙ (*.csv);;すべてのﾌｧｲﾙ (*.*)"), QStringLiteral("csv"));
    return !path.isEmpty() && SaveFile(path, listCsv(list, false));
}

} // namespace ScreenSetup
