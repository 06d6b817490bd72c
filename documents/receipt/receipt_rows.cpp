#include "documents/receipt/receipt_rows.h"

#include "core/db/sql_batch.h"

namespace zelkor {
namespace {

InsertRow line_row(const ReceiptHeader& header, const ReceiptLine& line, const TaxElements& elements,
                   const AuditStamp& stamp, InsertRow::Columns columns)
{
    InsertRow row(QStringLiteral("PO_receipt_transaction_table"), columns);
    row.set(u"company", 1)
        .set(u"fkey", header.fkey)
        .set(u"landed_item", false)
        .set(u"itemno", line.itemno)
        .set(u"doctype", "ro")
        .set(u"docno", header.docno)
        .set(u"receipt_date", header.receipt_date)
        .set(u"vendor_no", header.vendor_no)
        .set(u"currency", header.currency)
        .set(u"exchange_rate", header.exchange_rate)
        .set(u"rate_date", header.exchange_rate ? header.rate_date : QDate())
        .set(u"vendor_invoice_no", nullable(header.vendor_invoice_no))
        .set(u"vendor_invoice_date", header.with_bill() ? header.vendor_invoice_date : QDate())
        .set(u"period", header.period)
        .set(u"fyear", header.fyear)
        .set(u"itemcode", line.itemcode)
        .set(u"itemtype", line.itemtype)
        .set(u"description", line.description)
        .set(u"vendor_itemcode", nullable(line.vendor_itemcode))
        .set(u"warehouse", nullable(line.warehouse))
        .set(u"location", nullable(line.location))
        .set(u"quantity_received", line.received())
        .set(u"quantity_cancel", line.cancelled())
        .set(u"po_quantity_order", line.po_quantity_order)
        .set(u"po_quantity_open", line.po_quantity_open)
        .set(u"uom", nullable(line.uom))
        .set(u"unitcost", line.unitcost.value_or(Decimal()))
        .set(u"extended_cost", line.extended_cost.value_or(Decimal()).round2())
        .set(u"net_cost", line.net_cost)
        // Billing state: billed whole by the bill entered with the receipt, else all still to bill.
        .set(u"quantity_open_for_bill", header.with_bill() ? Decimal() : line.received())
        .set(u"quantity_billed", header.with_bill() ? line.received() : Decimal())
        .set(u"amount_billed", header.with_bill() ? line.extended_cost.value_or(Decimal()).round2() : Decimal())
        .set(u"quantity_adjusted", Decimal())
        .set(u"billed", header.with_bill())
        .set(u"fully_billed", header.with_bill())
        .set(u"tax_code", nullable(line.tax_code))
        .set(u"price_include_tax", line.price_include_tax)
        .set(u"accno", nullable(line.accno))
        .set(u"PONO", nullable(line.pono))
        .set(u"po_itemno", line.po_itemno)
        .set(u"po_uom", nullable(line.po_uom))
        .set(u"po_warehouse", nullable(line.po_warehouse))
        .set(u"po_location", nullable(line.po_location))
        .set(u"expense", false)
        .set(u"void", false)
        .set_created(stamp.created())
        .set(u"source_form", ReceiptSourceForm)
        .set(u"computer_id", stamp.computer_id);
    set_tax_columns(row, elements, AllocatedColumn::Present);
    return row;
}

InsertRow landed_row(const ReceiptHeader& header, const LandedLine& line, const TaxElements& elements,
                     const AuditStamp& stamp, InsertRow::Columns columns)
{
    // A charge on the receipt's own bill is billed with it; one billed by another vendor or
    // under another number has its own payable and nothing left to bill.
    const bool billed = landed_on_receipt_bill(header, line);
    const Decimal extended = line.extended_cost.value_or(Decimal()).round2();
    const Decimal quantity = line.quantity.value_or(Decimal());
    InsertRow row(QStringLiteral("PO_receipt_transaction_table"), columns);
    row.set(u"company", 1)
        .set(u"fkey", header.fkey)
        .set(u"landed_item", true)
        .set(u"itemno", line.itemno)
        .set(u"doctype", "ro")
        .set(u"docno", header.docno)
        .set(u"receipt_date", header.receipt_date)
        .set(u"vendor_no", landed_vendor(header, line))
        .set(u"currency", header.currency)
        .set(u"exchange_rate", header.exchange_rate)
        .set(u"rate_date", header.exchange_rate ? header.rate_date : QDate())
        .set(u"vendor_invoice_no", nullable(landed_bill(header, line)))
        .set(u"vendor_invoice_date", line.bill_date.isValid() ? line.bill_date : header.vendor_invoice_date)
        .set(u"period", header.period)
        .set(u"fyear", header.fyear)
        .set(u"itemcode", line.itemcode)
        .set(u"itemtype", "6")
        .set(u"description", line.description)
        .set(u"quantity", quantity)
        .set(u"unitcost", line.unitcost.value_or(Decimal()))
        .set(u"extended_cost", extended)
        .set(u"net_cost", line.net_cost)
        .set(u"quantity_open_for_bill", Decimal())
        .set(u"quantity_billed", billed ? quantity : Decimal())
        .set(u"amount_billed", billed ? extended : Decimal())
        .set(u"quantity_adjusted", Decimal())
        .set(u"billed", billed)
        .set(u"fully_billed", billed)
        .set(u"tax_code", nullable(line.tax_code))
        .set(u"price_include_tax", false)
        .set(u"accno", nullable(line.accno))
        .set(u"expense", line.expense)
        .set(u"ap_fkey", nullable(line.ap_fkey))
        .set(u"void", false)
        .set_created(stamp.created())
        .set(u"source_form", ReceiptSourceForm)
        .set(u"computer_id", stamp.computer_id);
    set_tax_columns(row, elements, AllocatedColumn::Present);
    return row;
}

/// Writes one row per line, built by `row_of(line, its tax elements, columns)`, batched.
template <typename Lines, typename Elements, typename RowOf>
[[nodiscard]] std::expected<void, Error> write_line_rows(Database& db, const Lines& lines, const Elements& elements,
                                                         RowOf row_of)
{
    std::vector<InsertRow> rows;
    rows.reserve(lines.size());
    for (size_t index = 0; index < lines.size(); ++index)
        rows.push_back(row_of(lines[index], elements[index],
                              index == 0 ? InsertRow::Columns::Named : InsertRow::Columns::AsFirstRow));
    return insert_rows(db, rows);
}

} // namespace

[[nodiscard]] std::expected<WrittenLines, Error> lines_to_write(const Receipt& receipt, const OrderLineStates& orders)
{
    WrittenLines written;
    for (ReceiptLine line : receipt.lines) {
        auto elements = tax_elements_to_save(receipt.taxes, line.itemno, line.extended_cost);
        if (!elements)
            return std::unexpected(elements.error());
        const LineTaxTotals totals = line_tax_totals(*elements, line.extended_cost,
                                                     line.price_include_tax ? TaxIncluded::Yes : TaxIncluded::No);
        line.tax_amount = totals.tax_amount;
        line.tax_allocate = totals.allocated;
        line.net_cost = totals.net_cost;
        if (line.against_order()) {
            // The order line itself says where its quantity was on order, and what was open
            // when this receipt received against it (less when another receipt came first).
            if (auto order = orders.find({line.po_key, *line.po_itemno}); order != orders.end()) {
                line.po_quantity_open = order->second.open;
                line.po_warehouse = order->second.warehouse;
                line.po_location = order->second.location;
                line.po_uom = order->second.uom;
            }
        }
        written.sub_total += line.extended_cost.value_or(Decimal()).round2();
        if (!line.price_include_tax)
            written.tax_total += line.tax_amount;
        written.lines.push_back(std::move(line));
        written.elements.push_back(std::move(*elements));
    }
    for (LandedLine line : receipt.landed) {
        if (line.itemcode.isEmpty())
            continue;
        // The charges' payables are written anew with every save.
        line.ap_fkey.clear();
        auto elements = tax_elements_to_save(receipt.landed_taxes, line.itemno, line.extended_cost);
        if (!elements)
            return std::unexpected(elements.error());
        const LineTaxTotals totals = line_tax_totals(*elements, line.extended_cost, TaxIncluded::No);
        line.tax_amount = totals.tax_amount;
        line.tax_allocate = totals.allocated;
        line.net_cost = totals.net_cost;
        written.landed_total += line.net_cost;
        written.landed.push_back(std::move(line));
        written.landed_elements.push_back(std::move(*elements));
    }
    return written;
}

[[nodiscard]] std::expected<void, Error> write_landed_lines(Database& db, const ReceiptHeader& header,
                                                            const WrittenLines& written, const AuditStamp& stamp)
{
    return write_line_rows(db, written.landed, written.landed_elements, [&](const auto& line, const auto& elements, auto columns) {
        return landed_row(header, line, elements, stamp, columns);
    });
}

[[nodiscard]] std::expected<void, Error> write_lines(Database& db, const ReceiptHeader& header,
                                                     const WrittenLines& written, const AuditStamp& stamp)
{
    return write_line_rows(db, written.lines, written.elements, [&](const auto& line, const auto& elements, auto columns) {
        return line_row(header, line, elements, stamp, columns);
    });
}

InsertRow header_row(const ReceiptHeader& header, const WrittenLines& written, const ReceiptKeys& keys,
                     const AuditStamp& stamp)
{
    InsertRow row(QStringLiteral("PO_receipt_header_table"));
    row.set(u"company", 1)
        .set(u"vendor_no", header.vendor_no)
        .set(u"doctype", "ro")
        .set(u"docno", header.docno)
        .set(u"fkey", header.fkey)
        .set(u"receipt_date", header.receipt_date)
        .set(u"currency", header.currency)
        .set(u"shipto", nullable(header.shipto))
        .set(u"ship_to_address", header.ship_to_address)
        .set(u"vendor_address", header.vendor_address)
        .set(u"period", header.period)
        .set(u"fyear", header.fyear);
    set_kept_header_columns(row, header, written, keys)
        .set_created(stamp.created())
        .set(u"source_form", ReceiptSourceForm);
    return row;
}

} // namespace zelkor
