// A landed bill's save, edit and void. Locks come in one order for every path: the covered
// receipts, then the stock rows the allocation touches, then number counters and the journal.
#include "documents/landed/landed_posting.h"

#include "core/db/save_retries.h"
#include "core/db/sql_batch.h"
#include "documents/bill/bill_payable.h"
#include "documents/bill/bill_verify.h"
#include "documents/bill/bill_void.h"
#include "documents/landed/landed_allocation.h"
#include "documents/receipt/receipt_posting.h"
#include "ledger/ledger_posting.h"
#include "stock/cost_raise.h"
#include "stock/stock_reversal.h"
#include "stock/stock_settings.h"
#include "stock/stock_types.h"

#include <map>

namespace zelkor {
namespace {

Error refused(const QString& message) { return Error::invalid(message); }

/// The allocation decided under lock before anything is written.
struct Allocation {
    std::vector<CoveredReceipt> receipts{};
    std::vector<BasisLine> basis{};
    LandedShares shares{};
    std::vector<size_t> raised{}; ///< the basis line of each cost raise
    CostRaisePlan plan{};
};

Decimal capitalised_total(const Bill& bill)
{
    Decimal total;
    for (const BillLine& line : bill.lines)
        if (line.written() && !line.expense)
            total += landed_charge_cost(line);
    return total.round2();
}

[[nodiscard]] std::expected<Allocation, Error> plan_allocation(Database& db, const LandedBill& landed)
{
    Allocation allocation;
    auto receipts = lock_covered_receipts(db, landed.receipts, landed.bill.header.primary_vendor);
    if (!receipts)
        return std::unexpected(receipts.error());
    allocation.receipts = std::move(*receipts);
    if (allocation.receipts.empty())
        return allocation;
    auto basis = read_allocation_basis(db, allocation.receipts);
    if (!basis)
        return std::unexpected(basis.error());
    allocation.basis = std::move(*basis);
    auto shares = landed_shares(capitalised_total(landed.bill), landed.bill.header.exchange_rate, allocation.basis);
    if (!shares)
        return std::unexpected(shares.error());
    allocation.shares = std::move(*shares);
    std::vector<CostRaise> raises;
    for (size_t index = 0; index < allocation.basis.size(); ++index) {
        const BasisLine& line = allocation.basis[index];
        if (line.itemtype != u"1")
            continue;
        raises.push_back({line.receipt_no, line.itemno, line.itemcode, line.warehouse, line.location,
                          line.quantity_received, allocation.shares.base_amounts[index]});
        allocation.raised.push_back(index);
    }
    auto plan = plan_cost_raise(db, raises);
    if (!plan)
        return std::unexpected(plan.error());
    allocation.plan = std::move(*plan);
    return allocation;
}

/// Locks the stock rows an edit of a landed bill moves, in one pass in key order: those of its
/// stored cost raise (inventory document `inventory_key`) and those of the goods of the
/// `receipts` it covers now. The reversal and the new plan then find them held.
[[nodiscard]] std::expected<void, Error> lock_landed_stock(Database& db, const QString& inventory_key, const QStringList& receipts)
{
    QString sql = QStringLiteral("SELECT itemcode, warehouse FROM IN_transaction_table WHERE fkey = ?");
    Params params{inventory_key};
    if (!receipts.isEmpty()) {
        sql += QStringLiteral(" UNION SELECT l.itemcode, l.warehouse FROM PO_receipt_transaction_table l INNER JOIN"
                              " PO_receipt_header_table h ON h.fkey = l.fkey WHERE h.company = 1 AND l.itemtype = '1'"
                              " AND h.docno IN (")
            + placeholder_list(receipts.size()) + u')';
        params.insert(params.end(), receipts.begin(), receipts.end());
    }
    auto rows = db.select(sql, params);
    if (!rows)
        return std::unexpected(rows.error());
    std::set<ItemWarehouse> keys;
    for (const Row& row : *rows)
        if (!row.text(u"itemcode").isEmpty() && !row.text(u"warehouse").isEmpty())
            keys.insert({row.text(u"itemcode"), row.text(u"warehouse")});
    if (auto locked = lock_warehouse_settings(db, keys); !locked)
        return std::unexpected(locked.error());
    return {};
}

/// The variance account of each item: its own, else the purchase variance account.
[[nodiscard]] std::expected<std::map<QString, QString>, Error> variance_accounts(Database& db, const QStringList& items,
                                                                                 const QString& fallback)
{
    std::map<QString, QString> accounts;
    if (items.isEmpty())
        return accounts;
    auto rows = db.select(QStringLiteral("SELECT itemcode, vari_accno FROM Item_master_table WHERE itemcode IN (")
                              + placeholder_list(items.size()) + u')',
                          Params(items.begin(), items.end()));
    if (!rows)
        return std::unexpected(rows.error());
    for (const QString& item : items)
        accounts[item] = fallback;
    for (const Row& row : *rows)
        if (!row.text(u"vari_accno").isEmpty())
            accounts[row.text(u"itemcode")] = row.text(u"vari_accno");
    return accounts;
}

/// The debits of the bill: shares to the goods lines' accounts (or variance), charges expensed
/// to their own accounts, and every charge's recoverable and expensed tax.
[[nodiscard]] std::expected<std::vector<EntryContribution>, Error> debits(Database& db, const LandedBill& landed,
                                                                          const Allocation& allocation,
                                                                          const QString& variance)
{
    const BillHeader& header = landed.bill.header;
    const bool expense_all = allocation.receipts.empty();
    ReceiptJournal journal;
    journal.currency = header.currency;
    journal.exchange_rate = header.exchange_rate;
    std::vector<PostedLandedLine> charges;
    for (const BillLine& line : landed.bill.lines)
        if (line.written())
            charges.push_back({line.itemno, line.itemcode, line.accno,
                               expense_all || line.expense ? landed_charge_cost(line) : Decimal(),
                               line.taxes.value_or(TaxElements{}), {}});
    auto posted = landed_contributions(db, journal, charges);
    if (!posted)
        return std::unexpected(posted.error());
    std::vector<EntryContribution> contributions;
    for (const PostingContribution& contribution : *posted)
        contributions.push_back({contribution.account, contribution.amount, contribution.base_amount});

    QStringList variance_items;
    for (size_t raise = 0; raise < allocation.raised.size(); ++raise)
        if (allocation.plan.targets[raise] == RaiseTarget::Variance)
            variance_items << allocation.basis[allocation.raised[raise]].itemcode;
    variance_items.removeDuplicates();
    auto item_variance = variance_accounts(db, variance_items, variance);
    if (!item_variance)
        return std::unexpected(item_variance.error());
    std::vector<QString> accounts;
    for (const BasisLine& line : allocation.basis)
        accounts.push_back(line.accno);
    for (size_t raise = 0; raise < allocation.raised.size(); ++raise)
        if (allocation.plan.targets[raise] == RaiseTarget::Variance) {
            const size_t index = allocation.raised[raise];
            accounts[index] = item_variance->at(allocation.basis[index].itemcode);
        }
    std::map<QString, std::pair<Decimal, Decimal>> shares;
    for (size_t index = 0; index < allocation.basis.size(); ++index) {
        const Decimal& amount = allocation.shares.amounts[index];
        const Decimal& base = allocation.shares.base_amounts[index];
        if (amount.is_zero() && base.is_zero())
            continue;
        if (accounts[index].isEmpty())
            return std::unexpected(refused(QStringLiteral("please specify account")));
        shares[accounts[index]].first += amount;
        shares[accounts[index]].second += base;
    }
    for (const auto& [account, share] : shares)
        contributions.push_back({account, share.first, share.second});
    return contributions;
}

/// Posts the entry: the debits, the bill's total credited to the payable side (the sum of the
/// debits in both currencies, so the entry balances to the cent), and the settlement.
[[nodiscard]] std::expected<DocumentNumber, Error> post_landed_entry(Database& db, const LandedBill& landed,
                                                                     std::vector<EntryContribution> contributions,
                                                                     BillAccounts accounts,
                                                                     const QString& existing_prepayment_account,
                                                                     const QString& user)
{
    const BillHeader& header = landed.bill.header;
    accounts.prepayment = existing_prepayment_account;
    const Settlement settlement = settlement_of(landed.bill);
    auto payable_account = payable_side(settlement, accounts);
    if (!payable_account)
        return std::unexpected(payable_account.error());
    EntryContribution credit{*payable_account, {}, {}};
    for (const EntryContribution& debit : contributions) {
        credit.amount -= debit.amount;
        credit.base_amount -= debit.base_amount;
    }
    contributions.push_back(credit);
    if (auto settled = add_settlement(contributions, settlement, accounts, *payable_account); !settled)
        return std::unexpected(settled.error());
    auto entry = signed_entry(db, contributions, header.currency);
    if (!entry)
        return std::unexpected(entry.error());
    const JournalDocument document = bill_journal(header, QStringLiteral("PO-LANDED"), LandedSourceForm, user);
    return post_entry(db, document, entry->entry, &entry->ahead);
}

[[nodiscard]] std::expected<QString, Error> raise_cost(Database& db, const LandedBill& landed, const Allocation& allocation,
                                                       const AuditStamp& stamp)
{
    const BillHeader& header = landed.bill.header;
    InventoryHeader inventory{.doctype = QStringLiteral("ij"),
                              .date = header.invoice_date,
                              .period = header.period,
                              .description = QStringLiteral("Landed cost of bill ") + header.docno,
                              .currency = header.currency,
                              .exchange_rate = header.exchange_rate,
                              .rate_date = header.rate_date,
                              .source = landed_source(),
                              .source_form = LandedSourceForm,
                              .source_docno = header.docno,
                              .stamp = {stamp.user, stamp.computer_id}};
    auto written = write_cost_raise(db, {header.docno, landed_source(), header.invoice_date}, inventory,
                                    allocation.plan);
    if (!written)
        return std::unexpected(written.error());
    return *written ? (*written)->fkey : QString();
}

[[nodiscard]] std::expected<void, Error> rewrite_receipt_list(Database& db, const QString& docno,
                                                              const std::vector<CoveredReceipt>& receipts)
{
    if (auto done = db.write(QStringLiteral("DELETE FROM PO_landed_multi_receipt_table WHERE docno = ?"), {docno}); !done)
        return done;
    InsertBatch rows(QStringLiteral("PO_landed_multi_receipt_table"), {QStringLiteral("company"), QStringLiteral("docno"),
                                                                       QStringLiteral("receipt_no")});
    for (const CoveredReceipt& receipt : receipts)
        rows.add({1, docno, receipt.docno});
    return rows.execute(db);
}

/// The accounts of the goods of the bill's covered receipts, by item and warehouse.
[[nodiscard]] std::expected<std::map<ItemWarehouse, QString>, Error> goods_accounts(Database& db, const QString& docno)
{
    auto rows = db.select(QStringLiteral("SELECT r.itemcode, r.warehouse, r.accno FROM PO_receipt_transaction_table r"
                                         " INNER JOIN PO_landed_multi_receipt_table m ON m.receipt_no = r.docno"
                                         " WHERE m.docno = ? AND r.company = 1 AND r.landed_item = FALSE"
                                         " ORDER BY r.docno, r.itemno"),
                          {docno});
    if (!rows)
        return std::unexpected(rows.error());
    std::map<ItemWarehouse, QString> accounts;
    for (const Row& row : *rows)
        accounts.try_emplace({row.text(u"itemcode"), row.text(u"warehouse")}, row.text(u"accno"));
    return accounts;
}

/// What each item and warehouse's share could not take back, from the reversed document's lines
/// (a line's stock value plus its reversal line's).
[[nodiscard]] std::expected<std::map<ItemWarehouse, Decimal>, Error> value_left(Database& db, const QString& inventory_key)
{
    auto rows = db.select(QStringLiteral("SELECT itemcode, warehouse, stock_value FROM IN_transaction_table WHERE fkey = ?"),
                          {inventory_key});
    if (!rows)
        return std::unexpected(rows.error());
    std::map<ItemWarehouse, Decimal> left;
    for (const Row& row : *rows)
        left[{row.text(u"itemcode"), row.text(u"warehouse")}] += row.decimal(u"stock_value");
    return left;
}

/// Reverses the bill's cost raise. The part of a share that left with stock issued since stays
/// in cost of sales; a correction entry takes it back from the goods' account into variance,
/// so that the journal reversal stays the exact negative of the entry.
[[nodiscard]] std::expected<void, Error> reverse_cost_raise(Database& db, const Row& header, const QString& variance,
                                                            const FiscalPeriod& period, const AuditStamp& stamp)
{
    const QString inventory_key = header.text(u"icfkey");
    if (inventory_key.isEmpty())
        return {};
    auto reversed = reverse_document_stock(db, inventory_key, {stamp.user, stamp.computer_id});
    if (!reversed)
        return std::unexpected(reversed.error());
    if (reversed->value_not_taken_back.is_zero())
        return {};
    const QString number = header.text(u"docno");
    auto left = value_left(db, inventory_key);
    if (!left)
        return std::unexpected(left.error());
    auto accounts = goods_accounts(db, number);
    if (!accounts)
        return std::unexpected(accounts.error());
    QStringList items;
    for (const auto& [key, value] : *left)
        items << key.itemcode;
    items.removeDuplicates();
    auto item_variance = variance_accounts(db, items, variance);
    if (!item_variance)
        return std::unexpected(item_variance.error());
    std::vector<EntryContribution> contributions;
    for (const auto& [key, value] : *left) {
        if (value.is_zero())
            continue;
        const auto account = accounts->find(key);
        if (account == accounts->end() || account->second.isEmpty())
            return std::unexpected(refused(QStringLiteral("please specify account")));
        contributions.push_back({account->second, value, value});
        contributions.push_back({item_variance->at(key.itemcode), -value, -value});
    }
    auto entry = signed_entry(db, contributions, {});
    if (!entry)
        return std::unexpected(entry.error());
    const JournalDocument document{.description = QStringLiteral("Landed cost of stock issued since bill ") + number,
                                   .remark = QStringLiteral("Invoice no. ") + header.text(u"invoice_no"),
                                   .source = landed_source(),
                                   .source_form = LandedSourceForm,
                                   .source_docno = number,
                                   .date = header.date(u"invoice_date"),
                                   .currency = {},
                                   .exchange_rate = std::nullopt,
                                   .vendor_no = header.text(u"vendor_no"),
                                   .user = stamp.user,
                                   .company = 1,
                                   .period = period};
    auto posted = post_entry(db, document, entry->entry, &entry->ahead);
    if (!posted)
        return std::unexpected(posted.error());
    return {};
}

Error invoice_no_exists(const QString& invoice_no)
{
    return refused(QStringLiteral("Vendor invoice no ") + invoice_no + QStringLiteral(" exist"));
}

[[nodiscard]] std::expected<void, Error> refuse_taken_invoice_no(Database& db, const QString& invoice_no,
                                                                 const QString& except_key)
{
    auto taken = invoice_number_taken(db, invoice_no, except_key);
    if (!taken)
        return std::unexpected(taken.error());
    if (*taken)
        return std::unexpected(invoice_no_exists(invoice_no));
    return {};
}

FiscalPeriod period_of(const Row& header) { return {header.text(u"fyear"), int(header.integer(u"period"))}; }

[[nodiscard]] std::expected<QString, Error> existing_prepayment_account(Database& db, const QString& number)
{
    if (number.isEmpty())
        return QString();
    auto account = db.scalar(QStringLiteral("SELECT prepayment_accno FROM Payment_header_table WHERE company = 1 AND docno = ?"),
                             {number});
    if (!account)
        return std::unexpected(account.error());
    return Row::to_text(*account);
}

[[nodiscard]] std::expected<void, Error> update_header(Database& db, const Bill& bill, const BillKeys& keys,
                                                       const AuditStamp& stamp)
{
    const BillHeader& header = bill.header;
    const BillTotals totals = bill_totals(bill);
    const QString payby = header.payby.trimmed().isEmpty() ? PayLater : header.payby;
    return db.write(QStringLiteral("UPDATE PO_invoice_header_table SET exchange_rate = ?, rate_date = ?, invoice_no = ?,"
                                   " receipt_no = ?, multi_receipt = ?, remark = ?, payby = ?, cash_accno = ?, bank_code = ?,"
                                   " check_no = ?, check_date = ?, discount_percent = ?, discount_amount = ?, subtotal = ?,"
                                   " excluded_tax = ?, total = ?, net_amount = ?, payment_term = ?, due_date = ?,"
                                   " date_lastmodified = ?, time_lastmodified = ?, user_updated = ?, GLFKEY = ?, icfkey = ?,"
                                   " ap_docno = ?, row_version = row_version + 1 WHERE fkey = ?"),
                    {header.exchange_rate, header.exchange_rate ? header.rate_date : QDate(), header.invoice_no,
                     header.receipt_no.isEmpty() ? SqlValue(std::nullopt) : SqlValue(header.receipt_no), header.multi_receipt,
                     header.remark, payby, payby == PayByCash ? SqlValue(header.cash_accno) : SqlValue(std::nullopt),
                     payby == PayByCheck ? SqlValue(header.bank_code) : SqlValue(std::nullopt),
                     payby == PayByCheck ? SqlValue(header.check_no) : SqlValue(std::nullopt),
                     payby == PayByCheck ? header.check_date : QDate(), header.discount_percent, totals.discount,
                     totals.subtotal, totals.excluded_tax, totals.total, totals.net_amount, header.payment_term,
                     header.due_date, stamp.today, stamp.time, stamp.user, keys.journal,
                     nullable(keys.inventory), nullable(keys.payable_number), header.fkey});
}

} // namespace

Decimal landed_charge_cost(const BillLine& line)
{
    return (line.tax_included() ? line.extended_cost - line.tax_amount : line.extended_cost) + line.tax_allocate;
}

static std::expected<DocumentNumber, Error> save_new_landed_bill_once(Database& db, LandedBill landed, const LandedAccounts& accounts,
                                                          const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto allocation = plan_allocation(db, landed);
    if (!allocation)
        return std::unexpected(allocation.error());
    BillHeader& header = landed.bill.header;
    if (auto vendor = lock_vendor_row(db, header.vendor_no); !vendor)
        return std::unexpected(vendor.error());
    auto prepayment = lock_bill_prepayment(db, landed.bill, stamp);
    if (!prepayment)
        return std::unexpected(prepayment.error());
    // The vendor's bill number is looked up once the counter holds off every other new landed bill.
    auto issued = issue_document_number_with(db, QStringLiteral("ld"), header.period.fiscal_year,
                                             {invoice_number_read(header.invoice_no)});
    if (!issued)
        return std::unexpected(issued.error());
    if (invoice_number_found(issued->answers.front()))
        return std::unexpected(invoice_no_exists(header.invoice_no));
    const DocumentNumber& number = issued->number;
    header.docno = number.docno;
    header.fkey = number.fkey;
    if (auto rows = insert_bill_rows(db, landed.bill, stamp); !rows)
        return std::unexpected(rows.error());
    auto contributions = debits(db, landed, *allocation, accounts.variance);
    if (!contributions)
        return std::unexpected(contributions.error());
    auto journal = post_landed_entry(db, landed, std::move(*contributions), accounts.bill,
                                     *prepayment ? (*prepayment)->prepayment_accno : QString(), stamp.user);
    if (!journal)
        return std::unexpected(journal.error());
    auto payable = write_bill_payable(db, landed.bill, journal->fkey, accounts.bill.vendor_payable, *prepayment, stamp);
    if (!payable)
        return std::unexpected(payable.error());
    auto inventory = raise_cost(db, landed, *allocation, stamp);
    if (!inventory)
        return std::unexpected(inventory.error());
    if (auto listed = rewrite_receipt_list(db, header.docno, allocation->receipts); !listed)
        return std::unexpected(listed.error());
    if (auto written = insert_bill_header(db, landed.bill, {journal->fkey, *inventory, payable->fkey, payable->docno}, stamp);
        !written)
        return std::unexpected(written.error());
    if (auto committed = tx.commit(); !committed)
        return std::unexpected(committed.error());
    return number;
}

std::expected<DocumentNumber, Error> save_new_landed_bill(Database& db, LandedBill landed, const LandedAccounts& accounts,
                                                          const AuditStamp& stamp)
{
    return with_retries(db, u"new landed bill", [&] { return save_new_landed_bill_once(db, landed, accounts, stamp); });
}

static std::expected<void, Error> update_landed_bill_once(Database& db, const DocumentVersion& shown, LandedBill landed,
                                              const LandedAccounts& accounts, const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    // The receipts the edited bill covers are locked with the stored bill's sources, and the
    // stock both move before the cost raise is taken back.
    BillSources covered;
    covered.receipts.insert(landed.receipts.begin(), landed.receipts.end());
    auto locked = lock_unpaid_bill(db, shown, BillUndo::Edit, std::move(covered));
    if (!locked)
        return std::unexpected(locked.error());
    const Row& stored = *locked;
    if (auto held = lock_landed_stock(db, stored.text(u"icfkey"), landed.receipts); !held)
        return held;
    const FiscalPeriod period = period_of(stored);
    BillHeader& header = landed.bill.header;
    header.docno = shown.number;
    header.fkey = shown.key;
    if (auto free = refuse_taken_invoice_no(db, header.invoice_no, shown.key); !free)
        return std::unexpected(free.error());
    const Reversal reversal{.description = QStringLiteral("edit invoice ") + shown.number,
                            .reversed_description = QStringLiteral("Edit invoice ") + shown.number,
                            .source = landed_source(),
                            .source_form = LandedSourceForm,
                            .source_docno = shown.number,
                            .date = stored.date(u"invoice_date"),
                            .user = stamp.user,
                            .period = period};
    // The vendor and prepayments before the numbers of the cost raise's reversal and of the entry's.
    if (auto payables = lock_bill_payables(db, stored); !payables)
        return payables;
    if (auto undone = reverse_cost_raise(db, stored, accounts.variance, period, stamp); !undone)
        return undone;
    if (auto reversed = reverse_entry(db, stored.text(u"GLFKEY"), reversal); !reversed)
        return std::unexpected(reversed.error());
    auto allocation = plan_allocation(db, landed);
    if (!allocation)
        return std::unexpected(allocation.error());
    if (auto done = db.write(QStringLiteral("DELETE FROM PO_invoice_transaction_table WHERE fkey = ?"), {shown.key}); !done)
        return done;
    if (auto rows = insert_bill_rows(db, landed.bill, stamp); !rows)
        return std::unexpected(rows.error());
    auto prepayment_account = existing_prepayment_account(db, header.prepayment_no);
    if (!prepayment_account)
        return std::unexpected(prepayment_account.error());
    auto contributions = debits(db, landed, *allocation, accounts.variance);
    if (!contributions)
        return std::unexpected(contributions.error());
    auto journal = post_landed_entry(db, landed, std::move(*contributions), accounts.bill, *prepayment_account, stamp.user);
    if (!journal)
        return std::unexpected(journal.error());
    const PayableBill payable = payable_of(landed.bill, journal->fkey, stamp);
    auto plan = start_payable(db, payable);
    if (!plan)
        return std::unexpected(plan.error());
    auto change = rewrite_payable(db, stored.text(u"apfkey"), payable, *plan, accounts.bill.vendor_payable);
    if (!change)
        return std::unexpected(change.error());
    if (auto raised = raise_owing_balance(db, header.vendor_no, *change); !raised)
        return raised;
    auto inventory = raise_cost(db, landed, *allocation, stamp);
    if (!inventory)
        return std::unexpected(inventory.error());
    if (auto listed = rewrite_receipt_list(db, shown.number, allocation->receipts); !listed)
        return listed;
    auto payable_number = stored_payable_number(db, stored);
    if (!payable_number)
        return std::unexpected(payable_number.error());
    if (auto updated = update_header(db, landed.bill, {journal->fkey, *inventory, {}, *payable_number}, stamp); !updated)
        return updated;
    return tx.commit();
}

std::expected<void, Error> update_landed_bill(Database& db, const DocumentVersion& shown, LandedBill landed,
                                              const LandedAccounts& accounts, const AuditStamp& stamp)
{
    return with_retries(db, u"landed bill edit", [&] { return update_landed_bill_once(db, shown, landed, accounts, stamp); });
}

static std::expected<void, Error> void_landed_bill_once(Database& db, const DocumentVersion& shown, const QString& variance,
                                            const AuditStamp& stamp)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto locked = lock_unpaid_bill(db, shown, BillUndo::Void);
    if (!locked)
        return std::unexpected(locked.error());
    const Row& header = *locked;
    const FiscalPeriod period = period_of(header);
    // The cost raise's stock, then the vendor and prepayments, before its reversal's number.
    if (auto held = lock_landed_stock(db, header.text(u"icfkey"), {}); !held)
        return held;
    if (auto payables = lock_bill_payables(db, header); !payables)
        return payables;
    if (auto undone = reverse_cost_raise(db, header, variance, period, stamp); !undone)
        return undone;
    const BillVoid order{.bill_key = shown.key,
                         .date = header.date(u"invoice_date"),
                         .period = period,
                         .stamp = stamp,
                         .stock_reversed = true};
    if (auto voided = void_bill(db, order); !voided)
        return voided;
    return tx.commit();
}

std::expected<void, Error> void_landed_bill(Database& db, const DocumentVersion& shown, const QString& variance,
                                            const AuditStamp& stamp)
{
    return with_retries(db, u"landed bill void", [&] { return void_landed_bill_once(db, shown, variance, stamp); });
}

} // namespace zelkor
