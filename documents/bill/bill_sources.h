#pragma once

#include "core/db/database.h"

#include <QString>

#include <expected>
#include <set>

namespace zelkor {

/// What a bill takes from: the receipts and orders its lines name, by number.
struct BillSources {
    std::set<QString> receipts;
    std::set<QString> orders;
    /// Adds the receipt and order a line was taken from.
    template <typename Line>
    void add(const Line& line)
    {
        if (!line.receipt_no.isEmpty())
            receipts.insert(line.receipt_no);
        if (!line.pono.isEmpty() && line.po_itemno)
            orders.insert(line.pono);
    }
};

/// Locks what a bill takes from in the order every save takes it: the receipts' headers and the
/// orders' headers, then the receipts' lines and the orders' lines, each in key order. The bill's
/// later reads and writes of those rows then find them held.
[[nodiscard]] std::expected<void, Error> lock_bill_sources(Database& db, const BillSources& sources);

} // namespace zelkor
