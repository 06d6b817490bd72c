#pragma once

#include "core/db/database.h"
#include "documents/common/document_lists.h"
#include "documents/order/po_document.h"

#include <expected>

namespace zelkor {

/// What the order's header checks read besides the typed header.
struct OrderHeaderChecks {
    bool new_order = false;          ///< a new order also checks its vendor and activation date
    bool detail_line = false;        ///< the grid's current row has an item code or a description
    bool exchange_rate_typed = false; ///< something is in the rate box
};

/// The header checks of a save, in the window's order: vendor (new orders: present, known,
/// active), a detail line, currency, payment term, the activation date of a new future order,
/// and every code present in its list. The first failure gives its message.
[[nodiscard]] std::expected<void, Error> verify_order_header(Database& db, const OrderHeader& header,
                                                             const OrderHeaderChecks& checks,
                                                             const DocumentLists& lists,
                                                             const QString& base_currency);

/// The line checks of a save, line by line; lines without an item code are skipped. An
/// item-master line without a warehouse or location takes the item's defaults here, so the
/// lines come back completed. The first failure gives its message.
[[nodiscard]] std::expected<void, Error> verify_order_lines(Database& db, std::vector<OrderLine>& lines);

/// No line may order less than was received and cancelled.
[[nodiscard]] std::expected<void, Error> verify_quantities_received(const std::vector<OrderLine>& lines);

} // namespace zelkor
