#include "ScreenConventions.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <limits>

namespace ScreenConventions {
namespace {
// Marks the names this module gave, so a later pass may correct them while
// names the screens set themselves stay.
const char* const kGivenName = "zentryGivenAccessibleName";
const char* const kEnterLeftToScreen = "zentryEnterLeftToScreen";

bool isButton(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) != nullptr;
}

// Inside a combo or spin box the inner edit is part of its owner, not a control of its own.
bool isPartOfAnother(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
            qobject_cast<const QAbstractItemView*>(p))
            return true;
    return false;
}

QString labelText(const QLabel* label) {
    QString text = label->text();
    if (Qt::mightBeRichText(text)) {
        QTextDocument doc;
        doc.setHtml(text);
        text = doc.toPlainText();
    }
    return WithoutMnemonic(text.simplified());
}

QRect rectIn(const QWidget* w, const QWidget* window) {
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

// A text a sighted user reads on the screen: a label, or the current tab of a
// tab bar (which captions the list under it).
struct Caption {
    QRect rect; // in the window's coordinates
    QString text;
    const QWidget* buddy = nullptr;
};

QList<Caption> captionsOf(const QWidget* window) {
    QList<Caption> out;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (!label->text().trimmed().isEmpty())
                out.push_back({rectIn(label, window), labelText(label), label->buddy()});
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(w)) {
            if (tabs->currentIndex() >= 0)
                out.push_back({rectIn(tabs, window), WithoutMnemonic(tabs->tabText(tabs->currentIndex()))});
        }
    }
    return out;
}

// The caption a sighted user reads beside the control: the label it is the
// buddy of, else the one to its left on the same row (the nearest), else the
// one just above it (the nearest).
QString captionBeside(const QWidget* control, const QWidget* window, const QList<Caption>& captions) {
    for (const Caption& c : captions)
        if (c.buddy == control && !c.text.isEmpty())
            return c.text;
    const QRect r = rectIn(control, window);
    const int gapLimit = 24 * control->logicalDpiY() / 96;
    QString left, above;
    int leftGap = std::numeric_limits<int>::max(), aboveGap = leftGap;
    for (const Caption& c : captions) {
        const QRect& l = c.rect;
        const int overlapY = std::min(l.bottom(), r.bottom()) - std::max(l.top(), r.top());
        const int overlapX = std::min(l.right(), r.right()) - std::max(l.left(), r.left());
        if (overlapY >= std::min(l.height(), r.height()) / 2 && l.right() <= r.left() + 2) {
            const int gap = r.left() - l.right();
            if (gap < leftGap) {
                leftGap = gap;
                left = c.text;
            }
        } else if (overlapX > 0 && l.bottom() <= r.top() + 2) {
            const int gap = r.top() - l.bottom();
            if (gap <= gapLimit && gap < aboveGap) {
                aboveGap = gap;
                above = c.text;
            }
        }
    }
    return !left.isEmpty() ? left : above;
}

// Names control after its caption unless the screen named it itself.
void nameControl(QWidget* control, const QWidget* window, const QList<Caption>& captions) {
    const bool ours = control->property(kGivenName).toBool();
    if (!control->accessibleName().isEmpty() && !ours)
        return;
    const QString name = captionBeside(control, window, captions);
    if (name.isEmpty())
        return;
    control->setAccessibleName(name);
    control->setProperty(kGivenName, true);
}

// At a fractional desktop scale (150 %) a scroll area's viewport, rounded to
// whole pixels, paints its ground over the frame's lines: the area paints that
// ground itself, under a clear viewport.
void keepFrameLines(QAbstractScrollArea* area) {
    QWidget* viewport = area->viewport();
    if (area->frameShape() == QFrame::NoFrame || !viewport || !viewport->autoFillBackground())
        return;
    area->setBackgroundRole(viewport->backgroundRole());
    area->setAutoFillBackground(true);
    viewport->setAutoFillBackground(false);
}

class Conventions : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            return pressFocusedButton(watched, static_cast<QKeyEvent*>(event));
        case QEvent::Polish:
            if (auto* area = qobject_cast<QAbstractScrollArea*>(watched))
                keepFrameLines(area);
            return false;
        case QEvent::Show:
            if (watched->isWidgetType() && !static_cast<QWidget*>(watched)->isWindow()) {
                // A control shown later (the list of the tab just chosen) is named then.
                auto* control = static_cast<QWidget*>(watched);
                QWidget* window = control->window();
                if (window->isVisible() && IsInteractive(control) && !isButton(control))
                    nameControl(control, window, captionsOf(window));
            } else if (watched->isWidgetType()) {
                auto* window = static_cast<QWidget*>(watched);
                NameControls(window);
                // Screens that place their controls once shown are named again then.
                QTimer::singleShot(0, window, [w = QPointer<QWidget>(window)] {
                    if (w && w->isVisible())
                        NameControls(w);
                });
            }
            return false;
        default:
            return false;
        }
    }

private:
    static bool pressFocusedButton(QObject* watched, QKeyEvent* key) {
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !(qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button)))
            return false;
        // Key events reach the focused control only, so the button has the focus.
        if (!button->isEnabled() || !button->isVisible() ||
            button->window()->property(kEnterLeftToScreen).toBool())
            return false;
        // A held key presses once, as Space does.
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
};
} // namespace

void Install() {
    static QPointer<Conventions> installed;
    if (installed || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    installed = new Conventions(qApp);
    qApp->installEventFilter(installed);
}

// Every screen, the first one included, follows the habits from the start.
Q_COREAPP_STARTUP_FUNCTION(Install)

void LeaveEnterToScreen(QWidget* screen) {
    screen->setProperty(kEnterLeftToScreen, true);
}

bool IsInteractive(const QWidget* w) {
    if (!w || w->focusPolicy() == Qt::NoFocus)
        return false;
    const bool kind = isButton(w) || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
                      qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
                      qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractItemView*>(w);
    return kind && !isPartOfAnother(w);
}

void NameControls(QWidget* window) {
    if (!window)
        return;
    const QList<Caption> captions = captionsOf(window);
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->window() == window && w->isVisibleTo(window) && IsInteractive(w) && !isButton(w))
            nameControl(w, window, captions);
}

QString WithoutMnemonic(const QString& caption) {
    static const QRegularExpression mnemonicInBrackets(QStringLiteral("[(（]&[^&][)）]"));
    QString text = caption;
    text.remove(mnemonicInBrackets);
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&')
                out += u'&', ++i;
            continue;
        }
        out += text[i];
    }
    while (!out.isEmpty() && (out.back().isSpace() || out.back() == u':' || out.back() == u'：'))
        out.chop(1);
    while (!out.isEmpty() && out.front().isSpace())
        out.remove(0, 1);
    return out;
}

} // namespace ScreenConventions
