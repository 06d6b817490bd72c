// A new bill from the bill window, written through the shared bill library. The window's own
// document (Entered*) is converted into the writer's Bill; what the receipt posted for a line is
// read from the receipt line under lock, never taken from the window.
#include "documents/bill/bill_save.h"

#include "core/db/save_retries.h"
#include "documents/bill/bill_save_steps.h"

#include "documents/bill/bill_cost_correction.h"
#include "documents/bill/bill_payable.h"
#include "documents/bill/bill_posting.h"
#include "documents/bill/bill_verify.h"
#include "documents/bill/bill_writer.h"

#include <map>

namespace zelkor {
namespace {

Error refused(const QString& message) { return Error::invalid(message); }

QString typed(const std::optional<Decimal>& value) { return value ? value->to_string() : QString(); }

BillHeader written_header(const EnteredBillHeader& entered, const DocumentNumber& number)
{
    BillHeader header;
    header.docno = number.docno;
    header.fkey = number.fkey;
    header.vendor_no = entered.vendor_no;
    header.invoice_date = entered.invoice_date;
    header.currency = entered.currency;
    header.exchange_rate = entered.exchange_rate;
    header.rate_date = entered.rate_date;
    header.invoice_no = entered.invoice_no;
    header.receipt_no = entered.receipt_no;
    header.receipt_date = entered.receipt_date;
    header.po_no = entered.po_no;
    header.multi_receipt = entered.multi_receipt;
    header.remark = entered.remark;
    header.reference = entered.reference;
    header.payby = entered.payby;
    header.cash_accno = entered.cash_accno;
    header.bank_code = entered.bank_code;
    header.check_no = entered.check_no;
    header.check_date = entered.check_date;
    header.payment_term = entered.payment_term;
    header.due_date = entered.due_date;
    header.discount_percent = entered.discount_percent;
    header.discount_amount = typed(entered.discount_amount);
    header.prepayment = typed(entered.prepayment);
    header.prepayment_no = entered.prepayment_no.trimmed();
    header.period = entered.fiscal_period();
    return header;
}

BillLine written_line(const EnteredBillLine& entered)
{
    BillLine line;
    line.itemno = entered.itemno;
    line.itemcode = entered.itemcode;
    line.itemtype = entered.itemtype;
    line.description = entered.description;
    line.vendor_itemcode = entered.vendor_itemcode;
    line.warehouse = entered.warehouse;
    line.location = entered.location;
    line.uom_received = entered.uom_received;
    line.complete = entered.complete;
    line.quantity = entered.quantity.value_or(Decimal());
    line.unitcost = entered.unitcost.value_or(Decimal());
    line.extended_cost = entered.extended_cost.value_or(Decimal()).round2();
    line.net_cost = entered.net_cost;
    line.tax_amount = entered.tax_amount;
    line.tax_allocate = entered.tax_allocate;
    line.price_include_tax = entered.price_include_tax;
    line.tax_code = entered.tax_code;
    line.accno = entered.accno;
    line.pono = entered.pono;
    line.po_itemno = entered.po_itemno;
    line.po_uom = entered.po_uom;
    line.expense = entered.expense;
    return line;
}

/// The receipt lines a bill takes, read under lock once per receipt with their receipt's state,
/// by receipt number, then landed flag and line number.
class LockedReceiptLines {
public:
    explicit LockedReceiptLines(Database& db) : m_db(db) {}

    /// The line as it stands now; a line gone is another user's change.
    [[nodiscard]] std::expected<Row, Error> line(const EnteredBillLine& line)
    {
        auto lines = of_receipt(line.receipt_no);
        if (!lines)
            return std::unexpected(lines.error());
        const int itemno = line.landed_item ? line.receipt_landed_itemno.value_or(0) : line.receipt_itemno.value_or(0);
        const auto found = (*lines)->find({line.landed_item, itemno});
        if (found == (*lines)->end())
            return std::unexpected(refused(line.receipt_no + QStringLiteral(" was changed by another user. Refresh it and edit again.")));
        return found->second;
    }

private:
    using Lines = std::map<std::pair<bool, int>, Row>;

