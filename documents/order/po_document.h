#pragma once

#include "core/audit_stamp.h"
#include "core/money/decimal.h"
#include "tax/purchase_tax.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace zelkor {

/// One written line of a purchase order, as its row in PO_transaction_table holds it.
struct OrderLine {
    int itemno = 0;
    QString itemcode{};
    QString itemtype{};
    QString vendor_itemcode{};
    QString description{}; ///< with continuation rows joined by line feeds
    std::optional<Decimal> quantity{}; ///< nothing when the cell is empty
    Decimal quantity_open{};
    Decimal quantity_received{};
    Decimal quantity_billed{};
    Decimal quantity_cancel{};
    Decimal quantity_open_for_bill{};
    QString uom{};
    QString uom_open{};
    QString uom_received{};
    std::optional<Decimal> unitcost{};      ///< nothing when the cell is empty
    std::optional<Decimal> extended_cost{}; ///< nothing when the cell is empty
    Decimal net_cost{};
    bool price_include_tax = false;
    Decimal tax_amount{};
    Decimal tax_allocate{};
    QString tax_code{};
    QString prno{};
    std::optional<int> pr_itemno{};
    QString accno{};
    QString warehouse{};
    QString location{};
    // Kept up by receipts, bills and closing; an edit carries the stored values.
    bool received = false;
    bool fully_received = false;
    bool billed = false;
    bool fully_billed = false;
    bool closed = false;
    QDate date_created{};
    QString time_created{};
    QString user_created{};
};

/// The header of a purchase order as the window holds it before a save.
struct OrderHeader {
    QString docno{};
    QString fkey{};
    QString vendor_no{};
    bool future_po = false;
    QDate activate_date{};
    QString shipto{};
    QDate order_date{};
    QDate arrival_date{};
    QString currency{};
    std::optional<Decimal> exchange_rate{};
    QDate rate_date{};
    QString requested_user{};
    QString contact_person{};
    QString phone{};
    QString fax{};
    QString shipvia{};
    QString reference{};
    QString fob_point{};
    QString remark{};
    QString delivery_instruction{};
    QString payment_term{};
    QString ship_to_address{};
    QString vendor_address{};
};

/// A whole order: header, lines in grid order and the tax elements of its lines.
struct Order {
    OrderHeader header{};
    std::vector<OrderLine> lines{};
    TaxElementStore taxes{};
};

} // namespace zelkor
