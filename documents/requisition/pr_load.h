#pragma once

#include "core/db/database.h"
#include "documents/common/document_navigation.h"

#include <QString>

#include <expected>
#include <optional>

namespace zelkor {

/// A saved requisition as read for display: its header and its lines in line order.
struct PrDocument {
    Row header{};
    Rows lines{};
};

/// The requisition with this number (company 1), or nothing.
[[nodiscard]] std::expected<std::optional<PrDocument>, Error> read_pr_by_number(Database& db, const QString& docno);
/// The requisition with this key, or nothing.
[[nodiscard]] std::expected<std::optional<PrDocument>, Error> read_pr_by_key(Database& db, const QString& key);

/// Requisitions as the window browses them by key number.
DocumentKind requisitions();

} // namespace zelkor
