#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace zelkor {

/// The one source of "today" and "now" for the whole module: document dates that default to
/// today, audit stamps, lot ids and due dates all ask it, so that tests and the script runner
/// (--today) can fix the date and get the same documents on every run. Safe to call from any
/// thread.
class Clock {
public:
    /// Today's date, or the fixed date when one is set.
    static QDate today();
    /// The local time of day, or the fixed time when one is set.
    static QTime time_of_day();
    /// Today and the time of day together.
    static QDateTime now();
    /// The time of day as documents store it: "hh:mm:ss".
    static QString time_text();

    /// Fixes today's date; the time of day keeps running unless `time` is given too.
    static void fix(const QDate& date, const QTime& time = {});
    /// Back to the system clock.
    static void release();
    static bool is_fixed();
};

/// Fixes the clock for one scope (a test) and releases it again at the end.
class FixedClock {
public:
    explicit FixedClock(const QDate& date, const QTime& time = {}) { Clock::fix(date, time); }
    ~FixedClock() { Clock::release(); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
};

} // namespace zelkor
