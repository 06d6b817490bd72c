#pragma once

#include "core/invariants.h"

namespace zelkor {

/// The purchase order's rules: every line that is not void holds open = max(0, quantity -
/// received - cancelled) (in the line's unit), and the po_quantity of every on-hand row of a stock item
/// equals the open quantities, in stock units, of the current (not future, not void) stock
/// lines that point at it.
std::vector<InvariantCheck> purchase_order_invariant_checks();

} // namespace zelkor
