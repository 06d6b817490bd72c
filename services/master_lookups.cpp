#include "services/master_lookups.h"

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
                                       " WHERE module = ? AND parameter_name = ? AND \"default\" = ?"),
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

[[nodiscard]] std::expected<void, Error> update_vendor_owing_balance(Database& db, const QString& vendor_no, const Decimal& change)
{
    auto done = db.execute(QStringLiteral("UPDATE Vendor_table SET owing_balance = COALESCE(owing_balance, 0) + ?"
                                          " WHERE vendor_no = ?"),
                           {change, vendor_no});
    if (!done)
        return std::unexpected(done.error());
    return {};
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

} // namespace pick_lists
} // namespace zelkor
