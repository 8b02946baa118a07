#pragma once
// A clock that stands still until the test moves it; installed for its lifetime.
#include "Clock.h"

class FakeClock : public IClock {
public:
    explicit FakeClock(QDateTime start = naiveDateTime(QDate(2026, 4, 1), QTime(9, 30, 0))) : m_now(start) {
        m_previous = setAppClock(this);
    }
    ~FakeClock() override { setAppClock(m_previous); }
    QDateTime now() const override { return m_now; }
    qint64 msecsSinceStart() const override { return m_ms; }
    void set(const QDateTime& t) { m_now = t; }
    void advance(qint64 seconds) { advanceMs(seconds * 1000); }
    void advanceMs(qint64 ms) {
        m_now = m_now.addMSecs(ms);
        m_ms += ms;
    }

private:
    QDateTime m_now;
    qint64 m_ms = 0;
    IClock* m_previous = nullptr;
};
