#include "forms/purchasing/pr_lists.h"

#include "forms/purchasing/purchase_tax.h"
#include "forms/purchasing/purchasing_lines.h"
#include "services/master_lookups.h"

namespace zelkor {

namespace {

const Choices Empty{};

/// Reads one list into `target`; the first failure is kept in `error`.
void read_into(Choices& target, std::expected<Choices, Error> read, std::optional<Error>& error)
{
    if (read)
        target = std::move(*read);
    else if (!error)
        error = read.error();
}

[[nodiscard]] std::expected<Choices, Error> item_list(Database& db, const QString& item_type)
{
    return Choices::load(db, PickList{QStringLiteral("SELECT itemcode, description, item_type FROM Item_master_table"
                                                     " WHERE item_type = ? AND discontinued = FALSE ORDER BY itemcode"),
                                      {item_type},
                                      QStringLiteral("0;1500;<;item code|1;3000;<;description|2;500;^;type")});
}

} // namespace

const Choices& PrLists::item_codes(const QString& item_type) const
{
    if (item_type == u"1")
        return stock_items;
    if (item_type == u"2")
        return master_items;
    if (item_type == u"6")
        return charges;
    return Empty;
}

const Choices& PrLists::accounts(const QString& item_type) const
{
    if (item_type == u"1")
        return inventory_accounts;
    if (item_type == u"3")
        return asset_accounts;
    if (item_type == u"2" || item_type == u"4" || item_type == u"5")
        return expense_accounts;
    return all_accounts;
}

[[nodiscard]] std::expected<PrLists, Error> load_pr_lists(Database& db)
{
    PrLists lists;
    std::optional<Error> error;
    read_into(lists.vendors, Choices::load(db, pick_lists::vendor_by_number(VendorFilter::ActiveOnly)), error);
    read_into(lists.vendor_names,
              Choices::query(db, QStringLiteral("SELECT vendor_name, vendor_no FROM Vendor_table"
                                                " WHERE discontinued = FALSE ORDER BY vendor_name DESC"),
                             {QStringLiteral("Name"), QStringLiteral("Vendor no")}),
              error);
    read_into(lists.warehouses, warehouse_choices(db), error);
    read_into(lists.currencies, currency_choices(db), error);
    read_into(lists.employees, Choices::load(db, pick_lists::user()), error);
    lists.employees.bound_column = 1;
    read_into(lists.payment_terms, Choices::load(db, pick_lists::payment_term()), error);
    lists.payment_terms.bound_column = 1;
    read_into(lists.stock_items, item_list(db, QStringLiteral("1")), error);
    read_into(lists.master_items, item_list(db, QStringLiteral("2")), error);
    read_into(lists.charges,
              Choices::query(db, QStringLiteral("SELECT itemcode, description, '6' AS item_type"
                                                " FROM Vendor_miscellaneous_charge_table ORDER BY itemcode"),
                             {QStringLiteral("item code"), QStringLiteral("description"), QStringLiteral("type")}),
              error);
    read_into(lists.units, unit_choices(db), error);
    read_into(lists.tax_codes, purchase_tax_code_choices(db), error);
    read_into(lists.locations, warehouse_location_choices(db), error);
    read_into(lists.all_accounts, Choices::load(db, pick_lists::account(AccountList::Postable)), error);
    read_into(lists.expense_accounts, Choices::load(db, pick_lists::account(AccountList::ExpenseLike)), error);
    read_into(lists.inventory_accounts, Choices::load(db, pick_lists::account(AccountList::Inventory)), error);
    read_into(lists.asset_accounts, Choices::load(db, pick_lists::account(AccountList::FixedAsset)), error);
    if (error)
        return std::unexpected(*error);
    return lists;
}

[[nodiscard]] std::expected<Choices, Error> units_for_line(Database& db, const PrLists& lists, const QString& item_type,
                                             const QString& itemcode)
{
    return item_unit_choices(db, lists.units, item_type, itemcode);
}

} // namespace zelkor
