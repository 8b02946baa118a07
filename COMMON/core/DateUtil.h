#pragma once
// Date and time texts and arithmetic on naive local times (see Clock.h).
#include <QDateTime>
#include <QString>

namespace DateUtil {
QString ElapsedMinSec(const QDateTime& start, const QDateTime& end); // "%d分%d秒", 0 when end < start
qint64 ElapsedSeconds(const QDateTime& start, const QDateTime& end);

// A span of time as whole seconds; invalid beyond ±3615897 days.
struct TimeSpan {
    qint64 seconds = 0;
    bool valid = false;
    double days() const { return seconds / 86400.0; }
};
TimeSpan SpanFromParts(qint64 days, qint64 hours, qint64 minutes, qint64 seconds);
// Reads "M分S秒"; invalid without "分".
TimeSpan ParseMinSec(const QString& text);

QString DateTimeText(const QDateTime& dt); // "%04d/%02d/%02d %02d:%02d:%02d", empty when unset
QString TimeOfDayText(const QDateTime& dt); // "%02d:%02d:%02d"
// Calendar addition; an invalid input or result gives an invalid value.
QDateTime AddSpan(const QDateTime& dt, const TimeSpan& span);
// Throws CICException outside year >= 1900, month 1-12, day 1-31 (and a real date),
// hour 0-23, minute and second 0-59.
QDateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second);
} // namespace DateUtil
