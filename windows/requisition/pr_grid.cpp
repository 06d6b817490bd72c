#include "windows/requisition/pr_grid.h"

#include "windows/base/grid.h"
#include "windows/requisition/pr_columns.h"

namespace zelkor {

namespace {

namespace col = pr_column;

/// A number cell: empty reads as nothing; text that is not a number gives the cell's message.
[[nodiscard]] std::expected<std::optional<Decimal>, Error> number_of(const QString& text, const QString& message)
{
    if (text.trimmed().isEmpty())
        return std::optional<Decimal>();
    const auto value = parse_amount(text);
    if (!value || value->is_overflow())
        return std::unexpected(Error::invalid(message));
    return value;
}

/// A row with nothing to save (a line number alone stays from an item code cleared).
bool blank_row(const Grid& lines, int row)
{
    for (QLatin1String column : {col::ItemCode, col::ItemType, col::Description, col::Quantity,
                                 col::UnitCost, col::ExtendedCost})
        if (!lines.cell(row, column).trimmed().isEmpty())
            return false;
    return true;
}

[[nodiscard]] std::expected<PrLine, Error> line_of_row(const Grid& lines, int row)
{
    auto cell = [&](QLatin1String column) { return lines.cell(row, column).trimmed(); };
    PrLine line;
    bool whole = false;
    line.itemno = cell(col::ItemNo).toInt(&whole);
    if (!whole || line.itemno <= 0)
        return std::unexpected(Error::invalid(QStringLiteral("item no is invalid.")));
    line.itemcode = cell(col::ItemCode);
    line.itemtype = cell(col::ItemType);
    line.description = lines.cell(row, col::Description);
    line.uom = cell(col::Uom);
    const struct {
        QLatin1String column;
        std::optional<Decimal>* target;
        const char* message;
    } typed[] = {{col::Quantity, &line.quantity, "quantity is invalid."},
                 {col::UnitCost, &line.unitcost, "unit cost is invalid."},
                 {col::ExtendedCost, &line.extended_cost, "extended cost is invalid."}};
    for (const auto& number : typed) {
        auto value = number_of(cell(number.column), QString::fromLatin1(number.message));
        if (!value)
            return std::unexpected(value.error());
        *number.target = *value;
    }
    const struct {
        QLatin1String column;
        Decimal* target;
    } derived[] = {{col::TaxAmount, &line.tax_amount}, {col::NetCost, &line.net_cost}};
    for (const auto& number : derived) {
        auto value = number_of(cell(number.column), QStringLiteral("please input numeric data"));
        if (!value)
            return std::unexpected(value.error());
        *number.target = value->value_or(Decimal());
    }
    line.price_include_tax = cell_checked(lines, row, col::TaxIncluded);
    line.tax_code = cell(col::TaxCode);
    line.accno = cell(col::Account);
    line.warehouse = cell(col::Warehouse);
    line.location = cell(col::Location);
    line.vendor_no = cell(col::PreferredVendor);
    line.closed = cell_checked(lines, row, col::Closed);
    line.date_created = QDate::fromString(cell(col::CreatedDate), AuditDateFormat);
    line.time_created = cell(col::CreatedTime);
    line.user_created = cell(col::UserCreated);
    return line;
}

} // namespace

[[nodiscard]] std::expected<std::vector<PrLine>, Error> pr_lines_of_grid(const Grid& lines)
{
    std::vector<PrLine> result;
    for (int row = 0; row < lines.row_count(); ++row) {
        if (blank_row(lines, row))
            continue;
        if (lines.cell(row, col::ItemNo).trimmed().isEmpty()) {
            // A row with only text continues the line above it.
            if (result.empty())
                return std::unexpected(Error::invalid(QStringLiteral("a description row comes before any line")));
            result.back().description += QChar(10) + lines.cell(row, col::Description);
            continue;
        }
        auto line = line_of_row(lines, row);
        if (!line)
            return std::unexpected(line.error());
        result.push_back(std::move(*line));
    }
    return result;
}

std::vector<LineAmounts> pr_line_amounts(const Grid& lines)
{
    std::vector<LineAmounts> amounts;
    for (int row = 0; row < lines.row_count(); ++row)
        if (!lines.cell(row, col::ItemNo).trimmed().isEmpty())
            amounts.push_back({cell_amount(lines, row, col::ExtendedCost), cell_amount(lines, row, col::TaxAmount)});
    return amounts;
}

bool pr_grid_has_detail(const Grid& lines)
{
    for (int row = 0; row < lines.row_count(); ++row)
        if (!lines.cell(row, col::ItemCode).trimmed().isEmpty() || !lines.cell(row, col::Description).trimmed().isEmpty())
            return true;
    return false;
}

} // namespace zelkor
