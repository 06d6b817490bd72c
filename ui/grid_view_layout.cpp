#include "ui/grid_view_layout.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace zelkor {

namespace {

/// The row height the layout gave the view, kept on the view to tell a clerk's change from it.
constexpr char AppliedRowHeight[] = "zelkor_applied_row_height";

int last_visible_section(const QHeaderView& header)
{
    for (int visual = header.count() - 1; visual >= 0; --visual)
        if (!header.isSectionHidden(header.logicalIndex(visual)))
            return header.logicalIndex(visual);
    return -1;
}

} // namespace

void apply_view_layout(QTableView& view, const GridLayout& layout)
{
    QHeaderView& header = *view.horizontalHeader();
    std::vector<const ColumnLayout*> ordered;
    for (const ColumnLayout& column : layout.columns)
        if (column.column < header.count())
            ordered.push_back(&column);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const ColumnLayout* a, const ColumnLayout* b) { return a->position < b->position; });
    for (int visual = 0; visual < int(ordered.size()); ++visual)
        header.moveSection(header.visualIndex(ordered[size_t(visual)]->column), visual);

    if (layout.row_height)
        view.verticalHeader()->setDefaultSectionSize(twips_to_pixels(*layout.row_height));
    view.setProperty(AppliedRowHeight, view.verticalHeader()->defaultSectionSize());
}

void record_view_layout(const QTableView& view, GridLayout& layout)
{
    const QHeaderView& header = *view.horizontalHeader();
    const int stretched = header.stretchLastSection() ? last_visible_section(header) : -1;
    for (ColumnLayout& column : layout.columns) {
        if (column.column >= header.count())
            continue;
        column.position = header.visualIndex(column.column);
        if (column.visible && !header.isSectionHidden(column.column) && column.column != stretched)
            column.width = pixels_to_twips(header.sectionSize(column.column));
    }
    // A clerk drags one row's edge; the grid has one row height, taken from the first row.
    const QHeaderView& rows = *view.verticalHeader();
    const int row_height = rows.count() > 0 ? rows.sectionSize(0) : rows.defaultSectionSize();
    if (row_height != view.property(AppliedRowHeight).toInt())
        layout.row_height = pixels_to_twips(row_height);
}

} // namespace zelkor
