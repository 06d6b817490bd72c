// The void of a saved bill and the reversal of its postings, shared by the void and the edit:
// everything is undone from what the bill stored, inside the caller's transaction.
#include "documents/bill/bill_void.h"

#include "core/db/save_retries.h"
#include "core/fiscal_periods.h"
#include "core/master_lookups.h"
#include "documents/bill/bill_cost_correction.h"
#include "documents/bill/bill_writer.h"
#include "ledger/ledger_posting.h"
#include "payables/payables.h"
#include "stock/stock_settings.h"

namespace zelkor {

namespace {

/// Voids the payment of the prepayment paid with the bill: its header, payable row and
/// application row, all kept.
[[nodiscard]] std::expected<void, Error> void_own_prepayment(Database& db, const QString& payable_docno,
                                                             const QString& bill_docno)
{
    auto own = db.scalar(QStringLiteral("SELECT p.fkey FROM Payment_transaction_table t INNER JOIN"
                                        " Payment_header_table p ON p.fkey = t.fkey WHERE t.ap_docno = ?"
                                        " AND p.source_docno = ? AND p.doctype = 'pp'"),
                         {payable_docno, bill_docno});
    if (!own)
        return std::unexpected(own.error());
    const QString key = Row::to_text(*own);
    if (key.isEmpty())
        return {};
    for (const char* sql : {"UPDATE Payment_header_table SET void = TRUE WHERE fkey = ?",
                            "UPDATE AP_transaction_table SET void = TRUE WHERE fkey = ? AND doctype = 'pp'",
                            "UPDATE Payment_transaction_table SET void = TRUE WHERE fkey = ?"})
        if (auto done = db.execute(QString::fromLatin1(sql), {key}); !done)
            return std::unexpected(done.error());
    return {};
}

/// Voids the bill's cost correction; what stock can no longer give back moves from the first
/// stock line's variance account back to its inventory account.
[[nodiscard]] std::expected<void, Error> void_bill_correction(Database& db, const Row& header, const BillVoid& order)
{
    const QString icfkey = header.text(u"icfkey");
    if (icfkey.isEmpty())
        return {};
    auto stock = db.first(QStringLiteral("SELECT l.accno, i.vari_accno FROM PO_invoice_transaction_table l LEFT JOIN"
                                         " Item_master_table i ON i.itemcode = l.itemcode WHERE l.fkey = ?"
                                         " AND COALESCE(l.receipt_no, '') <> '' AND l.landed_item = FALSE"
                                         " AND COALESCE(l.warehouse, '') <> '' ORDER BY l.itemno"),
                          {order.bill_key});
    if (!stock)
        return std::unexpected(stock.error());
    auto variance = module_parameter(db, Parameter::PurchaseVariance);
    if (!variance)
        return std::unexpected(variance.error());
    const QString own = *stock ? (*stock)->text(u"vari_accno").trimmed() : QString();
    const CorrectionVoid correction{.icfkey = icfkey,
                                    .bill_docno = header.text(u"docno"),
                                    .date = order.date,
                                    .period = order.period,
                                    .inventory = *stock ? (*stock)->text(u"accno") : QString(),
                                    .variance = own.isEmpty() || own == u"0" ? variance->value_or(QString()) : own,
                                    .user = order.stamp.user,
                                    .stamp = {order.stamp.user, order.stamp.computer_id}};
    return void_cost_correction(db, correction);
}

} // namespace

std::expected<void, Error> lock_bill_stock(Database& db, const QString& bill_key, std::set<ItemWarehouse> more)
{
    auto stored = db.select(QStringLiteral("SELECT itemcode, warehouse FROM PO_invoice_transaction_table WHERE fkey = ?"
                                           " AND COALESCE(itemcode, '') <> '' AND COALESCE(warehouse, '') <> ''"),
                            {bill_key});
    if (!stored)
        return std::unexpected(stored.error());
    for (const Row& row : *stored)
        more.insert({row.text(u"itemcode"), row.text(u"warehouse")});
    if (auto locked = lock_warehouse_settings(db, more); !locked)
        return std::unexpected(locked.error());
    return {};
}

std::expected<void, Error> lock_bill_payables(Database& db, const Row& header)
{
    if (auto vendor = lock_vendor_row(db, header.text(u"vendor_no")); !vendor)
        return vendor;
    const QString existing = header.text(u"prepayment_no");
    auto payments = db.select_for_update(QStringLiteral("SELECT fkey FROM Payment_header_table WHERE company = 1"
                                                        " AND ((doctype = 'pp' AND source_docno = ?) OR docno = ?)"
                                                        " ORDER BY fkey"),
                                         {header.text(u"docno"), existing});
    if (!payments)
        return std::unexpected(payments.error());
    if (existing.isEmpty())
        return {};
    auto waiting = db.select_for_update(QStringLiteral("SELECT prepayment_no FROM Prepayment_waiting_PO_table WHERE prepayment_no = ?"),
                                        {existing});
    if (!waiting)
        return std::unexpected(waiting.error());
    return {};
}

std::expected<void, Error> reverse_bill_postings(Database& db, const Row& header, const BillVoid& order, BillUndo reason)
{
    // The stock rows of the cost correction, then the vendor's row and the prepayments, before
    // the correction's and the reversal's numbers and the ledger balances: every save's lock
    // order. A landed bill's cost raise is taken back by its own void before this one runs.
    if (!order.stock_reversed && !order.stock_locked)
        if (auto locked = lock_bill_stock(db, order.bill_key); !locked)
            return locked;
    if (auto locked = lock_bill_payables(db, header); !locked)
        return locked;
    if (!order.stock_reversed)
        if (auto corrected = void_bill_correction(db, header, order); !corrected)
            return corrected;
    const QString number = header.text(u"docno");
    const QString journal = header.text(u"GLFKEY");
    if (journal.isEmpty())
        return {};
    const QString why = reason == BillUndo::Void ? QStringLiteral("Void invoice ") : QStringLiteral("Edit invoice ");
    const Reversal reversal{.description = QStringLiteral("void invoice ") + number,
                            .reversed_description = why + number,
                            .source = header.text(u"doctype") == u"ld" ? QStringLiteral("PO-LANDED") : QStringLiteral("PO-BILL"),
                            .source_form = header.text(u"source_form"),
                            .source_docno = number,
                            .date = order.date,
                            .user = order.stamp.user,
                            .period = order.period};
    auto reversed = reverse_entry(db, journal, reversal);
    if (!reversed)
        return std::unexpected(reversed.error());
    if (!*reversed)
        return std::unexpected(Error::not_found(journal + QStringLiteral(" journal entry does not exist")));
    return {};
}

std::expected<void, Error> void_bill(Database& db, const BillVoid& order)
{
    auto locked = db.select_for_update(QStringLiteral("SELECT * FROM PO_invoice_header_table WHERE fkey = ?"), {order.bill_key},
                                       LockRank::EditedDocument);
    if (!locked)
        return std::unexpected(locked.error());
    if (locked->empty())
        return std::unexpected(Error::not_found(QStringLiteral("Document no. ") + order.bill_key + QStringLiteral(" not found")));
    const Row& header = locked->front();
    const QString number = header.text(u"docno");
    if (header.flag(u"void"))
        return std::unexpected(Error::invalid(number + QStringLiteral(" was void")));
    if (auto reversed = reverse_bill_postings(db, header, order, BillUndo::Void); !reversed)
        return reversed;
    if (const QString payable = header.text(u"apfkey"); !payable.isEmpty()) {
        auto payable_docno = db.scalar(QStringLiteral("SELECT docno FROM AP_header_table WHERE fkey = ?"), {payable});
        if (!payable_docno)
            return std::unexpected(payable_docno.error());
        if (auto voided = void_payable(db, payable, header.text(u"invoice_no"), order.stamp); !voided)
            return std::unexpected(voided.error());
        // An existing prepayment goes back to waiting. One paid with this bill is void with it:
        // the bill's entry, whose reversal is above, was its only posting.
        if (const QString existing = header.text(u"prepayment_no"); !existing.isEmpty()) {
            if (auto restored = restore_prepayment(db, existing); !restored)
                return restored;
        } else if (header.decimal(u"prepayment") > Decimal()) {
            if (auto voided = void_own_prepayment(db, Row::to_text(*payable_docno), number); !voided)
                return voided;
        }
    }
    if (auto done = unbill_receipts_and_orders(db, order.bill_key); !done)
        return done;
    if (auto done = db.execute(QStringLiteral("UPDATE PO_invoice_header_table SET void = TRUE, date_lastmodified = ?,"
                                              " time_lastmodified = ?, user_updated = ?, row_version = row_version + 1"
                                              " WHERE fkey = ?"),
                               {order.stamp.today, order.stamp.time, order.stamp.user, order.bill_key});
        !done)
        return std::unexpected(done.error());
    if (auto done = db.execute(QStringLiteral("UPDATE PO_invoice_transaction_table SET void = TRUE WHERE fkey = ?"),
                               {order.bill_key});
        !done)
        return std::unexpected(done.error());
    return {};
}

namespace {

/// Whether the bill's payable was paid beyond what the bill settled itself: the whole of it, less
/// discount, when paid at once without a prepayment; its prepayment otherwise. Anything else on
/// the payable's lines was paid in the payables since.
[[nodiscard]] std::expected<bool, Error> paid_beyond_bill(Database& db, const Row& header)
{
    const QString payable = header.text(u"apfkey");
    if (payable.isEmpty())
        return false;
    auto paid = db.first(QStringLiteral("SELECT COUNT(*) AS line_count, COALESCE(SUM(paid_amount), 0) AS paid_amount"
                                        " FROM AP_transaction_table WHERE fkey = ?"),
                         {payable});
    if (!paid)
        return std::unexpected(paid.error());
    // A payable gone is the void's to report ("... not found in Account Payable").
    if (!*paid || (*paid)->integer(u"line_count") == 0)
        return false;
    const Decimal prepayment = header.decimal(u"prepayment");
    const Decimal settled = prepayment.is_zero() && pays_at_once(header.text(u"payby"))
                                ? header.decimal(u"total") - header.decimal(u"discount_amount")
                                : prepayment;
    return -(*paid)->decimal(u"paid_amount") != settled;
}

/// Locks what the stored bill and `sources` take from.
[[nodiscard]] std::expected<void, Error> lock_bill_and_edit_sources(Database& db, const Row& header, BillSources sources)
{
    auto stored = db.select(QStringLiteral("SELECT receipt_no, pono, po_itemno FROM PO_invoice_transaction_table WHERE fkey = ?"),
                            {header.text(u"fkey")});
    if (!stored)
        return std::unexpected(stored.error());
    for (const Row& row : *stored) {
        if (!row.text(u"receipt_no").isEmpty())
            sources.receipts.insert(row.text(u"receipt_no"));
        if (!row.text(u"pono").isEmpty() && !row.is_null(u"po_itemno"))
            sources.orders.insert(row.text(u"pono"));
    }
    return lock_bill_sources(db, sources);
}

} // namespace

std::expected<Row, Error> lock_unpaid_bill(Database& db, const DocumentVersion& shown, BillUndo reason, BillSources more)
{
    auto locked = lock_shown_version(db, shown);
    if (!locked)
        return std::unexpected(locked.error());
    const Row& header = locked->header;
    const QString& number = shown.number;
    if (header.flag(u"void"))
        return std::unexpected(Error::invalid(number + (reason == BillUndo::Void ? QStringLiteral(" was void")
                                                                                 : QStringLiteral(" was void."))));
    if (header.flag(u"fully_paid"))
        return std::unexpected(Error::invalid(number + QStringLiteral(" was paid.")));
    // A payment made in the payables reaches the payable before the bill's own flags.
    auto paid = header.flag(u"paid") ? true : paid_beyond_bill(db, header);
    if (!paid)
        return std::unexpected(paid.error());
    if (*paid)
        return std::unexpected(Error::invalid(number + QStringLiteral(" was partially paid.")));
    if (locked->changed)
        return std::unexpected(changed_by_another_user(number));
    const FiscalPeriod period{header.text(u"fyear"), int(header.integer(u"period"))};
    if (auto open = check_working_period(db, period); !open)
        return std::unexpected(open.error());
    if (auto locked = lock_bill_and_edit_sources(db, header, std::move(more)); !locked)
        return std::unexpected(locked.error());
    return header;
}

static std::expected<void, Error> void_shown_bill_once(Database& db, const DocumentVersion& shown, const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto header = lock_unpaid_bill(db, shown, BillUndo::Void);
    if (!header)
        return std::unexpected(header.error());
    const FiscalPeriod period{header->text(u"fyear"), int(header->integer(u"period"))};
    const BillVoid order{.bill_key = shown.key, .date = header->date(u"invoice_date"), .period = period, .stamp = stamp};
    if (auto voided = void_bill(db, order); !voided)
        return voided;
    return tx.commit();
}

std::expected<void, Error> void_shown_bill(Database& db, const DocumentVersion& shown, const AuditStamp& stamp)
{
    return with_retries(db, u"bill void", [&] { return void_shown_bill_once(db, shown, stamp); });
}

} // namespace zelkor
