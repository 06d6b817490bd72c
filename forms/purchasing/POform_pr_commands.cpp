// The requisition window's commands: showing and browsing requisitions, closing, deleting,
// issuing, printing, the stock panes and the notifications to the host.
#include "forms/purchasing/POform_pr.h"

#include "forms/purchasing/pr_cells.h"
#include "forms/purchasing/pr_columns.h"
#include "forms/purchasing/pr_print.h"
#include "forms/purchasing/pr_save.h"
#include "forms/common/stock_panes.h"
#include "services/fiscal_periods.h"

#include <QDir>

namespace zelkor {

namespace {

namespace col = pr_column;

QString check_text(bool checked) { return checked ? QStringLiteral("1") : QString(); }

const QString SaveFirst = QStringLiteral("Please save this PR first.");

} // namespace

bool POform_pr::run_command(int id)
{
    switch (CommandId(id)) {
    case CommandId::Preview: return print_requisition();
    case CommandId::CopyToNew: return copy_to_new();
    case CommandId::InsertLine: return insert_line();
    case CommandId::DeleteLine: return delete_line();
    case CommandId::Delete: return delete_requisition();
    case CommandId::NextRecord: return go_step(KeyStep::Next);
    case CommandId::PreviousRecord: return go_step(KeyStep::Previous);
    case CommandId::LastRecord: return settle_unsaved_work() && (set_mode(Mode::Read), go_last());
    case CommandId::RefreshRecord: return refresh_record();
    case CommandId::AccountMaster:
    case CommandId::ItemMaster: {
        const int row = lines().current_row();
        const QLatin1String column = CommandId(id) == CommandId::AccountMaster ? col::Account : col::ItemCode;
        notify(CommandId(id) == CommandId::AccountMaster ? QStringLiteral("Account Master") : QStringLiteral("Item Master"),
               row >= 0 ? lines().cell(row, column).trimmed() : QString());
        return true;
    }
    case CommandId::VendorMaster:
        notify(QStringLiteral("Vendor Master"), field(QStringLiteral("vendor_no")).trimmed());
        return true;
    case CommandId::StockOnHand: notify(QStringLiteral("Stock on Hand")); return true;
    case CommandId::WindowHelp:
    case CommandId::SystemHelp: return show_help(id);
    case CommandId::StockByLocation:
    case CommandId::StockByItem: {
        WindowModel::run_command(id);
        const bool by_location = CommandId(id) == CommandId::StockByLocation;
        const Pane* pane = find_pane(by_location ? QStringLiteral("stock_by_location") : QStringLiteral("stock_by_item"));
        if (pane && pane->visible)
            by_location ? fill_stock_by_location() : fill_stock_by_items();
        return true;
    }
    default: break;
    }
    switch (id) {
    case IssuePo: return issue_po();
    case ClosePr: return close_requisition();
    case PoRecord: return po_record();
    default: break;
    }
    const bool done = WindowModel::run_command(id);
    if (id == to_int(CommandId::TaxDetails) || id == to_int(CommandId::TaxSummary))
        refresh_tax_panes();
    return done;
}

// Showing ---------------------------------------------------------------------------------------

void POform_pr::display_by_number()
{
    const QString docno = field(QStringLiteral("docno")).trimmed();
    if (mode() != Mode::Read) {
        if (!settle_unsaved_work())
            return;
        set_mode(Mode::Read);
    }
    auto document = read_pr_by_number(db(), docno);
    if (!document || !*document) {
        show_nothing();
        set_field(QStringLiteral("docno"), docno);
        message(document ? QStringLiteral("document not found") : document.error().message);
        return;
    }
    show_document(**document);
}

bool POform_pr::show_key(const QString& key)
{
    auto document = read_pr_by_key(db(), key);
    if (!document)
        return refuse(document.error());
    if (!*document) {
        show_nothing();
        return false;
    }
    show_document(**document);
    return true;
}

void POform_pr::show_nothing()
{
    clear_document();
    m_key.clear();
    m_taxes.clear();
    refresh_tax_panes();
    set_dirty(false);
}

void POform_pr::show_document(const PrDocument& document)
{
    clear_document();
    m_taxes.clear();
    const Row& header = document.header;
    m_key = header.text(u"fkey");
    for (const char* name : {"docno", "vendor_no", "shipto", "currency", "requested_user", "purpose", "contact_person",
                             "phone", "fax", "payment_term", "reference", "remark"})
        set_field(QString::fromLatin1(name), header.text(QString::fromLatin1(name)));
    auto vendor_name = db().scalar(QStringLiteral("SELECT vendor_name FROM Vendor_table WHERE vendor_no = ?"),
                                   {header.text(u"vendor_no")});
    set_field(QStringLiteral("vendor_name"), vendor_name ? Row::to_text(*vendor_name) : QString());
    currency_chosen();
    set_field_date(QStringLiteral("order_date"), header.date(u"order_date"));
    set_field_date(QStringLiteral("requested_date"), header.date(u"requested_date"));
    set_field(QStringLiteral("printed"), check_text(header.flag(u"printed")));
    set_field(QStringLiteral("closed"), check_text(header.flag(u"closed")));
    for (const char* name : {"sub_total", "tax_total", "total"})
        set_field(QString::fromLatin1(name), header.decimal(QString::fromLatin1(name)).format());
    std::map<QString, TaxAuthorities> authorities;
    lines().set_row_count(int(document.lines.size()));
    for (int row = 0; row < int(document.lines.size()); ++row)
        show_line(row, document.lines[size_t(row)], authorities);
    lines().set_current(document.lines.empty() ? -1 : 0, lines().required_column(col::ItemCode));
    current_line_changed();
    set_dirty(false);
}

void POform_pr::show_line(int row, const Row& line, std::map<QString, TaxAuthorities>& authorities)
{
    Grid& grid = lines();
    const int itemno = int(line.integer(u"itemno"));
    const QString tax_code = line.text(u"tax_code");
    const auto set = [&](QLatin1String column, const QString& value) { grid.set_cell(row, column, value); };
    set(col::ItemNo, QString::number(itemno));
    set(col::ItemCode, line.text(u"itemcode"));
    set(col::ItemType, line.text(u"itemtype"));
    set(col::Description, line.text(u"description"));
    set(col::Uom, line.text(u"uom"));
    set(col::Quantity, line.decimal(u"quantity").to_string());
    // A unit cost with more than two decimals is shown whole, so that an edit saves it unchanged.
    const Decimal unit_cost = line.decimal(u"unitcost");
    set(col::UnitCost, unit_cost.round2() == unit_cost ? unit_cost.format() : unit_cost.to_string());
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
    m_taxes.set_line(itemno, tax_elements_from_row(line, itemno, authorities[tax_code]));
}

std::optional<PrDocument> POform_pr::shown_document()
{
    const QString docno = field(QStringLiteral("docno")).trimmed();
    auto document = read_pr_by_number(db(), docno);
    if (!document) {
        refuse(document.error());
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

// Browsing --------------------------------------------------------------------------------------

bool POform_pr::go_last()
{
    auto key = last_document_key(db(), requisitions());
    if (!key)
        return refuse(key.error());
    if (!*key) {
        show_nothing();
        return true;
    }
    return show_key(**key);
}

bool POform_pr::go_step(KeyStep step)
{
    const bool from_new = mode() == Mode::New || m_key.isEmpty();
    if (!settle_unsaved_work())
        return false;
    set_mode(Mode::Read);
    if (from_new)
        return go_last();
    auto key = neighbour_document_key(db(), requisitions(), m_key, step);
    if (!key)
        return refuse(key.error());
    return *key ? show_key(**key) : show_key(m_key);
}

bool POform_pr::refresh_record()
{
    if (!settle_unsaved_work())
        return false;
    set_mode(Mode::Read);
    return m_key.isEmpty() ? true : show_key(m_key);
}

// Document commands -----------------------------------------------------------------------------

bool POform_pr::copy_to_new()
{
    if (m_key.isEmpty() && mode() == Mode::Read)
        return false;
    if (mode() != Mode::Read) {
        if (!settle_unsaved_work())
            return false;
        set_mode(Mode::Read);
    }
    m_key.clear();
    set_field(QStringLiteral("docno"), NewDocumentNumber);
    set_field(QStringLiteral("reference"), QString());
    set_field(QStringLiteral("requested_date"), QString());
    set_field_date(QStringLiteral("order_date"), today());
    set_field(QStringLiteral("closed"), QString());
    set_field(QStringLiteral("printed"), QString());
    Grid& grid = lines();
    for (int row = 0; row < grid.row_count(); ++row)
        for (QLatin1String column : {col::Closed, col::UserCreated, col::UserUpdated, col::CreatedDate, col::CreatedTime,
                                     col::LastModifiedDate, col::LastModifiedTime, col::ComputerId})
            grid.set_cell(row, column, QString());
    grid.append_row();
    set_mode(Mode::New);
    set_dirty(true);
    return true;
}

bool POform_pr::close_requisition()
{
    if (outside_read_mode())
        return false;
    auto document = shown_document();
    if (!document)
        return false;
    if (!ask_yes_no(QStringLiteral("Are you sure to close this PR?"), QStringLiteral("Close PR")))
        return false;
    const QString docno = document->header.text(u"docno");
    const QString key = document->header.text(u"fkey");
    if (auto closed = close_pr(db(), key); !closed)
        return refuse(QStringLiteral("Close PR failed"));
    message(docno + QStringLiteral(" is closed."));
    return show_key(key);
}

bool POform_pr::delete_requisition()
{
    if (outside_read_mode())
        return false;
    auto document = shown_document();
    if (!document)
        return false;
    const QString docno = document->header.text(u"docno");
    if (!document->header.flag(u"closed"))
        return refuse(docno + QStringLiteral(" is opening."));
    if (!ask_yes_no(QStringLiteral("Are you sure to delete this PR?"), QStringLiteral("Delete PR")))
        return false;
    if (auto deleted = delete_pr(db(), document->header.text(u"fkey")); !deleted)
        return refuse(QStringLiteral("Delete PR failed"));
    message(docno + QStringLiteral(" is deleted."));
    show_nothing();
    return true;
}

bool POform_pr::issue_po()
{
    if (outside_read_mode() || m_key.isEmpty())
        return refuse(SaveFirst);
    auto document = read_pr_by_key(db(), m_key);
    if (!document)
        return refuse(document.error());
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
                                             " WHERE company = 1 AND prno = ?"),
                              {docno});
    if (!orders)
        return refuse(orders.error());
    if (orders->empty())
        return refuse(QStringLiteral("No PO was issued from ") + docno);
    if (orders->size() == 1)
        notify(QStringLiteral("Purchase Order"), orders->front().text(u"docno"));
    else
        notify(QStringLiteral("Purchase Order Report"), docno);
    return true;
}

bool POform_pr::print_requisition()
{
    if (outside_read_mode() || m_key.isEmpty())
        return false;
    auto document = read_pr_by_key(db(), m_key);
    if (!document || !*document)
        return refuse(document ? QStringLiteral("document not found") : document.error().message);
    if ((*document)->header.flag(u"closed"))
        return refuse(QStringLiteral("PR was closed."));
    notify(QStringLiteral("ActiveReport"), pr_print_query(), pr_print_title(field(QStringLiteral("docno"))));
    return true;
}

bool POform_pr::show_help(int id)
{
    const bool window_help = id == to_int(CommandId::WindowHelp);
    const QString file = window_help ? QStringLiteral("Purchase Requisition Help.pdf")
                                     : QStringLiteral("Purchase Order System Help.pdf");
    const QString path = QDir::toNativeSeparators(settings().ZELKOR_PATH + QStringLiteral("/Help/") + file);
    notify(QStringLiteral("pdf viewer"), path,
           window_help ? caption() + QStringLiteral(" Help") : QStringLiteral("Purchase Order Help"));
    return true;
}

// Stock panes -----------------------------------------------------------------------------------

void POform_pr::fill_stock_by_location()
{
    const int row = lines().current_row();
    const QString item = row >= 0 ? lines().cell(row, col::ItemCode).trimmed() : QString();
    if (auto shown = show_stock_by_location(db(), *grid(QStringLiteral("grid_stock_location")), item); !shown)
        message(shown.error().message);
}

void POform_pr::fill_stock_by_items()
{
    if (auto shown = show_stock_by_items(db(), *grid(QStringLiteral("grid_stock_item")), lines(),
                                         field(QStringLiteral("shipto")).trimmed());
        !shown)
        message(shown.error().message);
}

} // namespace zelkor
