#pragma once

#include "core/db/database.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// The default accounts other modules keep in Account_Parameters_table.
enum class Parameter { ApSuspense, PurchaseDiscount, PurchaseVariance, RealizedGain, RealizedLoss };

/// The account of a module parameter, or nothing when its row is missing, not the default, or
/// has no account.
[[nodiscard]] std::expected<std::optional<QString>, Error> module_parameter(Database& db, Parameter parameter);
/// The same, with the saving window's message ("no AP suspense account", ...) when it is missing.
[[nodiscard]] std::expected<QString, Error> required_parameter(Database& db, Parameter parameter);
/// The message a save shows when the parameter is missing; empty for the ones read silently.
QString missing_parameter_message(Parameter parameter);

struct ExchangeRate {
    Decimal rate;
    QDate rate_date;
};

/// The rates of a currency, oldest first, limited to those on or before `on_or_before` when it
/// is valid. A base-currency document reads no rates at all.
[[nodiscard]] std::expected<std::vector<ExchangeRate>, Error> exchange_rates(Database& db, const QString& currency,
                                                               const QString& base_currency,
                                                               const QDate& on_or_before = {});
/// The rate a document takes: the most recent on or before the date, or nothing (base currency,
/// or no rate that early).
[[nodiscard]] std::expected<std::optional<ExchangeRate>, Error> document_rate(Database& db, const QString& currency,
                                                                const QString& base_currency, const QDate& date);
/// The requisition's rule: the most recent rate of any date.
[[nodiscard]] std::expected<std::optional<ExchangeRate>, Error> newest_rate(Database& db, const QString& currency,
                                                              const QString& base_currency);

/// Adds `change` (negative to reduce) to the vendor's running owing balance, inside the
/// caller's transaction. A vendor missing from the master fails ("vendor is invalid.").
[[nodiscard]] std::expected<void, Error> update_vendor_owing_balance(Database& db, const QString& vendor_no, const Decimal& change);
/// The same raise for a vendor row the caller holds, sent without waiting for its count.
[[nodiscard]] std::expected<void, Error> send_vendor_owing_balance(Database& db, const QString& vendor_no, const Decimal& change);

// Master rows the document windows look up -------------------------------------------------------

/// The vendor a document names, when it is still in use (not discontinued); nothing otherwise.
[[nodiscard]] std::expected<std::optional<Row>, Error> vendor_in_use(Database& db, const QString& vendor_no);
/// The vendor's name; empty when there is no such vendor.
[[nodiscard]] std::expected<QString, Error> vendor_name(Database& db, const QString& vendor_no);
/// The warehouse marked default (the first by code when several are marked); nothing when none is.
[[nodiscard]] std::expected<std::optional<QString>, Error> default_warehouse(Database& db);
/// The address a document ships to at this warehouse: its own, else the company's; nothing when
/// the warehouse is not in the warehouse master.
[[nodiscard]] std::expected<std::optional<QString>, Error> ship_to_address(Database& db, const QString& warehouse);
/// The warehouse's default location (Warehouse_location_master_table); empty when it has none.
[[nodiscard]] std::expected<QString, Error> warehouse_default_location(Database& db, const QString& warehouse);
/// The item master row of a code (`SELECT *`); nothing when there is none.
[[nodiscard]] std::expected<std::optional<Row>, Error> item_row(Database& db, const QString& itemcode);
/// The item-master item ("1" or "2", not discontinued) a code or short name stands for; nothing
/// when there is none.
[[nodiscard]] std::expected<std::optional<Row>, Error> item_by_code_or_short_name(Database& db, const QString& code);
/// The miscellaneous charge row of a code (`SELECT *`); nothing when there is none.
[[nodiscard]] std::expected<std::optional<Row>, Error> charge_row(Database& db, const QString& itemcode);
/// The account's name; empty when there is no such account.
[[nodiscard]] std::expected<QString, Error> account_name(Database& db, const QString& accno);
/// The item's last cost at a warehouse; nothing when none was recorded.
[[nodiscard]] std::expected<std::optional<Decimal>, Error> item_last_cost(Database& db, const QString& itemcode,
                                                                          const QString& warehouse);
