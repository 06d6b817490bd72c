// The purchasing cycle as clerks live it for months: seeded random walks of clerk's steps over
// the requisition, order and receipt windows and the inquiries, a fifth of the writing steps
// with a failing statement, and every rule of the company's data checked after each step. On
// PostgreSQL every step runs as the company's role for its window, so that the server refuses a
// write the roles do not grant.
//
// The suite walks three seeds of 1,000 steps per engine. A failure names its seed and step;
// replay it on the same engine (walks of the two engines part ways) with
//   ZELKOR_CYCLE_SEED=20260317 ZELKOR_CYCLE_STEPS=412 build/tests/cycle/cycle_tests --engine=sqlite
//       --gtest_filter=CycleWalkSoak.*
// and soak with any number of steps and a new seed (it prints the steps per second):
//   ZELKOR_CYCLE_SEED=random ZELKOR_CYCLE_STEPS=100000 build/tests/cycle/cycle_tests --engine=sqlite
//       --gtest_filter=CycleWalkSoak.*
// ZELKOR_CYCLE_TRACE=1 prints every step; ZELKOR_CYCLE_KEEP=FILE keeps a SQLite company after the walk.
// A long soak in a growing company checks the data every N steps (ZELKOR_CYCLE_CHECK_EVERY=N),
// injects faults into a smaller share of the writing steps (ZELKOR_CYCLE_FAULT_SHARE=0.004) and
// can stop after S seconds (ZELKOR_CYCLE_SECONDS=S). A failure of such a walk prints its full
// replay command, which stops at the step that broke (ZELKOR_CYCLE_STOP_AFTER) and can check
// only the steps after the last check that passed (ZELKOR_CYCLE_CHECK_FROM); see the README.
#include "company.h"
#include "walk.h"

#include "schema/roles.h"
#include "schema/window_writes.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <iostream>

