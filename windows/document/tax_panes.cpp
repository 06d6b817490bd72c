#include "windows/document/tax_panes.h"

#include "windows/base/grid.h"
#include "windows/document/pane_columns.h"

namespace zelkor {

namespace {

namespace detail = tax_detail_column;
namespace summary = tax_summary_column;

} // namespace


TaxPaneDeclaration tax_detail_pane()
{
    return {QStringLiteral("tax_detail"), QStringLiteral("Tax Detail Window"), QStringLiteral("grid_tax"),
            {detail::TaxAuthority, detail::TaxableAmount, detail::TaxRate, detail::TaxAmount, detail::Taxable,
             detail::Allocated, detail::Recoverable, detail::Expensed},
            131};
}

TaxPaneDeclaration tax_summary_pane()
{
    return {QStringLiteral("tax_summary"), QStringLiteral("Tax Summary Window"), QStringLiteral("grid_tax_summary"),
            {summary::TaxAuthority, summary::TaxableAmount, summary::TaxAmount, summary::Recoverable,
             summary::Allocated, summary::Expensed},
            132};
}

TaxPanes::TaxPanes(Grid& detail, Grid& summary) : m_detail(detail), m_summary(summary)
{
    for (int column = 0; column < m_detail.column_count(); ++column) {
        const bool typed = m_detail.column(column).caption == detail::TaxableAmount;
        m_detail.set_column_read_only(column, !typed);
        if (column > 0)
            m_detail.set_column_alignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_detail.set_column_kind(m_detail.required_column(detail::Taxable), FieldKind::Check);
    m_detail.set_column_kind(m_detail.required_column(detail::TaxableAmount), FieldKind::Number);
    m_summary.set_read_only(true);
    for (int column = 1; column < m_summary.column_count(); ++column)
        m_summary.set_column_alignment(column, Qt::AlignRight | Qt::AlignVCenter);
}

void show_tax_elements(Grid& detail, const TaxElements& elements)
{
    detail.set_row_count(int(elements.size()));
    for (int row = 0; row < int(elements.size()); ++row) {
        const TaxElement& element = elements[size_t(row)];
        const QStringList cells{element.tax_authority,       element.taxable_amount.format(), element.tax_rate.format(),
                                element.tax_amount.format(), check_text(element.taxable),     element.allocated.format(),
                                element.recoverable.format(), element.expensed.format()};
        for (int column = 0; column < int(cells.size()); ++column)
            detail.set_cell(row, column, cells[column]);
    }
}

void TaxPanes::show_line(const TaxElementStore& store, int itemno)
{
    m_itemno = itemno;
    show_tax_elements(m_detail, store.line(itemno));
}

void TaxPanes::show_summary(const TaxElementStore& store)
{
    const std::vector<TaxSummaryRow> summary = get_tax_summary(store);
    m_summary.set_row_count(int(summary.size()));
    for (int row = 0; row < int(summary.size()); ++row) {
        const TaxSummaryRow& authority = summary[size_t(row)];
        const QStringList cells{authority.tax_authority,        authority.taxable_amount.format(),
                                authority.tax_amount.format(),  authority.recoverable.format(),
                                authority.allocated.format(),   authority.expensed.format()};
        for (int column = 0; column < int(cells.size()); ++column)
            m_summary.set_cell(row, column, cells[column]);
    }
}

std::expected<LineTaxTotals, Error> TaxPanes::taxable_amount_edited(TaxElementStore& store, int row,
                                                                    std::optional<Decimal> extended_cost,
                                                                    TaxIncluded included)
{
    const auto typed = parse_amount(m_detail.cell(row, detail::TaxableAmount));
    if (!typed || typed->is_overflow())
        return std::unexpected(Error::invalid(QStringLiteral("please input numeric data")));
    auto totals = tax_calculate_from_xarray(store, m_itemno, row, typed->round2(), extended_cost, included);
    if (!totals)
        return std::unexpected(Error::not_found(QStringLiteral("cannot find tax element for item no ")
                                                + QString::number(m_itemno)));
    show_line(store, m_itemno);
    show_summary(store);
    return *totals;
}

} // namespace zelkor
