#pragma once

#include "core/audit_stamp.h"
#include "core/document_versions.h"
#include "core/numbering.h"
#include "documents/requisition/pr_document.h"
#include "tax/purchase_tax.h"

namespace zelkor {

/// Saves a new requisition in one transaction: its number and key (type "pr", fiscal year of
/// the order date), the header with the totals of the lines written, then the lines in order
/// with their tax elements. On any error
/// nothing stays written and no number is used. Errors carry the user's message where there is
/// one ("cannot find tax element for item no 2", the 30-character rule, "No fiscal year for ...").
[[nodiscard]] std::expected<DocumentNumber, Error> insert_new_pr(Database& db, const PrHeader& header, const std::vector<PrLine>& lines,
                                                   const TaxElementStore& taxes, const AuditStamp& audit);

/// Saves the edit of the shown requisition in one transaction: its header is read again under
/// lock (a closed requisition is refused with "PR was closed.", one another user changed since
/// it was shown with changed_by_another_user), rewritten, its lines deleted and written again,
/// then the header closed when no line is open. Gives the header's new closed state.
[[nodiscard]] std::expected<bool, Error> update_pr(Database& db, const DocumentVersion& shown, const PrHeader& header,
                                                   const std::vector<PrLine>& lines, const TaxElementStore& taxes,
                                                   const AuditStamp& audit);

/// Closes the shown requisition and all its lines. A requisition another user deleted meanwhile
/// is not found ("Document no. ... not found"), one changed since is refused: nothing is
/// reported closed that was not.
[[nodiscard]] std::expected<void, Error> close_pr(Database& db, const DocumentVersion& shown);

/// Deletes the shown requisition's header and lines; only a closed one, unchanged since shown.
[[nodiscard]] std::expected<void, Error> delete_pr(Database& db, const DocumentVersion& shown);

} // namespace zelkor
