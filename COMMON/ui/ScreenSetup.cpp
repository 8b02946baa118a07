#include "ScreenSetup.h"

#include "AppSub.h"
#include "Codec.h"
#include "ScreenConventions.h"
#include "FileDialogs.h"
#include "StringTable.h"
#include "TextUtil.h"
#include "WaitCursor.h"

#include <QAbstractItemModel>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QGuiApplication>
#include <QIcon>
#include <QSaveFile>
#include <QScreen>
#include <QWidget>

namespace {
constexpr double kBaseDpi = 96.0;
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

QSize desktopSize() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : QSize();
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
    screen->resize(ScaleSize(screen, large ? QSize(1024, 720) : QSize(800, 600)));
    if (wasVisible)
        screen->show(); // changing the window flags hides a shown window
}

int ScaleX(const QWidget* screen, int value) { return int(value * screen->logicalDpiX() / kBaseDpi); }
int ScaleY(const QWidget* screen, int value) { return int(value * screen->logicalDpiY() / kBaseDpi); }
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
    AppSub::WriteSectionInt(section, QStringLiteral("Top"), screen->y());
    AppSub::WriteSectionInt(section, QStringLiteral("Left"), screen->x());
    AppSub::WriteSectionInt(section, QStringLiteral("Width"), screen->width());
    AppSub::WriteSectionInt(section, QStringLiteral("Height"), screen->height());
}

void RestoreWindowPlacement(const QString& section, QWidget* screen) {
    int top = AppSub::GetSectionInt(section, QStringLiteral("Top"), 0);
    int left = AppSub::GetSectionInt(section, QStringLiteral("Left"), 0);
    int width = AppSub::GetSectionInt(section, QStringLiteral("Width"), 0);
    int height = AppSub::GetSectionInt(section, QStringLiteral("Height"), 0);
    // A negative size or position (a hand-edited or damaged file) never puts
    // the screen out of reach.
    if (width > 0 && height > 0) {
        const QSize desk = desktopSize();
        left = std::max(0, std::min(left, desk.width() - 10));
        top = std::max(0, std::min(top, desk.height() - 10));
        width = std::min(width, desk.width());
        height = std::min(height, desk.height());
        screen->move(left, top);
        screen->resize(width, height);
    }
    if (AppSub::GetSectionInt(section, QStringLiteral("WindowShowCmd"), 1) == 3)
        screen->setWindowState(screen->windowState() | Qt::WindowMaximized);
}

void SetUpPlacedScreen(QDialog* screen, const QString& title, const QIcon& icon) {
    ScreenConventions::Install();
    screen->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                           Qt::WindowCloseButtonHint);
    screen->setWindowTitle(title);
    screen->setWindowIcon(icon);
    screen->setMinimumSize(720, 520);
    screen->resize(720, 520);
    screen->installEventFilter(new PlacementRestorer(screen));
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
