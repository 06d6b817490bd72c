#pragma once

#include "tax/purchase_tax.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <optional>

namespace zelkor {

class Grid;

/// What a document window declares for the two tax panes: the pane, its grid and columns, and the
/// command (131 / 132) that shows it.
struct TaxPaneDeclaration {
    QString pane{};
    QString caption{};
    QString grid{};
    QStringList columns{};
    int command = 0;
};
/// "Tax Detail Window" with grid grid_tax: the elements of the current line; only "taxable amount"
/// is typed into.
TaxPaneDeclaration tax_detail_pane();
/// "Tax Summary Window" with grid grid_tax_summary: one row per authority of the document.
TaxPaneDeclaration tax_summary_pane();

/// Fills a tax detail grid (the columns of tax_detail_pane) with a line's elements, amounts
/// "#,##0.00".
void show_tax_elements(Grid& detail, const TaxElements& elements);

/// The panes' contents, driven by the document window: it shows a line's elements, the summary,
/// and turns an edited "taxable amount" cell into the line's new totals.
class TaxPanes {
public:
    TaxPanes(Grid& detail, Grid& summary);

    /// Fills the detail grid with the line's elements (amounts "#,##0.00"), remembering the line.
    void show_line(const TaxElementStore& store, int itemno);
    /// Fills the summary grid from the whole store.
    void show_summary(const TaxElementStore& store);
    /// The line the detail grid shows; 0 when none.
    int shown_line() const { return m_itemno; }

    /// The user left a "taxable amount" cell of the detail grid at `row`: recomputes the shown
    /// line through tax_calculate_from_xarray, refreshes both grids and gives the line's totals.
    /// Text that is not a number gives the error "please input numeric data" and changes nothing.
    [[nodiscard]] std::expected<LineTaxTotals, Error> taxable_amount_edited(TaxElementStore& store, int row,
                                                                            std::optional<Decimal> extended_cost,
                                                                            TaxIncluded included);

private:
    Grid& m_detail;
    Grid& m_summary;
    int m_itemno = 0;
};

} // namespace zelkor
