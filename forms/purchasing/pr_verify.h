#pragma once

#include "forms/purchasing/pr_lists.h"
#include "services/database.h"

#include <QString>

#include <expected>

namespace zelkor {

class Grid;

/// The header of the requisition window as typed.
struct PrHeaderTyped {
    QString vendor_no{};
    QString currency{};
    QString shipto{};
    QString requested_user{};
    QString payment_term{};
};

/// The header checks of a save, in order: a detail line, a currency, and every chosen value
/// present in its list. The first failure gives its message.
[[nodiscard]] std::expected<void, Error> verify_header(const PrHeaderTyped& header, const PrLists& lists, const Grid& lines);

/// Whether a value typed into a drop-down is one of its list's values (empty is allowed).
[[nodiscard]] std::expected<void, Error> verify_choice(const Choices& list, const QString& value, const QString& message);

/// The line checks of a new requisition, row by row from the first; rows without an item code
/// are skipped. The first failure gives its message.
[[nodiscard]] std::expected<void, Error> verify_detail(Database& db, const Grid& lines);

} // namespace zelkor
