#include "documents/receipt/receipt_locks.h"

#include "core/db/sql_names.h"
#include "core/document_versions.h"
#include "core/numbering.h"
#include "documents/receipt/receipt_verify.h"
#include "stock/on_order.h"

#include <algorithm>

namespace zelkor {
namespace {

Error refused(const QString& message) { return Error::invalid(message); }

/// The vendors a receipt's payables name.
std::set<QString> payable_vendors(const Receipt& receipt)
{
    std::set<QString> vendors;
    if (receipt.header.with_bill())
        vendors.insert(receipt.header.vendor_no);
    for (const LandedLine& line : receipt.landed)
        if (!line.itemcode.isEmpty())
            vendors.insert(landed_vendor(receipt.header, line));
    return vendors;
}

} // namespace

[[nodiscard]] std::expected<WarehouseSettings, Error> lock_stock_rows(Database& db,
                                                                      const std::vector<const ReceiptLine*>& lines)
{
    std::set<ItemWarehouse> keys;
    for (const ReceiptLine* line : lines) {
        if (!counts_on_order(line->itemtype))
            continue;
        keys.insert({line->itemcode, line->warehouse});
        if (!line->po_warehouse.isEmpty())
            keys.insert({line->itemcode, line->po_warehouse});
    }
    return lock_warehouse_settings(db, keys);
}

std::set<OrderLineKey> order_keys(const std::vector<const ReceiptLine*>& lines)
{
    std::set<OrderLineKey> keys;
    for (const ReceiptLine* line : lines)
        if (line->against_order())
            keys.insert({line->po_key, *line->po_itemno});
    return keys;
}

[[nodiscard]] std::expected<OrderLineStates, Error> locked_orders(Database& db, const std::vector<ReceiptLine>& receiving,
                                                                  const std::vector<ReceiptLine>& stored,
                                                                  const OrderLineStates& seen)
{
    std::vector<const ReceiptLine*> lines = pointers(receiving);
    for (const ReceiptLine& line : stored)
        lines.push_back(&line);
    auto locked = lock_order_lines(db, order_keys(lines));
    if (!locked)
        return std::unexpected(locked.error());
    // The lines other receipts have received or cancelled against since they were seen, as they
    // were seen and as they are now.
    OrderLineStates moved_then;
    OrderLineStates moved_now;
    for (const auto& [key, before] : seen) {
        auto now = locked->find(key);
        if (now == locked->end())
            return std::unexpected(refused(QStringLiteral("This item was closed.")));
        if (now->second.order_void)
            return std::unexpected(refused(QStringLiteral("PO was void.")));
        if (now->second.warehouse != before.warehouse || now->second.location != before.location
            || now->second.uom != before.uom || now->second.quantity != before.quantity)
            return std::unexpected(changed_by_another_user(before.order_number));
        if (now->second.open != before.open || now->second.received != before.received
            || now->second.cancelled != before.cancelled) {
            moved_then.insert({key, before});
            moved_now.insert(*now);
        }
    }
    // The clerk answered the questions the quantities raised then; what is open now must raise
    // the same ones (none, for a receipt that still fits).
    if (!moved_now.empty()) {
        const auto asked = order_line_questions(receiving, moved_then, stored);
        const auto asking = order_line_questions(receiving, moved_now, stored);
        const auto same = [](const ReceiptQuestion& a, const ReceiptQuestion& b) { return a.kind == b.kind && a.text == b.text; };
        if (!std::equal(asked.begin(), asked.end(), asking.begin(), asking.end(), same))
            return std::unexpected(changed_by_another_user(moved_now.begin()->second.order_number));
    }
    return locked;
}

[[nodiscard]] std::expected<std::map<QString, LandedVendor>, Error> lock_vendors(Database& db,
                                                                                 const std::set<QString>& vendors)
{
    std::map<QString, LandedVendor> locked;
    if (vendors.empty())
        return locked;
    const Params params(vendors.begin(), vendors.end());
    auto rows = db.select_for_update(QStringLiteral("SELECT vendor_no, ap_accno, payment_term FROM Vendor_table"
                                                    " WHERE vendor_no IN (")
                                         + placeholder_list(qsizetype(params.size())) + QStringLiteral(") ORDER BY vendor_no"),
                                     params);
    if (!rows)
        return std::unexpected(rows.error());
    for (const Row& row : *rows)
        locked.emplace(row.text(u"vendor_no"), LandedVendor{row.text(u"ap_accno").trimmed(), row.text(u"payment_term").trimmed()});
    return locked;
}

[[nodiscard]] std::expected<LockedForPayables, Error> lock_for_payables(Database& db, const Receipt& receipt,
                                                                        std::set<QString> vendors_too)
{
    LockedForPayables locked;
    const ReceiptHeader& header = receipt.header;
    vendors_too.merge(payable_vendors(receipt));
    auto vendors = lock_vendors(db, vendors_too);
    if (!vendors)
        return std::unexpected(vendors.error());
    locked.vendors = std::move(*vendors);
    if (header.with_bill()) {
        // The prepayment ranks with its vendor, before the counter.
        if (!header.prepayment_no.trimmed().isEmpty() && header.prepayment_amount() > Decimal()) {
            const PayableBill payable{.vendor_no = header.vendor_no, .currency = header.currency};
            auto prepayment = lock_existing_prepayment(db, header.prepayment_no.trimmed(), payable, header.prepayment_amount());
            if (!prepayment)
                return std::unexpected(prepayment.error());
            locked.prepayment = *prepayment;
        }
        // The bill number counter is held from here to the commit: two saves of one bill number
        // meet here, and the second sees the first's bill.
        auto number = issue_document_number(db, QStringLiteral("vi"), header.fyear);
        if (!number)
            return std::unexpected(number.error());
        locked.bill = *number;
        auto used = bill_number_used(db, header.vendor_invoice_no);
        if (!used)
            return std::unexpected(used.error());
        if (*used)
            return std::unexpected(refused(QStringLiteral("Bill no ") + header.vendor_invoice_no + QStringLiteral(" exist")));
    }
    std::set<std::pair<QString, QString>> landed_bills;
    for (const LandedLine& line : receipt.landed)
        if (!line.itemcode.isEmpty() && !landed_on_receipt_bill(header, line))
            landed_bills.insert({landed_vendor(header, line), landed_bill(header, line)});
    for (const auto& [vendor, bill_no] : landed_bills) {
        // An edited receipt's own charges' payables are voided before theirs are written again.
        auto used = db.first(QStringLiteral("SELECT fkey FROM AP_header_table WHERE company = 1 AND vendor_no = ?"
                                            " AND invoice_no = ? AND void = FALSE"
                                            " AND NOT (Source = 'PO-RECEIPT' AND source_docno = ?)"),
                             {vendor, bill_no, header.docno});
        if (!used)
            return std::unexpected(used.error());
        if (*used)
            return std::unexpected(refused(QStringLiteral("Bill no ") + bill_no + QStringLiteral(" exist")));
    }
    return locked;
}

} // namespace zelkor
