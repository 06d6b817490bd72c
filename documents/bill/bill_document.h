#pragma once

// A vendor bill as plain data: what the bill window hands to the bill writer once its checks
// have passed. Nothing here knows a window; the rows the writer makes of it are those of
// PO_invoice_header_table and PO_invoice_transaction_table, in the column order of the header and
// line comments below. The types are named "Entered..." as the bill writer (services/
// bill_writer.h) has its own Bill, BillLine and BillHeader, which the save converts these into.

#include "core/fiscal_periods.h"
#include "core/money/decimal.h"
#include "payables/payables.h"
#include "tax/purchase_tax.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace zelkor {

/// Pay-by values other than a credit card's name (PayLater comes with the payables).
inline const QString PayCash = QStringLiteral("Cash");
inline const QString PayCheck = QStringLiteral("Check");

/// One line of a bill (a row of PO_invoice_transaction_table). A grid line without an item code
/// is not a line: its description continues the previous line's, joined by a line feed.
struct EnteredBillLine {
    int itemno = 0;
    QString itemcode{};
    QString itemtype{};        ///< "1" to "6"; empty counts as "1"
    QString description{};
    QString vendor_itemcode{};
    QString warehouse{};
    QString location{};
    QString uom_received{};    ///< the unit of the line's quantities and unit costs
    bool complete = false;     ///< the receipt line is closed by this bill; what is not billed is written off
    std::optional<Decimal> quantity{};      ///< billed; nothing when the cell is empty
    std::optional<Decimal> unitcost{};      ///< invoice price; nothing when the cell is empty
    std::optional<Decimal> extended_cost{}; ///< nothing when the cell is empty
    Decimal net_cost{};        ///< the amount including tax
    Decimal tax_amount{};
    Decimal tax_allocate{};
    bool price_include_tax = false;
    QString tax_code{};
    QString accno{};
    bool expense = false;      ///< spread over the other lines instead of posted to its own account

    // The receipt line billed, as it stood when the line was taken from it.
    QString receipt_no{};
    std::optional<int> receipt_itemno{};        ///< a goods line of the receipt
    bool landed_item = false;
    std::optional<int> receipt_landed_itemno{}; ///< a landed-charge line of the receipt
    Decimal quantity_received{};
    Decimal quantity_billed{};  ///< billed by earlier bills
    Decimal rc_quantity_open{}; ///< open for billing when the line was taken
    Decimal quantity_cancel{};
    std::optional<Decimal> unit_cost_received{};
    std::optional<Decimal> amount_received{};
    Decimal tax_amount_received{};
    Decimal tax_allocated_received{};
    bool include_tax_received = false;
    std::optional<Decimal> rate_received{}; ///< the receipt's rate; nothing in the base currency

    // The order line billed.
    QString pono{};
    std::optional<int> po_itemno{};
    QString po_uom{};

    bool from_receipt() const { return !receipt_no.isEmpty(); }
    bool from_order() const { return !pono.isEmpty() && po_itemno.has_value(); }
    /// What stays open on the receipt line after this bill: nothing when it is completed.
    Decimal rc_quantity_balance() const
    {
        return complete ? Decimal() : rc_quantity_open - quantity.value_or(Decimal());
    }
};

/// The header of a bill (a row of PO_invoice_header_table).
struct EnteredBillHeader {
    int company = 1;
    QString vendor_no{};
    QString docno{};           ///< empty until the writer takes the "vi" number
    QString fkey{};            ///< empty for a new bill
    QDate invoice_date{};
    QDate due_date{};          ///< invalid: the term's days decide
    QString currency{};
    std::optional<Decimal> exchange_rate{}; ///< nothing for the base currency
    QDate rate_date{};
    QString invoice_no{};      ///< the vendor's own number
    QString receipt_no{};      ///< the one receipt billed; empty for several
    QDate receipt_date{};
    QString po_no{};
    bool multi_receipt = false;
    QString remark{};
    QString reference{};
    std::optional<Decimal> prepayment{};    ///< nothing when the field is empty
    QString prepayment_no{};   ///< an existing prepayment applied; empty for one paid now
    QString payby{};           ///< PayLater, PayCash, PayCheck or a credit card's name
    QString cash_accno{};
    QString bank_code{};
    QString check_no{};
    QDate check_date{};
    QString payment_term{};    ///< Payment_term_table.term_no
    std::optional<Decimal> discount_percent{};
    std::optional<Decimal> discount_amount{}; ///< typed, or the percent of the total, to cents
    Decimal subtotal{};
    Decimal excluded_tax{};    ///< tax of the lines whose price does not include it
    Decimal total{};
    Decimal net_amount{};      ///< total less discount and prepayment
    QString fyear{};
    int period = 0;            ///< 0 when none is chosen

    FiscalPeriod fiscal_period() const { return {fyear, period}; }
    bool base_currency(const QString& base) const { return currency.isEmpty() || currency == base; }
};

/// A whole bill: header, lines in grid order and the tax elements of its lines by line number.
struct EnteredBill {
    EnteredBillHeader header{};
    std::vector<EnteredBillLine> lines{};
    TaxElementStore taxes{};
};

/// The accounts a bill posts to beyond its lines' and taxes' own, found by its checks.
struct EnteredBillAccounts {
    QString suspense{};       ///< AP suspense: what receipts credited, the bill debits
    QString discount{};       ///< purchase discount
    QString variance{};       ///< purchase variance
    QString vendor_payable{}; ///< the vendor's ap_accno
    QString paying{};         ///< the cash account, the bank's account or the card's payable; empty for Pay Later
};

/// What a bill's save hands to the bill writer: the checked bill and its accounts.
struct CheckedBill {
    EnteredBill bill{};
    EnteredBillAccounts accounts{};
};

} // namespace zelkor
