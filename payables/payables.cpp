#include "payables/payables.h"

#include "core/db/sql_batch.h"
#include "core/db/sql_names.h"
#include "core/master_lookups.h"

#include <algorithm>

namespace zelkor {
namespace {

Error refused(const QString& message) { return Error::invalid(message); }

[[nodiscard]] std::expected<std::optional<PaymentTerm>, Error> read_term(Database& db, const QString& code)
{
    if (code.isEmpty())
        return std::optional<PaymentTerm>();
    auto row = db.first(QStringLiteral("SELECT term_no, duedays, early_days, early_discount FROM Payment_term_table"
                                       " WHERE term_no = ?"),
                        {code});
    if (!row)
        return std::unexpected(row.error());
    if (!*row)
        return std::unexpected(refused(QStringLiteral("payment term is invalid.")));
    return PaymentTerm{(*row)->text(u"term_no"), int((*row)->integer(u"duedays")), int((*row)->integer(u"early_days")),
                       (*row)->decimal(u"early_discount")};
}

/// A typed amount: nothing when empty, an error when it is not a number.
[[nodiscard]] std::expected<Decimal, Error> typed_amount(const QString& text, const QString& invalid)
{
    if (text.trimmed().isEmpty())
        return Decimal();
    const auto value = parse_amount(text.trimmed());
    if (!value || value->is_overflow())
        return std::unexpected(refused(invalid));
    return *value;
}

/// Adds a line's elements into the payable line's, slot by slot.
void add_elements(TaxElements& sums, const TaxElements& line)
{
    for (size_t slot = 0; slot < line.size(); ++slot) {
        if (slot >= sums.size()) {
            TaxElement first = line[slot];
            first.itemno = 0;
            sums.push_back(first);
            continue;
        }
        TaxElement& sum = sums[slot];
        sum.taxable_amount += line[slot].taxable_amount;
        sum.tax_amount += line[slot].tax_amount;
        sum.allocated += line[slot].allocated;
        sum.recoverable += line[slot].recoverable;
        sum.expensed += line[slot].expensed;
    }
}

/// Spreads `amount` over the lines above 0 in pay-item order, lowering their open amounts; gives
/// what each line took, or nothing when the lines cannot take it all.
std::optional<std::vector<Decimal>> spread(std::vector<PlannedPayableLine>& lines, Decimal amount)
{
    std::vector<Decimal> taken(lines.size());
    for (size_t index = 0; index < lines.size() && amount > Decimal(); ++index) {
        PlannedPayableLine& line = lines[index];
        if (!(line.open_amount > Decimal()))
            continue;
        taken[index] = std::min(line.open_amount, amount);
        line.open_amount -= taken[index];
        amount -= taken[index];
    }
    if (amount > Decimal())
        return std::nullopt;
    return taken;
}

/// The due and discount dates a term gives a bill date.
struct TermDates {
    QDate due_date;
    QDate discount_date;
};

TermDates term_dates(const std::optional<PaymentTerm>& term, const QDate& invoice_date, const QDate& typed_due_date)
{
    TermDates dates;
    if (!term)
        return dates;
    if (term->term_no != u"00")
        dates.due_date = typed_due_date.isValid() ? typed_due_date : invoice_date.addDays(term->duedays);
    if (term->early_days > 0)
        dates.discount_date = invoice_date.addDays(term->early_days);
    return dates;
}

/// The next free id of a payable line: one above every payable and receivable line, so that
/// the two never share one (the host's payments address both by id).
Statement line_ids_read()
{
    return {QStringLiteral("SELECT (SELECT MAX(id) FROM AP_transaction_table) AS payable,"
                           " (SELECT MAX(id) FROM AR_transaction_table) AS receivable")};
}

qint64 next_line_id_of(const Rows& rows)
{
    return rows.empty() ? 1 : std::max(rows.front().integer(u"payable"), rows.front().integer(u"receivable")) + 1;
}

[[nodiscard]] std::expected<qint64, Error> next_line_id(Database& db)
{
    auto rows = db.select_together({line_ids_read()});
    if (!rows)
        return std::unexpected(rows.error());
    return next_line_id_of(rows->front());
}

/// The header columns a payable line copies.
struct PayableHeader {
    QString docno;
    QString fkey;
    QString vendor_no;
    QString invoice_no;
    QDate invoice_date;
    QString currency;
    std::optional<Decimal> exchange_rate;
    QDate rate_date;
    std::optional<PaymentTerm> term;
    TermDates dates;
    QString source;
    QString source_docno;
    QString source_form;
    FiscalPeriod period;
};

/// The columns a payable's header and each of its lines carry alike.
void set_payable_columns(InsertRow& row, const PayableHeader& header)
{
    row.set(u"company", 1)
        .set(u"fkey", header.fkey)
        .set(u"doctype", "ip")
        .set(u"docno", header.docno)
        .set(u"vendor_no", header.vendor_no)
        .set(u"invoice_no", header.invoice_no)
        .set(u"invoice_date", header.invoice_date)
        .set(u"currency", header.currency)
        .set(u"exchange_rate", header.exchange_rate)
        .set(u"rate_date", header.exchange_rate ? header.rate_date : QDate())
        .set(u"payment_term", header.term ? SqlValue(header.term->term_no) : SqlValue(std::nullopt))
        .set(u"duedays", header.term ? header.term->duedays : 0)
        .set(u"early_days", header.term ? header.term->early_days : 0)
        .set(u"early_discount", header.term ? header.term->early_discount : Decimal())
        .set(u"due_date", header.dates.due_date)
        .set(u"discount_date", header.dates.discount_date)
        .set(u"period", header.period.period)
        .set(u"fyear", header.period.fiscal_year)
        .set(u"Source", header.source)
        .set(u"source_docno", header.source_docno)
        .set(u"source_form", header.source_form);
}

/// Inserts the plan's lines, numbered from `first_id` (next_line_id) on.
[[nodiscard]] std::expected<void, Error> insert_payable_lines(Database& db, const PayableHeader& header,
                                                              const PayablePlan& plan, const QString& ap_accno,
                                                              const AuditStamp& stamp, qint64 first_id)
{
    if (plan.lines.empty())
        return {};
    std::vector<InsertRow> rows;
    qint64 id = first_id;
    for (const PlannedPayableLine& line : plan.lines) {
        InsertRow row(QStringLiteral("AP_transaction_table"),
                      rows.empty() ? InsertRow::Columns::Named : InsertRow::Columns::AsFirstRow);
        row.set(u"id", id++).set(u"pay_item", line.pay_item);
        set_payable_columns(row, header);
        row.set(u"tax_code", nullable(line.tax_code))
            .set(u"gross_amount", line.gross_amount)
            .set(u"open_amount", line.open_amount)
            .set(u"taxable_amount", line.taxable_amount)
            .set(u"include_tax", line.include_tax)
            .set(u"discount_available", line.discount_available)
            .set(u"discount", line.discount)
            .set(u"paid_amount", line.paid_amount)
            .set(u"paid", line.paid)
            .set(u"ap_accno", ap_accno)
            .set(u"void", false)
            .set_created(stamp.created())
            .set(u"computer_id", stamp.computer_id);
        set_tax_columns(row, line.taxes, AllocatedColumn::Absent);
        rows.push_back(std::move(row));
    }
    if (auto done = insert_rows(db, rows); !done)
        return done;
    return db.advance_identity(QStringLiteral("AP_transaction_table"), id - 1);
}

/// The sum of the open amounts of a payable's live lines.
[[nodiscard]] std::expected<Decimal, Error> open_amount_of(Database& db, const QString& key)
{
    auto sum = db.scalar(QStringLiteral("SELECT SUM(open_amount) FROM AP_transaction_table WHERE fkey = ? AND void = FALSE"),
                         {key});
    if (!sum)
        return std::unexpected(sum.error());
    return Row::to_decimal(*sum);
}

QString card_message(const QString& card)
{
    return QStringLiteral("No Account Payable account for ") + card + u'.' + QChar(10)
        + QStringLiteral("Check its setting in Credit card master.");
}

/// The application of a prepayment to the payable `payable_docno`: its whole amount, nothing
/// left of it.
[[nodiscard]] std::expected<void, Error> write_prepayment_application(Database& db, const ExistingPrepayment& prepayment,
                                                                      const PayableBill& bill, const QString& payable_docno)
{
    const AuditStamp& stamp = bill.stamp;
    InsertRow application(QStringLiteral("Payment_transaction_table"));
    application.set(u"company", 1)
        .set(u"fkey", prepayment.fkey)
        .set(u"docno", prepayment.docno)
        .set(u"pay_item", 1)
        .set(u"ap_docno", payable_docno)
        .set(u"vendor_no", prepayment.vendor_no)
        .set(u"invoice_no", bill.invoice_no)
        .set(u"invoice_date", bill.invoice_date)
        .set(u"Payment_date", prepayment.payment_date)
        .set(u"currency", prepayment.currency)
        .set(u"pay_amount", -prepayment.amount)
        .set(u"gross_amount", -prepayment.amount)
        .set(u"open_amount", -prepayment.amount)
        .set(u"Balance", Decimal())
        .set(u"void", false)
        .set_created(stamp.created());
    return application.execute(db);
}

} // namespace

bool pays_at_once(const QString& payby) { return !payby.trimmed().isEmpty() && payby != PayLater; }

Decimal PayablePlan::open_amount() const
{
    Decimal open;
    for (const PlannedPayableLine& line : lines)
        open += line.open_amount;
    return open;
}

std::expected<PayablePlan, Error> start_payable(Database& db, const PayableBill& bill)
{
    PayablePlan plan;
    auto term = read_term(db, bill.payment_term);
    if (!term)
        return std::unexpected(term.error());
    plan.term = *term;
    auto discount = typed_amount(bill.discount, QStringLiteral("Term discount is invalid."));
    if (!discount)
        return std::unexpected(discount.error());
    if (discount->is_negative())
        return std::unexpected(refused(QStringLiteral("Term discount is invalid.")));
    plan.discount = discount->round2();
    auto prepayment = typed_amount(bill.prepayment, QStringLiteral("Prepayment is invalid."));
    if (!prepayment)
        return std::unexpected(prepayment.error());
    if (prepayment->is_negative())
        return std::unexpected(refused(QStringLiteral("Prepayment must be positive")));
    plan.prepayment = prepayment->round2();
    // Only a prepayment paid now needs to say how it is paid.
    if (plan.prepayment > Decimal() && bill.prepayment_no.trimmed().isEmpty() && !pays_at_once(bill.payby))
        return std::unexpected(refused(QStringLiteral("please specify Pay-by for Prepayment")));

    const Decimal early = plan.term ? plan.term->early_discount : Decimal();
    for (const PayableLine& source : bill.lines) {
        if (source.itemcode.isEmpty())
            continue;
        auto line = std::find_if(plan.lines.begin(), plan.lines.end(),
                                 [&](const PlannedPayableLine& planned) { return planned.tax_code == source.tax_code; });
        if (line == plan.lines.end()) {
            PlannedPayableLine added;
            added.pay_item = int(plan.lines.size()) + 1;
            added.tax_code = source.tax_code;
            added.include_tax = source.include_tax;
            line = plan.lines.insert(plan.lines.end(), added);
        }
        line->gross_amount += source.net_cost;
        line->taxable_amount += source.extended_cost;
        line->tax_amount += source.tax_amount;
        line->discount_available += (source.extended_cost * early / Decimal(100)).round2();
        if (source.extended_cost > Decimal()) {
            if (!source.taxes)
                return std::unexpected(refused(QStringLiteral("No tax array number for item ") + source.itemcode));
            add_elements(line->taxes, *source.taxes);
        }
        plan.total += source.net_cost;
    }
    for (PlannedPayableLine& line : plan.lines)
        line.open_amount = line.gross_amount;
    // Whatever is taken must be spread whole: the entry never posts more than the lines hold.
    if (plan.discount > plan.total)
        return std::unexpected(refused(QStringLiteral("Term discount is invalid.")));
    auto discounts = spread(plan.lines, plan.discount);
    if (!discounts)
        return std::unexpected(refused(QStringLiteral("Term discount is invalid.")));
    if (plan.prepayment > plan.total - plan.discount)
        return std::unexpected(refused(QStringLiteral("Prepayment is invalid.")));
    auto prepaid = spread(plan.lines, plan.prepayment);
    if (!prepaid)
        return std::unexpected(refused(QStringLiteral("Prepayment is invalid.")));
    const bool settled_whole = plan.prepayment.is_zero() && pays_at_once(bill.payby);
    for (size_t index = 0; index < plan.lines.size(); ++index) {
        PlannedPayableLine& line = plan.lines[index];
        line.discount = (*discounts)[index];
        if (settled_whole) {
            line.paid_amount = -line.open_amount;
            line.open_amount = Decimal();
            line.paid = true;
        } else {
            // A prepayment settles what it covers; the rest stays open.
            line.paid_amount = -(*prepaid)[index];
            line.paid = !(*prepaid)[index].is_zero() && line.open_amount.is_zero();
        }
    }
    return plan;
}

std::expected<CreatedPayable, Error> create_payable(Database& db, const PayableBill& bill, const PayablePlan& plan,
                                                    const QString& ap_accno)
{
    // The next line id is read once the payable counter holds off every other new payable.
    std::vector<Statement> reads;
    if (!plan.lines.empty())
        reads.push_back(line_ids_read());
    auto issued = issue_document_number_with(db, QStringLiteral("ip"), bill.period.fiscal_year, reads);
    if (!issued)
        return std::unexpected(issued.error());
    const DocumentNumber& number = issued->number;
    const PayableHeader header{number.docno,   number.fkey,       bill.vendor_no,  bill.invoice_no,
                               bill.invoice_date, bill.currency,   bill.exchange_rate, bill.rate_date,
                               plan.term,        term_dates(plan.term, bill.invoice_date, bill.due_date),
                               bill.source,      bill.source_docno, bill.source_form, bill.period};
    InsertRow row(QStringLiteral("AP_header_table"));
    set_payable_columns(row, header);
    row.set(u"remark", bill.remark)
        .set(u"GLFKEY", nullable(bill.journal_key))
        .set(u"void", false)
        .set_created(bill.stamp.created());
    if (auto done = row.execute(db); !done)
        return std::unexpected(done.error());
    const qint64 first_id = plan.lines.empty() ? 0 : next_line_id_of(issued->answers.front());
    if (auto done = insert_payable_lines(db, header, plan, ap_accno, bill.stamp, first_id); !done)
        return std::unexpected(done.error());
    return CreatedPayable{number, plan.open_amount()};
}

std::expected<Decimal, Error> rewrite_payable(Database& db, const QString& payable_key, const PayableBill& bill,
                                              const PayablePlan& plan, const QString& ap_accno)
{
    auto stored = db.first(QStringLiteral("SELECT * FROM AP_header_table WHERE fkey = ?"), {payable_key});
    if (!stored)
        return std::unexpected(stored.error());
    if (!*stored)
        return std::unexpected(Error::not_found(QStringLiteral("Invoice ") + bill.invoice_no
                                                + QStringLiteral(" not found in Account Payable")));
    const Row& header_row = **stored;
    auto old_open = open_amount_of(db, payable_key);
    if (!old_open)
        return std::unexpected(old_open.error());
    const QDate invoice_date = header_row.date(u"invoice_date");
    const TermDates dates = term_dates(plan.term, invoice_date, bill.due_date);
    UpdateRow update(QStringLiteral("AP_header_table"));
    update.set(u"payment_term", plan.term ? SqlValue(plan.term->term_no) : SqlValue(std::nullopt))
        .set(u"duedays", plan.term ? plan.term->duedays : 0)
        .set(u"early_days", plan.term ? plan.term->early_days : 0)
        .set(u"early_discount", plan.term ? plan.term->early_discount : Decimal())
        .set(u"due_date", dates.due_date)
        .set(u"discount_date", dates.discount_date)
        .set(u"date_lastmodified", bill.stamp.today)
        .set(u"time_lastmodified", bill.stamp.time)
        .set(u"user_updated", bill.stamp.user);
    if (auto done = update.where(QStringLiteral("fkey = ?"), {payable_key}).execute(db); !done)
        return std::unexpected(done.error());
    if (auto done = db.execute(QStringLiteral("DELETE FROM AP_transaction_table WHERE fkey = ?"), {payable_key}); !done)
        return std::unexpected(done.error());
    const PayableHeader header{header_row.text(u"docno"),       payable_key,
                               header_row.text(u"vendor_no"),   header_row.text(u"invoice_no"),
                               invoice_date,                    header_row.text(u"currency"),
                               header_row.decimal_or_null(u"exchange_rate"), header_row.date(u"rate_date"),
                               plan.term,                       dates,
                               header_row.text(u"Source"),      header_row.text(u"source_docno"),
                               header_row.text(u"source_form"), {header_row.text(u"fyear"), int(header_row.integer(u"period"))}};
    auto first_id = plan.lines.empty() ? std::expected<qint64, Error>(0) : next_line_id(db);
    if (!first_id)
        return std::unexpected(first_id.error());
    if (auto done = insert_payable_lines(db, header, plan, ap_accno, bill.stamp, *first_id); !done)
        return std::unexpected(done.error());
    return plan.open_amount() - *old_open;
}

std::expected<DocumentNumber, Error> create_prepayment_payment(Database& db, const PayableBill& bill,
                                                               const QString& payable_docno, const Decimal& amount)
{
    const QString payby = bill.payby.trimmed();
    if (payby.isEmpty())
        return std::unexpected(refused(QStringLiteral("please specify pay by")));
    QString paying;
    if (payby == PayByCash || payby == PayByCheck) {
        if (bill.bank_code.trimmed().isEmpty())
            return std::unexpected(refused(QStringLiteral("please specify bank account")));
        paying = bill.bank_code.trimmed();
    } else if (payby != PayLater) {
        auto card = db.first(QStringLiteral("SELECT payable_accno FROM Credit_card_master_table WHERE card_name = ?"),
                             {payby});
        if (!card)
            return std::unexpected(card.error());
        if (!*card || (*card)->text(u"payable_accno").trimmed().isEmpty())
            return std::unexpected(refused(card_message(payby)));
        paying = (*card)->text(u"payable_accno").trimmed();
    }
    if (payby == PayByCheck) {
        if (bill.check_no.trimmed().isEmpty())
            return std::unexpected(refused(QStringLiteral("please specify Check number")));
        if (!bill.check_date.isValid())
            return std::unexpected(refused(QStringLiteral("please specify Check date")));
    }
    auto number = issue_document_number(db, QStringLiteral("pp"), bill.period.fiscal_year);
    if (!number)
        return std::unexpected(number.error());
    const QDate payment_date = bill.payment_date.isValid() ? bill.payment_date : bill.invoice_date;
    const AuditStamp& stamp = bill.stamp;
    InsertRow header(QStringLiteral("Payment_header_table"));
    header.set(u"company", 1)
        .set(u"docno", number->docno)
        .set(u"fkey", number->fkey)
        .set(u"doctype", "pp")
        .set(u"vendor_no", bill.vendor_no)
        .set(u"Payment_date", payment_date)
        .set(u"currency", bill.currency)
        .set(u"exchange_rate", bill.exchange_rate)
        .set(u"rate_date", bill.exchange_rate ? bill.rate_date : QDate())
        .set(u"payby", payby)
        .set(u"bank_accno", nullable(paying))
        .set(u"check_no", payby == PayByCheck ? SqlValue(bill.check_no) : SqlValue(std::nullopt))
        .set(u"check_date", payby == PayByCheck ? bill.check_date : QDate())
        .set(u"po_no", nullable(bill.po_no))
        .set(u"remark", bill.remark)
        .set(u"payment_amount", amount)
        .set(u"period", bill.period.period)
        .set(u"fyear", bill.period.fiscal_year)
        .set(u"Source", bill.source)
        .set(u"source_form", bill.source_form)
        .set(u"source_docno", bill.source_docno)
        .set(u"prepayment_invoice_no", bill.invoice_no)
        .set(u"GLFKEY", nullable(bill.journal_key))
        // Applied to its own bill at once: no open item offers the money twice.
        .set(u"billed", true)
        .set(u"void", false)
        .set_created(stamp.created());
    if (auto done = header.execute(db); !done)
        return std::unexpected(done.error());
    auto id = next_line_id(db);
    if (!id)
        return std::unexpected(id.error());
    InsertRow payable(QStringLiteral("AP_transaction_table"));
    payable.set(u"id", *id)
        .set(u"company", 1)
        .set(u"fkey", number->fkey)
        .set(u"doctype", "pp")
        .set(u"docno", number->docno)
        .set(u"vendor_no", bill.vendor_no)
        .set(u"currency", bill.currency)
        .set(u"invoice_date", payment_date)
        .set(u"pay_item", 1)
        .set(u"gross_amount", -amount)
        .set(u"open_amount", Decimal())
        .set(u"paid", true)
        .set(u"Source", bill.source)
        .set(u"source_docno", bill.source_docno)
        .set(u"source_form", bill.source_form)
        .set(u"period", bill.period.period)
        .set(u"fyear", bill.period.fiscal_year)
        .set(u"void", false)
        .set_created(stamp.created())
        .set(u"computer_id", stamp.computer_id);
    if (auto done = payable.execute(db); !done)
        return std::unexpected(done.error());
    if (auto done = db.advance_identity(QStringLiteral("AP_transaction_table"), *id); !done)
        return std::unexpected(done.error());
    const ExistingPrepayment own{number->docno, number->fkey, bill.vendor_no, bill.currency, bill.po_no, {},
                                 payment_date, amount};
    if (auto done = write_prepayment_application(db, own, bill, payable_docno); !done)
        return std::unexpected(done.error());
    return *number;
}

std::expected<ExistingPrepayment, Error> lock_existing_prepayment(Database& db, const QString& number,
                                                                  const PayableBill& bill, const Decimal& amount)
{
    auto rows = db.select_for_update(QStringLiteral("SELECT docno, fkey, vendor_no, currency, po_no, prepayment_accno,"
                                                    " Payment_date, payment_amount, billed, void FROM Payment_header_table"
                                                    " WHERE company = 1 AND docno = ?"),
                                     {number});
    if (!rows)
        return std::unexpected(rows.error());
    if (rows->empty())
        return std::unexpected(Error::not_found(QStringLiteral("No prepayment no. ") + number));
    const Row& row = rows->front();
    const ExistingPrepayment prepayment{row.text(u"docno"),       row.text(u"fkey"),     row.text(u"vendor_no"),
                                        row.text(u"currency"),    row.text(u"po_no"),    row.text(u"prepayment_accno").trimmed(),
                                        row.date(u"Payment_date"), row.decimal(u"payment_amount")};
    if (row.flag(u"void") || row.flag(u"billed") || prepayment.vendor_no != bill.vendor_no
        || prepayment.currency != bill.currency || prepayment.amount != amount)
        return std::unexpected(refused(QStringLiteral("Prepayment is invalid.")));
    // What waits on it for its order goes when it is applied: held with it, before the counters.
    auto waiting = db.select_for_update(QStringLiteral("SELECT prepayment_no FROM Prepayment_waiting_PO_table WHERE prepayment_no = ?"),
                                        {number});
    if (!waiting)
        return std::unexpected(waiting.error());
    return prepayment;
}

std::expected<void, Error> apply_existing_prepayment(Database& db, const ExistingPrepayment& prepayment,
                                                     const PayableBill& bill, const QString& payable_docno)
{
    auto marked = db.execute(QStringLiteral("UPDATE Payment_header_table SET billed = TRUE WHERE fkey = ?"), {prepayment.fkey});
    if (!marked)
        return std::unexpected(marked.error());
    if (auto done = write_prepayment_application(db, prepayment, bill, payable_docno); !done)
        return done;
    auto deleted = db.execute(QStringLiteral("DELETE FROM Prepayment_waiting_PO_table WHERE prepayment_no = ?"),
                              {prepayment.docno});
    if (!deleted)
        return std::unexpected(deleted.error());
    return {};
}

std::expected<void, Error> restore_prepayment(Database& db, const QString& number)
{
    auto rows = db.select_for_update(QStringLiteral("SELECT fkey, payment_amount, po_no FROM Payment_header_table"
                                                    " WHERE company = 1 AND docno = ?"),
                                     {number});
    if (!rows)
        return std::unexpected(rows.error());
    if (rows->empty())
        return std::unexpected(Error::not_found(QStringLiteral("No prepayment no. ") + number));
    const Row& row = rows->front();
    const QString key = row.text(u"fkey");
    for (const auto& [sql, params] :
         {std::pair{QStringLiteral("UPDATE Payment_header_table SET billed = FALSE WHERE fkey = ?"), Params{key}},
          std::pair{QStringLiteral("DELETE FROM Payment_transaction_table WHERE fkey = ?"), Params{key}},
          std::pair{QStringLiteral("DELETE FROM Prepayment_waiting_PO_table WHERE prepayment_fkey = ?"), Params{key}}})
        if (auto done = db.execute(sql, params); !done)
            return std::unexpected(done.error());
    if (row.text(u"po_no").isEmpty())
        return {};
    InsertRow waiting(QStringLiteral("Prepayment_waiting_PO_table"));
    waiting.set(u"company", 1)
        .set(u"po_no", row.text(u"po_no"))
        .set(u"prepayment_no", number)
        .set(u"prepayment_fkey", key)
        .set(u"amount", row.decimal(u"payment_amount"));
    return waiting.execute(db);
}

std::expected<void, Error> lock_vendor_row(Database& db, const QString& vendor_no)
{
    auto locked = db.select_for_update(QStringLiteral("SELECT vendor_no FROM Vendor_table WHERE vendor_no = ?"), {vendor_no});
    if (!locked)
        return std::unexpected(locked.error());
    // A vendor removed since the window checked it: nothing to hold, nobody to owe.
    if (locked->empty())
        return std::unexpected(Error::not_found(QStringLiteral("vendor is invalid.")));
    return {};
}

std::expected<void, Error> raise_owing_balance(Database& db, const QString& vendor_no, const Decimal& change)
{
    return update_vendor_owing_balance(db, vendor_no, change);
}

std::expected<void, Error> raise_held_owing_balance(Database& db, const QString& vendor_no, const Decimal& change)
{
    return send_vendor_owing_balance(db, vendor_no, change);
}

std::expected<VoidedPayable, Error> void_payable(Database& db, const QString& payable_key, const QString& invoice_no,
                                                 const AuditStamp& stamp)
{
    auto stored = db.first(QStringLiteral("SELECT vendor_no, void FROM AP_header_table WHERE fkey = ?"), {payable_key});
    if (!stored)
        return std::unexpected(stored.error());
    if (!*stored)
        return std::unexpected(Error::not_found(QStringLiteral("Invoice ") + invoice_no
                                                + QStringLiteral(" not found in Account Payable")));
    VoidedPayable voided{(*stored)->text(u"vendor_no"), {}, (*stored)->flag(u"void")};
    if (voided.already_void)
        return voided;
    auto open = open_amount_of(db, payable_key);
    if (!open)
        return std::unexpected(open.error());
    voided.open_amount = *open;
    for (const char* table : {"AP_header_table", "AP_transaction_table"}) {
        auto done = db.execute(QStringLiteral("UPDATE %1 SET void = TRUE, date_lastmodified = ?, time_lastmodified = ?,"
                                              " user_updated = ? WHERE fkey = ?")
                                   .arg(QLatin1String(table)),
                               {stamp.today, stamp.time, stamp.user, payable_key});
        if (!done)
            return std::unexpected(done.error());
    }
    if (auto lowered = raise_owing_balance(db, voided.vendor_no, -voided.open_amount); !lowered)
        return std::unexpected(lowered.error());
    return voided;
}

std::expected<bool, Error> payable_paid(Database& db, const QString& payable_key)
{
    auto paid = db.scalar(QStringLiteral("SELECT COUNT(*) FROM AP_transaction_table WHERE fkey = ?"
                                         " AND (paid = TRUE OR paid_amount <> 0)"),
                          {payable_key});
    if (!paid)
        return std::unexpected(paid.error());
    return paid->toLongLong() > 0;
}

} // namespace zelkor
