#pragma once

#include "forms/purchasing/pr_document.h"
#include "forms/purchasing/purchase_tax.h"
#include "services/numbering.h"

namespace zelkor {

/// Saves a new requisition in one transaction: its number and key (type "pr", fiscal year of
/// the order date), the header, then the lines in order with their tax elements. On any error
/// nothing stays written and no number is used. Errors carry the user's message where there is
/// one ("cannot find tax element for item no 2", the 30-character rule, "No fiscal year for ...").
[[nodiscard]] std::expected<DocumentNumber, Error> insert_new_pr(Database& db, const PrHeader& header, const std::vector<PrLine>& lines,
                                                   const TaxElementStore& taxes, const PrAudit& audit);

/// Saves the edit of requisition `key` in one transaction: header rewritten, lines deleted and
/// written again, then the header closed when no line is open. Gives the header's new closed
/// state.
[[nodiscard]] std::expected<bool, Error> update_pr(Database& db, const QString& key, const QString& docno, const PrHeader& header,
                                     const std::vector<PrLine>& lines, const TaxElementStore& taxes,
                                     const PrAudit& audit);

/// Closes the requisition and all its lines.
[[nodiscard]] std::expected<void, Error> close_pr(Database& db, const QString& key);

/// Deletes the requisition's header and lines.
[[nodiscard]] std::expected<void, Error> delete_pr(Database& db, const QString& key);

} // namespace zelkor