/// Where an item is kept by default: its default warehouse and that warehouse's default location
/// for the item.
struct ItemPlace {
    QString warehouse{};
    QString location{};
};
/// The item's default warehouse (Item_warehouse_table row marked default_warehouse, the first
/// by warehouse when several are marked) with its default location; nothing when none is marked.
[[nodiscard]] std::expected<std::optional<ItemPlace>, Error> item_default_place(Database& db, const QString& itemcode);
/// The item's default location in a warehouse; empty when it has none there.
[[nodiscard]] std::expected<QString, Error> item_default_location(Database& db, const QString& itemcode,
                                                                  const QString& warehouse);
/// The units a stock item's lines may use: its stock and purchase units and the units it has
/// conversion rules from, each once, in that order.
[[nodiscard]] std::expected<QStringList, Error> item_units(Database& db, const QString& itemcode);

/// Writes a vendor's address back to the vendor master, inside the caller's transaction when
/// there is one; gives whether the vendor was there to write to.
[[nodiscard]] std::expected<bool, Error> update_vendor_address(Database& db, const QString& vendor_no,
                                                               const QString& address);

/// A drop-down list: its query and its column layout ("index;width;alignment;caption" joined by
/// "|", widths in twips, "<" left, "^" centre, ">" right).
struct PickList {
    QString sql;
    Params params;
    QString layout;

    struct Column {
        int index = 0;
        int width_twips = 0;
        Qt::Alignment alignment = Qt::AlignLeft;
        QString caption;
    };
    std::vector<Column> columns() const;
    [[nodiscard]] std::expected<Rows, Error> load(Database& db) const;
};

enum class VendorFilter { All, ActiveOnly };
/// The account drop-downs of grid lines, each restricted by account class.
enum class AccountList {
    Postable,         ///< every postable account
    ExpenseLike,      ///< postable accounts other than current assets, inventory, cost of goods
                      ///< sold, liabilities, equity and revenue
    Inventory,        ///< class 'Inventory'
    FixedAsset,       ///< assets other than current assets, inventory and accumulated depreciation
    Expense,          ///< class parent 'EXPENSE', without 'Cost of Goods sold'
    CurrentLiability, ///< class parent 'CURRENT LIABILITIES'
};

/// Which orders a receipt may be received against.
enum class OutstandingOrders { All, WithStockItems };

namespace pick_lists {
PickList vendor_by_number(VendorFilter filter = VendorFilter::All);
PickList vendor_by_name();
PickList user();
PickList payment_term();
PickList item();
PickList cash_account();
PickList bank();
PickList exchange_rate(const QString& currency, const QDate& on_or_before = {});
PickList account(AccountList list);
/// Warehouses (warehouse, description), by code.
PickList warehouse();
/// Warehouse locations (warehouse, location), by warehouse and location.
PickList warehouse_location();
/// Document currencies (currency, description), by code.
PickList currency();
/// Units of measure (uom, description), by code.
PickList unit();
/// Ship-via methods (code, description), by code.
PickList shipvia();
/// Purchase tax codes (tax code, description), by code.
PickList purchase_tax_code();
/// Item-master items of one type ("1" or "2") not discontinued: item code, description, type.
PickList item_of_type(const QString& item_type);
/// Miscellaneous charges: item code, description, type "6".
PickList charge();
/// What an order line's item code may be: items of types "1" and "2" not discontinued (also by
/// short name, described "(code) description") and miscellaneous charges; by code.
PickList order_item();
/// Fiscal years (year, first day), by year.
PickList fiscal_year();
/// A vendor's orders still to receive (not void, not fully received, not future), newest number
/// first: order number and key; with WithStockItems only orders that have a stock line.
PickList outstanding_order(const QString& vendor_no, OutstandingOrders which);
/// The part numbers a vendor gives the items of the item master ("1" and "2", not kits, not
/// discontinued): vendor item code, item code, description, type, active.
PickList vendor_part_number(const QString& vendor_no);
} // namespace pick_lists

} // namespace zelkor
