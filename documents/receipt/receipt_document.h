#pragma once

#include "core/fiscal_periods.h"
#include "core/money/decimal.h"
#include "documents/receipt/order_receiving.h"
#include "tax/purchase_tax.h"

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

/// One landed charge of a receipt (grid dbgrid_landed), as its row in
/// PO_receipt_transaction_table holds it (landed_item true).
struct LandedLine {
    int itemno = 0;
    QString vendor_no{}; ///< empty: the receipt's vendor
    QString bill_no{};   ///< empty: the receipt's bill number
    QDate bill_date{};
    QString itemcode{};  ///< a miscellaneous charge
    QString description{};
    std::optional<Decimal> quantity{};
    std::optional<Decimal> unitcost{};
    std::optional<Decimal> extended_cost{};
    QString tax_code{};
    Decimal tax_amount{};
    Decimal tax_allocate{};
    Decimal net_cost{};
    bool expense = false;
    QString accno{};
    QString ap_fkey{};   ///< the payable of the vendor that bills it, when it is not the receipt's bill

    /// Extended cost plus the tax allocated to cost (a landed charge's price never includes tax).
    Decimal line_cost() const { return extended_cost.value_or(Decimal()).round2() + tax_allocate; }
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
    // The vendor's bill entered with the receipt, and how it is paid.
    QString vendor_invoice_no{}; ///< empty: no bill at receipt
    QDate vendor_invoice_date{};
    QString cash_accno{};
    QString bank_code{};
    QString check_no{};
    QDate check_date{};
    QString prepayment{};        ///< as typed; empty for none
    QString prepayment_no{};     ///< an existing prepayment to apply
    std::optional<Decimal> discount_percent{};
    QString discount_amount{};   ///< as typed; empty for none
    /// Where a bill paid at once or a prepayment paid now is paid from, found by the checks.
    QString paying_account{};

    FiscalPeriod fiscal_period() const { return {fyear, period}; }
    bool with_bill() const { return !vendor_invoice_no.isEmpty(); }
    /// The prepayment as a number; 0 when none (or not a number: the checks refuse that).
    Decimal prepayment_amount() const { return Decimal::parse(prepayment.trimmed()).value_or(Decimal()).round2(); }
};

/// A line of a stock item ("1"), whose quantity moves stock and its cost layers.
inline bool is_stock_line(const ReceiptLine& line) { return line.itemtype == u"1"; }

/// The vendor a landed charge is owed to: its own, else the receipt's.
inline QString landed_vendor(const ReceiptHeader& header, const LandedLine& line)
{
    return line.vendor_no.isEmpty() ? header.vendor_no : line.vendor_no;
}
/// The bill a landed charge is billed on: its own number; a charge of the receipt's vendor without
/// one is on the receipt's bill. Another vendor's charge has no bill without its own number.
inline QString landed_bill(const ReceiptHeader& header, const LandedLine& line)
{
    return line.bill_no.isEmpty() && landed_vendor(header, line) == header.vendor_no ? header.vendor_invoice_no
                                                                                     : line.bill_no;
}
/// Whether a landed charge is the receipt's own vendor's on the receipt's own bill: credited to
/// AP suspense and billed by the bill at receipt. Any other charge gets a payable of its own.
inline bool landed_on_receipt_bill(const ReceiptHeader& header, const LandedLine& line)
{
    return landed_vendor(header, line) == header.vendor_no && landed_bill(header, line) == header.vendor_invoice_no;
}

/// What a vendor of landed charges bills them with: its payable account and payment term.
struct LandedVendor {
    QString ap_accno{};
    QString payment_term{};
};

/// A whole receipt: header, goods lines in grid order and the tax elements of its lines, landed
/// charges in grid order and theirs.
struct Receipt {
    ReceiptHeader header{};
    std::vector<ReceiptLine> lines{};
    TaxElementStore taxes{};
    std::vector<LandedLine> landed{};
    TaxElementStore landed_taxes{};
};

} // namespace zelkor
