#include "windows/document/stock_panes.h"

#include "core/master_lookups.h"
#include "stock/on_hand.h"
#include "windows/base/grid.h"
#include "windows/document/pane_columns.h"

#include <vector>

namespace zelkor {

namespace {

/// A line as the "Stock By Items" pane reads it.
struct StockLine {
    QString itemcode{};
    QString warehouse{};
    QString location{};
};

/// One pane row: an on-hand row with its quantities shown to the item's decimals.
QStringList shown_row(const OnHandRow& row, int decimals)
{
    return {row.itemcode, row.warehouse, row.location, row.quantity.format(decimals),
            row.order_quantity.format(decimals), row.po_quantity.format(decimals)};
}

[[nodiscard]] std::expected<std::vector<QStringList>, Error> stock_by_location(Database& db, const QString& itemcode)
{
    auto decimals = quantity_decimals(db, itemcode);
    if (!decimals)
        return std::unexpected(decimals.error());
    auto rows = on_hand_rows(db, itemcode);
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<QStringList> shown;
    for (const OnHandRow& row : *rows)
        shown.push_back(shown_row(row, *decimals));
    return shown;
}

[[nodiscard]] std::expected<std::vector<QStringList>, Error> stock_by_items(Database& db,
                                                                            const std::vector<StockLine>& lines,
                                                                            const QString& shipto)
{
    std::vector<QStringList> shown;
    for (StockLine line : lines) {
        if (line.location.isEmpty()) {
            if (shipto.isEmpty())
                return std::unexpected(Error::invalid(QStringLiteral("please specify warehouse/location or at least ship-to")));
            auto location = warehouse_default_location(db, shipto);
            if (!location)
                return std::unexpected(location.error());
            if (location->isEmpty())
                return std::unexpected(Error::invalid(QStringLiteral("please specify warehouse/location for ") + line.itemcode));
            line.warehouse = shipto;
            line.location = *location;
        }
        auto decimals = quantity_decimals(db, line.itemcode);
        if (!decimals)
            return std::unexpected(decimals.error());
        auto row = on_hand_row(db, line.itemcode, line.warehouse, line.location);
        if (!row)
            return std::unexpected(row.error());
        shown.push_back(shown_row(row->value_or(OnHandRow{line.itemcode, line.warehouse, line.location}), *decimals));
    }
    return shown;
}

/// The lines of item-master items (types "1" and "2"): only they have on-hand rows.
std::vector<StockLine> stock_lines_of(const Grid& lines)
{
    std::vector<StockLine> stock_lines;
    for (int row = 0; row < lines.row_count(); ++row) {
        const QString item = lines.cell(row, QStringLiteral("item code")).trimmed();
        const QString type = lines.cell(row, QStringLiteral("item type")).trimmed();
        if (!item.isEmpty() && (type == u"1" || type == u"2"))
            stock_lines.push_back({item, lines.cell(row, QStringLiteral("warehouse")).trimmed(),
                                   lines.cell(row, QStringLiteral("location")).trimmed()});
    }
    return stock_lines;
}

const QStringList ShownColumns{stock_column::ItemCode, stock_column::Warehouse,     stock_column::Location,
                               stock_column::Quantity, stock_column::OrderQuantity, stock_column::PoQuantity};

/// Writes the rows by column caption; a pane grid without an "item code" column leaves it out.
void fill_stock_grid(Grid& pane, const std::vector<QStringList>& stock)
{
    pane.set_row_count(int(stock.size()));
    for (int row = 0; row < int(stock.size()); ++row)
        for (int index = 0; index < ShownColumns.size(); ++index)
            if (const int column = pane.column_index(ShownColumns[index]); column >= 0)
                pane.set_cell(row, column, stock[size_t(row)].value(index));
}

} // namespace

std::expected<void, Error> show_stock_by_location(Database& db, Grid& pane, const QString& itemcode)
{
    if (itemcode.isEmpty()) {
        pane.clear();
        return {};
    }
    auto stock = stock_by_location(db, itemcode);
    if (!stock)
        return std::unexpected(stock.error());
    fill_stock_grid(pane, *stock);
    return {};
}

std::expected<void, Error> show_stock_by_items(Database& db, Grid& pane, const Grid& lines, const QString& shipto)
{
    auto stock = stock_by_items(db, stock_lines_of(lines), shipto);
    if (!stock) {
        pane.clear();
        return std::unexpected(stock.error());
    }
    fill_stock_grid(pane, *stock);
    return {};
}

} // namespace zelkor
