#pragma once
// Local wall time behind a small seam, so tests can step exactly onto a
// boundary instead of sleeping. Times are "naive" local times: the local date
// and time fields, carried in a QDateTime marked as UTC so that arithmetic
// is plain calendar arithmetic, independent of the machine's zone rules.
#include <QDateTime>

class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime now() const = 0;          // local date and time, whole seconds
    virtual qint64 msecsSinceStart() const = 0; // monotonic milliseconds
};

IClock& appClock();
IClock* setAppClock(IClock* c); // nullptr restores the system clock

// The local date and time of the machine, as a naive value.
QDateTime localNow();
// A naive date-time from local fields.
QDateTime naiveDateTime(const QDate& d, const QTime& t);
