#include "core/master_lookups.h"

#include "core/db/sql_names.h"

namespace zelkor {
namespace {

struct ParameterKey {
    const char* module;
    const char* name;
    const char* missing_message;
};

ParameterKey key_of(Parameter parameter)
{
    switch (parameter) {
    case Parameter::ApSuspense:
        return {"AP", "AP suspense account", "no AP suspense account"};
    case Parameter::PurchaseDiscount:
        return {"PO", "purchase discount account", "no purchase discount account"};
    case Parameter::PurchaseVariance:
        return {"PO", "purchase variance account", "no purchase variance account"};
    case Parameter::RealizedGain:
        return {"GL", "GL realized gain account", ""};
    case Parameter::RealizedLoss:
        return {"GL", "GL realized loss account", ""};
    }
    Q_UNREACHABLE();
}

bool is_base(const QString& currency, const QString& base_currency)
{
    return currency.trimmed().isEmpty() || currency == base_currency;
}

PickList make(QString sql, QString layout, Params params = {})
{
    return PickList{std::move(sql), std::move(params), std::move(layout)};
}

} // namespace

[[nodiscard]] std::expected<std::optional<QString>, Error> module_parameter(Database& db, Parameter parameter)
{
    const ParameterKey key = key_of(parameter);
    auto row = db.first(QStringLiteral("SELECT accno FROM Account_Parameters_table"
                                       " WHERE module = ? AND parameter_name = ? AND ")
                            + sql_name(u"default") + QStringLiteral(" = ?"),
                        {key.module, key.name, true});
    if (!row)
        return std::unexpected(row.error());
    if (!*row || (*row)->is_null(u"accno") || (*row)->text(u"accno").isEmpty())
        return std::optional<QString>();
    return std::optional<QString>((*row)->text(u"accno"));
}

QString missing_parameter_message(Parameter parameter)
{
    return QString::fromLatin1(key_of(parameter).missing_message);
}

[[nodiscard]] std::expected<QString, Error> required_parameter(Database& db, Parameter parameter)
{
    auto account = module_parameter(db, parameter);
    if (!account)
        return std::unexpected(account.error());
    if (!*account)
        return std::unexpected(Error::not_found(missing_parameter_message(parameter)));
    return **account;
}

[[nodiscard]] std::expected<std::vector<ExchangeRate>, Error> exchange_rates(Database& db, const QString& currency,
                                                               const QString& base_currency,
                                                               const QDate& on_or_before)
{
    std::vector<ExchangeRate> rates;
    if (is_base(currency, base_currency))
        return rates;
    const PickList list = pick_lists::exchange_rate(currency, on_or_before);
    auto rows = list.load(db);
    if (!rows)
        return std::unexpected(rows.error());
    for (const Row& row : *rows)
        rates.push_back({row.decimal(u"rate"), row.date(u"rate_date")});
    return rates;
}

[[nodiscard]] std::expected<std::optional<ExchangeRate>, Error> document_rate(Database& db, const QString& currency,
                                                                const QString& base_currency, const QDate& date)
{
    auto rates = exchange_rates(db, currency, base_currency, date);
    if (!rates)
        return std::unexpected(rates.error());
    if (rates->empty())
        return std::optional<ExchangeRate>();
    return std::optional<ExchangeRate>(rates->back());
}

[[nodiscard]] std::expected<std::optional<ExchangeRate>, Error> newest_rate(Database& db, const QString& currency,
                                                              const QString& base_currency)
{
    if (is_base(currency, base_currency))
        return std::optional<ExchangeRate>();
    auto row = db.first(QStringLiteral("SELECT rate, rate_date FROM Exchange_rate_table WHERE currency = ?"
                                       " ORDER BY rate_date DESC"),
                        {currency});
    if (!row)
        return std::unexpected(row.error());
    if (!*row)
        return std::optional<ExchangeRate>();
    return std::optional<ExchangeRate>(ExchangeRate{(*row)->decimal(u"rate"), (*row)->date(u"rate_date")});
}

static const QString& owing_raise_sql()
{
    static const QString sql =
        QStringLiteral("UPDATE Vendor_table SET owing_balance = COALESCE(owing_balance, 0) + ? WHERE vendor_no = ?");
    return sql;
}

[[nodiscard]] std::expected<void, Error> update_vendor_owing_balance(Database& db, const QString& vendor_no, const Decimal& change)
{
    auto done = db.execute(owing_raise_sql(), {change, vendor_no});
    if (!done)
        return std::unexpected(done.error());
    // Exactly the vendor's row: a balance raised for nobody would be lost without a word.
    if (*done != 1)
        return std::unexpected(Error::not_found(QStringLiteral("vendor is invalid.")));
    return {};
}

[[nodiscard]] std::expected<void, Error> send_vendor_owing_balance(Database& db, const QString& vendor_no, const Decimal& change)
{
    return db.write(owing_raise_sql(), {change, vendor_no});
}

std::expected<std::optional<Row>, Error> vendor_in_use(Database& db, const QString& vendor_no)
{
    return db.first(QStringLiteral("SELECT * FROM Vendor_table WHERE vendor_no = ? AND discontinued = FALSE"), {vendor_no});
}

std::expected<QString, Error> vendor_name(Database& db, const QString& vendor_no)
{
    auto name = db.scalar(QStringLiteral("SELECT vendor_name FROM Vendor_table WHERE vendor_no = ?"), {vendor_no});
    if (!name)
        return std::unexpected(name.error());
    return Row::to_text(*name);
}

std::expected<std::optional<QString>, Error> default_warehouse(Database& db)
{
    static const QString sql = QStringLiteral("SELECT warehouse FROM Warehouse_master_table WHERE ") + sql_name(u"default")
                               + QStringLiteral(" = TRUE ORDER BY warehouse");
    auto warehouse = db.scalar(sql);
    if (!warehouse)
        return std::unexpected(warehouse.error());
    if (!warehouse->isValid() || warehouse->isNull())
        return std::optional<QString>();
    return std::optional<QString>(Row::to_text(*warehouse));
}

std::expected<std::optional<QString>, Error> ship_to_address(Database& db, const QString& warehouse)
{
    auto row = db.first(QStringLiteral("SELECT Address FROM Warehouse_master_table WHERE warehouse = ?"), {warehouse});
    if (!row)
        return std::unexpected(row.error());
    if (!*row)
        return std::optional<QString>();
    QString address = (*row)->text(u"Address");
    if (address.isEmpty()) {
        auto company = db.scalar(QStringLiteral("SELECT address FROM Company_table WHERE company_no = 1"));
        if (!company)
            return std::unexpected(company.error());
        address = Row::to_text(*company);
    }
    return std::optional<QString>(address);
}

std::expected<QString, Error> warehouse_default_location(Database& db, const QString& warehouse)
{
    static const QString sql = QStringLiteral("SELECT location FROM Warehouse_location_master_table WHERE warehouse = ? AND ")
                               + sql_name(u"default") + QStringLiteral(" = TRUE ORDER BY location");
    auto location = db.scalar(sql, {warehouse});
    if (!location)
        return std::unexpected(location.error());
    return Row::to_text(*location);
}

std::expected<std::optional<Row>, Error> item_row(Database& db, const QString& itemcode)
{
    return db.first(QStringLiteral("SELECT * FROM Item_master_table WHERE itemcode = ?"), {itemcode});
}

std::expected<std::optional<Row>, Error> item_by_code_or_short_name(Database& db, const QString& code)
{
    return db.first(QStringLiteral("SELECT * FROM Item_master_table WHERE (itemcode = ? OR short_name = ?)"
                                   " AND item_type IN ('1', '2') AND discontinued = FALSE"
                                   " ORDER BY CASE WHEN itemcode = ? THEN 0 ELSE 1 END, itemcode"),
                    {code, code, code});
}

std::expected<std::optional<Row>, Error> charge_row(Database& db, const QString& itemcode)
{
    return db.first(QStringLiteral("SELECT * FROM Vendor_miscellaneous_charge_table WHERE itemcode = ?"), {itemcode});
}

std::expected<QString, Error> account_name(Database& db, const QString& accno)
{
    auto name = db.scalar(QStringLiteral("SELECT accname FROM Account_master_table WHERE accno = ?"), {accno});
    if (!name)
        return std::unexpected(name.error());
    return Row::to_text(*name);
}

std::expected<std::optional<Decimal>, Error> item_last_cost(Database& db, const QString& itemcode,
                                                            const QString& warehouse)
{
    auto cost = db.first(QStringLiteral("SELECT last_cost FROM Item_warehouse_table"
                                        " WHERE company = 1 AND itemcode = ? AND warehouse = ?"),
                         {itemcode, warehouse});
    if (!cost)
        return std::unexpected(cost.error());
    if (!*cost)
        return std::optional<Decimal>();
    return (*cost)->decimal_or_null(u"last_cost");
}

std::expected<std::optional<ItemPlace>, Error> item_default_place(Database& db, const QString& itemcode)
{
    auto row = db.first(QStringLiteral("SELECT warehouse, default_location FROM Item_warehouse_table"
                                       " WHERE company = 1 AND itemcode = ? AND default_warehouse = TRUE"
                                       " ORDER BY warehouse"),
                        {itemcode});
    if (!row)
        return std::unexpected(row.error());
    if (!*row)
        return std::optional<ItemPlace>();
    return std::optional<ItemPlace>(ItemPlace{(*row)->text(u"warehouse"), (*row)->text(u"default_location")});
}

std::expected<QString, Error> item_default_location(Database& db, const QString& itemcode, const QString& warehouse)
{
    auto location = db.scalar(QStringLiteral("SELECT default_location FROM Item_warehouse_table"
                                             " WHERE company = 1 AND itemcode = ? AND warehouse = ?"),
                              {itemcode, warehouse});
    if (!location)
        return std::unexpected(location.error());
    return Row::to_text(*location);
}

std::expected<QStringList, Error> item_units(Database& db, const QString& itemcode)
{
    auto item = db.first(QStringLiteral("SELECT stock_uom, purchase_uom FROM Item_master_table WHERE itemcode = ?"),
                         {itemcode});
    if (!item)
        return std::unexpected(item.error());
    auto rules = db.select(QStringLiteral("SELECT DISTINCT uom_from FROM UOM_conversion_table WHERE itemcode = ?"
                                          " ORDER BY uom_from"),
                           {itemcode});
    if (!rules)
        return std::unexpected(rules.error());
    QStringList units;
    auto add = [&units](const QString& unit) {
        if (!unit.isEmpty() && !units.contains(unit, Qt::CaseInsensitive))
            units << unit;
    };
    if (*item) {
        add((*item)->text(u"stock_uom"));
        add((*item)->text(u"purchase_uom"));
    }
    for (const Row& rule : *rules)
        add(rule.text(u"uom_from"));
    return units;
}

std::expected<bool, Error> update_vendor_address(Database& db, const QString& vendor_no, const QString& address)
{
    auto done = db.execute(QStringLiteral("UPDATE Vendor_table SET Address = ? WHERE vendor_no = ?"), {address, vendor_no});
    if (!done)
        return std::unexpected(done.error());
    return *done > 0;
}

std::vector<PickList::Column> PickList::columns() const
{
    std::vector<Column> result;
    for (const QString& part : layout.split(u'|', Qt::SkipEmptyParts)) {
        const QStringList pieces = part.split(u';');
        if (pieces.size() < 4)
            continue;
        Column c;
        c.index = pieces[0].toInt();
        c.width_twips = pieces[1].toInt();
        c.alignment = pieces[2] == u"^" ? Qt::AlignHCenter : pieces[2] == u">" ? Qt::AlignRight : Qt::AlignLeft;
        c.caption = pieces.mid(3).join(u';');
        result.push_back(c);
    }
    return result;
}

[[nodiscard]] std::expected<Rows, Error> PickList::load(Database& db) const { return db.select(sql, params); }

namespace pick_lists {

PickList vendor_by_number(VendorFilter filter)
{
    return make(filter == VendorFilter::ActiveOnly
                    ? QStringLiteral("SELECT vendor_no, vendor_name FROM Vendor_table WHERE discontinued = ?"
                                     " ORDER BY vendor_no DESC")
                    : QStringLiteral("SELECT vendor_no, vendor_name FROM Vendor_table ORDER BY vendor_no DESC"),
                QStringLiteral("0;1500;^;Vendor no|1;3000;<;Name"),
                filter == VendorFilter::ActiveOnly ? Params{false} : Params{});
}

PickList vendor_by_name()
{
    return make(QStringLiteral("SELECT vendor_name, vendor_no FROM Vendor_table ORDER BY vendor_name DESC"),
                QStringLiteral("0;3000;<;Vendor name|1;1500;^;No"));
}

PickList user()
{
    return make(QStringLiteral("SELECT employee_name, employee_id FROM Employee_table ORDER BY employee_name"),
                QStringLiteral("0;3000;<;User name|1;1500;^;ID"));
}

PickList payment_term()
{
    return make(QStringLiteral("SELECT term_name, term_no FROM Payment_term_table ORDER BY term_no DESC"),
                QStringLiteral("0;1700;<;Term|1;700;^;Code"));
}

PickList item()
{
    return make(QStringLiteral("SELECT itemcode, description FROM Item_master_table ORDER BY itemcode"),
                QStringLiteral("0;2500;<;Item code|1;3500;<;Name"));
}

PickList cash_account()
{
    return make(QStringLiteral("SELECT accno, accname FROM Account_master_table WHERE accclass = ? AND type = ?"
                               " ORDER BY accno DESC"),
                QStringLiteral("0;2500;<;Account no|1;3000;<;Name"), {"Cash", "A"});
}

PickList bank()
{
    return make(QStringLiteral("SELECT bank_code, bank_name, bank_branch, bank_account_type FROM Bank_master_table"
                               " ORDER BY bank_code DESC"),
                QStringLiteral("0;2000;<;Bank code|1;1500;<;Name|2;1500;<;Branch|3;1000;<;Type"));
}

PickList exchange_rate(const QString& currency, const QDate& on_or_before)
{
    if (on_or_before.isValid())
        return make(QStringLiteral("SELECT rate, rate_date FROM Exchange_rate_table WHERE currency = ?"
                                   " AND rate_date <= ? ORDER BY rate_date"),
                    QStringLiteral("0;1500;<;Rate|1;1500;^;Rate Date"), {currency, on_or_before});
    return make(QStringLiteral("SELECT rate, rate_date FROM Exchange_rate_table WHERE currency = ? ORDER BY rate_date"),
                QStringLiteral("0;1500;<;Rate|1;1500;^;Rate Date"), {currency});
}

PickList account(AccountList list)
{
    const QString layout = QStringLiteral("0;2500;<;Account no|1;3000;<;Name");
    const QString joined = QStringLiteral(
        "SELECT a.accno, a.accname FROM Account_master_table a"
        " INNER JOIN Account_class_table c ON a.accclass = c.class_name WHERE a.type = ?");
    switch (list) {
    case AccountList::Postable:
        return make(QStringLiteral("SELECT accno, accname FROM Account_master_table WHERE type = ? ORDER BY accno"),
                    layout, {"A"});
    case AccountList::ExpenseLike:
        return make(joined + QStringLiteral(" AND COALESCE(c.parent, '') NOT IN (?, ?) AND a.accclass <> ?"
                                            " AND COALESCE(c.class_type, '') NOT IN (?, ?, ?) ORDER BY a.accno"),
                    layout,
                    {"A", "CURRENT ASSETS", "INVENTORY", "Cost of Goods sold", "LIABILITIES", "EQUITY", "REVENUE"});
    case AccountList::Inventory:
        return make(QStringLiteral("SELECT accno, accname FROM Account_master_table WHERE type = ? AND accclass = ?"
                                   " ORDER BY accno"),
                    layout, {"A", "Inventory"});
    case AccountList::FixedAsset:
        return make(joined + QStringLiteral(" AND c.class_type = ? AND COALESCE(c.parent, '') NOT IN (?, ?) AND a.accclass <> ?"
                                            " ORDER BY a.accno"),
                    layout, {"A", "ASSETS", "CURRENT ASSETS", "INVENTORY", "Accum Amor Depreciation"});
    case AccountList::Expense:
        return make(joined + QStringLiteral(" AND c.parent = ? AND a.accclass <> ? ORDER BY a.accno"), layout,
                    {"A", "EXPENSE", "Cost of Goods sold"});
    case AccountList::CurrentLiability:
        return make(joined + QStringLiteral(" AND c.parent = ? ORDER BY a.accno DESC"), layout,
                    {"A", "CURRENT LIABILITIES"});
    }
    Q_UNREACHABLE();
}

PickList warehouse()
{
    return make(QStringLiteral("SELECT warehouse, description FROM Warehouse_master_table ORDER BY warehouse"),
                QStringLiteral("0;1500;<;Warehouse|1;3000;<;Description"));
}

PickList warehouse_location()
{
    return make(QStringLiteral("SELECT warehouse, location FROM Warehouse_location_master_table"
                               " ORDER BY warehouse, location"),
                QStringLiteral("0;1500;<;warehouse|1;1500;<;location"));
}

PickList currency()
{
    return make(QStringLiteral("SELECT currency, description FROM Working_currency_table ORDER BY currency"),
                QStringLiteral("0;1000;<;Currency|1;3000;<;Description"));
}

PickList unit()
{
    return make(QStringLiteral("SELECT uom, description FROM UOM_table ORDER BY uom"),
                QStringLiteral("0;1000;<;uom|1;2500;<;description"));
}

PickList shipvia()
{
    return make(QStringLiteral("SELECT shipvia_id, Description FROM Shipvia_table ORDER BY shipvia_id"),
                QStringLiteral("0;1500;<;Ship via|1;3000;<;Description"));
}

PickList purchase_tax_code()
{
    return make(QStringLiteral("SELECT tax_code, description FROM Tax_code_table WHERE transaction_type = ?"
                               " ORDER BY tax_code"),
                QStringLiteral("0;1200;<;Tax code|1;3000;<;Description"), {"purchase"});
}

PickList item_of_type(const QString& item_type)
{
    return make(QStringLiteral("SELECT itemcode, description, item_type FROM Item_master_table"
                               " WHERE item_type = ? AND discontinued = FALSE ORDER BY itemcode"),
                QStringLiteral("0;1500;<;item code|1;3000;<;description|2;500;^;type"), {item_type});
}

PickList charge()
{
    return make(QStringLiteral("SELECT itemcode, description, '6' AS item_type FROM Vendor_miscellaneous_charge_table"
                               " ORDER BY itemcode"),
                QStringLiteral("0;1500;<;item code|1;3000;<;description|2;500;^;type"));
}

PickList order_item()
{
    return make(QStringLiteral("SELECT itemcode, description, item_type FROM Item_master_table"
                               " WHERE item_type IN ('1', '2') AND discontinued = FALSE"
                               " UNION ALL SELECT short_name, '(' || itemcode || ') ' || description, item_type"
                               " FROM Item_master_table WHERE item_type IN ('1', '2') AND discontinued = FALSE"
                               " AND short_name IS NOT NULL AND short_name <> ''"
                               " UNION ALL SELECT itemcode, Description, '6' FROM Vendor_miscellaneous_charge_table"
                               " ORDER BY 1"),
                QStringLiteral("0;1500;<;item code|1;3000;<;description|2;500;^;type"));
}

PickList fiscal_year()
{
    return make(QStringLiteral("SELECT fyear, StartDate FROM Fiscalyear_table ORDER BY fyear"),
                QStringLiteral("0;1000;<;Fiscal year|1;1500;^;Start"));
}

PickList outstanding_order(const QString& vendor_no, OutstandingOrders which)
{
    return make(QStringLiteral("SELECT docno, fkey FROM PO_header_table WHERE vendor_no = ? AND void = FALSE"
                               " AND fully_received = FALSE AND future_po = FALSE")
                    + (which == OutstandingOrders::WithStockItems ? QStringLiteral(" AND has_stock_item = TRUE") : QString())
                    + QStringLiteral(" ORDER BY docno DESC"),
                QStringLiteral("0;1800;<;PO no|1;0;<;key"), {vendor_no});
}

PickList vendor_part_number(const QString& vendor_no)
{
    return make(QStringLiteral("SELECT p.vendor_itemcode, i.itemcode, i.description, i.item_type, i.active"
                               " FROM Item_manufacturer_partno_table p INNER JOIN Item_master_table i"
                               " ON p.itemcode = i.itemcode WHERE i.item_type IN ('1', '2')"
                               " AND i.kit = FALSE AND i.discontinued = FALSE AND p.vendor_no = ?"
                               " ORDER BY p.vendor_itemcode"),
                QStringLiteral("0;1500;<;vendor item code|1;1500;<;item code|2;3000;<;description|3;500;^;type"
                               "|4;500;^;active"),
                {vendor_no});
}

} // namespace pick_lists
} // namespace zelkor
