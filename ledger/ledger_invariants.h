#pragma once

#include "core/invariants.h"

namespace zelkor {

/// The ledger's rules: every entry balances; Balance_table and the period columns of
/// Balance_period_table equal the sums of their journal lines (current earnings following the
/// income-statement lines); every reversed entry and its reversal cancel exactly.
std::vector<InvariantCheck> ledger_invariant_checks();

} // namespace zelkor
