#include "documents/receipt/stored_receipt.h"

#include "documents/receipt/receipt_verify.h"
#include "payables/payables.h"

namespace zelkor {
namespace {

Error refused(const QString& message) { return Error::invalid(message); }

[[nodiscard]] std::expected<std::vector<LandedPayable>, Error> landed_payables(Database& db, const QString& receipt_key)
{
    auto rows = db.select(QStringLiteral("SELECT ap_fkey, MIN(vendor_no) AS vendor_no, MIN(vendor_invoice_no) AS bill_no"
                                         " FROM PO_receipt_transaction_table WHERE fkey = ? AND landed_item = TRUE"
                                         " AND ap_fkey <> '' GROUP BY ap_fkey ORDER BY ap_fkey"),
                          {receipt_key});
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<LandedPayable> payables;
    for (const Row& row : *rows)
        payables.push_back({row.text(u"ap_fkey"), row.text(u"vendor_no"), row.text(u"bill_no")});
    return payables;
}

/// The live landed bill that spreads its charges over the receipt; empty when none does.
[[nodiscard]] std::expected<QString, Error> covering_landed_bill(Database& db, const QString& receipt_no)
{
    auto found = db.scalar(QStringLiteral("SELECT h.docno FROM PO_invoice_header_table h WHERE h.company = 1"
                                          " AND h.doctype = 'ld' AND h.void = FALSE AND (h.receipt_no = ?"
                                          " OR EXISTS (SELECT 1 FROM PO_landed_multi_receipt_table m"
                                          " WHERE m.docno = h.docno AND m.receipt_no = ?)) ORDER BY h.docno"),
                           {receipt_no, receipt_no});
    if (!found)
        return std::unexpected(found.error());
    return Row::to_text(*found);
}

} // namespace

[[nodiscard]] std::expected<StoredReceipt, Error> locked_receipt(Database& db, const DocumentVersion& shown, Change change)
{
    auto locked = lock_shown_version(db, shown);
    if (!locked)
        return std::unexpected(locked.error());
    const Row& header = locked->header;
    const QString& number = shown.number;
    if (header.flag(u"void"))
        return std::unexpected(refused(number + QStringLiteral(" was void.")));
    if (header.flag(u"billed") || header.flag(u"fully_billed"))
        return std::unexpected(refused(
            change == Change::Void
                ? number + QStringLiteral(" was billed. You need to void bill first.")
                : number + QStringLiteral(" was billed.") + QChar(10)
                      + QStringLiteral("You can use P/O Bill Entry to make quantity/cost adjustment.") + QChar(10)
                      + QStringLiteral("If you really want to edit in Receipt Entry, void the bill first.")));
    if (locked->changed)
        return std::unexpected(changed_by_another_user(number));
    auto covering = covering_landed_bill(db, number);
    if (!covering)
        return std::unexpected(covering.error());
    if (!covering->isEmpty())
        return std::unexpected(refused(QStringLiteral("Receipt ") + number + QStringLiteral(" is covered by landed bill ")
                                       + *covering + QStringLiteral(". Void the landed bill first.")));
    // The host may have paid a landed charge's payable since: that stops the change.
    auto landed = landed_payables(db, shown.key);
    if (!landed)
        return std::unexpected(landed.error());
    for (const LandedPayable& payable : *landed) {
        auto paid = payable_paid(db, payable.key);
        if (!paid)
            return std::unexpected(paid.error());
        if (*paid)
            return std::unexpected(refused(QStringLiteral("Landed cost bill ") + payable.bill_no + QStringLiteral(" of ")
                                           + payable.vendor_no + QStringLiteral(" was paid.")));
    }
    auto lines = stored_receipt_lines(db, shown.key);
    if (!lines)
        return std::unexpected(lines.error());
    return StoredReceipt{header, std::move(*lines), std::move(*landed)};
}

std::set<QString> stored_payable_vendors(const StoredReceipt& stored)
{
    std::set<QString> vendors;
    if (!stored.header.text(u"apfkey").isEmpty() && !stored.header.text(u"vendor_invoice_no").isEmpty())
        vendors.insert(stored.header.text(u"vendor_no"));
    for (const LandedPayable& payable : stored.landed_payables)
        vendors.insert(payable.vendor_no);
    return vendors;
}

} // namespace zelkor
