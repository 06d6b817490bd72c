#include "documents/common/document_lists.h"

#include "core/master_lookups.h"

#include <optional>

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

} // namespace

const Choices& DocumentLists::item_codes(const QString& item_type) const
{
    if (item_type == u"1")
        return stock_items;
    if (item_type == u"2")
        return master_items;
    if (item_type == u"6")
        return charges;
    return Empty;
}

const Choices& DocumentLists::accounts(const QString& item_type) const
{
    if (item_type == u"1")
        return inventory_accounts;
    if (item_type == u"3")
        return asset_accounts;
    if (item_type == u"2" || item_type == u"4" || item_type == u"5")
        return expense_accounts;
    return all_accounts;
}

bool DocumentLists::has_location(const QString& warehouse, const QString& location) const
{
    for (const QStringList& pair : locations.rows)
        if (pair.value(0).compare(warehouse, Qt::CaseInsensitive) == 0
            && pair.value(1).compare(location, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::expected<DocumentLists, Error> load_document_lists(Database& db)
{
    DocumentLists lists;
    std::optional<Error> error;
    auto load = [&](Choices& target, const PickList& list, int bound_column = 0) {
        read_into(target, Choices::load(db, list), error);
        target.bound_column = bound_column;
    };
    load(lists.vendors, pick_lists::vendor_by_number(VendorFilter::ActiveOnly));
    read_into(lists.vendor_names,
              Choices::query(db, QStringLiteral("SELECT vendor_name, vendor_no FROM Vendor_table"
                                                " WHERE discontinued = FALSE ORDER BY vendor_name DESC"),
                             {QStringLiteral("Name"), QStringLiteral("Vendor no")}),
              error);
    load(lists.warehouses, pick_lists::warehouse());
    load(lists.locations, pick_lists::warehouse_location());
    load(lists.currencies, pick_lists::currency());
    load(lists.employees, pick_lists::user(), 1);
    load(lists.payment_terms, pick_lists::payment_term(), 1);
    load(lists.shipvias, pick_lists::shipvia());
    load(lists.stock_items, pick_lists::item_of_type(QStringLiteral("1")));
    load(lists.master_items, pick_lists::item_of_type(QStringLiteral("2")));
    load(lists.charges, pick_lists::charge());
    load(lists.units, pick_lists::unit());
    load(lists.tax_codes, pick_lists::purchase_tax_code());
    load(lists.all_accounts, pick_lists::account(AccountList::Postable));
    load(lists.expense_accounts, pick_lists::account(AccountList::ExpenseLike));
    load(lists.inventory_accounts, pick_lists::account(AccountList::Inventory));
    load(lists.asset_accounts, pick_lists::account(AccountList::FixedAsset));
    // Employee ids, term, currency and ship-via codes mean little on their own: a view shows
    // their names beside them.
    lists.employees.name_column = 0;
    lists.payment_terms.name_column = 0;
    lists.currencies.name_column = 1;
    lists.shipvias.name_column = 1;
    if (error)
        return std::unexpected(*error);
    return lists;
}

} // namespace zelkor
