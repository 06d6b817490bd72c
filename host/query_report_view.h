#pragma once

#include <QString>

class QWidget;

namespace zelkor {
class Database;
}

namespace zelkor::host {

/// A read-only table of the rows a print query returns, titled with the report's name. It
/// stands in for the printed report: a window asks for "ActiveReport" with the query and the
/// title, and the clerk sees what would be printed.
QWidget* make_query_report_view(Database& db, const QString& query, const QString& title, QWidget* parent = nullptr);

/// The report title of an "ActiveReport" notification's second argument ("Purchase Order,PO-1,").
QString report_title(const QString& arg2);

/// True when the text is one read-only SELECT statement (the only kind a host runs for a report).
bool is_single_select(const QString& query);

} // namespace zelkor::host
