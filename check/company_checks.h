#pragma once

#include "services/invariants.h"

#include <vector>

namespace zelkor {

/// Every rule a company's data keeps: the ledger's and the stock's, the orders', the receipts',
/// and those of the documents themselves (whole, numbered without gaps, every posting made by a
/// document). The data check, the script runner's `check` and the cycle tests all run this list;
/// a module that keeps data of its own (bills, landed bills) adds its checks here.
std::vector<InvariantCheck> company_invariant_checks();

} // namespace zelkor
