#pragma once

#include "documents/common/document_lists.h"
#include "tax/purchase_tax.h"
#include "windows/base/field.h"

#include <optional>

namespace zelkor {

class Grid;

/// What a cell edit of the requisition's line grid works with.
struct PrCellContext {
    Database& db;
    const DocumentLists& lists;
    TaxElementStore& taxes;
    QString shipto{};          ///< the header's ship-to warehouse
    QString vendor_tax_code{}; ///< the chosen vendor's tax code, the default of new lines
};

/// How a cell edit went: refused with the error that says why (the window puts the cell's
/// previous value back and nothing else changes), or accepted, possibly with a note for the user.
struct CellOutcome {
    Entry entry = Entry::Accepted;
    std::optional<Error> error{};
};

/// Checks the value just typed into a cell of dbgrid1 and fills what follows from it: the
/// defaults of an item code, extended or unit cost, the line number of a new line, and the
/// line's tax and net cost (with its tax elements) after a change that affects them.
CellOutcome pr_cell_edited(PrCellContext& context, Grid& lines, int row, int column, const QString& previous);

/// Recomputes a line's tax amount, net cost and tax elements from its extended cost, tax code
/// and "tax included" check. Rows without a line number have no tax.
[[nodiscard]] std::expected<void, Error> pr_recompute_line_tax(Database& db, TaxElementStore& taxes, Grid& lines, int row);

/// The line number of a row; 0 when it has none.
int pr_line_number(const Grid& lines, int row);

} // namespace zelkor
