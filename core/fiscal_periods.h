#pragma once

#include "core/db/database.h"

#include <QDate>
#include <QString>

#include <expected>

namespace zelkor {

/// The fiscal year label and period (1 to 13) of a date.
struct FiscalPeriod {
    QString fiscal_year;
    int period = 0;

    /// The key that orders (year, period) pairs: fiscal year followed by the period as "00".
    QString key() const;
};

/// Parses a date typed in the user's format ("dd/mm/yyyy", "mm/dd/yyyy", "yyyy/mm/dd", ...).
/// Errors carry the user's message: "Month is invalid (13)", "date is invalid (32)",
/// "year is invalid (1989)", "Date is invalid (31/04/2006)",
/// "Error : User_Form_Dateformat:date_format is not valid".
[[nodiscard]] std::expected<QDate, Error> parse_user_date(const QString& typed, const QString& date_format);

/// Shows a date in the user's format.
QString format_user_date(const QDate& date, const QString& date_format);

/// The fiscal year and period of a date from Fiscalyear_table; "No fiscal year for " + date
/// when no year holds it.
[[nodiscard]] std::expected<FiscalPeriod, Error> fiscal_period_of(Database& db, const QDate& date);

/// Whether a posting into the given fiscal year and period is allowed by the working period
/// of COA_config_table; "Fiscal period/year is out of working period." when it is not.
[[nodiscard]] std::expected<void, Error> check_working_period(Database& db, const FiscalPeriod& period);

} // namespace zelkor
