#pragma once
// What a screen reader hears for a screen's controls: the name Qt's
// accessibility layer gives each control a user can reach with the keyboard.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

inline QString AccessibleName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

// The focusable buttons, edits, lists and boxes of screen (not the parts inside
// a combo or spin box or a list) that have no name, or a name with a mnemonic
// mark, as "class objectName: name".
inline QStringList BadlyNamedControls(QWidget* screen) {
    QStringList out;
    for (QWidget* w : screen->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(screen) || w->focusPolicy() == Qt::NoFocus)
            continue;
        const bool interactive = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
                                 qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                                 qobject_cast<QAbstractItemView*>(w);
        bool inner = false;
        for (QWidget* p = w->parentWidget(); p && p != screen; p = p->parentWidget())
            inner = inner || qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractSpinBox*>(p) ||
                    qobject_cast<QAbstractItemView*>(p);
        if (!interactive || inner)
            continue;
        const QString name = AccessibleName(w).trimmed();
        if (name.isEmpty() || (!qobject_cast<QAbstractButton*>(w) && name.contains(u'&')))
            out << QStringLiteral("%1 %2: %3")
                       .arg(QLatin1String(w->metaObject()->className()), w->objectName(), name);
    }
    return out;
}
