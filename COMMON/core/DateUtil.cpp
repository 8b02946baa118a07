#include "DateUtil.h"

#include "Clock.h"
#include "ICException.h"

namespace DateUtil {

qint64 ElapsedSeconds(const QDateTime& start, const QDateTime& end) {
    if (!start.isValid() || !end.isValid())
        return 0;
    return std::max<qint64>(0, start.secsTo(end));
}

QString ElapsedMinSec(const QDateTime& start, const QDateTime& end) {
    qint64 s = ElapsedSeconds(start, end);
    return QString::number(s / 60) + QStringLiteral("分") + QString::number(s % 60) + QStringLiteral("秒");
}

TimeSpan SpanFromParts(qint64 days, qint64 hours, qint64 minutes, qint64 seconds) {
    TimeSpan span;
    span.seconds = ((days * 24 + hours) * 60 + minutes) * 60 + seconds;
    span.valid = std::llabs(span.seconds) <= 3615897LL * 86400;
    return span;
}

TimeSpan ParseMinSec(const QString& text) {
    int pos = text.indexOf(QStringLiteral("分"));
    if (pos < 0)
        return {};
    bool okM = false;
    qint64 minutes = text.left(pos).trimmed().toLongLong(&okM);
    QString rest = text.mid(pos + 1);
    rest.remove(QStringLiteral("秒"));
    qint64 seconds = rest.trimmed().toLongLong();
    if (!okM && !text.left(pos).trimmed().isEmpty())
        return {};
    return SpanFromParts(0, 0, minutes, seconds);
}

QString DateTimeText(const QDateTime& dt) {
    if (!dt.isValid() || dt.date().year() == 0)
        return {};
    const QDate d = dt.date();
    const QTime t = dt.time();
    return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", d.year(), d.month(), d.day(), t.hour(), t.minute(),
                             t.second());
}

QString TimeOfDayText(const QDateTime& dt) {
    const QTime t = dt.time();
    return QString::asprintf("%02d:%02d:%02d", t.hour(), t.minute(), t.second());
}

QDateTime AddSpan(const QDateTime& dt, const TimeSpan& span) {
    if (!dt.isValid() || !span.valid)
        return {};
    QDateTime out = dt.addSecs(span.seconds);
    return out.isValid() ? out : QDateTime();
}

QDateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second) {
    QDate d(year, month, day);
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59 || !d.isValid())
        IC_THROW(QStringLiteral("日付または時刻が正しくありません。"));
    return naiveDateTime(d, QTime(hour, minute, second));
}

} // namespace DateUtil
