#pragma once

#include "core/db/database.h"
#include "stock/stock_types.h"

#include <expected>
#include <map>

namespace zelkor {

/// The quantity and value changes one operation makes to on-hand rows, gathered per row and
/// written at the end by relative upserts in key order: a missing row is created with the
/// change (its other quantities 0), an existing one is changed by it, never overwritten with a
/// figure read earlier, so that concurrent documents cannot lose each other's changes.
class OnHandChanges {
public:
    void add(const StockPlace& place, const QString& stock_uom, const StockChange& change);
    bool empty() const { return m_changes.empty(); }

    [[nodiscard]] std::expected<void, Error> apply(Database& db) const;

private:
    struct Pending {
        QString stock_uom;
        StockChange change;
    };
    std::map<StockPlace, Pending> m_changes;
};

} // namespace zelkor
