#pragma once

#include "services/database.h"

#include <QDate>
#include <QString>

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
/// caller's transaction.
[[nodiscard]] std::expected<void, Error> update_vendor_owing_balance(Database& db, const QString& vendor_no, const Decimal& change);

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
} // namespace pick_lists

} // namespace zelkor
