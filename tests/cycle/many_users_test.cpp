// Clerks on 1, 4 and 8 workstations at once, each walking 200 steps in one company over the same
// items, places, vendors and documents. A step refused because of another clerk's change or lock
// is fine when it says so; at the end no quantity, layer, order line or counter has lost an
// update: every rule of the data holds. Prints the saves per second.
#include "company.h"

#include "check/company_checks.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

namespace zelkor::cycle {
namespace {

constexpr int StepsPerClerk = 200;

/// What the walkers' closing lines say, added up.
struct WalkerTotals {
    int saves = 0;
    int refused = 0;
    int refused_by_others = 0;
    int failed = 0; ///< walks that ended on a step failing without a reason

    void add(const QString& output, int exit_code)
    {
        saves += captured(output, QStringLiteral("saves (\\d+)"));
        refused += captured(output, QStringLiteral("(\\d+) refused, "));
        refused_by_others += captured(output, QStringLiteral("(\\d+) of them by another user"));
        failed += exit_code == 0 ? 0 : 1;
    }
    static int captured(const QString& output, const QString& pattern)
    {
        const auto found = QRegularExpression(pattern).match(output);
        return found.hasMatch() ? found.captured(1).toInt() : 0;
    }
};

class ManyUsers : public ::testing::TestWithParam<int> {};

TEST_P(ManyUsers, ClerksAtOnceLoseNoUpdateAndKeepEveryRule)
{
    const int clerks = GetParam();
    testing::TestDatabase t(testing::Contents::Demo);
    ASSERT_TRUE(add_generated_masters(t.db()));
    QElapsedTimer timer;
    timer.start();
    std::vector<std::unique_ptr<QProcess>> walkers;
    for (int clerk = 0; clerk < clerks; ++clerk) {
        walkers.push_back(std::make_unique<QProcess>());
        walkers.back()->setProcessChannelMode(QProcess::MergedChannels);
        walkers.back()->start(QStringLiteral(ZELKOR_CYCLE_WALKER),
                              {"--db", t.location(), "--seed", QString::number(4200 + clerk), "--steps",
                               QString::number(StepsPerClerk)});
    }
    WalkerTotals totals;
    for (auto& walker : walkers) {
        ASSERT_TRUE(walker->waitForFinished(280000));
        const QString output = QString::fromUtf8(walker->readAll());
        EXPECT_EQ(walker->exitCode(), 0) << output.toStdString();
        totals.add(output, walker->exitCode());
    }
    const double seconds = double(timer.elapsed()) / 1000.0;
    const int saves = totals.saves;
    std::cout << clerks << " clerks: " << saves << " saves in " << seconds << " s, " << saves / seconds << " saves/s; "
              << totals.refused << " steps refused, " << totals.refused_by_others
              << " of them by another user's change or lock; " << totals.failed << " walks failed" << std::endl;
    EXPECT_GT(saves, clerks * StepsPerClerk / 2);
    auto violations = check_invariants(t.db(), company_invariant_checks());
    ASSERT_TRUE(violations) << violations.error().detail.toStdString();
    EXPECT_TRUE(violations->isEmpty()) << violations->join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Clerks, ManyUsers, ::testing::Values(1, 4, 8));

} // namespace
} // namespace zelkor::cycle
