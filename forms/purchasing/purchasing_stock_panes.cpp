#include "forms/purchasing/purchasing_stock_panes.h"

#include "forms/common/grid.h"

#include <vector>

namespace zelkor {

namespace {

/// One on-hand row as the stock panes show it (quantities already formatted).
struct StockRow {
    QString itemcode{};
    QString warehouse{};
    QString location{};
    QString quantity{};
    QString order_quantity{};
    QString po_quantity{};
};

/// A line as the "Stock By Items" pane reads it.
struct StockLine {
    QString itemcode{};
    QString warehouse{};
    QString location{};
};

[[nodiscard]] std::expected<int, Error> quantity_decimals(Database& db, const QString& itemcode)
{
    auto decimals = db.scalar(QStringLiteral("SELECT quantity_decimals FROM Item_master_table WHERE itemcode = ?"),
                              {itemcode});
    if (!decimals)
        return std::unexpected(decimals.error());
    return std::clamp(decimals->toInt(), 0, 6);
}

StockRow stock_row_of(const Row& row, const QString& itemcode, int decimals)
{
    return {itemcode,
            row.text(u"warehouse"),
            row.text(u"location"),
            row.decimal(u"quantity").format(decimals),
            row.decimal(u"order_quantity").format(decimals),
            row.decimal(u"po_quantity").format(decimals)};
}

/// The ship-to warehouse's default location; empty when it has none.
[[nodiscard]] std::expected<QString, Error> default_location(Database& db, const QString& warehouse)
{
    auto location = db.scalar(QStringLiteral("SELECT location FROM Warehouse_location_master_table"
                                             " WHERE warehouse = ? AND \"default\" = TRUE"),
                              {warehouse});
    if (!location)
        return std::unexpected(location.error());
    return Row::to_text(*location);
}

[[nodiscard]] std::expected<std::vector<StockRow>, Error> stock_by_location(Database& db, const QString& itemcode)
{
    auto decimals = quantity_decimals(db, itemcode);
    if (!decimals)
        return std::unexpected(decimals.error());
    auto rows = db.select(QStringLiteral("SELECT warehouse, location, quantity, order_quantity, po_quantity"
                                         " FROM Item_onhand_table WHERE company = 1 AND itemcode = ?"
                                         " ORDER BY warehouse, location"),
                          {itemcode});
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<StockRow> stock;
    for (const Row& row : *rows)
        stock.push_back(stock_row_of(row, itemcode, *decimals));
    return stock;
}

[[nodiscard]] std::expected<std::vector<StockRow>, Error> stock_by_items(Database& db, const std::vector<StockLine>& lines,
                                                           const QString& shipto)
{
    std::vector<StockRow> stock;
    for (StockLine line : lines) {
        if (line.location.isEmpty()) {
            if (shipto.isEmpty())
                return std::unexpected(Error::invalid(QStringLiteral("please specify warehouse/location or at least ship-to")));
            auto location = default_location(db, shipto);
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
        auto row = db.first(QStringLiteral("SELECT warehouse, location, quantity, order_quantity, po_quantity"
                                           " FROM Item_onhand_table WHERE company = 1 AND itemcode = ?"
                                           " AND warehouse = ? AND location = ?"),
                            {line.itemcode, line.warehouse, line.location});
        if (!row)
            return std::unexpected(row.error());
        const QString zero = Decimal(0).format(*decimals);
        stock.push_back(*row ? stock_row_of(**row, line.itemcode, *decimals)
                             : StockRow{line.itemcode, line.warehouse, line.location, zero, zero, zero});
    }
    return stock;
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

/// Writes the rows by column caption; a pane grid without an "item code" column leaves it out.
void fill_stock_grid(Grid& pane, const std::vector<StockRow>& stock)
{
    pane.set_row_count(int(stock.size()));
    for (int row = 0; row < int(stock.size()); ++row) {
        const StockRow& line = stock[size_t(row)];
        const std::pair<const char*, const QString*> cells[] = {
            {"item code", &line.itemcode},       {"warehouse", &line.warehouse},
            {"location", &line.location},        {"quantity", &line.quantity},
            {"order quantity", &line.order_quantity}, {"po quantity", &line.po_quantity}};
        for (const auto& [caption, value] : cells)
            if (const int column = pane.column_index(QString::fromLatin1(caption)); column >= 0)
                pane.set_cell(row, column, *value);
    }
}

} // namespace

[[nodiscard]] std::expected<void, Error> show_stock_by_location(Database& db, Grid& pane, const QString& itemcode)
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

[[nodiscard]] std::expected<void, Error> show_stock_by_items(Database& db, Grid& pane, const Grid& lines, const QString& shipto)
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
