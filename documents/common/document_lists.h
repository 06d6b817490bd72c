#pragma once

#include "core/choices.h"
#include "core/db/database.h"

#include <QString>

#include <expected>

namespace zelkor {

/// The drop-down lists of the document windows, read once when a window opens and used both to
/// offer choices and to check what is typed.
struct DocumentLists {
    Choices vendors{};           ///< vendors in use: vendor no, name
    Choices vendor_names{};      ///< name, vendor no (the number is the value)
    Choices warehouses{};        ///< warehouse, description
    Choices locations{};         ///< warehouse, location
    Choices currencies{};        ///< currency, description
    Choices employees{};         ///< user name, ID (the ID is the value)
    Choices payment_terms{};     ///< term, code (the code is the value)
    Choices shipvias{};          ///< ship via, description
    Choices stock_items{};       ///< item type "1": item code, description, type
    Choices master_items{};      ///< item type "2"
    Choices charges{};           ///< item type "6": miscellaneous charges
    Choices units{};             ///< every unit: uom, description
    Choices tax_codes{};         ///< purchase tax codes
    Choices all_accounts{};
    Choices expense_accounts{};
    Choices inventory_accounts{};
    Choices asset_accounts{};

    /// The item-code list of an item type; types without a list give an empty one.
    const Choices& item_codes(const QString& item_type) const;
    /// The account list a line of this item type chooses from.
    const Choices& accounts(const QString& item_type) const;
    /// Whether the location is one of the warehouse's.
    bool has_location(const QString& warehouse, const QString& location) const;
};

[[nodiscard]] std::expected<DocumentLists, Error> load_document_lists(Database& db);

} // namespace zelkor
