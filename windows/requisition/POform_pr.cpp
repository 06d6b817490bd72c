#include "windows/requisition/POform_pr.h"

#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "documents/requisition/pr_save.h"
#include "documents/requisition/pr_verify.h"
#include "windows/document/document_lines.h"
#include "windows/document/pane_columns.h"
#include "windows/requisition/pr_cells.h"
#include "windows/requisition/pr_columns.h"
#include "windows/requisition/pr_grid.h"
#include "windows/requisition/pr_print.h"

#include <array>

namespace zelkor {

namespace {

namespace col = pr_column;

const QString LinesGrid = QStringLiteral("dbgrid1");

const QStringList LineColumns{col::ItemNo,     col::ItemCode,        col::ItemType,   col::Description,
                              col::LongDescription, col::Uom,        col::Quantity,   col::UnitCost,
                              col::ExtendedCost, col::TaxCode,       col::TaxAmount,  col::NetCost,
                              col::TaxIncluded, col::Account,        col::AccountName, col::Warehouse,
                              col::Location,   col::PreferredVendor, col::VendorName, col::Closed,
                              col::UserCreated, col::UserUpdated,    col::CreatedDate, col::CreatedTime,
                              col::LastModifiedDate, col::LastModifiedTime, col::ComputerId};

void declare_line_columns(Grid& lines)
{
    for (QLatin1String hidden : {col::UserCreated, col::UserUpdated, col::CreatedDate, col::CreatedTime,
                                 col::LastModifiedDate, col::LastModifiedTime, col::ComputerId})
        lines.set_column_hidden(lines.required_column(hidden), true);
    // The long description shows the item's own; no line keeps one, so it takes no typing.
    for (QLatin1String fixed : {col::ItemNo, col::LongDescription, col::AccountName, col::VendorName})
        lines.set_column_read_only(lines.required_column(fixed), true);
    lines.set_column_kind(lines.required_column(col::TaxIncluded), FieldKind::Check);
    lines.set_column_kind(lines.required_column(col::Closed), FieldKind::Check);
    for (QLatin1String dropdown : {col::ItemCode, col::ItemType, col::Uom, col::TaxCode, col::Account, col::Warehouse,
                                   col::Location, col::PreferredVendor})
        lines.set_column_kind(lines.required_column(dropdown), FieldKind::DropDown);
    for (QLatin1String number : {col::Quantity, col::UnitCost, col::ExtendedCost, col::TaxAmount, col::NetCost}) {
        lines.set_column_kind(lines.required_column(number), FieldKind::Number);
        lines.set_column_alignment(lines.required_column(number), Qt::AlignRight | Qt::AlignVCenter);
    }
}


using C = POform_pr::Command;
constexpr auto Update = Right::Update;

/// The requisition's commands, in menu order, around the document windows' editing and browsing ones.
constexpr std::array RequisitionFileCommands{shared(CommandId::Exit), shared(CommandId::Save)};

constexpr std::array RequisitionEditCommands{
    CommandSpec{to_int(C::IssuePo), "&Issue PO", menus::Tools, true, Update},
    CommandSpec{to_int(C::ClosePr), "Cl&ose PR", menus::Edit, false, Update},
    shared(CommandId::Delete, "Delete PR"),
    CommandSpec{to_int(C::ReorderingStockItems), "Reordering Stock Items", menus::Tools, false, Update},
};

constexpr std::array RequisitionViewCommands{
    CommandSpec{to_int(C::PoRecord), "&PO Record", menus::View},
    shared(CommandId::StockByLocation),
    shared(CommandId::StockByItem),
};

} // namespace

POform_pr::POform_pr(QObject* parent)
    : DocumentWindow(QStringLiteral("POform_pr"), QStringLiteral("Purchase Requisition"), requisitions(), parent)
{
    using K = FieldKind;
    const auto open = ReadModeLock::Open;
    declare_field({"docno", "PR no", K::DropDown, 0, {}, false, open});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0});
    declare_field({"order_date", "Date", K::Date, 1});
    declare_field({"requested_date", "Requested date", K::Date, 1});
    declare_field({"requested_user", "Requested by", K::DropDown, 1});
    declare_field({"shipto", "Ship to", K::DropDown, 2});
    declare_field({"currency", "Currency", K::DropDown, 2});
    declare_field({"exchange_rate", "Rate", K::Number, 2, {}, true});
    declare_field({"payment_term", "Payment term", K::DropDown, 2});
    declare_field({"purpose", "Purpose", K::Text, 3});
    declare_field({"contact_person", "Contact person", K::Text, 4});
    declare_field({"phone", "Phone", K::Text, 4});
    declare_field({"fax", "Fax", K::Text, 4});
    declare_field({"reference", "Reference", K::Text, 5});
    declare_field({"remark", "Remark", K::MultiLine, 5});
    declare_field({"printed", "Printed", K::Check, 6, {}, true});
    declare_field({"closed", "Closed", K::Check, 6, {}, true});
    declare_field({"sub_total", "Sub total", K::Number, 7, {}, true});
    declare_field({"tax_total", "Tax total", K::Number, 7, {}, true});
    declare_field({"total", "Total", K::Number, 7, {}, true});

    Grid& grid = declare_grid(LinesGrid, {}, LineColumns);
    declare_line_columns(grid);
    connect(&grid, &Grid::currentRowChanged, this, [this] { current_line_changed(); });

    declare_tax_panes();
    using namespace stock_column;
    declare_stock_panes({Warehouse, Location, Quantity, OrderQuantity, PoQuantity},
                        {ItemCode, Warehouse, Location, Quantity, OrderQuantity, PoQuantity});

    declare_commands(RequisitionFileCommands);
    declare_editing_commands();
    declare_commands(RequisitionEditCommands);
    declare_browsing_commands();
    declare_commands(RequisitionViewCommands);
    declare_master_and_help_commands("Purchase Requisition Help");
    declare_print_layout(pr_document_layout());

    // The order date of a saved requisition numbered it; an edit keeps it.
    connect(this, &WindowModel::modeChanged, this,
            [this](Mode mode) { set_field_read_only(QStringLiteral("order_date"), mode == Mode::Edit); });
}

