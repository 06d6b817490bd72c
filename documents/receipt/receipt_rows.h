#pragma once

#include "core/audit_stamp.h"
#include "core/db/sql_names.h"
#include "documents/receipt/receipt_document.h"
#include "payables/payables.h"

#include <expected>
#include <vector>

namespace zelkor {

// How a receipt's rows are written: its lines with their tax figures, the line and landed-charge
// rows, and the header columns. Used by the receipt's save, edit and bill at receipt.

/// The form a receipt's rows and payables name as their source.
inline const QString ReceiptSourceForm = QStringLiteral("Receipt Entry");

/// The lines as they are written: each with the tax elements it keeps and the tax figures
/// summed from them, so that the row, its posting and its stock value agree.
struct WrittenLines {
    std::vector<ReceiptLine> lines;
    std::vector<TaxElements> elements;
    Decimal sub_total;
    Decimal tax_total; ///< tax not included in the extended costs
    std::vector<LandedLine> landed;
    std::vector<TaxElements> landed_elements;
    Decimal landed_total; ///< what the landed charges cost, tax included
};

/// The lines as `receipt` will write them: the goods lines with their tax figures, where their
/// order lines had them on order and what those had open (from `orders`), and the landed charges
/// that name an item.
[[nodiscard]] std::expected<WrittenLines, Error> lines_to_write(const Receipt& receipt, const OrderLineStates& orders);

/// Writes the goods lines' rows, batched.
[[nodiscard]] std::expected<void, Error> write_lines(Database& db, const ReceiptHeader& header,
                                                     const WrittenLines& written, const AuditStamp& stamp);
/// Writes the landed charges' rows, batched, each with its payable's key.
[[nodiscard]] std::expected<void, Error> write_landed_lines(Database& db, const ReceiptHeader& header,
                                                            const WrittenLines& written, const AuditStamp& stamp);

/// The keys a saved receipt keeps of what it wrote.
struct ReceiptKeys {
    QString journal;
    QString inventory;
    QString payable;       ///< of the bill entered with the receipt
    QString invoice_docno; ///< that bill's number
};

/// The header columns a new receipt writes and an edit rewrites.
template <class Statement>
Statement& set_kept_header_columns(Statement& row, const ReceiptHeader& header, const WrittenLines& written,
                                   const ReceiptKeys& keys)
{
    const bool billed = header.with_bill();
    const Decimal prepayment = header.prepayment_amount();
    row.set(u"exchange_rate", header.exchange_rate)
        .set(u"rate_date", header.exchange_rate ? header.rate_date : QDate())
        .set(u"vendor_invoice_no", nullable(header.vendor_invoice_no))
        .set(u"vendor_invoice_date", billed ? header.vendor_invoice_date : QDate())
        .set(u"billed", billed)
        .set(u"fully_billed", billed)
        .set(u"prepayment", prepayment)
        .set(u"prepayment_no", prepayment > Decimal() ? nullable(header.prepayment_no.trimmed()) : SqlValue(std::nullopt))
        .set(u"paypreby", prepayment > Decimal() ? SqlValue(header.payby) : SqlValue(std::nullopt))
        .set(u"cash_accno", header.payby == PayByCash ? nullable(header.cash_accno) : SqlValue(std::nullopt))
        .set(u"bank_code", header.payby == PayByCheck ? nullable(header.bank_code) : SqlValue(std::nullopt))
        .set(u"check_no", header.payby == PayByCheck ? nullable(header.check_no) : SqlValue(std::nullopt))
        .set(u"check_date", header.payby == PayByCheck ? header.check_date : QDate())
        .set(u"discount_percent", header.discount_percent)
        .set(u"discount_amount", header.discount_amount.trimmed().isEmpty()
                                     ? SqlValue(std::nullopt)
                                     : SqlValue(Decimal::parse(header.discount_amount.trimmed()).value_or(Decimal()).round2()))
        .set(u"PONO", header.multi_po ? SqlValue(std::nullopt) : nullable(header.pono))
        .set(u"shipvia", nullable(header.shipvia))
        .set(u"reference", header.reference)
        .set(u"remark", header.remark)
        .set(u"fob_point", header.fob_point)
        .set(u"payment_term", nullable(header.payment_term))
        .set(u"multi_po", header.multi_po)
        .set(u"payby", header.payby)
        .set(u"sub_total", written.sub_total)
        .set(u"landed_total", written.landed_total)
        .set(u"tax_total", written.tax_total)
        .set(u"total", written.sub_total + written.tax_total + written.landed_total)
        .set(u"GLFKEY", nullable(keys.journal))
        .set(u"icfkey", nullable(keys.inventory))
        .set(u"apfkey", nullable(keys.payable))
        .set(u"invoice_docno", nullable(keys.invoice_docno));
    return row;
}

/// The header row of a new receipt.
InsertRow header_row(const ReceiptHeader& header, const WrittenLines& written, const ReceiptKeys& keys,
                     const AuditStamp& stamp);

} // namespace zelkor
