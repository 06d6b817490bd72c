#pragma once

// The vendor bill as it is written: its header and rows in PO_invoice_header_table and
// PO_invoice_transaction_table, the billing of the receipt and order lines it covers, and its
// void. Below every window: the receipt writes the bill entered with it through these routines,
// the bill window writes its own bills through them. Everything runs inside the caller's
// transaction; an Error means the caller rolls back.

#include "core/audit_stamp.h"
#include "core/db/database.h"
#include "core/fiscal_periods.h"
#include "core/numbering.h"
#include "documents/bill/bill_sources.h"
#include "documents/bill/bill_void.h"
#include "payables/payables.h"
#include "tax/purchase_tax.h"

#include <QDate>
#include <QString>

#include <expected>
#include <optional>
#include <set>
#include <vector>

namespace zelkor {

/// The bill window's caption: the source form of every bill, also of one made at receipt.
inline const QString BillSourceForm = QStringLiteral("P/O Bill Entry");

/// What a receipt posted for a line it received: the bill debits AP suspense with exactly this.
struct ReceivedPosting {
    /// Extended cost, less the tax included in it, plus the tax allocated to cost.
    Decimal line_cost{};
    /// The line's tax elements at receipt: their recoverable and expensed parts were posted.
    TaxElements taxes{};
    /// The receipt's exchange rate; nothing for the base currency.
    std::optional<Decimal> rate{};
};

/// One line of a bill, with the columns of PO_invoice_transaction_table.
struct BillLine {
    int itemno = 0;
    /// Empty for a line of text only: its description continues the row written before it.
    QString itemcode{};
    QString itemtype{};
    QString description{};
    QString vendor_itemcode{};
    QString warehouse{};
    QString location{};
    QString uom_received{};
    std::optional<bool> complete{}; ///< nothing when the cell is empty
    Decimal quantity{};
    Decimal quantity_received{};
    Decimal rc_quantity_open{};     ///< open for bill on the receipt line when the bill was made
    Decimal unitcost{};
    Decimal extended_cost{};
    Decimal net_cost{};
    Decimal tax_amount{};
    Decimal tax_allocate{};
    std::optional<Decimal> unit_cost_received{};
    std::optional<Decimal> amount_received{};
    std::optional<bool> price_include_tax{};
    QString tax_code{};
    QString accno{};
    QString receipt_no{};
    std::optional<int> receipt_itemno{};
    QString pono{};
    std::optional<int> po_itemno{};
    QString po_uom{};
    /// The billed quantity in the order line's unit when the caller has converted it; nothing
    /// converts `quantity` from `uom_received` to `po_uom`, by the unit conversion rules.
    std::optional<Decimal> po_quantity{};
    bool landed_item = false;
    std::optional<int> receipt_landed_itemno{};
    /// Spread over the other lines' accounts instead of posted to its own.
    bool expense = false;
    /// The line's tax elements; nothing when it has no tax array.
    std::optional<TaxElements> taxes = TaxElements{};
    /// For a line billed from a receipt: what the receipt posted for it.
    std::optional<ReceivedPosting> received{};