POform_pr::~POform_pr() = default;

Grid& POform_pr::line_grid() const { return *grid(LinesGrid); }

Database& POform_pr::db() const
{
    Q_ASSERT_X(database(), "POform_pr", "the host settings give no database");
    return *database();
}

void POform_pr::on_open()
{
    auto lists = load_document_lists(db());
    if (!lists) {
        report(lists.error(), QStringLiteral("Reading the lists of the window failed"));
        return;
    }
    m_lists = std::move(*lists);
    set_field_choices(QStringLiteral("vendor_no"), m_lists.vendors);
    set_field_choices(QStringLiteral("vendor_name"), m_lists.vendor_names);
    set_field_choices(QStringLiteral("shipto"), m_lists.warehouses);
    set_field_choices(QStringLiteral("currency"), m_lists.currencies);
    set_field_choices(QStringLiteral("requested_user"), m_lists.employees);
    set_field_choices(QStringLiteral("payment_term"), m_lists.payment_terms);
    Grid& grid = line_grid();
    grid.set_column_choices(grid.required_column(col::ItemType), item_type_choices());
    grid.set_column_choices(grid.required_column(col::TaxCode), m_lists.tax_codes);
    grid.set_column_choices(grid.required_column(col::Warehouse), m_lists.warehouses);
    Choices locations = m_lists.locations;
    locations.bound_column = 1;
    grid.set_column_choices(grid.required_column(col::Location), locations);
    grid.set_column_choices(grid.required_column(col::PreferredVendor), m_lists.vendors);
    current_line_changed();
}

// Header ----------------------------------------------------------------------------------------

Entry POform_pr::check_field(const QString& name, const QString& previous)
{
    const QString value = field(name).trimmed();
    if (name == u"docno")
        return DocumentWindow::check_field(name, previous);
    if (name == u"vendor_no")
        return vendor_chosen(value);
    if (name == u"vendor_name")
        return vendor_name_chosen();
    if (name == u"currency")
        return choice_typed(name, m_lists.currencies, QStringLiteral("currency is invalid.")) == Entry::Accepted
                   ? show_rates()
                   : Entry::Refused;
    if (name == u"shipto")
        return choice_typed(name, m_lists.warehouses, QStringLiteral("ship-to warehouse is invalid."));
    if (name == u"requested_user")
        return choice_typed(name, m_lists.employees, QStringLiteral("requested by is invalid."));
    if (name == u"payment_term")
        return choice_typed(name, m_lists.payment_terms, QStringLiteral("payment term is invalid."));
    if (name == u"order_date" || name == u"requested_date")
        return date_typed(name);
    return Entry::Accepted;
}

