// An edited bill, written again through the steps of a new one: its old effects taken back from
// what is stored (never from the window), then the bill as edited.
#include "documents/bill/bill_edit.h"

#include "core/db/save_retries.h"
#include "documents/bill/bill_payable.h"
#include "documents/bill/bill_save_steps.h"
#include "documents/bill/bill_verify.h"
#include "documents/bill/bill_void.h"

namespace zelkor {
namespace {

/// The edited bill with what an edit does not change taken from its stored header.
[[nodiscard]] std::expected<Bill, Error> edited_bill(Database& db, const EnteredBill& entered, const Row& stored)
{
    auto bill = written_bill(db, entered, {stored.text(u"docno"), stored.text(u"fkey")});
    if (!bill)
        return bill;
    BillHeader& header = bill->header;
    header.vendor_no = stored.text(u"vendor_no");
    header.invoice_date = stored.date(u"invoice_date");
    header.currency = stored.text(u"currency");
    header.period = {stored.text(u"fyear"), int(stored.integer(u"period"))};
    header.prepayment = stored.decimal(u"prepayment") > Decimal() ? stored.decimal(u"prepayment").to_string() : QString();
    header.prepayment_no = stored.text(u"prepayment_no");
    header.source_form = stored.text(u"source_form").isEmpty() ? BillSourceForm : stored.text(u"source_form");
    return bill;
}

/// The account an existing prepayment applied by the bill is held in; empty for none.
[[nodiscard]] std::expected<QString, Error> prepayment_account(Database& db, const Bill& bill)
{
    if (bill.header.prepayment_no.isEmpty())
        return QString();
    auto account = db.scalar(QStringLiteral("SELECT prepayment_accno FROM Payment_header_table WHERE company = 1"
                                            " AND docno = ?"),
                             {bill.header.prepayment_no});
    if (!account)
        return std::unexpected(account.error());
    return Row::to_text(*account);
}

/// The payable rewritten for the edited bill, with its new entry key and bill number (also on
/// the payment of a prepayment paid with the bill); the owing balance moves by its change.
[[nodiscard]] std::expected<void, Error> rewrite_bill_payable(Database& db, const Bill& bill, const QString& payable_key,
                                                              const QString& journal_key, const QString& ap_accno,
                                                              const AuditStamp& stamp)
{
    if (auto done = db.execute(QStringLiteral("UPDATE AP_header_table SET GLFKEY = ?, invoice_no = ? WHERE fkey = ?"),
                               {journal_key, bill.header.invoice_no, payable_key});
        !done)
        return std::unexpected(done.error());
    if (auto done = db.execute(QStringLiteral("UPDATE Payment_header_table SET GLFKEY = ? WHERE doctype = 'pp'"
                                              " AND source_docno = ? AND void = FALSE"),
                               {journal_key, bill.header.docno});
        !done)
        return std::unexpected(done.error());
    const PayableBill payable = payable_of(bill, journal_key, stamp);
    auto plan = start_payable(db, payable);
    if (!plan)
        return std::unexpected(plan.error());
    auto change = rewrite_payable(db, payable_key, payable, *plan, ap_accno);
    if (!change)
        return std::unexpected(change.error());
    return raise_owing_balance(db, bill.header.vendor_no, *change);
}

[[nodiscard]] std::expected<EditedBillKeys, Error> write_again(Database& db, const Bill& bill, const Row& stored,
                                                               const EnteredBillAccounts& entered, const AuditStamp& stamp)
{
    const BillVoid undo{.bill_key = bill.header.fkey,
                        .date = bill.header.invoice_date,
                        .period = bill.header.period,
                        .stamp = stamp,
                        .stock_locked = true};
    if (auto done = reverse_bill_postings(db, stored, undo, BillUndo::Edit); !done)
        return std::unexpected(done.error());
    if (auto done = db.execute(QStringLiteral("DELETE FROM PO_invoice_transaction_table WHERE fkey = ?"), {bill.header.fkey});
        !done)
        return std::unexpected(done.error());
    auto plan = plan_cost_correction(db, bill, entered.variance);
    if (!plan)
        return std::unexpected(plan.error());
    if (auto done = insert_bill_rows(db, bill, stamp); !done)
        return std::unexpected(done.error());
    if (auto done = bill_receipts_and_orders(db, bill, Billing::ReceiptAndOrderLines); !done)
        return std::unexpected(done.error());
    auto prepayment = prepayment_account(db, bill);
    if (!prepayment)
        return std::unexpected(prepayment.error());
    const BillAccounts accounts{entered.suspense, entered.discount, entered.vendor_payable, entered.paying, *prepayment};
    auto keys = post_with_correction(db, bill, accounts, *plan, stamp);
    if (!keys)
        return std::unexpected(keys.error());
    if (auto done = rewrite_bill_payable(db, bill, stored.text(u"apfkey"), keys->journal, entered.vendor_payable, stamp);
        !done)
        return std::unexpected(done.error());
    auto payable_number = stored_payable_number(db, stored);
    if (!payable_number)
        return std::unexpected(payable_number.error());
    if (auto done = rewrite_bill_header(db, bill, {keys->journal, keys->inventory, {}, *payable_number}, stamp); !done)
        return std::unexpected(done.error());
    return EditedBillKeys{keys->journal, keys->inventory};
}

} // namespace

static std::expected<EditedBillKeys, Error> save_edited_bill_once(Database& db, const CheckedBill& checked, const DocumentVersion& shown,
                                                      const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    BillSources edited;
    for (const EnteredBillLine& line : checked.bill.lines)
        edited.add(line);
    auto stored = lock_unpaid_bill(db, shown, BillUndo::Edit, std::move(edited));
    if (!stored)
        return std::unexpected(stored.error());
    const QString& invoice_no = checked.bill.header.invoice_no;
    auto taken = invoice_number_taken(db, invoice_no, shown.key);
    if (!taken)
        return std::unexpected(taken.error());
    if (*taken)
        return std::unexpected(Error::invalid(QStringLiteral("Vendor invoice no ") + invoice_no + QStringLiteral(" exist")));
    // Unbilled first, so that the receipt lines re-read for the edited rows are open again.
    if (auto done = unbill_receipts_and_orders(db, shown.key); !done)
        return std::unexpected(done.error());
    auto bill = edited_bill(db, checked.bill, *stored);
    if (!bill)
        return std::unexpected(bill.error());
    // The stock of the stored bill's lines and of the edited ones, before the reversal's vendor
    // and number: its cost correction is taken back and the new one planned under them.
    std::set<ItemWarehouse> corrected;
    for (size_t index = 0; index < bill->lines.size(); ++index)
        if (may_change_stock_cost(*bill, index))
            corrected.insert({bill->lines[index].itemcode, bill->lines[index].warehouse});
    if (auto locked = lock_bill_stock(db, shown.key, std::move(corrected)); !locked)
        return std::unexpected(locked.error());
    auto keys = write_again(db, *bill, *stored, checked.accounts, stamp);
    if (!keys)
        return keys;
    if (auto committed = tx.commit(); !committed)
        return std::unexpected(committed.error());
    return keys;
}

std::expected<EditedBillKeys, Error> save_edited_bill(Database& db, const CheckedBill& checked, const DocumentVersion& shown,
                                                      const AuditStamp& stamp)
{
    return with_retries(db, u"bill edit", [&] { return save_edited_bill_once(db, checked, shown, stamp); });
}

} // namespace zelkor
