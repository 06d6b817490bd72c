#pragma once

#include <QString>

namespace zelkor {

/// What the printed requisition shows from the window rather than from its rows.
struct PrPrintValues {
    QString key{};
    QString order_date{};     ///< in the user's date format
    QString vendor_name{};
    QString requested_date{}; ///< in the user's date format
    QString rate_date{};      ///< in the user's date format
    QString payment_term{};   ///< the term's name
};

/// The one query the host's report runs for the printed requisition: header joined with its
/// lines, ordered by line number. The host runs it as text, so the window's values are written
/// into it as quoted literals.
QString pr_print_query(const PrPrintValues& values);

/// The report title handed with the query.
QString pr_print_title(const QString& docno);

/// A text as an SQL string literal, its quotes doubled.
QString sql_text_literal(const QString& text);

} // namespace zelkor
