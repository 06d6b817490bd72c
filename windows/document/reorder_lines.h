#pragma once

#include "core/db/database.h"
#include "stock/reorder.h"
#include "tax/purchase_tax.h"

#include <QString>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

class Grid;

// "Reordering Stock Items" in the requisition and the order window: the stock items short at the
// ship-to warehouse become the document's lines, each completed as a typed item code would be.

/// The proposals for one ship-to with the tax code every proposed line takes (the vendor's, else
/// the default code) and that code's authorities, read once for all lines.
struct ReorderLines {
    std::vector<ReorderProposal> proposals;
    QString tax_code;
    TaxAuthorities authorities;
    /// Why the lines have no tax code ("Default Tax code has not been set"), said once.
    std::optional<Error> tax_code_missing;
};

/// Reads the proposals of a new document; refuses in another mode ("This command is working in
/// new mode.") and without a ship-to ("please specify ship-to warehouse").
[[nodiscard]] std::expected<ReorderLines, Error> read_reorder_lines(Database& db, bool new_mode, const QString& shipto,
                                                                    const QString& vendor_tax_code);

/// How a window shows a line's tax: the sum of its elements, or within each authority's bounds.
enum class ShownTax { Elements, WithinBounds };

/// Replaces the grid's rows and the tax elements with one line per proposal, numbered from 1:
/// item, description, quantity (into every quantity column named), unit, account, place, the
/// preferred vendor where the grid shows it, unit and extended cost when a last cost is known,
/// tax code, elements, tax and net cost; then an empty row for the next line. The first line
/// becomes the current one.
void fill_reorder_lines(Grid& grid, TaxElementStore& taxes, const ReorderLines& lines,
                        const QStringList& quantity_columns, ShownTax shown);

} // namespace zelkor