namespace zelkor::cycle {
namespace {

/// Steps of each walk of the suite: the three walks take about three minutes per engine.
constexpr int SuiteSteps = 1000;

/// With ZELKOR_CYCLE_KEEP naming a file, a SQLite company is copied there after the walk (to
/// look into, or to check with zelkor_po_check).
void keep_company(testing::TestDatabase& t)
{
    const QString path = qEnvironmentVariable("ZELKOR_CYCLE_KEEP");
    if (path.isEmpty() || t.engine() != Engine::Sqlite)
        return;
    QFile::remove(path);
    auto kept = t.db().execute(QStringLiteral("VACUUM INTO ?"), {path});
    EXPECT_TRUE(kept) << kept.error().detail.toStdString();
}

/// The window each kind of writing step saves in, by the first words of its name (a requisition
/// issued as an order is saved in the order window); none for a step that only reads.
QString window_of(const CycleStep& step)
{
    if (step.writes == Writes::No)
        return {};
    if (step.name == u"requisition: issue as order")
        return QStringLiteral("POform_po");
    static const QHash<QString, QString> windows{
        {QStringLiteral("requisition"), QStringLiteral("POform_pr")}, {QStringLiteral("order"), QStringLiteral("POform_po")},
        {QStringLiteral("template"), QStringLiteral("POform_po")},    {QStringLiteral("receipt"), QStringLiteral("POform_receipt")},
        {QStringLiteral("bill"), QStringLiteral("POform_invoice")},   {QStringLiteral("landed bill"), QStringLiteral("POform_landed")},
        {QStringLiteral("inquiry"), QString()}};
    const QString kind = step.name.section(u':', 0, 0);
    if (!windows.contains(kind))
        throw std::runtime_error("a step of an unknown window: " + step.name.toStdString());
    return windows.value(kind);
}

/// On PostgreSQL each step runs as the company's role for the update right of its window (an
/// inquiry as the role every clerk has), so that the server refuses any write of a save, edit or
/// void that the roles' grants do not cover.
void take_window_roles(Database& db, WalkSettings& settings)
{
    if (db.engine() != Engine::Postgres)
        return;
    auto prefix = schema::role_prefix(db);
    ASSERT_TRUE(prefix && !prefix->isEmpty()) << "the company has no roles";
    settings.before_step = [&db, prefix = *prefix](const CycleStep& step) {
        const schema::WriteRole* role = schema::write_role_of(window_of(step), QStringLiteral("update"));
        const QString suffix = role ? role->suffix : QString::fromLatin1(schema::SettingsRole);
        // The server's log names the step of a refused statement by its application name.
        const QString name = step.name.section(u':', 0, 1).remove(QRegularExpression(QStringLiteral("[^a-z]")));
        const QString script = QStringLiteral("SET ROLE %1;\nSET application_name = '%2'").arg(schema::role_name(prefix, suffix), name);
        if (auto taken = db.execute_script(script); !taken)
            throw std::runtime_error(taken.error().detail.toStdString());
    };
}

/// Walks a fresh demo company; gives what the walk did, after failing the test on a broken rule.
WalkCounts walk_a_company(WalkSettings settings)
{
    testing::TestDatabase t(testing::Contents::Demo);
    auto catalogue = prepare_company(t.db());
    EXPECT_TRUE(catalogue) << catalogue.error().detail.toStdString();
    if (!catalogue)
        return {};
    take_window_roles(t.db(), settings);
    // Every injected failure is logged by the window that reports it: thousands of lines.
    QLoggingCategory::setFilterRules(QStringLiteral("zelkor.*.warning=false\ndefault.warning=false"));
    Walk walk(t.db(), *catalogue, settings);
    const auto broken = walk.run();
    if (t.engine() == Engine::Postgres) {
        EXPECT_TRUE(t.db().execute_script(QStringLiteral("RESET ROLE")));
    }
    QLoggingCategory::setFilterRules(QString());
    std::cout << walk.summary().toStdString() << std::endl;
    keep_company(t);
    EXPECT_FALSE(broken) << broken->toStdString();
    return walk.counts();
}

class CycleWalk : public ::testing::TestWithParam<quint64> {};

TEST_P(CycleWalk, ClerkStepsWithFaultsKeepEveryRule)
{
    WalkSettings settings;
    settings.seed = GetParam();
    settings.steps = SuiteSteps;
    const WalkCounts counts = walk_a_company(settings);

    // The walk did what a clerk does, and faults reached a fair share of its commits. (A retry
    // may be refused for a reason of its own: a failure came before the check that refuses the
    // step anyway; a retry that fails without a reason breaks the walk.)
    EXPECT_GT(counts.faults_injected, counts.writes / 10);
    EXPECT_LT(counts.skipped, counts.steps / 6);
    EXPECT_LT(counts.refused, counts.steps / 20);
    int kinds_done = 0;
    for (const CycleStep& step : cycle_steps())
        kinds_done += counts.done.value(step.name) > 0 ? 1 : 0;
    EXPECT_GE(kinds_done, int(cycle_steps().size()) - 2);
}

INSTANTIATE_TEST_SUITE_P(Seeds, CycleWalk, ::testing::Values(20260316ull, 20260317ull, 20260318ull));

TEST(CycleWalkLimits, ASoakStoppedAtItsTimeIsCheckedAfterItsLastStep)
{
    // A soak that must end by a certain time stops between steps, and the data it leaves is
    // checked once more even when the last step fell between two of its checks.
    WalkSettings settings;
    settings.seed = 20260319;
    settings.steps = 100000;
    settings.check_every = 1000;
    settings.seconds_limit = 1;
    const WalkCounts counts = walk_a_company(settings);
    EXPECT_GT(counts.steps, 0);
    EXPECT_TRUE(counts.stopped_early);
    EXPECT_LT(counts.steps, settings.steps);
    EXPECT_EQ(counts.checks, (counts.steps + settings.check_every - 1) / settings.check_every);
}

TEST(CycleWalkSoak, SoakOrReplay)
{
    if (!qEnvironmentVariableIsSet("ZELKOR_CYCLE_SEED") && !qEnvironmentVariableIsSet("ZELKOR_CYCLE_STEPS"))
        GTEST_SKIP() << "set ZELKOR_CYCLE_SEED and ZELKOR_CYCLE_STEPS to replay or soak";
    const WalkCounts counts = walk_a_company(walk_settings_from_environment(SuiteSteps));
    for (auto it = counts.done.cbegin(); it != counts.done.cend(); ++it)
        std::cout << "  " << it.value() << " x " << it.key().toStdString() << '\n';
}

} // namespace
} // namespace zelkor::cycle
