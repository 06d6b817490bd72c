#pragma once
// The cycle walk: a seeded random walk of clerk's steps over the windows, with faults injected
// into a share of the writing steps and every rule of the company's data checked after each
// step.

#include "fingerprint.h"
#include "step.h"

#include <QElapsedTimer>
#include <QMap>

#include <deque>

namespace zelkor::cycle {

/// Whether the walk has the company to itself, or clerks on other workstations work in it too:
/// then no step can tell what it wrote from what others wrote, so no fault is injected and the
/// rules are checked once all are done.
enum class Company { Own, Shared };

struct WalkSettings {
    quint64 seed = 0;
    int steps = 0;
    Company company = Company::Own;
    /// The share of writing steps whose commit gets a failing statement.
    double fault_share = 0.2;
    /// The share of the other writing steps whose effect on the data is checked too.
    double audit_share = 0.05;
    /// Every step is written to stderr as it ends (ZELKOR_CYCLE_TRACE).
    bool trace = false;
    /// The rules are checked after every this many steps and after the last one: a long soak
    /// checks less often, as checking a large company takes longer than a step.
    int check_every = 1;
    /// A line of progress every this many steps; none when 0.
    int progress_every = 0;
    /// The walk stops after this many seconds (and says so) however many steps remain; 0 for no
    /// limit. A soak that must end by a certain time still keeps its company and its figures.
    int seconds_limit = 0;
    /// No check before this step; from it on, every `check_every` steps. A replay of a long walk
    /// checks only near the step that broke a rule.
    int check_from = 0;
    /// The walk ends after this step when it is not 0: a replay of a walk that broke at a step
    /// takes the same steps as the walk, whose days spread by its number of steps.
    int stop_after = 0;
    /// Runs before each step is prepared: the PostgreSQL walk takes the role of the step's
    /// window, so that the server refuses any write its grants do not cover.
    std::function<void(const CycleStep&)> before_step;
};

/// What a walk did, for its closing line.
struct WalkCounts {
    int steps = 0;
    int writes = 0;
    int saves = 0; ///< writing steps whose commit completed
    int reads = 0;
    int skipped = 0;
    int refused = 0;
    int refused_by_others = 0; ///< of those, refusals naming another user's change or lock
    int refused_locked = 0;    ///< and of those, a lock another user held through every retry
    int faults_injected = 0; ///< faults that a commit reached
    int faults_after_commit = 0; ///< of those, faults that came after the commit (showing the saved document)
    int retries_refused = 0;
    int checks = 0;          ///< times the rules were checked
    bool stopped_early = false; ///< the time limit ended the walk before its last step
    qint64 statements = 0;
    double seconds = 0;
    double checking_seconds = 0;    ///< of which checking the rules after each step
    double fingerprint_seconds = 0; ///< and comparing the data around commits
    QMap<QString, int> done; ///< completed steps by name
};

class Walk {
public:
    Walk(Database& db, const Catalogue& catalogue, const WalkSettings& settings);
    ~Walk();

    /// Runs the walk; the first broken rule ends it. Gives the report of the failure (seed, step,
    /// what broke and the last 20 steps), or nothing when every step kept every rule.
    std::optional<QString> run();
    const WalkCounts& counts() const { return m_counts; }
    /// "3000 steps (2104 writes, 417 faults, ...) in 95.2 s: 31.5 steps/s".
    QString summary() const;

private:
    const CycleStep& choose();
    void set_clock(int step) const;
    /// Runs one step; gives what broke, or nothing.
    std::optional<QString> take_step(const CycleStep& step, QString& history);
    enum class Attempt { First, Retry };
    std::optional<QString> commit(const CycleStep& step, const Prepared& prepared, QString& history, Attempt attempt);
    /// Counts a commit that ran without a failing statement: done, or refused with its reason.
    std::optional<QString> book(const CycleStep& step, bool done, const QStringList& messages, QString& history,
                                Attempt attempt);
    std::optional<QString> commit_with_fault(const CycleStep& step, const Prepared& prepared, QString& history);
    std::optional<QString> check_rules();
    /// Whether the rules are checked after the step numbered `number`.
    bool checks_after(int number) const;
    void print_progress(int number) const;
    Fingerprint fingerprint();
    QString failure_report(int step, const QString& what) const;

    Database& m_db;
    const Catalogue& m_catalogue;
    WalkSettings m_settings;
    Dice m_dice;
    Clerk m_clerk;
    std::vector<CycleStep> m_steps;
    int m_total_weight = 0;
    std::deque<QString> m_history;
    QMap<QString, int> m_statements_seen; ///< the most statements a commit of each step ran
    int m_last_checked = 0;               ///< the last step after which the rules held
    WalkCounts m_counts;
};

/// The walk's settings from ZELKOR_CYCLE_SEED (a number, or "random"), ZELKOR_CYCLE_STEPS (with
/// `default_steps` when unset), ZELKOR_CYCLE_TRACE, ZELKOR_CYCLE_CHECK_EVERY (1 when unset),
/// ZELKOR_CYCLE_FAULT_SHARE (0.2 when unset; the audited share follows in proportion),
/// ZELKOR_CYCLE_SECONDS (no limit when unset), ZELKOR_CYCLE_CHECK_FROM and
/// ZELKOR_CYCLE_STOP_AFTER. A walk longer than `default_steps` prints its
/// progress every 1,000 steps.
WalkSettings walk_settings_from_environment(int default_steps);

} // namespace zelkor::cycle
