#pragma once

#include "services/database.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <functional>
#include <vector>

namespace zelkor {

/// One rule that the data of a company database must satisfy after every committed save.
struct InvariantCheck {
    QString name;
    /// Gives each violation found, in words; an empty list when the rule holds.
    std::function<std::expected<QStringList, Error>(Database&)> run;
};

/// Every rule the module keeps: the ledger's, and those of the modules that post to it.
std::vector<InvariantCheck> invariant_checks();

/// Runs the checks over the whole database; each violation reads "<check name>: <words>".
/// An empty list means the data is consistent. Tests end every posting scenario with it.
[[nodiscard]] std::expected<QStringList, Error> check_invariants(Database& db, const std::vector<InvariantCheck>& checks);
std::expected<QStringList, Error> check_invariants(Database& db);

/// The ledger's rules: every entry balances; Balance_table and the period columns of
/// Balance_period_table equal the sums of their journal lines (current earnings following the
/// income-statement lines); every reversed entry and its reversal cancel exactly.
std::vector<InvariantCheck> ledger_invariant_checks();

/// The payables' rules: a live payable adds up to its bill (a landed payable to its charges),
/// each line's open amount is its gross less discount plus what was paid, its discount and its
/// payment at once are its bill's; a vendor's owing balance is its open payables; per vendor,
/// payable account and currency the journal holds the open payables; a used prepayment is applied
/// once to a live payable and waits no more, a waiting one is not used; a bill made at receipt
/// bills exactly what its receipt lines received, and AP suspense is clear for every vendor with
/// nothing received left to bill; a live receipt's landed charges name live payables of their
/// vendors.
std::vector<InvariantCheck> payable_invariant_checks();

/// The vendor bills' rules: a bill's footer adds up from its rows; a live bill's payable, entry
/// and cost correction are live and its own, a void bill's all undone; receipt and order lines
/// carry exactly what the live rows of bills billed, open for what is left, fully billed exactly
/// when nothing is, their documents' flags agreeing.
std::vector<InvariantCheck> bill_invariant_checks();
/// The landed-cost bills' rules: a live bill's entry, adjustment document and payable are live
/// (the payable of the bill's total) and its receipts listed, a void bill's are all taken back;
/// per bill, item and warehouse of a layered item, its layer changes add up to its
/// adjustment lines' stock value and change no quantity; no layer holds quantity with a negative
/// value, or value without quantity.
std::vector<InvariantCheck> landed_invariant_checks();

} // namespace zelkor
