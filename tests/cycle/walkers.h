#pragma once
// Clerks on workstations of their own, walking in one company at once: cycle walker processes
// (walker_main.cpp), and what their closing lines say, added up.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace zelkor::cycle {

/// What the walkers' closing lines say, added up.
struct WalkerTotals {
    int saves = 0;
    int refused = 0;
    int refused_by_others = 0; ///< of those, naming another user's change or lock
    int refused_locked = 0;    ///< and of those, a lock held through every retry
    int retries = 0;           ///< saves run again after meeting another clerk's locks
    int failed = 0;            ///< walks that failed without a reason or did not end
    QStringList failures;      ///< their output

    void add(const QString& output, bool completed);
};

/// `clerks` walker processes (the program `walker`) of `steps` steps each in the company at
/// `location`, seeded `first_seed`, `first_seed` + 1, and so on, started at once.
class Walkers {
public:
    Walkers(const QString& walker, const QString& location, int clerks, int steps, quint64 first_seed);
    /// Waits for every walk to end, each at most `milliseconds` (-1 for no limit), and adds up
    /// what they said.
    WalkerTotals wait(int milliseconds = -1);

private:
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

} // namespace zelkor::cycle
