// The requisition window's commands: showing requisitions, closing, deleting, issuing, printing
// and the hand-offs to the host.
#include "windows/requisition/POform_pr.h"

#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "documents/requisition/pr_save.h"
#include "windows/document/reorder_lines.h"
#include "windows/requisition/pr_cells.h"
#include "windows/requisition/pr_columns.h"
#include "windows/requisition/pr_print.h"

namespace zelkor {

namespace {

namespace col = pr_column;

const QString SaveFirst = QStringLiteral("Please save this PR first.");

} // namespace

bool POform_pr::run_command(int id)
{
    switch (id) {
    case to_int(CommandId::DeleteLine): return delete_line();
    case to_int(CommandId::Delete): return delete_requisition();
    case to_int(Command::IssuePo): return issue_po();
    case to_int(Command::ClosePr): return close_requisition();
    case to_int(Command::PoRecord): return po_record();
    case to_int(Command::ReorderingStockItems): return propose_reorders();
    default: break;
    }
    return DocumentWindow::run_command(id);
}

// Showing ---------------------------------------------------------------------------------------

std::expected<bool, Error> POform_pr::load_document(const QString& key)
{
    auto document = read_pr_by_key(db(), key);
    if (!document)
        return std::unexpected(document.error());
    if (!*document)
        return false;
    auto name = vendor_name(db(), (*document)->header.text(u"vendor_no"));
    if (!name)
        return std::unexpected(name.error());
    show_document(**document);
    remember_version((*document)->header);
    set_field(QStringLiteral("vendor_name"), *name);
    return true;
}

void POform_pr::show_document(const PrDocument& document)
{
    clear_document();
    taxes().clear();
    const Row& header = document.header;
    m_key = header.text(u"fkey");
    for (const char* name : {"docno", "vendor_no", "shipto", "currency", "requested_user", "purpose", "contact_person",
                             "phone", "fax", "payment_term", "reference", "remark"})
        set_field(QString::fromLatin1(name), header.text(QString::fromLatin1(name)));
    show_rates();
    set_field_date(QStringLiteral("order_date"), header.date(u"order_date"));
    set_field_date(QStringLiteral("requested_date"), header.date(u"requested_date"));
    set_field(QStringLiteral("printed"), check_text(header.flag(u"printed")));
    set_field(QStringLiteral("closed"), check_text(header.flag(u"closed")));
    for (const char* name : {"sub_total", "tax_total", "total"})
        set_field(QString::fromLatin1(name), header.decimal(QString::fromLatin1(name)).format());
    std::map<QString, TaxAuthorities> authorities;
    Grid& grid = line_grid();
    grid.set_row_count(int(document.lines.size()));
    for (int row = 0; row < int(document.lines.size()); ++row)
        show_line(row, document.lines[size_t(row)], authorities);
    grid.set_current(document.lines.empty() ? -1 : 0, grid.required_column(col::ItemCode));
    current_line_changed();
    set_dirty(false);
}

void POform_pr::show_line(int row, const Row& line, std::map<QString, TaxAuthorities>& authorities)
{
    Grid& grid = line_grid();
    const int itemno = int(line.integer(u"itemno"));
    const QString tax_code = line.text(u"tax_code");
    const auto set = [&](QLatin1String column, const QString& value) { grid.set_cell(row, column, value); };
    set(col::ItemNo, QString::number(itemno));
    set(col::ItemCode, line.text(u"itemcode"));
    set(col::ItemType, line.text(u"itemtype"));
    set(col::Description, line.text(u"description"));
    set(col::Uom, line.text(u"uom"));
    set(col::Quantity, line.decimal(u"quantity").to_string());
    // A unit cost keeps every decimal it was saved with, so that an edit saves it unchanged.
    set(col::UnitCost, line.decimal(u"unitcost").format_at_least());
    set(col::ExtendedCost, line.decimal(u"extended_cost").format());
    set(col::TaxCode, tax_code);
    set(col::TaxAmount, line.decimal(u"tax_amount").format());
    set(col::NetCost, line.decimal(u"net_cost").format());
    set(col::TaxIncluded, check_text(line.flag(u"price_include_tax")));
    set(col::Account, line.text(u"accno"));
    set(col::AccountName, m_lists.all_accounts.lookup(line.text(u"accno"), 1));
    set(col::Warehouse, line.text(u"warehouse"));
    set(col::Location, line.text(u"location"));
    set(col::PreferredVendor, line.text(u"vendor_no"));
    set(col::VendorName, m_lists.vendors.lookup(line.text(u"vendor_no"), 1));
    set(col::Closed, check_text(line.flag(u"closed")));
    set(col::UserCreated, line.text(u"user_created"));
    set(col::UserUpdated, line.text(u"user_updated"));
    set(col::CreatedDate, line.date(u"date_created").toString(AuditDateFormat));
    set(col::CreatedTime, line.text(u"time_created"));
    set(col::LastModifiedDate, line.date(u"date_lastmodified").toString(AuditDateFormat));
    set(col::LastModifiedTime, line.text(u"time_lastmodified"));
    set(col::ComputerId, line.text(u"computer_id"));
    if (!authorities.contains(tax_code))
        authorities[tax_code] = tax_code_authorities(db(), tax_code).value_or(TaxAuthorities{});
    taxes().set_line(itemno, tax_elements_from_row(line, itemno, authorities[tax_code]));
}

std::optional<PrDocument> POform_pr::shown_document()
{
    const QString docno = field(QStringLiteral("docno")).trimmed();
    auto document = read_pr_by_number(db(), docno);
    if (!document) {
        report(document.error(), read_failed(docno));
        return std::nullopt;
    }
    if (!*document)
        refuse(QStringLiteral("Document no. ") + docno + QStringLiteral(" not found"));
    return *document;
}

bool POform_pr::outside_read_mode()
{
    if (mode() == Mode::Read)
        return false;
    message(SaveFirst);
    return true;
}

// Document commands -----------------------------------------------------------------------------

void POform_pr::prepare_copy()
{
    set_field(QStringLiteral("reference"), QString());
    set_field(QStringLiteral("requested_date"), QString());
    set_field_date(QStringLiteral("order_date"), today());
    set_field(QStringLiteral("closed"), QString());
    set_field(QStringLiteral("printed"), QString());
    Grid& grid = line_grid();
    for (int row = 0; row < grid.row_count(); ++row)
        for (QLatin1String column : {col::Closed, col::UserCreated, col::UserUpdated, col::CreatedDate, col::CreatedTime,
                                     col::LastModifiedDate, col::LastModifiedTime, col::ComputerId})
            grid.set_cell(row, column, QString());
    grid.append_row();
}

bool POform_pr::close_requisition()
{
    if (outside_read_mode() || !may_update())
        return false;
    auto document = shown_document();
    if (!document)
        return false;
    if (!ask_yes_no(QStringLiteral("Are you sure to close this PR?"), QStringLiteral("Close PR")))
        return false;
    const QString docno = document->header.text(u"docno");
    const QString key = document->header.text(u"fkey");
    if (auto closed = close_pr(db(), shown_version()); !closed) {
        report(closed.error(), QStringLiteral("Close PR failed"), Outcome::RolledBack);
        return false;
    }
    message(docno + QStringLiteral(" is closed."));
    return show_key(key);
}

bool POform_pr::delete_requisition()
{
    if (outside_read_mode() || !may_update())
        return false;
    auto document = shown_document();
    if (!document)
        return false;
    const QString docno = document->header.text(u"docno");
    if (!document->header.flag(u"closed"))
        return refuse(docno + QStringLiteral(" is opening."));
    if (!ask_yes_no(QStringLiteral("Are you sure to delete this PR?"), QStringLiteral("Delete PR")))
        return false;
    if (auto deleted = delete_pr(db(), shown_version()); !deleted) {
        report(deleted.error(), QStringLiteral("Delete PR failed"), Outcome::RolledBack);
        return false;
    }
    message(docno + QStringLiteral(" is deleted."));
    show_nothing();
    return true;
}

bool POform_pr::issue_po()
{
    if (outside_read_mode() || m_key.isEmpty())
        return refuse(SaveFirst);
    auto document = read_pr_by_key(db(), m_key);
    if (!document) {
        report(document.error(), read_failed(field(QStringLiteral("docno")).trimmed()));
        return false;
    }
    if (!*document)
        return refuse(QStringLiteral("document not found"));
    if ((*document)->header.flag(u"closed"))
        return refuse(QStringLiteral("PR was closed."));
    notify(QStringLiteral("Issue PO"));
    return true;
}

bool POform_pr::po_record()
{
    const QString docno = field(QStringLiteral("docno")).trimmed();
    if (m_key.isEmpty())
        return false;
    auto orders = db().select(QStringLiteral("SELECT DISTINCT docno FROM PO_transaction_table"
                                             " WHERE company = 1 AND prno = ? ORDER BY docno"),
                              {docno});
    if (!orders) {
        report(orders.error(), QStringLiteral("Reading the orders of ") + docno + QStringLiteral(" failed"));
        return false;
    }
    if (orders->empty())
        return refuse(QStringLiteral("No PO was issued from ") + docno);
    if (orders->size() == 1)
        notify(QStringLiteral("Purchase Order"), orders->front().text(u"docno"));
    else
        notify(QStringLiteral("Purchase Order Report"), docno);
    return true;
}

bool POform_pr::print_document()
{
    if (outside_read_mode() || m_key.isEmpty())
        return false;
    auto document = read_pr_by_key(db(), m_key);
    if (!document) {
        report(document.error(), read_failed(field(QStringLiteral("docno")).trimmed()));
        return false;
    }
    if (!*document)
        return refuse(QStringLiteral("document not found"));
    if ((*document)->header.flag(u"closed"))
        return refuse(QStringLiteral("PR was closed."));
    notify(QStringLiteral("ActiveReport"), pr_print_query(), pr_print_title(field(QStringLiteral("docno"))));
    return true;
}

// Reorder suggestions ---------------------------------------------------------------------------

bool POform_pr::propose_reorders()
{
    auto proposed = read_reorder_lines(db(), mode() == Mode::New, field(QStringLiteral("shipto")), m_vendor_tax_code);
    if (!proposed) {
        report(proposed.error(), QStringLiteral("Reading the stock items to reorder failed"));
        return false;
    }
    if (proposed->tax_code_missing)
        report(*proposed->tax_code_missing);
    Grid& grid = line_grid();
    fill_reorder_lines(grid, taxes(), *proposed, {col::Quantity}, ShownTax::WithinBounds);
    show_totals();
    current_line_changed();
    set_dirty(true);
    return true;
}

} // namespace zelkor