    bool tax_included() const { return price_include_tax.value_or(false); }
    /// Whether the row is written on its own (it has an item code).
    bool written() const { return !itemcode.isEmpty(); }
};

/// The header of a bill, with the columns of PO_invoice_header_table.
struct BillHeader {
    QString doctype = QStringLiteral("vi"); ///< "ld" for a landed-cost bill
    QString docno{};
    QString fkey{};
    QString vendor_no{};
    QString primary_vendor{};               ///< a landed bill's goods vendor
    QDate invoice_date{};
    QString currency{};
    std::optional<Decimal> exchange_rate{}; ///< nothing for the base currency
    QDate rate_date{};
    QString invoice_no{};                   ///< the vendor's bill number
    QString receipt_no{};
    QDate receipt_date{};
    QString po_no{};
    bool multi_receipt = false;
    QString remark{};
    QString reference{};
    QString payby{};                        ///< empty counts as "Pay Later"
    QString cash_accno{};
    QString bank_code{};
    QString check_no{};
    QDate check_date{};
    QString payment_term{};
    QDate due_date{};
    std::optional<Decimal> discount_percent{};
    QString discount_amount{};              ///< as typed; empty for none
    QString prepayment{};                   ///< as typed; empty for none
    QString prepayment_no{};                ///< an existing prepayment; empty when paid now
    FiscalPeriod period{};
    QString source_form = BillSourceForm;
};

/// A whole bill: header and lines in grid order.
struct Bill {
    BillHeader header{};
    std::vector<BillLine> lines{};
};

/// The footer of a bill: subtotal, tax not included in prices, total, discount and
/// what is left after discount and prepayment.
struct BillTotals {
    Decimal subtotal{};
    Decimal excluded_tax{};
    Decimal total{};
    Decimal discount{};
    Decimal prepayment{};
    Decimal net_amount{};
};
/// The footer of the bill's written lines; a discount or prepayment that is not a number counts 0.
BillTotals bill_totals(const Bill& bill);

/// The source tag of a bill's postings and payable: "PO-LANDED" for a landed bill, else "PO-BILL".
QString bill_posting_source(const BillHeader& header);

/// The bill as its payable sees it (lines, term, pay-by, discount and prepayment), for
/// start_payable and the payable operations, with the bill's source tag.
PayableBill payable_of(const Bill& bill, const QString& journal_key, const AuditStamp& stamp);

/// Writes the bill's rows in grid order, in the table's column order: a line without an item code
/// appends its description to the row before (line feed between); tax columns only for lines of
/// extended cost above 0.
[[nodiscard]] std::expected<void, Error> insert_bill_rows(Database& db, const Bill& bill, const AuditStamp& stamp);

/// The keys a saved bill keeps of what it wrote.
struct BillKeys {
    QString journal{};   ///< GLFKEY
    QString inventory{}; ///< icfkey: the cost correction document, when one was made
    QString payable{};   ///< apfkey
    QString payable_number{}; ///< ap_docno: the payable's document number, which the bill inquiry shows
};

/// Writes the bill's header row with its footer and keys (row_version 0).
[[nodiscard]] std::expected<void, Error> insert_bill_header(Database& db, const Bill& bill, const BillKeys& keys,
                                                            const AuditStamp& stamp);

/// Rewrites the header of an edited bill: the columns a save writes but its company, vendor,
/// type, numbers, date, currency, period and creation stamps; its entry and cost correction keys
/// and modification stamps; its version raised.
[[nodiscard]] std::expected<void, Error> rewrite_bill_header(Database& db, const Bill& bill, const BillKeys& keys,
                                                             const AuditStamp& stamp);

/// Which lines a bill marks billed. A bill made at receipt finds its receipt lines already
/// written billed and bills only the order lines; the bill window
/// bills both. Never both for one line.
enum class Billing { ReceiptAndOrderLines, OrderLinesOnly };

/// Marks the receipt lines (Billing::ReceiptAndOrderLines) and order lines of the bill's rows
/// billed, then closes each
/// receipt and order: fully billed when none of its lines is left to bill. A quantity above what
/// is open is the caller's to confirm before the save.
[[nodiscard]] std::expected<void, Error> bill_receipts_and_orders(Database& db, const Bill& bill, Billing billing);

/// Takes back what the saved rows of the bill with key `bill_key` did to its receipt and order
/// lines, each row only its own effect (a write-off only by the complete row that made it),
/// inside the caller's transaction. Every document touched gets a new version.
[[nodiscard]] std::expected<void, Error> unbill_receipts_and_orders(Database& db, const QString& bill_key);

/// The condition (on PO_receipt_transaction_table, unqualified) of receipt lines that still have
/// something to bill: not fully billed, and neither a landed line with a payable of its own nor a
/// goods line that received nothing. The bill window offers only these; the closing checks count
/// only these. `alias` qualifies the columns ("r" gives r.fully_billed ...).
QString receipt_line_open_for_bill(const QString& alias = {});

/// Voids a saved bill inside the caller's transaction: its journal entry reversed
/// ("Void invoice " + number, in `period` on `date`), its payable voided and the owing balance
/// lowered, an existing prepayment put back to waiting and one paid with the bill voided with it,
/// its receipt and order lines unbilled, its cost correction voided, and its header and rows
/// marked void.
struct BillVoid {
    QString bill_key{};
    QDate date{};
    FiscalPeriod period{};
    AuditStamp stamp{};
    /// Set by a landed bill's void, which has taken its cost raise back itself.
    bool stock_reversed = false;
    /// Set by a bill's edit, which has locked the stock of the stored and the edited lines.
    bool stock_locked = false;
};
[[nodiscard]] std::expected<void, Error> void_bill(Database& db, const BillVoid& order);

/// Reverses the bill's journal entry (the reversed entry described "Void invoice " or "Edit
/// invoice " + number) and voids its cost correction, inside the caller's transaction.
[[nodiscard]] std::expected<void, Error> reverse_bill_postings(Database& db, const Row& header, const BillVoid& order,
                                                               BillUndo reason);

} // namespace zelkor
