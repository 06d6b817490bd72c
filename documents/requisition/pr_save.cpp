#include "documents/requisition/pr_save.h"

#include "core/db/save_retries.h"
#include "core/db/sql_names.h"
#include "core/db/value_limits.h"
#include "core/fiscal_periods.h"

namespace zelkor {

namespace {

const QString HeaderTable = QStringLiteral("PR_header_table");
const QString LineTable = QStringLiteral("PR_transaction_table");
const QString DocType = QStringLiteral("pr");

/// Reads the shown requisition again under lock: refuses a closed one ("PR was closed.") when
/// `closed_refused`, then one another user changed since it was shown.
[[nodiscard]] std::expected<Row, Error> lock_shown(Database& db, const DocumentVersion& shown, bool closed_refused)
{
    auto locked = lock_shown_version(db, shown);
    if (!locked)
        return std::unexpected(locked.error());
    if (closed_refused && locked->header.flag(u"closed"))
        return std::unexpected(Error::invalid(QStringLiteral("PR was closed.")));
    if (locked->changed)
        return std::unexpected(changed_by_another_user(shown.number));
    return locked->header;
}

/// Whether the line is written for a new requisition or rewritten by an edit.
enum class LineWrite { New, Edit };

/// What every line copies from its requisition.
struct LineOwner {
    QString key;
    QString docno;
    const PrHeader& header;
};

InsertRow& set_unless_empty(InsertRow& row, QStringView column, const QString& value)
{
    if (!value.isEmpty())
        row.set(column, value);
    return row;
}

[[nodiscard]] std::expected<void, Error> insert_line(Database& db, const LineOwner& owner, const PrLine& line,
                                       const TaxElements& elements, const AuditStamp& audit, LineWrite write)
{
    InsertRow row(LineTable);
    row.set(u"company", 1)
        .set(u"fkey", owner.key)
        .set(u"docno", owner.docno)
        .set(u"itemno", line.itemno)
        .set(u"order_date", owner.header.order_date)
        .set(u"requested_date", owner.header.requested_date)
        .set(u"currency", owner.header.currency)
        .set(u"requested_user", owner.header.requested_user)
        .set(u"vendor_no", line.vendor_no.isEmpty() ? owner.header.vendor_no : line.vendor_no);
    set_unless_empty(row, u"itemcode", line.itemcode);
    set_unless_empty(row, u"itemtype", line.itemtype);
    set_unless_empty(row, u"uom", line.uom);
    set_unless_empty(row, u"accno", line.accno);
    set_unless_empty(row, u"warehouse", line.warehouse);
    set_unless_empty(row, u"location", line.location);
    row.set(u"description", line.description)
        .set(u"quantity", line.quantity.value_or(Decimal()))
        .set(u"unitcost", line.unitcost.value_or(Decimal()))
        .set(u"extended_cost", line.extended_cost.value_or(Decimal()).round2())
        .set(u"net_cost", line_tax_totals(elements, line.extended_cost.value_or(Decimal()).round2(),
                                          line.price_include_tax ? TaxIncluded::Yes : TaxIncluded::No)
                              .net_cost)
        .set(u"price_include_tax", line.price_include_tax)
        .set(u"tax_code", line.tax_code)
        .set(u"computer_id", audit.computer_id);
    // The stored tax amount is the sum of the elements; a line without elements has none.
    set_tax_columns(row, elements, AllocatedColumn::Absent);
    if (write == LineWrite::New) {
        row.set_created(audit.created());
    } else {
        row.set(u"closed", line.closed)
            .set_created({line.date_created, line.time_created, line.user_created})
            .set(u"date_lastmodified", audit.today)
            .set(u"time_lastmodified", audit.time)
            .set(u"user_updated", audit.user);
    }
    return row.execute(db);
}

/// The lines with the tax elements each is saved with.
struct LinesToWrite {
    std::vector<std::pair<const PrLine*, TaxElements>> lines;
    DocumentTotals totals;
};

/// Pairs every line with its elements and sums what the header stores: the totals are always
/// those of the lines written.
[[nodiscard]] std::expected<LinesToWrite, Error> lines_to_write(const std::vector<PrLine>& lines,
                                                                const TaxElementStore& taxes)
{
    LinesToWrite result;
    std::vector<LineAmounts> amounts;
    for (const PrLine& line : lines) {
        auto elements = tax_elements_to_save(taxes, line.itemno, line.extended_cost);
        if (!elements)
            return std::unexpected(elements.error());
        amounts.push_back({line.extended_cost.value_or(Decimal()).round2(),
                           line_tax_totals(*elements, std::nullopt, TaxIncluded::No).tax_amount});
        result.lines.emplace_back(&line, std::move(*elements));
    }
    result.totals = totalamt_calculate(amounts);
    // The header keeps the totals in amount columns: refused before anything is written when
    // they could not hold them.
    for (const Decimal& total : {result.totals.sub_total, result.totals.tax_total, result.totals.total})
        if (column_problem(total, NumberColumn::Money))
            return std::unexpected(Error::invalid(QStringLiteral("total is too large.")));
    return result;
}

[[nodiscard]] std::expected<void, Error> insert_lines(Database& db, const LineOwner& owner, const LinesToWrite& lines,
                                                      const AuditStamp& audit, LineWrite write)
{
    for (const auto& [line, elements] : lines.lines)
        if (auto written = insert_line(db, owner, *line, elements, audit, write); !written)
            return written;
    return {};
}

/// The header columns a new requisition writes and an edit rewrites.
template <class Statement>
Statement& set_kept_header_columns(Statement& row, const PrHeader& header, const DocumentTotals& totals)
{
    row.set(u"vendor_no", header.vendor_no)
        .set(u"purpose", header.purpose)
        .set(u"shipto", header.shipto)
        .set(u"requested_date", header.requested_date)
        .set(u"currency", header.currency)
        .set(u"requested_user", header.requested_user)
        .set(u"contact_person", header.contact_person)
        .set(u"phone", header.phone)
        .set(u"fax", header.fax)
        .set(u"sub_total", totals.sub_total)
        .set(u"tax_total", totals.tax_total)
        .set(u"total", totals.total)
        .set(u"remark", header.remark)
        .set(u"reference", header.reference)
        .set(u"payment_term", header.payment_term);
    return row;
}

[[nodiscard]] std::expected<void, Error> insert_header(Database& db, const DocumentNumber& number, const PrHeader& header,
                                                       const DocumentTotals& totals, const AuditStamp& audit)
{
    InsertRow row(HeaderTable);
    row.set(u"company", 1)
        .set(u"doctype", DocType)
        .set(u"docno", number.docno)
        .set(u"fkey", number.fkey)
        .set(u"order_date", header.order_date);
    return set_kept_header_columns(row, header, totals)
        .set_created(audit.created())
        .execute(db);
}

[[nodiscard]] std::expected<void, Error> rewrite_header(Database& db, const QString& key, const PrHeader& header,
                                                        const DocumentTotals& totals, const AuditStamp& audit)
{
    UpdateRow row(HeaderTable);
    auto changed = set_kept_header_columns(row, header, totals)
                       .set(u"date_lastmodified", audit.today)
                       .set(u"time_lastmodified", audit.time)
                       .set(u"user_updated", audit.user)
                       .where(QStringLiteral("fkey = ?"), {key})
                       .execute(db);
    if (!changed)
        return std::unexpected(changed.error());
    auto stamped = UpdateRow(HeaderTable)
                       .set(u"date_created", audit.today)
                       .set(u"time_created", audit.time)
                       .where(QStringLiteral("fkey = ? AND date_created IS NULL"), {key})
                       .execute(db);
    if (!stamped)
        return std::unexpected(stamped.error());
    return {};
}

/// Closes the header when none of its lines is open, opens it otherwise; gives the new state.
[[nodiscard]] std::expected<bool, Error> settle_header_closed(Database& db, const QString& key)
{
    auto open_lines = db.scalar(QStringLiteral("SELECT COUNT(*) FROM PR_transaction_table"
                                               " WHERE fkey = ? AND closed = FALSE"),
                                {key});
    if (!open_lines)
        return std::unexpected(open_lines.error());
    const bool closed = open_lines->toLongLong() == 0;
    auto written = db.execute(QStringLiteral("UPDATE PR_header_table SET closed = ?, row_version = row_version + 1"
                                             " WHERE fkey = ?"),
                              {closed, key});
    if (!written)
        return std::unexpected(written.error());
    return closed;
}

[[nodiscard]] std::expected<void, Error> committed(Transaction& tx)
{
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    return tx.commit();
}

} // namespace

static std::expected<DocumentNumber, Error> insert_new_pr_once(Database& db, const PrHeader& header, const std::vector<PrLine>& lines,
                                                   const TaxElementStore& taxes, const AuditStamp& audit)
{
    auto period = fiscal_period_of(db, header.order_date);
    if (!period)
        return std::unexpected(period.error());
    auto written_lines = lines_to_write(lines, taxes);
    if (!written_lines)
        return std::unexpected(written_lines.error());
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto number = issue_document_number(db, DocType, period->fiscal_year);
    if (!number)
        return std::unexpected(number.error());
    if (auto written = insert_header(db, *number, header, written_lines->totals, audit); !written)
        return std::unexpected(written.error());
    if (auto written = insert_lines(db, {number->fkey, number->docno, header}, *written_lines, audit, LineWrite::New);
        !written)
        return std::unexpected(written.error());
    if (auto done = committed(tx); !done)
        return std::unexpected(done.error());
    return *number;
}

std::expected<DocumentNumber, Error> insert_new_pr(Database& db, const PrHeader& header, const std::vector<PrLine>& lines,
                                                   const TaxElementStore& taxes, const AuditStamp& audit)
{
    return with_retries(db, u"new requisition", [&] { return insert_new_pr_once(db, header, lines, taxes, audit); });
}

static std::expected<bool, Error> update_pr_once(Database& db, const DocumentVersion& shown, const PrHeader& header,
                                     const std::vector<PrLine>& lines, const TaxElementStore& taxes,
                                     const AuditStamp& audit)
{
    auto written_lines = lines_to_write(lines, taxes);
    if (!written_lines)
        return std::unexpected(written_lines.error());
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto stored = lock_shown(db, shown, true);
    if (!stored)
        return std::unexpected(stored.error());
    if (auto written = rewrite_header(db, shown.key, header, written_lines->totals, audit); !written)
        return std::unexpected(written.error());
    if (auto removed = db.execute(QStringLiteral("DELETE FROM PR_transaction_table WHERE fkey = ?"), {shown.key}); !removed)
        return std::unexpected(removed.error());
    // Lines keep the order date they were first saved with, as the header does.
    PrHeader saved = header;
    saved.order_date = stored->date(u"order_date");
    if (auto written = insert_lines(db, {shown.key, stored->text(u"docno"), saved}, *written_lines, audit, LineWrite::Edit);
        !written)
        return std::unexpected(written.error());
    auto closed = settle_header_closed(db, shown.key);
    if (!closed)
        return std::unexpected(closed.error());
    if (auto done = committed(tx); !done)
        return std::unexpected(done.error());
    return *closed;
}

std::expected<bool, Error> update_pr(Database& db, const DocumentVersion& shown, const PrHeader& header,
                                     const std::vector<PrLine>& lines, const TaxElementStore& taxes,
                                     const AuditStamp& audit)
{
    return with_retries(db, u"requisition edit", [&] { return update_pr_once(db, shown, header, lines, taxes, audit); });
}

static std::expected<void, Error> close_pr_once(Database& db, const DocumentVersion& shown)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    if (auto stored = lock_shown(db, shown, false); !stored)
        return std::unexpected(stored.error());
    auto header = UpdateRow(HeaderTable).set(u"closed", true).where(QStringLiteral("fkey = ?"), {shown.key}).execute(db);
    if (!header)
        return std::unexpected(header.error());
    auto lines = UpdateRow(LineTable).set(u"closed", true).where(QStringLiteral("fkey = ?"), {shown.key}).execute(db);
    if (!lines)
        return std::unexpected(lines.error());
    if (auto raised = raise_version(db, HeaderTable, shown.key); !raised)
        return raised;
    return committed(tx);
}

std::expected<void, Error> close_pr(Database& db, const DocumentVersion& shown)
{
    return with_retries(db, u"requisition close", [&] { return close_pr_once(db, shown); });
}

static std::expected<void, Error> delete_pr_once(Database& db, const DocumentVersion& shown)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto stored = lock_shown(db, shown, false);
    if (!stored)
        return std::unexpected(stored.error());
    if (!stored->flag(u"closed"))
        return std::unexpected(Error::invalid(shown.number + QStringLiteral(" is opening.")));
    for (const QString& sql : {QStringLiteral("DELETE FROM PR_transaction_table WHERE fkey = ?"),
                               QStringLiteral("DELETE FROM PR_header_table WHERE fkey = ?")})
        if (auto removed = db.execute(sql, {shown.key}); !removed)
            return std::unexpected(removed.error());
    return committed(tx);
}

std::expected<void, Error> delete_pr(Database& db, const DocumentVersion& shown)
{
    return with_retries(db, u"requisition delete", [&] { return delete_pr_once(db, shown); });
}

} // namespace zelkor
