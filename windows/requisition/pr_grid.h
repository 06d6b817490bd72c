#pragma once

#include "documents/requisition/pr_document.h"

#include <expected>
#include <vector>

namespace zelkor {

class Grid;

/// The lines of the grid in grid order. A row with a line number starts a line; a row without
/// one but with description text continues the line before it (its text joined with a line
/// feed); empty rows are skipped. Errors: a continuation before any line, a line number that is
/// not a whole number, and numbers that cannot be read (the cell's own message).
[[nodiscard]] std::expected<std::vector<PrLine>, Error> pr_lines_of_grid(const Grid& lines);

/// What each numbered line of the grid adds to the footer.
std::vector<LineAmounts> pr_line_amounts(const Grid& lines);

/// Whether any row of the grid names an item or carries a description: a requisition without
/// one has no detail line to save.
bool pr_grid_has_detail(const Grid& lines);

} // namespace zelkor
