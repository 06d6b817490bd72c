#pragma once

#include "core/db/database.h"
#include "stock/stock_types.h"

#include <expected>
#include <map>
#include <set>
#include <vector>

namespace zelkor {

/// Hands out the lot ids of the layers one operation adds. A lot id is the receipt date
/// "yyyyMMdd" followed by the time "hh:mm:ss", so that layers sort in time order. Two layers of
/// one item and warehouse may not share one (two lines of a receipt, two users in the same
/// second, a fixed clock), and neither may a new layer take the id of a layer used up earlier,
/// whose history a reversal still finds by it: each new id is the operation's clock time, or
/// the first later second of the day that no layer and no history row of the item and
/// warehouse uses.
class LotIds {
public:
    /// Reads the clock once: every layer of the operation starts from the same time.
    explicit LotIds(Database& db);

    /// Reads the ids already taken on `date` for many item/warehouse keys at once.
    [[nodiscard]] std::expected<void, Error> read_taken(const std::vector<ItemWarehouse>& keys, const QDate& date);
    /// The next free id of the key on `date`; fails when the rest of the day is taken.
    [[nodiscard]] std::expected<QString, Error> next(const ItemWarehouse& key, const QDate& date);

private:
    struct Day {
        std::set<QString> taken;
        int next_second = 0;
    };
    QString first_id(const QDate& date) const;
    QString last_id(const QDate& date) const;

    Database& m_db;
    int m_start_second = 0;
    std::map<std::pair<ItemWarehouse, QDate>, Day> m_days;
};

} // namespace zelkor
