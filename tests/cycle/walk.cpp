#include "walk.h"

#include "check/company_checks.h"
#include "core/clock.h"
#include "fingerprint.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <iostream>

namespace zelkor::cycle {

namespace {

constexpr size_t RememberedSteps = 20;
/// Statements a commit is assumed to run before one of the step was seen.
constexpr int FirstStatementGuess = 40;
constexpr quint64 DefaultSeed = 20260316;

/// Whether a window said that its command was done: saved, deleted, void, closed, activated.
bool says_done(const QStringList& messages)
{
    static const QStringList done{QStringLiteral("complete"), QStringLiteral(" is deleted."), QStringLiteral(" is void."),
                                  QStringLiteral(" is closed."), QStringLiteral(" is activated."),
                                  QStringLiteral(" are activated.")};
    for (const QString& message : messages)
        for (const QString& phrase : done)
            if (message.contains(phrase))
                return true;
    return false;
}

bool is_failure(const QString& message)
{
    return message.contains(u"failed", Qt::CaseInsensitive) || message.contains(u"database error", Qt::CaseInsensitive);
}

/// Whether a refusal names another user: a document changed since it was shown, or a record
/// another workstation holds locked.
bool says_another_user(const QStringList& messages)
{
    return std::any_of(messages.begin(), messages.end(),
                       [](const QString& message) { return message.contains(u"another user", Qt::CaseInsensitive); });
}

/// Whether a refusal is a lock another user held through every try of the save.
bool says_locked(const QStringList& messages)
{
    return std::any_of(messages.begin(), messages.end(),
                       [](const QString& message) { return message.contains(u"locked by another user", Qt::CaseInsensitive); });
}

bool says_failed(const QStringList& messages) { return std::any_of(messages.begin(), messages.end(), is_failure); }

/// Whether a window reported a failure with no reason of its own before it: what a database
/// error looks like. A refusal found under the save's locks says why, then that the save failed.
bool failed_without_reason(const QStringList& messages)
{
    for (qsizetype i = messages.size() - 1; i >= 0; --i)
        if (is_failure(messages[i]))
            return i == 0 || messages[i - 1].endsWith(u'?') || is_failure(messages[i - 1]);
    return false;
}

/// Runs a commit; an exception is a broken rule of its own.
bool run_commit(const Prepared& prepared, std::optional<QString>& thrown)
{
    try {
        return prepared.commit();
    } catch (const std::exception& error) {
        thrown = QStringLiteral("the command threw: ") + QString::fromUtf8(error.what());
    }
    return false;
}

} // namespace

Walk::Walk(Database& db, const Catalogue& catalogue, const WalkSettings& settings)
    : m_db(db), m_catalogue(catalogue), m_settings(settings), m_dice(settings.seed), m_clerk(db), m_steps(cycle_steps())
{
    for (const CycleStep& step : m_steps)
        m_total_weight += step.weight;
}

Walk::~Walk() { Clock::release(); }

const CycleStep& Walk::choose()
{
    int roll = m_dice.between(1, m_total_weight);
    for (const CycleStep& step : m_steps) {
        roll -= step.weight;
        if (roll <= 0)
            return step;
    }
    return m_steps.back();
}

void Walk::set_clock(int step) const
{
    // The walk spreads over the year 2026, a working day at a time, each step a little later in
    // the day than the one before: cost layers take their ids from the moment of the receipt.
    const int per_day = std::max(8, (m_settings.steps + 349) / 350);
    const int seconds = 6 * 3600 + (step % per_day) * (12 * 3600 / per_day);
    Clock::fix(QDate(2026, 1, 2).addDays(step / per_day), QTime(0, 0).addSecs(seconds));
}

std::optional<QString> Walk::run()
{
    QElapsedTimer timer;
    timer.start();
    const qint64 statements_before = m_db.statement_count();
    const qint64 limit_milliseconds = qint64(m_settings.seconds_limit) * 1000;
    std::optional<QString> broken;
    const int last = m_settings.stop_after > 0 ? std::min(m_settings.stop_after, m_settings.steps) : m_settings.steps;
    for (int number = 1; number <= last && !broken; ++number) {
        if (limit_milliseconds > 0 && timer.elapsed() >= limit_milliseconds) {
            m_counts.stopped_early = true;
            break;
        }
        set_clock(number);
        const CycleStep& step = choose();
        QString history = QStringLiteral("#%1 %2: ").arg(number).arg(step.name);
        try {
            if (m_settings.before_step)
                m_settings.before_step(step);
            broken = take_step(step, history);
            if (!broken && checks_after(number)) {
                broken = check_rules();
                m_last_checked = broken ? m_last_checked : number;
            }
        } catch (const std::exception& error) {
            broken = QStringLiteral("the step threw: ") + QString::fromUtf8(error.what());
        }
        if (m_settings.trace)
            std::cerr << history.toStdString() << std::endl;
        m_history.push_back(history);
        if (m_history.size() > RememberedSteps)
            m_history.pop_front();
        ++m_counts.steps;
        m_counts.seconds = double(timer.elapsed()) / 1000.0;
        // Closed windows go away as the host's event loop would let them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (broken)
            broken = failure_report(number, *broken);
        else if (m_settings.progress_every > 0 && number % m_settings.progress_every == 0)
            print_progress(number);
    }
    // A walk that ended early (at its time limit or its last step to replay) is checked after
    // the last step it took.
    if (!broken && m_settings.company == Company::Own && m_last_checked < m_counts.steps) {
        if (auto last = check_rules())
            broken = failure_report(m_counts.steps, *last);
        else
            m_last_checked = m_counts.steps;
    }
    m_counts.seconds = double(timer.elapsed()) / 1000.0;
    m_counts.statements = m_db.statement_count() - statements_before;
    return broken;
}

bool Walk::checks_after(int number) const
{
    if (m_settings.company != Company::Own || number < m_settings.check_from)
        return false;
    return m_settings.check_every <= 1 || (number - m_settings.check_from) % m_settings.check_every == 0
        || number == m_settings.steps;
}

void Walk::print_progress(int number) const
{
    std::cout << QStringLiteral("step %1 of %2: %3 steps/s, %4 saves, %5 faults injected, %6 refused, %7 s checking the"
                                " rules, %8 s comparing the data")
                     .arg(number)
                     .arg(m_settings.steps)
                     .arg(m_counts.seconds > 0 ? m_counts.steps / m_counts.seconds : 0, 0, 'f', 1)
                     .arg(m_counts.saves)
                     .arg(m_counts.faults_injected)
                     .arg(m_counts.refused)
                     .arg(m_counts.checking_seconds, 0, 'f', 0)
                     .arg(m_counts.fingerprint_seconds, 0, 'f', 0)
                     .toStdString()
              << std::endl;
}

std::optional<QString> Walk::take_step(const CycleStep& step, QString& history)
{
    StepContext context{m_clerk, m_catalogue, m_dice, m_db};
    // While typing the clerk keeps no unsaved work when a window asks; the committing command
    // itself is confirmed (an over-receipt, a void, a replaced template).
    m_clerk.prompter().set_answers(ClerkPrompter::Answers::Decline);
    const Prepared prepared = step.prepare(context);
    m_clerk.prompter().set_answers(ClerkPrompter::Answers::Confirm);
    history += prepared.what;
    if (prepared.skipped) {
        ++m_counts.skipped;
        history += QStringLiteral(" (skipped)");
        return std::nullopt;
    }
    if (!prepared.commit) {
        ++m_counts.reads;
        m_counts.done[step.name] += 1;
        return std::nullopt;
    }
    ++m_counts.writes;
    if (step.writes == Writes::Yes && m_settings.company == Company::Own && m_dice.chance(m_settings.fault_share))
        return commit_with_fault(step, prepared, history);
    return commit(step, prepared, history, Attempt::First);
}

std::optional<QString> Walk::commit(const CycleStep& step, const Prepared& prepared, QString& history, Attempt attempt)
{
    const bool audited = m_dice.chance(m_settings.audit_share) && m_settings.company == Company::Own;
    const std::optional<Fingerprint> before = audited ? std::optional(fingerprint()) : std::nullopt;
    const qsizetype mark = m_clerk.prompter().mark();
    std::optional<QString> thrown;
    const qint64 start = m_db.statement_count();
    const bool done = run_commit(prepared, thrown);
    m_statements_seen[step.name] = std::max(m_statements_seen.value(step.name), int(m_db.statement_count() - start));
    if (thrown)
        return thrown;
    if (auto broken = book(step, done, m_clerk.prompter().messages_since(mark), history, attempt))
        return broken;
    if (before && !done) {
        const Fingerprint after = fingerprint();
        if (!(after == *before))
            return QStringLiteral("a refused step wrote: ") + before->difference(after);
    }
    return std::nullopt;
}

std::optional<QString> Walk::book(const CycleStep& step, bool done, const QStringList& messages, QString& history,
                                  Attempt attempt)
{
    if (done) {
        history += QStringLiteral(": done");
        m_counts.done[step.name] += 1;
        ++m_counts.saves;
        return std::nullopt;
    }
    ++m_counts.refused;
    if (says_another_user(messages))
        ++m_counts.refused_by_others;
    if (says_locked(messages))
        ++m_counts.refused_locked;
    if (attempt == Attempt::Retry)
        ++m_counts.retries_refused;
    history += QStringLiteral(": refused \"") + messages.join(QStringLiteral(" | ")) + u'"';
    if (failed_without_reason(messages))
        return QStringLiteral("a step failed with no fault injected: ") + messages.join(QStringLiteral(" | "));
    return std::nullopt;
}

std::optional<QString> Walk::commit_with_fault(const CycleStep& step, const Prepared& prepared, QString& history)
{
    const Fingerprint before = fingerprint();
    const WindowState input = WindowState::of(*prepared.window);
    const int guess = m_statements_seen.value(step.name, FirstStatementGuess);
    const int failing = m_dice.between(1, std::max(1, guess));
    const qsizetype mark = m_clerk.prompter().mark();
    const qint64 start = m_db.statement_count();
    std::optional<QString> thrown;
    m_db.fail_statement(failing);
    const bool done = run_commit(prepared, thrown);
    m_db.fail_statement(0);
    const int ran = int(m_db.statement_count() - start);
    m_statements_seen[step.name] = std::max(m_statements_seen.value(step.name), ran);
    if (thrown)
        return thrown;
    if (ran < failing) {
        // The commit ended before the failing statement: an ordinary commit after all.
        history += QStringLiteral(" [fault at %1 not reached]").arg(failing);
        return book(step, done, m_clerk.prompter().messages_since(mark), history, Attempt::First);
    }
    ++m_counts.faults_injected;
    history += QStringLiteral(" [statement %1 failed]").arg(failing);
    const QStringList messages = m_clerk.prompter().messages_since(mark);
    const Fingerprint after = fingerprint();
    if (!(after == before)) {
        // The fault came after the commit, in showing the saved document: the work is saved.
        if (!done && !says_done(messages))
            return QStringLiteral("a failed step wrote: ") + before.difference(after) + QStringLiteral("; it said: ")
                + messages.join(QStringLiteral(" | "));
        ++m_counts.faults_after_commit;
        m_counts.done[step.name] += 1;
        ++m_counts.saves;
        history += QStringLiteral(": saved, the failure came after the commit");
        m_clerk.settle(*prepared.window);
        return std::nullopt;
    }
    if (done)
        return QStringLiteral("a failing statement was reported as done: ") + messages.join(QStringLiteral(" | "));
    if (!says_failed(messages))
        return QStringLiteral("a failing statement was not reported as a failure: ") + messages.join(QStringLiteral(" | "));
    if (const QString lost = input.lost_in(WindowState::of(*prepared.window)); !lost.isEmpty())
        return QStringLiteral("a failed step did not keep the clerk's input: ") + lost;
    history += QStringLiteral(", retried");
    return commit(step, prepared, history, Attempt::Retry);
}

Fingerprint Walk::fingerprint()
{
    QElapsedTimer timer;
    timer.start();
    Fingerprint taken = Fingerprint::of(m_db);
    m_counts.fingerprint_seconds += double(timer.elapsed()) / 1000.0;
    return taken;
}

std::optional<QString> Walk::check_rules()
{
    QElapsedTimer timer;
    timer.start();
    auto violations = check_invariants(m_db, company_invariant_checks());
    ++m_counts.checks;
    m_counts.checking_seconds += double(timer.elapsed()) / 1000.0;
    if (!violations)
        return QStringLiteral("the rules could not be checked: ") + violations.error().detail;
    if (violations->isEmpty())
        return std::nullopt;
    return QStringLiteral("broken rules:\n    ") + violations->join(QStringLiteral("\n    "));
}

QString Walk::failure_report(int step, const QString& what) const
{
    // The replay takes the walk's own number of steps, which spreads its days, and its share of
    // faults, which steers its dice; it stops at the step that broke.
    QString replay = QStringLiteral("ZELKOR_CYCLE_SEED=%1 ZELKOR_CYCLE_STEPS=%2").arg(m_settings.seed).arg(m_settings.steps);
    if (step < m_settings.steps)
        replay += QStringLiteral(" ZELKOR_CYCLE_STOP_AFTER=%1").arg(step);
    if (m_settings.fault_share != WalkSettings{}.fault_share)
        replay += QStringLiteral(" ZELKOR_CYCLE_FAULT_SHARE=%1").arg(m_settings.fault_share);
    QString report = QStringLiteral("cycle walk broke at step %1 of %2 (seed %3): %4\nreplay on the same engine with"
                                    " %5 cycle_tests --gtest_filter=CycleWalkSoak.*\n")
                         .arg(step)
                         .arg(m_settings.steps)
                         .arg(m_settings.seed)
                         .arg(what, replay);
    if (m_settings.check_every > 1)
        report += QStringLiteral("(the rules were checked every %1 steps and last held after step %2: replay with"
                                 " ZELKOR_CYCLE_CHECK_FROM=%3 to find the step that broke them)\n")
                      .arg(m_settings.check_every)
                      .arg(m_last_checked)
                      .arg(m_last_checked + 1);
    report += QStringLiteral("the last steps:\n");
    for (const QString& line : m_history)
        report += QStringLiteral("  ") + line + u'\n';
    return report;
}

QString Walk::summary() const
{
    const double per_second = m_counts.seconds > 0 ? m_counts.steps / m_counts.seconds : 0;
    return QStringLiteral("cycle walk, seed %1: %2 steps%3 (%4 writes, %5 reads, %6 skipped, %7 refused, %8 of them by"
                          " another user's change or lock, %18 on a lock), %9 faults injected (%10 after the commit, %11 retries"
                          " refused), %12 statements, in %13 s: %14 steps/s (%15 checks of the rules in %16 s,"
                          " %17 s comparing the data)")
        .arg(m_settings.seed)
        .arg(m_counts.steps)
        .arg(m_counts.stopped_early ? QStringLiteral(" of %1, stopped at the time limit").arg(m_settings.steps) : QString())
        .arg(m_counts.writes)
        .arg(m_counts.reads)
        .arg(m_counts.skipped)
        .arg(m_counts.refused)
        .arg(m_counts.refused_by_others)
        .arg(m_counts.faults_injected)
        .arg(m_counts.faults_after_commit)
        .arg(m_counts.retries_refused)
        .arg(m_counts.statements)
        .arg(m_counts.seconds, 0, 'f', 1)
        .arg(per_second, 0, 'f', 1)
        .arg(m_counts.checks)
        .arg(m_counts.checking_seconds, 0, 'f', 1)
        .arg(m_counts.fingerprint_seconds, 0, 'f', 1)
        .arg(m_counts.refused_locked);
}

WalkSettings walk_settings_from_environment(int default_steps)
{
    WalkSettings settings;
    const QString seed = qEnvironmentVariable("ZELKOR_CYCLE_SEED");
    settings.seed = seed == u"random" ? QRandomGenerator::global()->generate64() % 1000000000ull
        : seed.isEmpty()              ? DefaultSeed
                                      : seed.toULongLong();
    bool number = false;
    const int steps = qEnvironmentVariable("ZELKOR_CYCLE_STEPS").toInt(&number);
    settings.steps = number && steps > 0 ? steps : default_steps;
    settings.trace = qEnvironmentVariableIsSet("ZELKOR_CYCLE_TRACE");
    settings.check_every = std::max(1, qEnvironmentVariableIntValue("ZELKOR_CYCLE_CHECK_EVERY"));
    // Comparing the data around a fault reads the whole company: a long soak in a large one
    // injects fewer faults, and audits fewer steps in the same proportion.
    bool share_given = false;
    const double fault_share = qEnvironmentVariable("ZELKOR_CYCLE_FAULT_SHARE").toDouble(&share_given);
    if (share_given && fault_share >= 0 && fault_share <= 1) {
        settings.audit_share *= fault_share / settings.fault_share;
        settings.fault_share = fault_share;
    }
    settings.seconds_limit = std::max(0, qEnvironmentVariableIntValue("ZELKOR_CYCLE_SECONDS"));
    settings.check_from = std::max(0, qEnvironmentVariableIntValue("ZELKOR_CYCLE_CHECK_FROM"));
    settings.stop_after = std::max(0, qEnvironmentVariableIntValue("ZELKOR_CYCLE_STOP_AFTER"));
    settings.progress_every = settings.steps > default_steps ? 1000 : 0;
    return settings;
}

} // namespace zelkor::cycle
