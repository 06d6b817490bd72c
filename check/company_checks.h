#pragma once

#include "core/invariants.h"

#include <vector>

namespace zelkor {

/// The rules of the engines and the bills: the ledger's, the stock's, the payables', the vendor
/// bills' and the landed-cost bills', in that order.
std::vector<InvariantCheck> engine_invariant_checks();

/// The engines' rules with the purchase order's added.
std::vector<InvariantCheck> purchasing_invariant_checks();

/// Every rule a company's data keeps: the ledger's and the stock's, the orders', the receipts',
/// and those of the documents themselves (whole, numbered without gaps, every posting made by a
/// document). The data check, the script runner's `check` and the cycle tests all run this list;
/// a module that keeps data of its own adds its checks here.
std::vector<InvariantCheck> company_invariant_checks();

} // namespace zelkor
