#pragma once

#include "core/invariants.h"

namespace zelkor {

/// The stock rules: the on-hand quantity and value of a FIFO or LIFO item in a warehouse equal
/// its layers'; every layer equals the sum of its history rows (and a used-up layer's history
/// sums to 0); no layer is empty or left marked `delete`, negative_lot is set exactly on layers
/// below 0, and lot ids are unique per item and warehouse; a void receipt document's lines
/// cancel, a void adjustment document's cancel but for value its reversal could not take back,
/// and a live document has no reversal lines; no on-hand row of a non-stock item holds stock.
std::vector<InvariantCheck> stock_invariant_checks();

} // namespace zelkor
