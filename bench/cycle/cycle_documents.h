#pragma once
// One purchasing cycle of the fixture's item mix, document by document, saved by the module's own
// routines: a requisition, the order issued from it, the receipt of the whole order, the bill of
// that receipt paid by check (taken by the bill window) and a landed bill of freight over it.
// The cycle benchmark times it and the company generator repeats it.

#include "bench/support/bench_bills.h"

#include <array>

namespace zelkor::bench {

/// The documents of a cycle, in the order they are saved.
enum class CycleDocument { Requisition, Order, Receipt, Bill, Landed };
inline constexpr std::array<CycleDocument, 5> CycleDocuments{CycleDocument::Requisition, CycleDocument::Order,
                                                             CycleDocument::Receipt, CycleDocument::Bill,
                                                             CycleDocument::Landed};
/// The document's name as the benchmark's counters name it ("requisition", … "landed").
const char* name_of(CycleDocument document);

/// Told around each save of a cycle: what is done in between (building the next document, the bill
/// window's typing and checks) is not the save's.
class SaveWatch {
public:
    virtual ~SaveWatch() = default;
    virtual void saving(CycleDocument) {}
    virtual void saved(CycleDocument) {}
};

/// Runs cycles on one company. Each cycle's serial (its receipt's day, its bills' numbers) follows
/// the cycles the company already holds, so that a grown company takes more cycles. Its documents
/// are dated in `year` (the bill on the clock's day, which the caller sets in that year).
class PurchasingCycle {
public:
    PurchasingCycle(Database& db, int lines, int year = 2026);
    /// Runs one cycle; stops the program when a save fails.
    void run(SaveWatch& watch);
    void run()
    {
        SaveWatch unwatched;
        run(unwatched);
    }

private:
    Database& m_db;
    int m_lines;
    int m_year;
    long long m_serial = 0;
    BillWindow m_bills;
};

} // namespace zelkor::bench
