#include "core/clock.h"
#include "tests/support/printers.h"

#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(Clock, FixedDateHoldsForEveryThreadUntilReleased)
{
    const QDate fixed(2026, 3, 15);
    {
        FixedClock clock(fixed);
        EXPECT_EQ(Clock::today(), fixed);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(Clock::time_text()).hasMatch());
        QDate seen_elsewhere;
        QThread* other = QThread::create([&] { seen_elsewhere = Clock::today(); });
        other->start();
        other->wait();
        delete other;
        EXPECT_EQ(seen_elsewhere, fixed);
    }
    EXPECT_FALSE(Clock::is_fixed());
    EXPECT_EQ(Clock::today(), QDate::currentDate());

    FixedClock moment(fixed, QTime(9, 5, 7));
    EXPECT_EQ(Clock::time_text(), QStringLiteral("09:05:07"));
    EXPECT_EQ(Clock::now(), QDateTime(fixed, QTime(9, 5, 7)));
}

} // namespace
} // namespace zelkor
