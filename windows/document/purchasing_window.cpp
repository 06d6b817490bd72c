#include "windows/document/purchasing_window.h"

#include "core/fiscal_periods.h"
#include "core/master_lookups.h"
#include "documents/common/line_checks.h"
#include "tax/purchase_tax.h"
#include "windows/document/document_lines.h"
#include "windows/document/tax_panes.h"

#include <map>

namespace zelkor {

namespace {

// The captions the purchasing line grids share.
const QString ItemNo = QStringLiteral("item no");
const QString ItemCode = QStringLiteral("item code");
const QString ItemType = QStringLiteral("item type");
const QString Description = QStringLiteral("description");
const QString VendorItemCode = QStringLiteral("vendor item code");
const QString UnitCost = QStringLiteral("unit cost");
const QString ExtendedCost = QStringLiteral("extended cost");
const QString TaxCode = QStringLiteral("tax code");
const QString TaxIncludedColumn = QStringLiteral("tax included");
const QString TaxAmount = QStringLiteral("tax amount");
const QString AllocatedTax = QStringLiteral("allocated tax");
const QString NetCost = QStringLiteral("net cost");
const QString Account = QStringLiteral("account");
const QString AccountName = QStringLiteral("account name");
const QString Warehouse = QStringLiteral("warehouse");
const QString Location = QStringLiteral("location");

/// Writes a cell the grid has; a grid without the column has nothing to show.
void set_if_shown(Grid& lines, int row, const QString& caption, const QString& value)
{
    if (lines.column_index(caption) >= 0)
        lines.set_cell(row, caption, value);
}

} // namespace

PurchasingWindow::PurchasingWindow(QString class_name, QString caption, DocumentKind kind, QString date_field,
                                   QString quantity, QObject* parent)
    : DocumentWindow(std::move(class_name), std::move(caption), std::move(kind), parent),
      m_date_field(std::move(date_field)), m_quantity(std::move(quantity))
{
}

PurchasingWindow::~PurchasingWindow() = default;

Database& PurchasingWindow::db() const
{
    Q_ASSERT_X(database(), qPrintable(class_name()), "the host settings give no database");
    return *database();
}

void PurchasingWindow::on_open()
{
    if (!database())
        return;
    auto lists = load_document_lists(db());
    auto items = lists ? Choices::load(db(), pick_lists::order_item()) : std::unexpected(lists.error());
    if (items) {
        m_lists = std::move(*lists);
        for (auto [field, list] : {std::pair{"vendor_no", &m_lists.vendors}, {"vendor_name", &m_lists.vendor_names},
                                   {"requested_user", &m_lists.employees}, {"payment_term", &m_lists.payment_terms},
                                   {"shipto", &m_lists.warehouses},     {"shipvia", &m_lists.shipvias},
                                   {"currency", &m_lists.currencies}})
            if (find_field(QString::fromLatin1(field)))
                set_field_choices(QString::fromLatin1(field), *list);
        Grid& lines = line_grid();
        Choices locations = m_lists.locations;
        locations.bound_column = 1;
        for (auto& [caption, choices] : {std::pair{ItemCode, std::move(*items)}, {ItemType, item_type_choices()},
                                         {m_unit, m_lists.units}, {TaxCode, m_lists.tax_codes},
                                         {Account, m_lists.all_accounts}, {Warehouse, m_lists.warehouses},
                                         {Location, std::move(locations)}})
            // A grid without warehouses (a landed bill's charges) passes their lists by.
            lines.set_column_choices(lines.column_index(caption), choices);
    }
    auto loaded = items ? load_window_lists() : std::unexpected(items.error());
    if (!loaded)
        report(loaded.error(), QStringLiteral("Reading the lists of the window failed"));
    reset_header_fields();
}

void PurchasingWindow::discard_changes(Mode left)
{
    WindowModel::discard_changes(left);
    if (left == Mode::Edit)
        taxes() = m_shown_taxes;
    else if (left == Mode::New)
        go_last();
}

void PurchasingWindow::show_nothing()
{
    DocumentWindow::show_nothing();
    set_field(QStringLiteral("docno"), NewDocumentNumber);
}

QString PurchasingWindow::not_found_message(const QString& number) const
{
    return number + QStringLiteral(" not found.");
}

void PurchasingWindow::keep_shown_taxes() { m_shown_taxes = taxes(); }

void PurchasingWindow::set_line_unit(QString caption, QString invalid_message)
{
    m_unit = std::move(caption);
    m_unit_invalid = std::move(invalid_message);
}

std::expected<void, Error> PurchasingWindow::load_period_lists()
{
    auto years = Choices::load(db(), pick_lists::fiscal_year());
    if (!years)
        return std::unexpected(years.error());
    set_field_choices(QStringLiteral("fyear"), *years);
    bool counted = false;
    const int periods = settings().ZELKOR_NO_PERIODS.toInt(&counted);
    QStringList numbers;
    for (int period = 1; period <= (counted && periods > 0 && periods <= 13 ? periods : 12); ++period)
        numbers << QString::number(period);
    set_field_choices(QStringLiteral("period"), Choices::of(numbers));
    return {};
}

Entry PurchasingWindow::period_follows_date()
{
    if (!database())
        return Entry::Accepted;
    auto date = field_date(m_date_field);
    if (!date) {
        message(date.error().message);
        return Entry::Refused;
    }
    if (!date->isValid())
        return Entry::Accepted;
    auto period = fiscal_period_of(db(), *date);
    if (!period) {
        report(period.error());
        set_field(QStringLiteral("period"), QString());
        set_field(QStringLiteral("fyear"), QString());
        return Entry::Accepted;
    }
    set_field(QStringLiteral("period"), QString::number(period->period));
    set_field(QStringLiteral("fyear"), period->fiscal_year);
    return show_rates();
}

bool PurchasingWindow::shown_document_changeable()
{
    if (m_key.isEmpty())
        return false;
    if (find_field(QStringLiteral("void"))->checked())
        return refuse(field(QStringLiteral("docno")) + QStringLiteral(" was void."));
    return true;
}

// Header fields -----------------------------------------------------------------------------------

Entry PurchasingWindow::check_field(const QString& name, const QString& previous)
{
    if (name == u"docno")
        return DocumentWindow::check_field(name, previous);
    if (name == u"vendor_no")
        return vendor_chosen();
    if (name == u"vendor_name")
        return vendor_name_chosen();
    if (name == u"shipto")
        return shipto_chosen();
    if (name == u"currency"
        && choice_typed(name, m_lists.currencies, QStringLiteral("currency is invalid.")) != Entry::Accepted)
        return Entry::Refused;
    if (name == u"currency" || name == m_date_field)
        return show_rates();
    if (name == u"exchange_rate")
        return rate_typed();
    if (name == u"requested_user")
        return choice_typed(name, m_lists.employees, QStringLiteral("requested by is invalid."));
    if (name == u"payment_term")
        return choice_typed(name, m_lists.payment_terms, QStringLiteral("payment term is invalid."));
    if (name == u"shipvia")
        return choice_typed(name, m_lists.shipvias, QStringLiteral("ship via is invalid."));
    if (name == u"period")
        return choice_typed(name, find_field(name)->choices, QStringLiteral("period is invalid."));
    if (name == u"fyear")
        return choice_typed(name, find_field(name)->choices, QStringLiteral("fiscal year is invalid."));
    if (name == u"rate_date")
        return date_typed(name);
    return Entry::Accepted;
}

Entry PurchasingWindow::date_typed(const QString& name)
{
    if (auto date = field_date(name); !date) {
        message(date.error().message);
        return Entry::Refused;
    }
    return Entry::Accepted;
}

Entry PurchasingWindow::choice_typed(const QString& name, const Choices& list, const QString& message_text)
{
    auto chosen = chosen_value(list, field(name), message_text);
    if (!chosen) {
        message(chosen.error().message);
        return Entry::Refused;
    }
    set_field(name, *chosen);
    return Entry::Accepted;
}

Entry PurchasingWindow::vendor_name_chosen()
{
    auto chosen = chosen_value(m_lists.vendor_names, field(QStringLiteral("vendor_name")),
                               QStringLiteral("vendor is invalid."));
    if (!chosen) {
        message(chosen.error().message);
        return Entry::Refused;
    }
    set_field(QStringLiteral("vendor_no"), m_lists.vendor_names.lookup(*chosen, 1));
    return vendor_chosen();
}

Entry PurchasingWindow::vendor_chosen()
{
    const QString vendor = field(QStringLiteral("vendor_no")).trimmed();
    if (!database() || vendor.isEmpty())
        return Entry::Accepted;
    auto row = chosen_vendor(db(), vendor);
    if (!row) {
        report(row.error(), QStringLiteral("Reading vendor ") + vendor + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    show_vendor_details(*this, *row);
    if (find_field(QStringLiteral("vendor_address")))
        set_field(QStringLiteral("vendor_address"), row->text(u"Address"));
    m_vendor_tax_code = row->text(u"tax_code");
    show_rates();
    return Entry::Accepted;
}

Entry PurchasingWindow::rate_typed()
{
    // An empty rate stays allowed (nothing is written); a typed one must be a rate.
    const QString typed = field("exchange_rate").trimmed();
    if (typed.isEmpty())
        return Entry::Accepted;
    const auto rate = Decimal::parse(typed);
    if (!rate || *rate <= Decimal() || column_problem(*rate, NumberColumn::Rate)) {
        message(QStringLiteral("exchange rate is invalid."));
        return Entry::Refused;
    }
    if (const Choices& rates = find_field(QStringLiteral("exchange_rate"))->choices; rates.find(typed) >= 0)
        set_field_date(QStringLiteral("rate_date"), QDate::fromString(rates.lookup(typed, 1), Qt::ISODate));
    return Entry::Accepted;
}

Entry PurchasingWindow::show_rates()
{
    const QString currency = field(QStringLiteral("currency")).trimmed();
    const bool base = currency.isEmpty() || currency == settings().BASE_CURRENCY;
    set_field_read_only(QStringLiteral("exchange_rate"), base);
    set_field_read_only(QStringLiteral("rate_date"), base);
    if (base || !database()) {
        set_field(QStringLiteral("exchange_rate"), QString());
        set_field(QStringLiteral("rate_date"), QString());
        return Entry::Accepted;
    }
    const QDate date = field_date(m_date_field).value_or(QDate());
    auto rates = exchange_rates(db(), currency, settings().BASE_CURRENCY, date.isValid() ? date : today());
    if (!rates) {
        report(rates.error(), QStringLiteral("Reading the rates of ") + currency + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    Choices choices{{"Rate", "Rate Date"}, {}, {}, 0};
    for (const ExchangeRate& rate : *rates)
        choices.rows.push_back({rate.rate.to_string(), rate.rate_date.toString(Qt::ISODate)});
    set_field_choices(QStringLiteral("exchange_rate"), choices);
    if (!rates->empty()) {
        set_field(QStringLiteral("exchange_rate"), rates->back().rate.to_string());
        set_field_date(QStringLiteral("rate_date"), rates->back().rate_date);
    } else {
        set_field(QStringLiteral("exchange_rate"), QString());
        set_field(QStringLiteral("rate_date"), QString());
    }
    return Entry::Accepted;
}

Entry PurchasingWindow::shipto_chosen()
{
    const QString shipto = field(QStringLiteral("shipto")).trimmed();
    if (!database() || shipto.isEmpty())
        return Entry::Accepted;
    auto address = ship_to_address(db(), shipto);
    if (!address) {
        report(address.error(), QStringLiteral("Reading warehouse ") + shipto + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    if (!*address) {
        message(QStringLiteral("Ship-to is invalid."));
        return Entry::Refused;
    }
    set_field(QStringLiteral("ship_to_address"), **address);
    return Entry::Accepted;
}

void PurchasingWindow::show_default_ship_to()
{
    if (!database())
        return;
    auto warehouse = default_warehouse(db());
    if (!warehouse)
        report(warehouse.error(), QStringLiteral("Reading the default warehouse failed"));
    else if (*warehouse) {
        set_field(QStringLiteral("shipto"), **warehouse);
        shipto_chosen();
    }
}

std::expected<std::optional<PurchasingWindow::StoredDocument>, Error>
PurchasingWindow::read_stored_document(const QString& key, const QString& lines_query)
{
    auto header = db().first(QStringLiteral("SELECT h.*, v.vendor_name FROM ") + document_kind().header_table
                                 + QStringLiteral(" h LEFT JOIN Vendor_table v ON v.vendor_no = h.vendor_no WHERE h.fkey = ?"),
                             {key});
    if (!header)
        return std::unexpected(header.error());
    if (!*header)
        return std::nullopt;
    auto lines = db().select(lines_query, {key});
    if (!lines)
        return std::unexpected(lines.error());
    // The elements are read before the store is replaced, so a failure leaves the window as it was.
    std::map<QString, TaxAuthorities> authorities;
    TaxElementStore stored;
    for (const Row& line : *lines) {
        const QString code = line.text(u"tax_code");
        if (!authorities.contains(code)) {
            auto read = tax_code_authorities(db(), code);
            if (!read)
                return std::unexpected(read.error());
            authorities[code] = std::move(*read);
        }
        const int itemno = int(line.integer(u"itemno"));
        stored.set_line(itemno, tax_elements_from_row(line, itemno, authorities[code]));
    }
    taxes() = std::move(stored);
    return StoredDocument{**header, std::move(*lines)};
}

// Lines -------------------------------------------------------------------------------------------

void PurchasingWindow::offer_line_units(int row)
{
    Grid& lines = line_grid();
    if (!database() || row < 0)
        return;
    auto units = line_unit_choices(db(), m_lists.units, lines.cell(row, ItemType).trimmed(),
                                   lines.cell(row, ItemCode).trimmed());
    if (!units)
        report(units.error(), QStringLiteral("Reading the units of ") + lines.cell(row, ItemCode) + QStringLiteral(" failed"));
    lines.set_column_choices(lines.required_column(m_unit), units ? *units : m_lists.units);
}

void PurchasingWindow::renumber_lines()
{
    Grid& lines = line_grid();
    int highest = 0;
    for (int row = 0; row < lines.row_count(); ++row)
        highest = std::max(highest, lines.cell(row, ItemNo).toInt());
    for (int row = 0; row < lines.row_count(); ++row)
        if (lines.cell(row, ItemNo).trimmed().isEmpty() && !lines.cell(row, ItemCode).trimmed().isEmpty())
            lines.set_cell(row, ItemNo, QString::number(++highest));
}

void PurchasingWindow::number_line(int row)
{
    if (!m_bulk_lines) {
        renumber_lines();
        return;
    }
    Grid& lines = line_grid();
    if (lines.cell(row, ItemNo).trimmed().isEmpty() && !lines.cell(row, ItemCode).trimmed().isEmpty())
        lines.set_cell(row, ItemNo, QString::number(++m_bulk_highest));
}

PurchasingWindow::BulkLines::BulkLines(PurchasingWindow& window) : m_window(window)
{
    Grid& lines = window.line_grid();
    window.m_bulk_highest = 0;
    for (int row = 0; row < lines.row_count(); ++row)
        window.m_bulk_highest = std::max(window.m_bulk_highest, lines.cell(row, ItemNo).toInt());
    window.m_bulk_lines = true;
}

PurchasingWindow::BulkLines::~BulkLines() { m_window.m_bulk_lines = false; }

int PurchasingWindow::first_empty_row(int from)
{
    Grid& lines = line_grid();
    for (int row = std::max(0, from); row < lines.row_count(); ++row)
        if (lines.row_empty(row))
            return row;
    return lines.append_row();
}

bool PurchasingWindow::delete_current_line()
{
    Grid& lines = line_grid();
    const int row = lines.current_row();
    const int itemno = row >= 0 ? lines.cell(row, ItemNo).toInt() : 0;
    if (!WindowModel::run_command(to_int(CommandId::DeleteLine)))
        return false;
    taxes().remove_line(itemno);
    calculate_totals();
    return true;
}

void PurchasingWindow::recompute_line_tax(int row)
{
    Grid& lines = line_grid();
    const int itemno = lines.cell(row, ItemNo).toInt();
    if (!database() || itemno <= 0)
        return;
    const TaxIncluded included = cell_checked(lines, row, TaxIncludedColumn) ? TaxIncluded::Yes : TaxIncluded::No;
    const auto extended = cell_number(lines, row, ExtendedCost);
    auto totals = get_fulltax_detail(db(), taxes(), itemno, extended ? taxable_amount(*extended) : std::nullopt,
                                     lines.cell(row, TaxCode).trimmed(), included);
    if (!totals) {
        // Elements of the old code must not be saved with the new one.
        taxes().remove_line(itemno);
        report(totals.error(), QStringLiteral("Computing the tax of line ") + QString::number(itemno)
                                   + QStringLiteral(" failed"));
        return;
    }
    lines.set_cell(row, TaxAmount, totals->tax_amount.format(2));
    lines.set_cell(row, AllocatedTax, totals->allocated.format(2));
    lines.set_cell(row, NetCost, totals->net_cost.format(2));
    if (m_bulk_lines)
        return;
    calculate_totals();
    if (row == lines.current_row())
        refresh_tax_panes();
}

Entry PurchasingWindow::taxable_amount_entered(int row)
{
    Grid& lines = line_grid();
    const int itemno = tax_panes().shown_line();
    for (int line = 0; line < lines.row_count(); ++line) {
        if (itemno <= 0 || lines.cell(line, ItemNo).toInt() != itemno)
            continue;
        const TaxIncluded included = cell_checked(lines, line, TaxIncludedColumn) ? TaxIncluded::Yes : TaxIncluded::No;
        const auto extended = cell_number(lines, line, ExtendedCost);
        auto totals = tax_panes().taxable_amount_edited(taxes(), row, extended ? taxable_amount(*extended) : std::nullopt,
                                                        included);
        if (!totals) {
            message(totals.error().message);
            return Entry::Refused;
        }
        lines.set_cell(line, TaxAmount, totals->tax_amount.format(2));
        lines.set_cell(line, AllocatedTax, totals->allocated.format(2));
        lines.set_cell(line, NetCost, totals->net_cost.format(2));
        calculate_totals();
        return Entry::Accepted;
    }
    return Entry::Accepted;
}

Entry PurchasingWindow::item_code_entered(int row)
{
    Grid& lines = line_grid();
    const QString code = lines.cell(row, ItemCode).trimmed();
    if (code.isEmpty()) {
        for (const QString& cleared : {ItemType, Description, m_quantity, m_unit, UnitCost, ExtendedCost, NetCost, Warehouse,
                                       Location, TaxCode, TaxAmount, AllocatedTax, Account, AccountName, VendorItemCode})
            set_if_shown(lines, row, cleared, QString());
        taxes().remove_line(lines.cell(row, ItemNo).toInt());
        calculate_totals();
        return Entry::Accepted;
    }
    const QString type = lines.cell(row, ItemType).trimmed();
    if (type.isEmpty() || is_master_item(type)) {
        // A short name stands for its item.
        auto item = item_by_code_or_short_name(db(), code);
        if (!item) {
            report(item.error(), QStringLiteral("Reading item ") + code + QStringLiteral(" failed"));
            return Entry::Refused;
        }
        if (*item) {
            if (!(*item)->flag(u"active")) {
                message(code + QStringLiteral(" is inactive."));
                return Entry::Refused;
            }
            lines.set_cell(row, ItemCode, (*item)->text(u"itemcode"));
            lines.set_cell(row, ItemType, (*item)->text(u"item_type"));
            return fill_item_defaults(row, **item);
        }
    }
    if (type.isEmpty() || type == u"6") {
        auto charge = charge_row(db(), code);
        if (!charge) {
            report(charge.error(), QStringLiteral("Reading charge ") + code + QStringLiteral(" failed"));
            return Entry::Refused;
        }
        if (*charge) {
            lines.set_cell(row, ItemType, QStringLiteral("6"));
            lines.set_cell(row, Description, (*charge)->text(u"Description"));
            lines.set_cell(row, TaxCode, (*charge)->text(u"tax_code"));
            lines.set_cell(row, Account, (*charge)->text(u"account"));
            set_if_shown(lines, row, AccountName, m_lists.all_accounts.lookup((*charge)->text(u"account"), 1));
            renumber_lines();
            recompute_line_tax(row);
            return Entry::Accepted;
        }
    }
    if (type == u"3" || type == u"4" || type == u"5" || type == u"0") {
        renumber_lines();
        if (default_tax_code(row))
            recompute_line_tax(row);
        return Entry::Accepted;
    }
    message(QStringLiteral("item code is invalid."));
    return Entry::Refused;
}

Entry PurchasingWindow::fill_item_defaults(int row, const Row& item)
{
    Grid& lines = line_grid();
    const QString code = item.text(u"itemcode");
    lines.set_cell(row, Description, item.text(u"description"));
    default_tax_code(row);
    // A window without a ship-to (the bill) has no warehouse to take a last cost from.
    const QString shipto = find_field(QStringLiteral("shipto")) ? field(QStringLiteral("shipto")).trimmed() : QString();
    auto filled = fill_line_from_item(db(), lines, row, item, shipto, m_unit);
    if (filled)
        filled = fill_item_default_place(db(), lines, row);
    if (!filled) {
        report(filled.error(), QStringLiteral("Reading item ") + code + QStringLiteral(" failed"));
        return Entry::Refused;
    }
    renumber_lines();
    if (const auto quantity = cell_number(lines, row, m_quantity))
        if (const auto unitcost = cell_number(lines, row, UnitCost))
            if (auto extended = extended_cost_of(*quantity, *unitcost))
                lines.set_cell(row, ExtendedCost, extended->format(2));
    recompute_line_tax(row);
    return Entry::Accepted;
}

bool PurchasingWindow::default_tax_code(int row)
{
    Grid& lines = line_grid();
    if (!lines.cell(row, TaxCode).trimmed().isEmpty())
        return true;
    auto code = line_default_tax_code(db(), m_vendor_tax_code);
    if (!code) {
        report(code.error());
        return false;
    }
    lines.set_cell(row, TaxCode, *code);
    return true;
}

Entry PurchasingWindow::amount_typed(int row, const QString& caption, const QString& noun, NumberColumn column)
{
    Grid& lines = line_grid();
    if (auto checked = typed_number(lines.cell(row, caption).trimmed(), noun, column); !checked) {
        message(checked.error().message);
        return Entry::Refused;
    }
    const auto quantity = cell_number(lines, row, m_quantity);
    const auto unitcost = cell_number(lines, row, UnitCost);
    if (caption == ExtendedCost) {
        // The unit cost keeps the six decimals it is saved with.
        if (const auto extended = cell_number(lines, row, ExtendedCost); extended && quantity) {
            const Decimal divisor = quantity->is_negative() || quantity->is_zero() ? Decimal(1) : *quantity;
            lines.set_cell(row, UnitCost, (*extended / divisor).round(6).format_at_least());
        }
    } else if (caption == m_quantity || caption == UnitCost) {
        if (quantity && unitcost) {
            auto extended = extended_cost_of(*quantity, *unitcost);
            if (!extended) {
                message(extended.error().message);
                return Entry::Refused;
            }
            lines.set_cell(row, ExtendedCost, extended->format(2));
        }
    } else {
        return Entry::Accepted;
    }
    recompute_line_tax(row);
    return Entry::Accepted;
}

std::optional<Entry> PurchasingWindow::line_code_typed(int row, const QString& caption)
{
    Grid& lines = line_grid();
    const QString value = lines.cell(row, caption).trimmed();
    auto chosen_into = [&](const Choices& list, const QString& column, const QString& message_text) {
        auto chosen = chosen_value(list, value, message_text);
        if (!chosen) {
            message(chosen.error().message);
            return Entry::Refused;
        }
        lines.set_cell(row, column, *chosen);
        return Entry::Accepted;
    };
    if (caption == TaxCode) {
        const Entry entry = chosen_into(m_lists.tax_codes, TaxCode, QStringLiteral("tax code is invalid."));
        if (entry == Entry::Accepted)
            recompute_line_tax(row);
        return entry;
    }
    if (caption == TaxIncludedColumn) {
        recompute_line_tax(row);
        return Entry::Accepted;
    }
    if (caption == m_unit) {
        // A stock item's line takes the item's own units only.
        auto units = line_unit_choices(db(), m_lists.units, lines.cell(row, ItemType).trimmed(),
                                       lines.cell(row, ItemCode).trimmed());
        if (!units) {
            report(units.error(), QStringLiteral("Reading the units of ") + lines.cell(row, ItemCode)
                                      + QStringLiteral(" failed"));
            return Entry::Refused;
        }
        return chosen_into(*units, m_unit, m_unit_invalid);
    }
    if (caption == Account) {
        const Entry entry = chosen_into(m_lists.all_accounts, Account, QStringLiteral("account is invalid."));
        if (entry == Entry::Accepted)
            set_if_shown(lines, row, AccountName, m_lists.all_accounts.lookup(lines.cell(row, Account), 1));
        return entry;
    }
    if (caption != Warehouse && caption != Location)
        return std::nullopt;
    if (value.isEmpty()) {
        if (auto filled = fill_item_default_place(db(), lines, row); !filled)
            report(filled.error(), QStringLiteral("Reading the default place of ") + lines.cell(row, ItemCode)
                                       + QStringLiteral(" failed"));
        return Entry::Accepted;
    }
    if (caption == Warehouse)
        return chosen_into(m_lists.warehouses, Warehouse, QStringLiteral("warehouse is invalid."));
    if (m_lists.has_location(lines.cell(row, Warehouse).trimmed(), value))
        return Entry::Accepted;
    message(QStringLiteral("location is invalid."));
    return Entry::Refused;
}

} // namespace zelkor
