#pragma once

#include "services/decimal.h"
#include "services/fiscal_periods.h"
#include "services/order_receiving.h"
#include "services/purchase_tax.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace zelkor {

/// One goods line of a receipt, as its row in PO_receipt_transaction_table holds it.
struct ReceiptLine {
    int itemno = 0;
    QString itemcode{};
    QString itemtype{};
    QString description{};
    QString vendor_itemcode{};
    QString warehouse{};
    QString location{};
    std::optional<Decimal> quantity_received{}; ///< nothing when the cell is empty
    std::optional<Decimal> quantity_cancel{};   ///< nothing when the cell is empty
    Decimal po_quantity_order{};
    Decimal po_quantity_open{};
    QString uom{};
    std::optional<Decimal> unitcost{};      ///< nothing when the cell is empty
    std::optional<Decimal> extended_cost{}; ///< nothing when the cell is empty
    Decimal net_cost{};
    QString tax_code{};
    Decimal tax_amount{};
    Decimal tax_allocate{};
    bool price_include_tax = false;
    QString accno{};
    QString pono{};               ///< the order the line was received against; empty for a free line
    QString po_key{};             ///< that order's fkey
    std::optional<int> po_itemno{};
    QString po_uom{};
    QString po_warehouse{};       ///< where the order line put the quantity on order
    QString po_location{};
    /// The received and cancelled quantities in the order line's unit, set by the checks.
    Decimal order_received{};
    Decimal order_cancel{};

    Decimal received() const { return quantity_received.value_or(Decimal()); }
    Decimal cancelled() const { return quantity_cancel.value_or(Decimal()); }
    bool against_order() const { return !po_key.isEmpty() && po_itemno.has_value(); }
    /// Extended cost, less the tax included in it, plus the tax allocated to cost.
    Decimal line_cost() const
    {
        const Decimal extended = extended_cost.value_or(Decimal()).round2();
        return (price_include_tax ? extended - tax_amount : extended) + tax_allocate;
    }
};

/// The header of a receipt as the window holds it before a save.
struct ReceiptHeader {
    QString docno{};
    QString fkey{};
    QString vendor_no{};
    QDate receipt_date{};
    QString currency{};
    std::optional<Decimal> exchange_rate{}; ///< nothing for the base currency
    QDate rate_date{};
    bool multi_po = false;
    QString pono{};
    QString payby{};
    QString shipto{};
    QString ship_to_address{};
    QString vendor_address{};
    QString shipvia{};
    QString reference{};
    QString fob_point{};
    QString remark{};
    QString payment_term{};
    QString fyear{};
    int period = 0; ///< 0 when none is chosen
    Decimal landed_total{};

    FiscalPeriod fiscal_period() const { return {fyear, period}; }
};

/// A whole receipt: header, goods lines in grid order and the tax elements of its lines.
struct Receipt {
    ReceiptHeader header{};
    std::vector<ReceiptLine> lines{};
    TaxElementStore taxes{};
};

} // namespace zelkor
