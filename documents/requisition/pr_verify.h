#pragma once

#include "core/db/database.h"
#include "documents/common/document_lists.h"
#include "documents/requisition/pr_document.h"

#include <QString>

#include <expected>

namespace zelkor {

/// The header of the requisition window as typed.
struct PrHeaderTyped {
    QString vendor_no{};
    QString currency{};
    QString shipto{};
    QString requested_user{};
    QString payment_term{};
};

/// The header checks of a save, in order: a currency, and every chosen value present in its
/// list. The first failure gives its message.
[[nodiscard]] std::expected<void, Error> verify_header(const PrHeaderTyped& header, const DocumentLists& lists);

/// The line checks of a new requisition, line by line from the first; lines without an item
/// code are skipped. The first failure gives its message.
[[nodiscard]] std::expected<void, Error> verify_detail(Database& db, const std::vector<PrLine>& lines);

} // namespace zelkor