    [[nodiscard]] std::expected<const Lines*, Error> of_receipt(const QString& receipt)
    {
        if (const auto known = m_receipts.find(receipt); known != m_receipts.end())
            return &known->second;
        auto rows = m_db.select_for_update(
            QStringLiteral("SELECT t.landed_item, t.itemno, t.fully_billed, t.quantity_open_for_bill, t.quantity_received,"
                           " t.unitcost, t.extended_cost, t.price_include_tax, t.tax_amount, t.tax_allocate, ")
                + tax_element_columns(QStringLiteral("t"))
                + QStringLiteral(", h.exchange_rate AS receipt_rate, h.void AS receipt_void FROM"
                                 " PO_receipt_transaction_table t INNER JOIN PO_receipt_header_table h ON h.fkey = t.fkey"
                                 " WHERE t.company = 1 AND t.docno = ? ORDER BY t.landed_item, t.itemno"),
            {receipt});
        if (!rows)
            return std::unexpected(rows.error());
        Lines& lines = m_receipts[receipt];
        for (Row& row : *rows)
            lines.emplace(std::pair{row.flag(u"landed_item"), int(row.integer(u"itemno"))}, std::move(row));
        return &lines;
    }

    Database& m_db;
    std::map<QString, Lines> m_receipts;
};

/// Fills what a receipt line received and posted from its locked row; refuses a receipt voided,
/// a line fully billed, or one whose open quantity moved since the line was taken.
[[nodiscard]] std::expected<void, Error> take_received(LockedReceiptLines& receipts, const EnteredBillLine& entered,
                                                     BillLine& line)
{
    auto locked = receipts.line(entered);
    if (!locked)
        return std::unexpected(locked.error());
    const Row& row = *locked;
    if (row.flag(u"receipt_void"))
        return std::unexpected(refused(QStringLiteral("Receipt was void.")));
    if (row.flag(u"fully_billed"))
        return std::unexpected(refused(QStringLiteral("Receipt was fully billed.")));
    if (row.decimal(u"quantity_open_for_bill") != entered.rc_quantity_open)
        return std::unexpected(refused(entered.receipt_no + QStringLiteral(" was changed by another user. Refresh it and edit again.")));
    line.receipt_no = entered.receipt_no;
    line.receipt_itemno = entered.receipt_itemno;
    line.landed_item = entered.landed_item;
    line.receipt_landed_itemno = entered.receipt_landed_itemno;
    line.rc_quantity_open = row.decimal(u"quantity_open_for_bill");
    line.quantity_received = row.decimal(u"quantity_received");
    line.unit_cost_received = row.decimal(u"unitcost");
    line.amount_received = row.decimal(u"extended_cost");
    const Decimal extended = row.decimal(u"extended_cost").round2();
    const bool included = !entered.landed_item && row.flag(u"price_include_tax");
    const Decimal cost = (included ? extended - row.decimal(u"tax_amount") : extended) + row.decimal(u"tax_allocate");
    line.received = ReceivedPosting{cost, tax_elements_from_row(row, int(row.integer(u"itemno"))),
                                    row.is_null(u"receipt_rate") ? std::nullopt : std::optional(row.decimal(u"receipt_rate"))};
    return {};
}

} // namespace

std::expected<Bill, Error> written_bill(Database& db, const EnteredBill& entered, const DocumentNumber& number)
{
    Bill bill{written_header(entered.header, number), {}};
    LockedReceiptLines receipts(db);
    for (const EnteredBillLine& line : entered.lines) {
        BillLine written = written_line(line);
        auto taxes = tax_elements_to_save(entered.taxes, line.itemno, line.extended_cost);
        if (!taxes)
            return std::unexpected(taxes.error());
        written.taxes = std::move(*taxes);
        if (line.from_receipt() && !line.itemcode.isEmpty())
            if (auto received = take_received(receipts, line, written); !received)
                return std::unexpected(received.error());
        bill.lines.push_back(std::move(written));
    }
    return bill;
}

std::expected<PostedKeys, Error> post_with_correction(Database& db, const Bill& bill, const BillAccounts& accounts,
                                                      const CostCorrectionPlan& plan, const AuditStamp& stamp)
{
    auto posted = post_vendor_bill(db, bill, accounts, stamp.user, plan.elsewhere);
    if (!posted)
        return std::unexpected(posted.error());
    auto correction = write_cost_correction(db, bill, plan, posted->stock_changes, {stamp.user, stamp.computer_id});
    if (!correction)
        return std::unexpected(correction.error());
    return PostedKeys{posted->journal.fkey, *correction};
}

namespace {

[[nodiscard]] std::expected<void, Error> write_bill(Database& db, const Bill& bill, const EnteredBillAccounts& entered,
                                                    const CostCorrectionPlan& plan,
                                                    const std::optional<ExistingPrepayment>& prepayment, const AuditStamp& stamp)
{
    if (auto done = insert_bill_rows(db, bill, stamp); !done)
        return done;
    if (auto done = bill_receipts_and_orders(db, bill, Billing::ReceiptAndOrderLines); !done)
        return done;
    const BillAccounts accounts{entered.suspense, entered.discount, entered.vendor_payable, entered.paying,
                                prepayment ? prepayment->prepayment_accno : QString()};
    auto keys = post_with_correction(db, bill, accounts, plan, stamp);
    if (!keys)
        return std::unexpected(keys.error());
    auto payable = write_bill_payable(db, bill, keys->journal, entered.vendor_payable, prepayment, stamp);
    if (!payable)
        return std::unexpected(payable.error());
    return insert_bill_header(db, bill, {keys->journal, keys->inventory, payable->fkey, payable->docno}, stamp);
}

} // namespace

QStringList overbilling_questions(const EnteredBill& bill)
{
    QStringList questions;
    for (const EnteredBillLine& line : bill.lines) {
        const Decimal quantity = line.quantity.value_or(Decimal());
        if (line.itemcode.isEmpty() || !line.from_receipt() || line.landed_item || quantity <= line.rc_quantity_open)
            continue;
        questions.append(line.itemcode + QStringLiteral(": billed quantity (") + quantity.to_string()
                         + QStringLiteral(") > received quantity (") + line.rc_quantity_open.to_string()
                         + QStringLiteral("). Press OK to confirm"));
    }
    return questions;
}

static std::expected<DocumentNumber, Error> save_new_bill_once(Database& db, const CheckedBill& checked, const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    // What the bill takes from, then stock, then the vendor, before the counters: the order
    // every save takes its locks in.
    BillSources sources;
    for (const EnteredBillLine& line : checked.bill.lines)
        sources.add(line);
    if (auto locked = lock_bill_sources(db, sources); !locked)
        return std::unexpected(locked.error());
    auto bill = written_bill(db, checked.bill, DocumentNumber{});
    if (!bill)
        return std::unexpected(bill.error());
    auto plan = plan_cost_correction(db, *bill, checked.accounts.variance);
    if (!plan)
        return std::unexpected(plan.error());
    if (auto vendor = lock_vendor_row(db, bill->header.vendor_no); !vendor)
        return std::unexpected(vendor.error());
    auto prepayment = lock_bill_prepayment(db, *bill, stamp);
    if (!prepayment)
        return std::unexpected(prepayment.error());
    // The bill number counter is held from here to the commit: two saves of one vendor's bill
    // number meet here, and the second sees the first's bill (read in the same round trip, once
    // the counter is held).
    const QString& invoice_no = checked.bill.header.invoice_no;
    auto issued = issue_document_number_with(db, QStringLiteral("vi"), checked.bill.header.fyear,
                                             {invoice_number_read(invoice_no)});
    if (!issued)
        return std::unexpected(issued.error());
    if (invoice_number_found(issued->answers.front()))
        return std::unexpected(refused(QStringLiteral("Vendor invoice no ") + invoice_no + QStringLiteral(" exist")));
    bill->header.docno = issued->number.docno;
    bill->header.fkey = issued->number.fkey;
    if (auto written = write_bill(db, *bill, checked.accounts, *plan, *prepayment, stamp); !written)
        return std::unexpected(written.error());
    if (auto committed = tx.commit(); !committed)
        return std::unexpected(committed.error());
    return issued->number;
}

std::expected<DocumentNumber, Error> save_new_bill(Database& db, const CheckedBill& checked, const AuditStamp& stamp)
{
    return with_retries(db, u"new bill", [&] { return save_new_bill_once(db, checked, stamp); });
}

} // namespace zelkor
