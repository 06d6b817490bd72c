#pragma once

#include "core/db/database.h"
#include "core/money/decimal.h"

#include <QDate>
#include <QString>

#include <expected>
#include <vector>

namespace zelkor {

/// One ordered line as the purchase history panes show it.
struct PurchaseHistoryLine {
    QString vendor_name{};
    QString docno{};
    QDate order_date{};
    QString itemcode{};
    Decimal quantity{};
    QString uom{};
    Decimal unitcost{};
    Decimal extended_cost{};
    bool price_include_tax = false;
};

/// The order lines of an item ordered since `since`, newest order first.
[[nodiscard]] std::expected<std::vector<PurchaseHistoryLine>, Error> item_purchase_history(Database& db,
                                                                                           const QString& itemcode,
                                                                                           const QDate& since);
/// The order lines of a vendor ordered since `since`, by order number descending, then line.
[[nodiscard]] std::expected<std::vector<PurchaseHistoryLine>, Error> vendor_purchase_history(Database& db,
                                                                                             const QString& vendor_no,
                                                                                             const QDate& since);

} // namespace zelkor
