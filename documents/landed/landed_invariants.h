#pragma once

#include "core/invariants.h"

namespace zelkor {

/// The landed-cost bills' rules: a live bill's entry, adjustment document and payable are live
/// (the payable of the bill's total) and its receipts listed, a void bill's are all taken back;
/// per bill, item and warehouse of a layered item, its layer changes add up to its
/// adjustment lines' stock value and change no quantity; no layer holds quantity with a negative
/// value, or value without quantity.
std::vector<InvariantCheck> landed_invariant_checks();

} // namespace zelkor
