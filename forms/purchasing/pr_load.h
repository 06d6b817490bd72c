#pragma once

#include "services/database.h"

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
std::expected<std::optional<PrDocument>, Error> read_pr_by_number(Database& db, const QString& docno);
/// The requisition with this key, or nothing.
std::expected<std::optional<PrDocument>, Error> read_pr_by_key(Database& db, const QString& key);

/// The key of the newest requisition still there (keys whose requisition was deleted are
/// skipped); nothing when there is none.
std::expected<std::optional<QString>, Error> last_pr_key(Database& db);

enum class Step { Previous, Next };
/// The key of the requisition before or after `key` by key number, skipping deleted ones, up to
/// the last issued number or down to 1; nothing when there is none that way.
std::expected<std::optional<QString>, Error> neighbour_pr_key(Database& db, const QString& key, Step step);

} // namespace zelkor
