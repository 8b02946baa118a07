#include "Clock.h"

#include <QElapsedTimer>

QDateTime naiveDateTime(const QDate& d, const QTime& t) { return QDateTime(d, t, Qt::UTC); }

QDateTime localNow() {
    QDateTime local = QDateTime::currentDateTime();
    QTime t = local.time();
    return naiveDateTime(local.date(), QTime(t.hour(), t.minute(), t.second()));
}

namespace {
class SystemClock : public IClock {
public:
    SystemClock() { m_timer.start(); }
    QDateTime now() const override { return localNow(); }
    qint64 msecsSinceStart() const override { return m_timer.elapsed(); }

private:
    QElapsedTimer m_timer;
};
SystemClock g_system;
IClock* g_clock = &g_system;
} // namespace

IClock& appClock() { return *g_clock; }

IClock* setAppClock(IClock* c) {
    IClock* prev = g_clock == &g_system ? nullptr : g_clock;
    g_clock = c ? c : &g_system;
    return prev;
}
