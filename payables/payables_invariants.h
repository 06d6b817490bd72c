#pragma once

#include "core/invariants.h"

namespace zelkor {

/// The payables' rules: a live payable adds up to its bill (a landed payable to its charges),
/// each line's open amount is its gross less discount plus what was paid, its discount and its
/// payment at once are its bill's; a vendor's owing balance is its open payables; per vendor,
/// payable account and currency the journal holds the open payables; a used prepayment is applied
/// once to a live payable and waits no more, a waiting one is not used.
std::vector<InvariantCheck> payable_invariant_checks();

} // namespace zelkor
