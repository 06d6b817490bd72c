#pragma once

// The journal entry of a vendor bill, below every window: the bill made at receipt
// and the bill window post through it.

#include "core/db/database.h"
#include "core/numbering.h"
#include "documents/bill/bill_writer.h"
#include "documents/bill/settlement_posting.h"

#include <QString>

#include <expected>
#include <map>
#include <vector>

namespace zelkor {

/// What a stock line billed from a receipt moved on its inventory account beyond what its
/// receipt posted (price, quantity and rate differences, write-offs, expense shares): the cost
/// correction gives exactly this base amount to the line's stock.
struct StockCostChange {
    size_t line = 0;       ///< index of the line in the bill
    Decimal base_amount{}; ///< base currency; negative lowers the stock's value
};

/// A posted bill: its journal entry and the cost changes its stock lines owe their stock.
struct PostedBill {
    DocumentNumber journal{};
    std::vector<StockCostChange> stock_changes{};
};

/// Whether a bill line is a stock item's line billed from a receipt: its cost differences belong
/// to the stock it received.
bool moves_stock_cost(const BillLine& line);

/// Whether the bill's line at `index` may leave a cost difference on its stock: a stock line
/// billed at another quantity, unit cost or rate than received, or sharing an expense.
bool may_change_stock_cost(const Bill& bill, size_t index);

/// Stock lines (by index in the bill) whose cost difference cannot reach their stock (its
/// layer used up, or valued at standard cost), with the account that takes it instead.
using CostDifferenceAccounts = std::map<size_t, QString>;

/// Posts the bill's journal entry ("PO-BILL", remark "Invoice no. " + the vendor's number) on its
/// date in its period, inside the caller's transaction. Every line balances on its own:
/// - a line billed from a receipt debits AP suspense with exactly what the receipt credited for
///   the quantity it clears (cost and each authority's recoverable and expensed tax, converted
///   at the receipt's rate, shared out cumulatively so that partial bills leave no cent), credits
///   the payable side with its net cost at the bill's rate, debits the tax accounts with the
///   bill's tax less the received share, and its account (or the account of
///   `elsewhere`) with the rest: the price, quantity, write-off and rate differences. Billed
///   exactly as received, the payable side takes exactly the suspense debit;
/// - any other line debits its account with its amount (less tax included, plus tax allocated)
///   and its taxes' accounts, and credits the payable side with its net cost;
/// - an expense line is debited to the other lines' accounts instead of its own, in proportion
///   to their amounts, by running totals so that the shares add up exactly in both currencies;
///   with nothing to spread over, to its own account;
/// - the payable side: without prepayment "Pay Later" credits the vendor payable, any other pay-by
///   the paying account; with a prepayment the vendor payable;
/// - the term discount credits the discount account and debits the account the lines credited;
/// - a prepayment debits the vendor payable and credits the paying account (paid now) or the
///   existing prepayment's account.
/// A foreign-currency entry off in base by less than 1 gets its gain or loss line from the
/// ledger. Errors: an unknown account, a missing tax account ("No Expensed Tax Account for " +
/// authority), a receipt line without its receipt's figures (item + " has no unit cost
/// received."), and the ledger's.
[[nodiscard]] std::expected<PostedBill, Error> post_vendor_bill(Database& db, const Bill& bill,
                                                                const BillAccounts& accounts, const QString& user,
                                                                const CostDifferenceAccounts& elsewhere = {});

/// post_vendor_bill for a bill that moves no stock cost: its journal entry's number.
[[nodiscard]] std::expected<DocumentNumber, Error> post_bill(Database& db, const Bill& bill, const BillAccounts& accounts,
                                                             const QString& user);

} // namespace zelkor
