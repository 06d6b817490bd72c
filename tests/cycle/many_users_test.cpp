// Clerks on 1, 4 and 8 workstations at once, each walking 200 steps in one company over the same
// items, places, vendors and documents. A step refused because of another clerk's change or lock
// is fine when it says so; none waits on a lock through every try, and PostgreSQL detects no
// deadlock; at the end no quantity, layer, order line or counter has lost an update: every rule
// of the data holds. Prints the saves per second and the saves run again.
#include "company.h"
#include "walkers.h"

#include "check/company_checks.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <iostream>

namespace zelkor::cycle {
namespace {

constexpr int StepsPerClerk = 200;

/// The deadlocks PostgreSQL has detected in the test's database; none on SQLite.
qint64 deadlocks(testing::TestDatabase& t)
{
    if (t.engine() != Engine::Postgres)
        return 0;
    return t.scalar(QStringLiteral("SELECT deadlocks FROM pg_stat_database WHERE datname = current_database()")).toLongLong();
}

class ManyUsers : public ::testing::TestWithParam<int> {};

TEST_P(ManyUsers, ClerksAtOnceLoseNoUpdateAndKeepEveryRule)
{
    const int clerks = GetParam();
    testing::TestDatabase t(testing::Contents::Demo);
    ASSERT_TRUE(add_generated_masters(t.db()));
    const qint64 deadlocks_before = deadlocks(t);
    QElapsedTimer timer;
    timer.start();
    Walkers walkers(QStringLiteral(ZELKOR_CYCLE_WALKER), t.location(), clerks, StepsPerClerk, 4200);
    const WalkerTotals totals = walkers.wait(280000);
    for (const QString& failure : totals.failures)
        ADD_FAILURE() << failure.toStdString();
    const double seconds = double(timer.elapsed()) / 1000.0;
    const int saves = totals.saves;
    std::cout << clerks << " clerks: " << saves << " saves in " << seconds << " s, " << saves / seconds << " saves/s; "
              << totals.refused << " steps refused, " << totals.refused_by_others
              << " of them by another user's change or lock, " << totals.refused_locked << " on a lock; " << totals.retries
              << " saves run again; " << totals.failed << " walks failed" << std::endl;
    // The statistics reach the server's view once the walkers' backends have ended. Every save
    // takes its locks in one order: two clerks never wait on each other crosswise, and none waits
    // out a lock through all the tries of a save.
    QThread::msleep(500);
    const qint64 detected = deadlocks(t) - deadlocks_before;
    std::cout << detected << " deadlocks detected by the server" << std::endl;
    EXPECT_EQ(detected, 0);
    EXPECT_EQ(totals.refused_locked, 0);
    EXPECT_GT(saves, clerks * StepsPerClerk / 2);
    auto violations = check_invariants(t.db(), company_invariant_checks());
    ASSERT_TRUE(violations) << violations.error().detail.toStdString();
    EXPECT_TRUE(violations->isEmpty()) << violations->join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Clerks, ManyUsers, ::testing::Values(1, 4, 8));

} // namespace
} // namespace zelkor::cycle
