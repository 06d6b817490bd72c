#pragma once

#include "core/invariants.h"

namespace zelkor {

/// The receipt's rules: a live receipt's journal entry ("PO-RECEIPT", unless it posted nothing)
/// and inventory document (unless no stock or non-stock line received anything) are live, a void
/// receipt's are reversed; an unbilled line is open for bill by all it received; the AP suspense
/// movement of receipt entries equals the base value of the live receipts' goods lines and landed
/// charges on their own bills (line cost and recoverable and expensed tax, each converted as
/// posted); an account that only stock items
/// use as their asset account holds exactly their on-hand value.
std::vector<InvariantCheck> receipt_invariant_checks();

} // namespace zelkor