Entry POform_pr::vendor_chosen(const QString& vendor_no)
{
    if (vendor_no.isEmpty()) {
        set_field(QStringLiteral("vendor_name"), QString());
        return Entry::Accepted;
    }
    auto vendor = chosen_vendor(db(), vendor_no);
    if (!vendor) {
        report(vendor.error(), QStringLiteral("Reading vendor ") + vendor_no + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    show_vendor_details(*this, *vendor);
    m_vendor_tax_code = vendor->text(u"tax_code");
    return show_rates();
}

Entry POform_pr::vendor_name_chosen()
{
    const QString name = field(QStringLiteral("vendor_name")).trimmed();
    if (name.isEmpty())
        return Entry::Accepted;
    const int row = m_lists.vendor_names.find(name);
    if (row < 0) {
        message(QStringLiteral("vendor is invalid."));
        return Entry::Refused;
    }
    return vendor_chosen(m_lists.vendor_names.rows[size_t(row)].value(1));
}

Entry POform_pr::show_rates()
{
    const QString currency = field(QStringLiteral("currency")).trimmed();
    auto rate = newest_rate(db(), currency, settings().BASE_CURRENCY);
    if (!rate) {
        report(rate.error(), QStringLiteral("Reading the rates of ") + currency + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    // A base-currency document has no rate: the box stays empty (it is never typed into).
    m_rate_date = *rate ? (*rate)->rate_date : QDate();
    set_field(QStringLiteral("exchange_rate"), *rate ? (*rate)->rate.to_string() : QString());
    return Entry::Accepted;
}

Entry POform_pr::choice_typed(const QString& name, const Choices& list, const QString& message_text)
{
    const QString value = field(name).trimmed();
    auto chosen = chosen_value(list, value, message_text);
    if (!chosen) {
        // A name typed where the list's value is a code (requester, payment term) is taken too.
        for (const QStringList& row : list.rows)
            if (list.bound_column > 0 && row.value(0).compare(value, Qt::CaseInsensitive) == 0) {
                set_field(name, row.value(list.bound_column));
                return Entry::Accepted;
            }
        message(chosen.error().message);
        return Entry::Refused;
    }
    set_field(name, *chosen);
    return Entry::Accepted;
}

Entry POform_pr::date_typed(const QString& name)
{
    if (auto date = field_date(name); !date) {
        message(date.error().message);
        return Entry::Refused;
    }
    return Entry::Accepted;
}

bool POform_pr::show_default_ship_to()
{
    auto warehouse = default_warehouse(db());
    if (!warehouse) {
        report(warehouse.error(), QStringLiteral("Reading the default warehouse failed"));
        return false;
    }
    set_field(QStringLiteral("shipto"), warehouse->value_or(QString()));
    return true;
}

PrHeader POform_pr::header_values() const
{
    PrHeader header;
    header.vendor_no = field(QStringLiteral("vendor_no")).trimmed();
    header.purpose = field(QStringLiteral("purpose"));
    header.shipto = field(QStringLiteral("shipto")).trimmed();
    header.order_date = field_date(QStringLiteral("order_date")).value_or(QDate());
    header.requested_date = field_date(QStringLiteral("requested_date")).value_or(QDate());
    header.currency = field(QStringLiteral("currency")).trimmed();
    header.requested_user = field(QStringLiteral("requested_user")).trimmed();
    header.contact_person = field(QStringLiteral("contact_person"));
    header.phone = field(QStringLiteral("phone"));
    header.fax = field(QStringLiteral("fax"));
    header.remark = field(QStringLiteral("remark"));
    header.reference = field(QStringLiteral("reference"));
    header.payment_term = field(QStringLiteral("payment_term")).trimmed();
    return header;
}

void POform_pr::show_totals()
{
    const DocumentTotals totals = totalamt_calculate(pr_line_amounts(line_grid()));
    set_field(QStringLiteral("sub_total"), totals.sub_total.format());
    set_field(QStringLiteral("tax_total"), totals.tax_total.format());
    set_field(QStringLiteral("total"), totals.total.format());
}

// Lines -----------------------------------------------------------------------------------------

Entry POform_pr::check_cell(Grid& grid, int row, int column, const QString& previous)
{
    if (&grid == &line_grid())
        return line_cell_typed(row, column, previous);
    if (grid.name() == tax_detail_pane().grid)
        return taxable_amount_typed(row);
    return Entry::Accepted;
}

Entry POform_pr::line_cell_typed(int row, int column, const QString& previous)
{
    Grid& grid = line_grid();
    PrCellContext context{db(), m_lists, taxes(), field(QStringLiteral("shipto")).trimmed(), m_vendor_tax_code};
    const CellOutcome outcome = pr_cell_edited(context, grid, row, column, previous);
    if (outcome.error)
        report(*outcome.error);
    if (outcome.entry != Entry::Accepted)
        return outcome.entry;
    show_totals();
    current_line_changed();
    // The grid keeps one empty row at its end to type a new line into.
    if (mode() != Mode::Read && row == grid.row_count() - 1 && !grid.row_empty(row))
        grid.append_row();
    return Entry::Accepted;
}

Entry POform_pr::taxable_amount_typed(int row)
{
    Grid& grid = line_grid();
    const int itemno = tax_panes().shown_line();
    int line_row = -1;
    for (int index = 0; index < grid.row_count() && line_row < 0; ++index)
        if (pr_line_number(grid, index) == itemno)
            line_row = index;
    if (line_row < 0)
        return Entry::Refused;
    const TaxIncluded included = cell_checked(grid, line_row, col::TaxIncluded) ? TaxIncluded::Yes : TaxIncluded::No;
    auto totals = tax_panes().taxable_amount_edited(taxes(), row, taxable_amount(cell_amount(grid, line_row, col::ExtendedCost)),
                                                    included);
    if (!totals) {
        message(totals.error().message);
        return Entry::Refused;
    }
    grid.set_cell(line_row, col::TaxAmount, totals->tax_amount.format());
    grid.set_cell(line_row, col::NetCost, totals->net_cost.format());
    show_totals();
    return Entry::Accepted;
}

void POform_pr::current_line_changed()
{
    Grid& grid = line_grid();
    const int row = grid.current_row();
    const QString type = row >= 0 ? grid.cell(row, col::ItemType).trimmed() : QString();
    grid.set_column_choices(grid.required_column(col::ItemCode), m_lists.item_codes(type));
    grid.set_column_choices(grid.required_column(col::Account), m_lists.accounts(type));
    if (database()) {
        const QString item = row >= 0 ? grid.cell(row, col::ItemCode).trimmed() : QString();
        auto units = line_unit_choices(db(), m_lists.units, type, item);
        if (!units)
            report(units.error(), QStringLiteral("Reading the units of ") + item + QStringLiteral(" failed"));
        grid.set_column_choices(grid.required_column(col::Uom), units ? *units : m_lists.units);
    }
    refresh_tax_panes();
    refresh_stock_panes();
}

void POform_pr::renumber_lines()
{
    Grid& grid = line_grid();
    TaxElementStore renumbered;
    int next = 0;
    for (int row = 0; row < grid.row_count(); ++row) {
        const int itemno = pr_line_number(grid, row);
        if (!itemno)
            continue;
        ++next;
        if (taxes().has_line(itemno))
            renumbered.set_line(next, taxes().line(itemno));
        grid.set_cell(row, col::ItemNo, QString::number(next));
    }
    taxes() = std::move(renumbered);
}

bool POform_pr::delete_line()
{
    Grid& grid = line_grid();
    const int row = grid.current_row();
    const int itemno = row >= 0 ? pr_line_number(grid, row) : 0;
    if (!WindowModel::run_command(to_int(CommandId::DeleteLine)))
        return false;
    if (itemno)
        taxes().remove_line(itemno);
    show_totals();
    refresh_tax_panes();
    return true;
}

// Modes and saving ------------------------------------------------------------------------------

bool POform_pr::begin_new()
{
    const QString vendor = field(QStringLiteral("vendor_no")).trimmed();
    clear_document();
    m_key.clear();
    taxes().clear();
    m_vendor_tax_code.clear();
    set_field(QStringLiteral("docno"), NewDocumentNumber);
    set_field_date(QStringLiteral("order_date"), today());
    if (!show_default_ship_to())
        return false;
    set_field(QStringLiteral("currency"), settings().BASE_CURRENCY);
    // A vendor still chosen stays, with its details.
    if (vendor.isEmpty() || vendor_chosen(vendor) != Entry::Accepted)
        show_rates();
    show_totals();
    line_grid().append_row();
    line_grid().set_current(0, line_grid().required_column(col::ItemCode));
    refresh_tax_panes();
    return true;
}

bool POform_pr::begin_edit()
{
    auto document = shown_document();
    if (!document)
        return false;
    if (document->header.flag(u"closed"))
        return refuse(QStringLiteral("PR was closed."));
    line_grid().append_row();
    return true;
}

[[nodiscard]] std::expected<std::vector<PrLine>, Error> POform_pr::checked_lines(Mode saving)
{
    const PrHeaderTyped typed{field(QStringLiteral("vendor_no")).trimmed(), field(QStringLiteral("currency")).trimmed(),
                              field(QStringLiteral("shipto")).trimmed(), field(QStringLiteral("requested_user")).trimmed(),
                              field(QStringLiteral("payment_term")).trimmed()};
    if (!pr_grid_has_detail(line_grid()))
        return std::unexpected(Error::invalid(QStringLiteral("No detail line")));
    if (auto checked = verify_header(typed, m_lists); !checked)
        return std::unexpected(checked.error());
    for (const char* name : {"order_date", "requested_date"})
        if (auto date = field_date(QString::fromLatin1(name)); !date)
            return std::unexpected(date.error());
    if (saving == Mode::New) {
        if (field(QStringLiteral("order_date")).trimmed().isEmpty())
            set_field_date(QStringLiteral("order_date"), today());
        auto lines = pr_lines_of_grid(line_grid());
        if (!lines)
            return std::unexpected(lines.error());
        if (auto checked = verify_detail(db(), *lines); !checked)
            return std::unexpected(checked.error());
        renumber_lines();
    }
    auto lines = pr_lines_of_grid(line_grid());
    if (!lines)
        return lines;
    if (lines->empty())
        return std::unexpected(Error::invalid(QStringLiteral("No detail line")));
    if (auto checked = verify_lines_values(*lines, m_lists); !checked)
        return std::unexpected(checked.error());
    return lines;
}

bool POform_pr::save_new()
{
    const QString failed = QStringLiteral("Add new PR failed");
    auto checked = checked_lines(Mode::New);
    if (!checked) {
        report(checked.error(), failed);
        return false;
    }
    auto number = insert_new_pr(db(), header_values(), *checked, taxes(), audit_stamp(settings().ZELKOR_USER));
    if (!number) {
        new_save_failed(number.error(), failed);
        return false;
    }
    // The requisition is saved even if showing it again fails.
    m_key = number->fkey;
    set_field(QStringLiteral("docno"), number->docno);
    message(QStringLiteral("Add new PR complete"));
    show_key(number->fkey);
    return true;
}

bool POform_pr::save_edit()
{
    const QString docno = field(QStringLiteral("docno")).trimmed();
    const QString failed = QStringLiteral("Update PR no. ") + docno + QStringLiteral(" failed");
    auto checked = checked_lines(Mode::Edit);
    if (!checked) {
        report(checked.error(), failed);
        return false;
    }
    auto closed = update_pr(db(), shown_version(), header_values(), *checked, taxes(), audit_stamp(settings().ZELKOR_USER));
    if (!closed) {
        report(closed.error(), failed, Outcome::RolledBack);
        return false;
    }
    message(QStringLiteral("Update PR no. ") + docno + QStringLiteral(" complete"));
    show_key(m_key);
    return true;
}

void POform_pr::discard_changes(Mode left)
{
    if (left == Mode::New)
        go_last();
    else if (left == Mode::Edit)
        show_key(m_key);
}

} // namespace zelkor
