#pragma once

#include "forms/common/field.h"
#include "forms/purchasing/purchasing_lines.h"
#include "services/database.h"

#include <QString>

#include <expected>

namespace zelkor {

/// The drop-down lists of the requisition window, read once when it opens.
struct PrLists {
    Choices vendors{};        ///< active vendors: vendor no, name
    Choices vendor_names{};   ///< name, vendor no
    Choices warehouses{};     ///< warehouse, description
    Choices currencies{};     ///< currency, description
    Choices employees{};      ///< user name, ID (the ID is the value)
    Choices payment_terms{};  ///< term, code (the code is the value)
    Choices stock_items{};    ///< item type "1": item code, description, type
    Choices master_items{};   ///< item type "2"
    Choices charges{};        ///< item type "6": miscellaneous charges
    Choices units{};          ///< every unit: uom, description
    Choices tax_codes{};      ///< purchase tax codes
    Choices locations{};      ///< warehouse, location
    Choices all_accounts{};
    Choices expense_accounts{};
    Choices inventory_accounts{};
    Choices asset_accounts{};

    /// The item-code list of an item type; types without a list give an empty one.
    const Choices& item_codes(const QString& item_type) const;
    /// The account list a line of this item type chooses from.
    const Choices& accounts(const QString& item_type) const;
};

[[nodiscard]] std::expected<PrLists, Error> load_pr_lists(Database& db);

/// The units a line may use: every unit, or for a stock item its stock and purchase units and
/// the units it has conversion rules from.
[[nodiscard]] std::expected<Choices, Error> units_for_line(Database& db, const PrLists& lists, const QString& item_type,
                                             const QString& itemcode);

} // namespace zelkor
