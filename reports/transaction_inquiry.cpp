#include "reports/report_window.h"

#include "core/master_lookups.h"


namespace zelkor {

namespace {


const QString RememberedDateFormat = QStringLiteral("MMM dd,yyyy");
const QString DateBox = QStringLiteral("date_range");
const QString FromDate = QStringLiteral("from_date");
const QString ToDate = QStringLiteral("to_date");
const QString Status = QStringLiteral("status");
const QString All = QStringLiteral("All");

QDate remembered_date(const QString& text)
{
    QDate date = QDate::fromString(text.trimmed(), RememberedDateFormat);
    return date.isValid() ? date : QDate::fromString(text.trimmed(), QStringLiteral("MMM dd, yyyy"));
}

} // namespace

TransactionInquiry::TransactionInquiry(QString class_name, QString caption, Tables tables, QObject* parent)
    : ReportWindow(std::move(class_name), std::move(caption), parent), m_tables(std::move(tables))
{
    declare_filters();
    declare_report_commands({});
}

QString TransactionInquiry::name_joins(const QString& vendor_column, const QString& account_column,
                                       const QString& item_column)
{
    return QStringLiteral(" LEFT JOIN Vendor_table ON Vendor_table.vendor_no = ") + vendor_column
           + QStringLiteral(" LEFT JOIN Account_master_table ON Account_master_table.accno = ") + account_column
           + QStringLiteral(" LEFT JOIN Item_master_table ON Item_master_table.itemcode = ") + item_column;
}

std::vector<ReportColumn> TransactionInquiry::Columns::vendor(const QString& vendor_column)
{
    return {{"vendor no", vendor_column}, {"vendor name", "Vendor_table.vendor_name"}};
}

std::vector<ReportColumn> TransactionInquiry::Columns::item(const QString& lines, const QString& description)
{
    return {{"item no", lines + "itemno"},
            {"item code", lines + "itemcode"},
            {"item type", lines + "itemtype"},
            {"description", lines + description}};
}

std::vector<ReportColumn> TransactionInquiry::Columns::price(const QString& lines, const QString& extended_caption,
                                                             const QString& net_caption)
{
    using K = ColumnKind;
    // A price that includes its tax has no tax to add.
    const QString net = lines + "extended_cost + CASE WHEN " + lines + "price_include_tax THEN 0 ELSE " + lines + "tax_amount END";
    return {{"unit cost", lines + "unitcost", K::UnitCost, false, "Item_master_table.unitcost_decimals"},
            {"tax included", lines + "price_include_tax", K::Check},
            {extended_caption, lines + "extended_cost", K::Money, true},
            {net_caption, net, K::Money, true},
            {"tax code", lines + "tax_code"},
            {"tax amount", lines + "tax_amount", K::Money, true}};
}

std::vector<ReportColumn> TransactionInquiry::Columns::account(const QString& lines)
{
    return {{"account", lines + "accno"}, {"account name", "Account_master_table.accname"}};
}

std::vector<std::pair<QString, QString>> TransactionInquiry::Columns::sorts(const QString& lines, const QString& date,
                                                                            const QString& quantity, const QString& vendor)
{
    return {{"document no", lines + "docno"},          {"date", date},
            {"item no", lines + "itemno"},              {"quantity", lines + quantity},
            {"extended cost", lines + "extended_cost"}, {"item code", lines + "itemcode"},
            {"vendor no", vendor}};
}

std::vector<SortKey> TransactionInquiry::Columns::default_order(const QString& lines, bool landed_first)
{
    // Saved lines always carry their document's number: the key is never empty.
    std::vector<SortKey> order{{lines + "docno", false, false}};
    if (landed_first)
        order.push_back({lines + "landed_item", true, false});
    order.push_back({lines + "itemno", false, false});
    order.push_back({lines + "fkey", false, false});
    return order;
}

void TransactionInquiry::declare_filters()
{
    using K = FieldKind;
    for (const auto& [name, column] : m_tables.shortcuts)
        declare_field({name, name == QLatin1String("prno") ? QStringLiteral("PR no")
                             : name == QLatin1String("pono") ? QStringLiteral("PO no")
                                                             : QStringLiteral("Receipt no"),
                       K::Text, 0});
    declare_field({"vendor_no", "Vendor", K::DropDown, 0});
    declare_field({"status", "Status", K::DropDown, 0});
    declare_field({"date_range", "Date", K::Check, 1});
    declare_field({"from_date", "From", K::Date, 1});
    declare_field({"to_date", "To", K::Date, 1});
    declare_field({"vendor_name", "Vendor name", K::DropDown, 0, SidePanel});
    declare_field({"group_name", "Vendor group", K::Text, 1, SidePanel});
    if (m_tables.requested_user)
        declare_field({"requested_user", "Requested user", K::DropDown, 2, SidePanel});
    declare_field({"category", "Category", K::DropDown, 3, SidePanel});
    declare_field({"item_group", "Item group", K::DropDown, 4, SidePanel});
    declare_field({"item_from", "Item from", K::DropDown, 5, SidePanel});
    declare_field({"item_to", "Item to", K::DropDown, 6, SidePanel});
    declare_field({"description", "Description contains", K::Text, 7, SidePanel});
}

void TransactionInquiry::on_open()
{
    ReportWindow::on_open();
    load_filter_lists();
    set_field_date(FromDate, remembered_date(recall(QStringLiteral("fromdate"))));
    set_field_date(ToDate, remembered_date(recall(QStringLiteral("todate"))));
}

void TransactionInquiry::load_filter_lists()
{
    load_choices("vendor_no", pick_lists::vendor_by_number());
    load_choices("vendor_name", pick_lists::vendor_by_name());
    if (m_tables.requested_user) {
        load_choices("requested_user", pick_lists::user());
        Choices users = find_field("requested_user")->choices;
        users.bound_column = 1;
        set_field_choices("requested_user", users);
    }
    load_choices("category", PickList{QStringLiteral("SELECT category_name, description FROM Category_master_table"
                                                     " ORDER BY category_name"),
                                      {}, QStringLiteral("0;2500;<;Category|1;3000;<;Description")});
    load_choices("item_group", PickList{QStringLiteral("SELECT group_name, description FROM Item_group_master_table"
                                                       " ORDER BY group_name"),
                                        {}, QStringLiteral("0;2500;<;Item group|1;3000;<;Description")});
    load_choices("item_from", pick_lists::item());
    load_choices("item_to", pick_lists::item());
    QStringList statuses{All};
    for (const auto& [text, clause] : m_tables.statuses)
        statuses << text;
    set_field_choices(Status, Choices::of(statuses));
}

Entry TransactionInquiry::check_field(const QString& name, const QString& previous)
{
    if (ReportWindow::check_field(name, previous) == Entry::Refused)
        return Entry::Refused;
    if (name == QLatin1String("vendor_name"))
        set_field("vendor_no", find_field(name)->choices.lookup(field(name).trimmed(), 1));
    if (name == FromDate || name == ToDate) {
        if (auto date = field_date(name); date && date->isValid())
            remember(name == FromDate ? QStringLiteral("fromdate") : QStringLiteral("todate"),
                     date->toString(RememberedDateFormat));
    }
    apply_filter_precedence();
    return Entry::Accepted;
}

void TransactionInquiry::apply_filter_precedence()
{
    const bool by_category = !field("category").trimmed().isEmpty();
    for (const char* name : {"item_group", "item_from", "item_to"}) {
        if (by_category)
            set_field(QString::fromLatin1(name), QString());
        set_field_read_only(QString::fromLatin1(name), by_category);
    }
    const bool by_group = !field("group_name").trimmed().isEmpty();
    for (const char* name : {"vendor_no", "vendor_name"}) {
        if (by_group)
            set_field(QString::fromLatin1(name), QString());
        set_field_read_only(QString::fromLatin1(name), by_group);
    }
}

void TransactionInquiry::clear_filters()
{
    ReportWindow::clear_filters();
    apply_filter_precedence();
}

void TransactionInquiry::show_pending()
{
    set_field(DateBox, QStringLiteral("1"));
    set_field_date(FromDate, QDate(2000, 1, 1));
    set_field_date(ToDate, today());
    set_field(Status, QStringLiteral("Open"));
    run_inquiry();
}

bool TransactionInquiry::shortcut_selection(ReportSelection& selection) const
{
    for (const auto& [name, column] : m_tables.shortcuts) {
        const QString value = field(name).trimmed();
        if (value.isEmpty())
            continue;
        // A document number alone finds every line of it, whatever the other filters say.
        selection.where.add(company_condition());
        selection.where.add(m_tables.lines + u'.' + column + QStringLiteral(" = ?"), {value});
        return true;
    }
    return false;
}

QString TransactionInquiry::company_condition() const
{
    // Every line has company 1: the index that leads with it must not drive the plan, which
    // SQLite (without statistics) takes it to do when the condition names the column bare.
    return u'+' + m_tables.lines + QStringLiteral(".company = 1");
}

void TransactionInquiry::add_vendor_filters(ReportSelection& selection) const
{
    const QString group = field("group_name").trimmed();
    if (!group.isEmpty()) {
        // The lines of documents whose vendor belongs to the group.
        selection.joins += QStringLiteral(" INNER JOIN Vendor_group_table ON Vendor_group_table.vendor_no = ")
                           + m_tables.vendor;
        selection.where.add(QStringLiteral("Vendor_group_table.group_name = ?"), {group});
    } else if (const QString vendor = field("vendor_no").trimmed(); !vendor.isEmpty()) {
        selection.where.add(m_tables.vendor + QStringLiteral(" = ?"), {vendor});
    }
    if (m_tables.requested_user)
        if (const QString user = field("requested_user").trimmed(); !user.isEmpty())
            selection.where.add(m_tables.lines + QStringLiteral(".requested_user = ?"), {user});
}

void TransactionInquiry::add_item_filters(ReportSelection& selection) const
{
    const QString item = m_tables.lines + QStringLiteral(".itemcode");
    const QString category = field("category").trimmed();
    const QString group = field("item_group").trimmed();
    const QString from = field("item_from").trimmed();
    const QString to = field("item_to").trimmed();
    if (!category.isEmpty()) {
        selection.joins += QStringLiteral(" INNER JOIN Item_category_table ON Item_category_table.itemcode = ") + item;
        selection.where.add(QStringLiteral("Item_category_table.category_name = ?"), {category});
    } else if (!group.isEmpty()) {
        selection.joins += QStringLiteral(" INNER JOIN Item_group_table ON Item_group_table.itemcode = ") + item;
        selection.where.add(QStringLiteral("Item_group_table.group_name = ?"), {group});
    } else if (!from.isEmpty() && !to.isEmpty()) {
        selection.where.add(item + QStringLiteral(" >= ? AND ") + item + QStringLiteral(" <= ?"), {from, to});
    } else if (!from.isEmpty()) {
        selection.where.add(item + QStringLiteral(" = ?"), {from});
    }
    if (const QString text = field("description"); !text.trimmed().isEmpty())
        selection.where.add(QStringLiteral("LOWER(") + m_tables.lines + QStringLiteral(".description) LIKE LOWER(?) ESCAPE '\\'"),
                            {contains_pattern(text.trimmed())});
}

std::expected<ReportSelection, QString> TransactionInquiry::selection()
{
    ReportSelection selection;
    selection.order = chosen_order();
    m_dates_used.reset();
    if (shortcut_selection(selection))
        return selection;
    auto dates = date_range(DateBox, FromDate, ToDate);
    if (!dates)
        return std::unexpected(dates.error());
    selection.where.add(company_condition());
    add_vendor_filters(selection);
    add_item_filters(selection);
    if (*dates) {
        selection.where.add(m_tables.date + QStringLiteral(" >= ? AND ") + m_tables.date + QStringLiteral(" <= ?"),
                            {(*dates)->from, (*dates)->to});
        m_dates_used = *dates;
    } else {
        // Without the date box the lines of undated documents stay out.
        selection.where.add(m_tables.date + QStringLiteral(" IS NOT NULL"));
    }
    const QString status = field(Status).trimmed();
    QString clause = m_tables.unfiltered_status;
    for (const auto& [text, condition] : m_tables.statuses)
        if (text.compare(status, Qt::CaseInsensitive) == 0)
            clause = condition;
    if (!clause.isEmpty())
        selection.where.add(clause);
    return selection;
}

std::optional<DateRange> TransactionInquiry::printed_dates() const { return m_dates_used; }

void TransactionInquiry::remember_dates()
{
    if (auto from = field_date(FromDate); from && from->isValid())
        remember(QStringLiteral("fromdate"), from->toString(RememberedDateFormat));
    if (auto to = field_date(ToDate); to && to->isValid())
        remember(QStringLiteral("todate"), to->toString(RememberedDateFormat));
}

void TransactionInquiry::on_closing()
{
    remember_dates();
    ReportWindow::on_closing();
}

} // namespace zelkor
