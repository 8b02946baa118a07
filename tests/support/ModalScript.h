#pragma once
// Driving modal screens in widget tests: finding controls by object name,
// clicking them, and a script that answers a chain of modal screens.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// Finds a child by object name; fails the test when it is missing.
template <typename T> T* Child(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << "no " << name;
    return w;
}

inline void Click(QWidget* parent, const char* buttonName) {
    if (auto* b = Child<QAbstractButton>(parent, buttonName))
        QTest::mouseClick(b, Qt::LeftButton);
}

// Answers the modal screens of a chain one after another: each step waits for
// a modal screen of its class, records it and runs its action. A screen that
// no step expects is recorded as unexpected and closed, so a test never hangs.
class ModalScript : public QObject {
public:
    ModalScript() {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &ModalScript::poll);
        m_timer.start();
    }
    template <typename T> ModalScript& on(std::function<void(T*)> action) {
        m_steps.push_back({&T::staticMetaObject, [action](QWidget* w) { action(static_cast<T*>(w)); }});
        return *this;
    }
    bool done() const { return m_next == m_steps.size(); }
    // Class names of the screens met, in order; "!" marks an unexpected one.
    QStringList seen;

private:
    struct Step {
        const QMetaObject* type;
        std::function<void(QWidget*)> action;
    };
    void poll() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible())
            return;
        for (const QPointer<QWidget>& h : m_handled)
            if (h == w)
                return; // met before; a nested screen has just closed
        m_handled << w;
        if (m_next < m_steps.size() && w->metaObject()->inherits(m_steps[m_next].type)) {
            seen << QLatin1String(w->metaObject()->className());
            auto action = m_steps[m_next++].action;
            // Run outside this slot: the action may open a nested modal screen.
            QTimer::singleShot(0, w, [action, w] { action(w); });
            return;
        }
        seen << QLatin1String("!") + QLatin1String(w->metaObject()->className());
        if (auto* d = qobject_cast<QDialog*>(w))
            QTimer::singleShot(0, d, &QDialog::reject);
    }

    std::vector<Step> m_steps;
    size_t m_next = 0;
    QList<QPointer<QWidget>> m_handled;
    QTimer m_timer;
};
