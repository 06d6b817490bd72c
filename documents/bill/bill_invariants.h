#pragma once

#include "core/invariants.h"

namespace zelkor {

/// The vendor bills' rules: a bill made at receipt bills exactly what its receipt lines received,
/// and AP suspense is clear for every vendor with nothing received left to bill; a live receipt's
/// landed charges name live payables of their vendors; a bill's footer adds up from its rows; a
/// live bill's payable, entry and cost correction are live and its own, a void bill's all undone;
/// receipt and order lines carry exactly what the live rows of bills billed, open for what is
/// left, fully billed exactly when nothing is, their documents' flags agreeing.
std::vector<InvariantCheck> bill_invariant_checks();

/// What is wrong with the payable number a bill's header keeps (its ap_docno against
/// payable_number, the docno of the payable it names), said after the bill's name; empty when
/// it is right or the bill names no payable. Vendor and landed bills share the rule.
QString payable_number_kept(const Row& row);

} // namespace zelkor
