#pragma once

#include "documents/bill/bill_document.h"

#include <optional>
#include <vector>

namespace zelkor {

/// What one line adds to a bill's footer.
struct BillLineAmount {
    Decimal extended_cost{};
    Decimal tax_amount{};
    bool price_include_tax = false;
};

/// The footer of a bill.
struct BillTotals {
    Decimal subtotal{};     ///< the lines' extended costs, each to cents
    Decimal excluded_tax{}; ///< the tax of lines whose price does not include it: a tax inside a price is not owed twice
    Decimal total{};        ///< subtotal + excluded tax
    Decimal discount{};     ///< the percent of the total when one is given, else the amount typed; to cents
    Decimal net_amount{};   ///< total less discount and prepayment, to cents
};

BillTotals bill_totals(const std::vector<BillLineAmount>& lines, const std::optional<Decimal>& discount_percent,
                       const std::optional<Decimal>& discount_amount, const std::optional<Decimal>& prepayment);

/// Puts the footer of the bill's lines into its header, with the discount amount a percent gives.
void total_bill(EnteredBill& bill);

} // namespace zelkor
