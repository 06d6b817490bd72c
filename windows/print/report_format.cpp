#include "windows/print/report_format.h"

#include "core/db/database.h"
#include "core/db/row.h"
#include "core/db/sql_names.h"

namespace zelkor {

namespace {

const QString Table = QStringLiteral("Report_format_table");
const QString RowCondition = sql_name(u"user") + QStringLiteral(" = ? AND form_name = ?");

constexpr double PointsPerInch = 72.0;
constexpr double MillimetresPerInch = 25.4;

double points_of(const Decimal& length, const QString& unit)
{
    const double inches = unit.compare(paper::Millimetre, Qt::CaseInsensitive) == 0
                              ? length.to_double() / MillimetresPerInch
                              : length.to_double();
    return inches * PointsPerInch;
}

void read_decimal(const Row& row, QStringView column, Decimal& target)
{
    if (auto value = row.decimal_or_null(column))
        target = *value;
}

void read_text(const Row& row, QStringView column, QString& target)
{
    if (auto value = row.text_or_null(column); value && !value->isEmpty())
        target = *value;
}

ReportFormat format_of(const Row& row)
{
    ReportFormat format;
    read_text(row, u"font_name", format.font_name);
    read_decimal(row, u"font_size", format.font_size);
    format.bold = row.flag(u"Bold");
    format.font_color = row.integer(u"font_color");
    if (!row.is_null(u"evenrow_color"))
        format.evenrow_color = row.integer(u"evenrow_color");
    format.disabled_evenrow_color = row.flag(u"disabled_evenrow_color");
    format.use_grid_font = row.flag(u"use_grid_font");
    format.column_divider = row.flag(u"column_divider");
    format.split_page = row.text(u"split_page");
    read_decimal(row, u"row_height", format.row_height);
    read_decimal(row, u"top_margin", format.top_margin);
    read_decimal(row, u"bottom_margin", format.bottom_margin);
    read_decimal(row, u"left_margin", format.left_margin);
    read_decimal(row, u"right_margin", format.right_margin);
    format.orientation = ReportFormat::orientation_of_code(row.text(u"Orientation"));
    // A row saved without a paper prints on letter paper, whatever size it carries.
    if (!row.text(u"PaperSize").isEmpty()) {
        format.paper_size = row.text(u"PaperSize");
        read_decimal(row, u"Width", format.width);
        read_decimal(row, u"Height", format.height);
        read_text(row, u"unit", format.unit);
    }
    return format;
}

template <typename Statement>
Statement& with_values(Statement& statement, const ReportFormat& format)
{
    return statement.set(u"font_name", format.font_name)
        .set(u"font_size", format.font_size)
        .set(u"Bold", format.bold)
        .set(u"font_color", format.font_color)
        .set(u"evenrow_color", format.evenrow_color)
        .set(u"disabled_evenrow_color", format.disabled_evenrow_color)
        .set(u"use_grid_font", format.use_grid_font)
        .set(u"column_divider", format.column_divider)
        .set(u"split_page", format.split_page)
        .set(u"row_height", format.row_height)
        .set(u"top_margin", format.top_margin)
        .set(u"bottom_margin", format.bottom_margin)
        .set(u"left_margin", format.left_margin)
        .set(u"right_margin", format.right_margin)
        .set(u"Orientation", format.orientation_code())
        .set(u"PaperSize", format.paper_size)
        .set(u"Width", format.width)
        .set(u"Height", format.height)
        .set(u"unit", format.unit);
}

} // namespace

const std::vector<PaperSize>& paper_sizes()
{
    static const std::vector<PaperSize> papers{
        {QStringLiteral("A4 (210x297 mm)"), Decimal(210), Decimal(297), paper::Millimetre},
        {QStringLiteral("A5 (148x210 mm)"), Decimal(148), Decimal(210), paper::Millimetre},
        {paper::Letter, Decimal("8.5"), Decimal(11), paper::Inch},
        {QStringLiteral("LEGAL (8.5x14 in.)"), Decimal("8.5"), Decimal(14), paper::Inch},
        {QStringLiteral("B5 (182x257 mm)"), Decimal(182), Decimal(257), paper::Millimetre},
        {paper::UserDefined, Decimal(), Decimal(), QString()},
    };
    return papers;
}

std::optional<PaperSize> find_paper(const QString& name)
{
    for (const PaperSize& paper : paper_sizes())
        if (paper.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0 && !paper.unit.isEmpty())
            return paper;
    return std::nullopt;
}

QStringList split_page_choices()
{
    return {QStringLiteral("Shrink to page width"), QStringLiteral("Continue on next page")};
}

SplitPage split_page_of(const QString& text)
{
    return text.trimmed().compare(split_page_choices().at(1), Qt::CaseInsensitive) == 0
               ? SplitPage::ContinueOnNextPage
               : SplitPage::ShrinkToWidth;
}

QColor color_of_value(qint64 value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

QSizeF ReportFormat::paper_points() const
{
    return {points_of(width, unit), points_of(height, unit)};
}

QString ReportFormat::orientation_code() const
{
    return orientation == QPageLayout::Portrait ? QStringLiteral("1") : QStringLiteral("2");
}

QPageLayout::Orientation ReportFormat::orientation_of_code(const QString& code)
{
    return code.trimmed() == QLatin1String("1") ? QPageLayout::Portrait : QPageLayout::Landscape;
}

[[nodiscard]] std::expected<std::optional<ReportFormat>, Error> load_report_format(Database& db, const QString& user,
                                                                     const QString& form_name)
{
    auto row = db.first("SELECT * FROM " + Table + " WHERE " + RowCondition, {user, form_name});
    if (!row)
        return std::unexpected(row.error());
    if (!*row)
        return std::optional<ReportFormat>();
    return format_of(**row);
}

[[nodiscard]] std::expected<ReportFormat, Error> report_format_or_default(Database& db, const QString& user,
                                                           const QString& form_name)
{
    auto stored = load_report_format(db, user, form_name);
    if (!stored)
        return std::unexpected(stored.error());
    return stored->value_or(ReportFormat{});
}

[[nodiscard]] std::expected<void, Error> save_report_format(Database& db, const QString& user, const QString& form_name,
                                              const ReportFormat& format)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto existing = db.select_for_update("SELECT form_name FROM " + Table + " WHERE " + RowCondition, {user, form_name});
    if (!existing)
        return std::unexpected(existing.error());
    if (existing->empty()) {
        InsertRow insert(Table);
        insert.set(u"user", user).set(u"form_name", form_name);
        if (auto inserted = with_values(insert, format).execute(db); !inserted)
            return std::unexpected(inserted.error());
    } else {
        UpdateRow update(Table);
        with_values(update, format).where(RowCondition, {user, form_name});
        if (auto updated = update.execute(db); !updated)
            return std::unexpected(updated.error());
    }
    return tx.commit();
}

} // namespace zelkor
