#pragma once

#include "core/db/database.h"
#include "documents/receipt/order_receiving.h"
#include "documents/receipt/receipt_document.h"
#include "payables/payables.h"
#include "stock/stock_settings.h"

#include <expected>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace zelkor {

// What a receipt's save, edit and void take under lock before they write, in the order they take
// it: the stock rows of its items, the order lines it receives, the vendors it owes, the bill's
// number and the prepayment it applies.

/// Pointers to the lines, for the steps that take the lines of a stored and an edited receipt
/// together.
template <class Lines>
std::vector<const ReceiptLine*> pointers(const Lines& lines)
{
    std::vector<const ReceiptLine*> result;
    for (const ReceiptLine& line : lines)
        result.push_back(&line);
    return result;
}

/// Locks the warehouse settings of the stock lines' items where they are received and where
/// their orders had them on order, and those of the non-stock master items whose on-order
/// quantities the receipt moves, all in one pass; gives the settings (standard costs for the
/// posting).
[[nodiscard]] std::expected<WarehouseSettings, Error> lock_stock_rows(Database& db,
                                                                      const std::vector<const ReceiptLine*>& lines);

/// The order lines the lines receive against.
std::set<OrderLineKey> order_keys(const std::vector<const ReceiptLine*>& lines);

/// Locks the order lines a receipt's lines (`receiving`) and, when it is edited, its stored lines
/// name. An order voided since, a line closed, or a line another user moved elsewhere (warehouse,
/// location, unit) refuses the save. Another receipt of the same line since the clerk confirmed
/// the quantities refuses it only when what is open now no longer gives the answers the clerk
/// was asked for: four and four boxes of a line of ten both save, the second seeing two left.
[[nodiscard]] std::expected<OrderLineStates, Error> locked_orders(Database& db, const std::vector<ReceiptLine>& receiving,
                                                                  const std::vector<ReceiptLine>& stored,
                                                                  const OrderLineStates& seen);

/// The vendors a receipt owes through payables (its own when it carries a bill, those of its
/// landed charges), read under lock in vendor order: their payable accounts and terms, and their
/// owing balances kept for this save.
[[nodiscard]] std::expected<std::map<QString, LandedVendor>, Error> lock_vendors(Database& db,
                                                                                 const std::set<QString>& vendors);

/// What a save has taken under lock before it writes: the vendors it owes, the bill's number
/// and the existing prepayment the bill applies.
struct LockedForPayables {
    std::map<QString, LandedVendor> vendors;
    std::optional<DocumentNumber> bill;
    std::optional<ExistingPrepayment> prepayment;
};

/// Takes what a receipt's payables need, under lock, before anything is written: the vendors'
/// rows (with `vendors_too`), the bill's number (a bill number another save took meanwhile is
/// refused now), the landed bill numbers (one already on a live payable of its vendor is refused)
/// and the existing prepayment.
[[nodiscard]] std::expected<LockedForPayables, Error> lock_for_payables(Database& db, const Receipt& receipt,
                                                                        std::set<QString> vendors_too = {});

} // namespace zelkor
