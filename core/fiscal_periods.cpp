#include "core/fiscal_periods.h"

#include <QLocale>
#include <QStringList>

#include <array>
#include <optional>

namespace zelkor {
namespace {

enum class Part { Day, Month, Year };

/// Where day, month and year stand in the user's format ("dd/mm/yyyy" -> day, month, year).
std::optional<std::array<Part, 3>> part_order(const QString& date_format)
{
    const QString format = date_format.trimmed().toLower();
    auto position = [&format](QStringView token) -> int {
        const QString text = token.toString();
        if (format.startsWith(text + u'/'))
            return 0;
        if (format.contains(u'/' + text + u'/'))
            return 1;
        if (format.endsWith(u'/' + text))
            return 2;
        return -1;
    };
    const int month = position(u"mm");
    const int day = position(u"dd");
    if (month < 0 || day < 0 || month == day)
        return std::nullopt;
    std::array<Part, 3> order{Part::Year, Part::Year, Part::Year};
    order[static_cast<size_t>(month)] = Part::Month;
    order[static_cast<size_t>(day)] = Part::Day;
    return order;
}

std::optional<int> whole_number(const QString& part)
{
    bool ok = false;
    const int value = part.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

Error bad_part(const QString& message, const QString& part)
{
    return Error::invalid(message + part + u')');
}

QString two_digits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

} // namespace

QString FiscalPeriod::key() const { return fiscal_year + two_digits(period); }

[[nodiscard]] std::expected<QDate, Error> parse_user_date(const QString& typed, const QString& date_format)
{
    const auto order = part_order(date_format);
    if (!order)
        return std::unexpected(Error::invalid(QStringLiteral("Error : User_Form_Dateformat:date_format is not valid")));
    const QStringList parts = typed.split(u'/');
    const Error not_a_date = bad_part(QStringLiteral("Date is invalid ("), typed);
    if (parts.size() != 3)
        return std::unexpected(not_a_date);

    QString day_text, month_text, year_text;
    for (size_t i = 0; i < 3; ++i) {
        const QString part = parts[static_cast<qsizetype>(i)].trimmed();
        ((*order)[i] == Part::Day ? day_text : (*order)[i] == Part::Month ? month_text : year_text) = part;
    }
    const auto day = whole_number(day_text);
    const auto month = whole_number(month_text);
    const auto year = whole_number(year_text);

    // The checks run in this order so that the message names the first part the user got wrong.
    if (month && *month > 12)
        return std::unexpected(bad_part(QStringLiteral("Month is invalid ("), month_text));
    if (day && *day > 31)
        return std::unexpected(bad_part(QStringLiteral("date is invalid ("), day_text));
    if (!year || *year < 1990 || *year >= 2530)
        return std::unexpected(bad_part(QStringLiteral("year is invalid ("), year_text));
    if (!month || *month < 1)
        return std::unexpected(bad_part(QStringLiteral("Month is invalid ("), month_text));
    const QDate date = day ? QDate(*year, *month, *day) : QDate();
    if (!date.isValid())
        return std::unexpected(not_a_date);
    return date;
}

QString format_user_date(const QDate& date, const QString& date_format)
{
    const auto order = part_order(date_format);
    if (!date.isValid() || !order)
        return {};
    const bool short_year = !date_format.toLower().contains(u"yyyy") && date_format.toLower().contains(u"yy");
    QStringList parts;
    for (Part part : *order) {
        switch (part) {
        case Part::Day: parts << two_digits(date.day()); break;
        case Part::Month: parts << two_digits(date.month()); break;
        case Part::Year: parts << (short_year ? two_digits(date.year() % 100) : QString::number(date.year())); break;
        }
    }
    return parts.join(u'/');
}

[[nodiscard]] std::expected<FiscalPeriod, Error> fiscal_period_of(Database& db, const QDate& date)
{
    // Years should not overlap; if they do, the earliest start wins, the same on both engines.
    auto year = db.first(QStringLiteral("SELECT fyear, StartDate FROM Fiscalyear_table"
                                        " WHERE StartDate <= ? AND EndDate >= ? ORDER BY StartDate, fyear"),
                         {date, date});
    if (!year)
        return std::unexpected(year.error());
    if (!*year) {
        // The user's date format is not known here; this form cannot be misread in any of them.
        return std::unexpected(Error::not_found(QStringLiteral("No fiscal year for ")
                                                + QLocale::c().toString(date, QStringLiteral("MMM dd, yyyy"))));
    }
    const QDate start = (*year)->date(u"StartDate");
    const int period = (date.year() - start.year()) * 12 + (date.month() - start.month()) + 1;
    return FiscalPeriod{(*year)->text(u"fyear"), period};
}

namespace {

QString period_key(const Row& config, QStringView year_column, QStringView period_column)
{
    return FiscalPeriod{config.text(year_column), static_cast<int>(config.integer(period_column))}.key();
}

bool within(const QString& key, const QString& start, const QString& end) { return start <= key && key <= end; }

} // namespace

[[nodiscard]] std::expected<void, Error> check_working_period(Database& db, const FiscalPeriod& period)
{
    auto config = db.first(QStringLiteral("SELECT * FROM COA_config_table ORDER BY company"));
    if (!config)
        return std::unexpected(config.error());
    if (!*config)
        return {};
    const Row& c = **config;
    if (!c.flag(u"activate_working_period") || c.is_null(u"working_end_period"))
        return {};
    const QString key = period.key();
    if (within(key, period_key(c, u"working_start_fyear", u"working_start_period"),
               period_key(c, u"working_end_fyear", u"working_end_period")))
        return {};
    if (c.flag(u"allow_history_update") && !c.is_null(u"allow_end_period")
        && within(key, period_key(c, u"allow_start_fyear", u"allow_start_period"),
                  period_key(c, u"allow_end_fyear", u"allow_end_period")))
        return {};
    return std::unexpected(Error::invalid(QStringLiteral("Fiscal period/year is out of working period.")));
}

} // namespace zelkor
