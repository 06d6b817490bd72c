#include "core/clock.h"

#include <QMutex>
#include <QMutexLocker>

namespace zelkor {
namespace {

struct FixedMoment {
    QDate date;
    QTime time;
};

QMutex& clock_mutex()
{
    static QMutex mutex;
    return mutex;
}

FixedMoment& fixed_moment()
{
    static FixedMoment moment;
    return moment;
}

FixedMoment current_fix()
{
    QMutexLocker lock(&clock_mutex());
    return fixed_moment();
}

} // namespace

QDate Clock::today()
{
    const FixedMoment fix = current_fix();
    return fix.date.isValid() ? fix.date : QDate::currentDate();
}

QTime Clock::time_of_day()
{
    const FixedMoment fix = current_fix();
    return fix.time.isValid() ? fix.time : QTime::currentTime();
}

QDateTime Clock::now()
{
    const FixedMoment fix = current_fix();
    const QDateTime system = QDateTime::currentDateTime();
    return QDateTime(fix.date.isValid() ? fix.date : system.date(), fix.time.isValid() ? fix.time : system.time());
}

QString Clock::time_text() { return time_of_day().toString(QStringLiteral("hh:mm:ss")); }

void Clock::fix(const QDate& date, const QTime& time)
{
    QMutexLocker lock(&clock_mutex());
    fixed_moment() = {date, time};
}

void Clock::release() { fix({}, {}); }

bool Clock::is_fixed() { return current_fix().date.isValid(); }

} // namespace zelkor
