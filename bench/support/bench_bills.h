#pragma once
// Bills of the benchmarks' receipts: a vendor bill taken from a receipt by the bill window, as a
// clerk's Enter Bill does, and a landed bill of freight over a receipt.

#include "bench/support/bench_database.h"
#include "documents/landed/landed_posting.h"
#include "windows/bill/POform_invoice.h"

#include <memory>

namespace zelkor::bench {

/// How a benchmark's bill is paid.
enum class BillPayment { Later, Check };

/// The bill window of the administrator on a benchmark's company, answering from its own
/// prompter; one window takes bill after bill, as a clerk's does.
class BillWindow {
public:
    explicit BillWindow(Database& db);
    ~BillWindow();
    /// The bill of the whole receipt as the window hands it to its save: the vendor and the
    /// receipt chosen, the vendor's bill number typed, paid by check from the operating bank when
    /// asked, every check passed.
    CheckedBill bill_of(const QString& receipt, long long serial, BillPayment payment = BillPayment::Later);

private:
    ScriptedPrompter m_prompter;
    std::unique_ptr<POform_invoice> m_window;
    int m_bills_taken = 0;
};

/// The accounts a benchmark's landed bill posts to: AP suspense, discount, the freight vendor's
/// payable and purchase variance.
extern const LandedAccounts FreightAccounts;

/// A landed bill of one freight charge of 9,876.54 from vendor V200 over the goods of V100's
/// `receipt`, dated `date`, to pay later.
LandedBill freight_over(const QString& receipt, long long serial, const QDate& date);

} // namespace zelkor::bench
