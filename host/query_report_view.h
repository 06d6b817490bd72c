#pragma once

#include <QString>

class QWidget;

namespace zelkor {
class Database;
}

namespace zelkor::host {

/// A read-only table of the rows a print query returns (the document number of `argument`
/// bound), titled with the report's name: what the clerk sees of a report when no PDF can be
/// written.
QWidget* make_query_report_view(Database& db, const QString& query, const QString& argument, const QString& title,
                                QWidget* parent = nullptr);

/// The report title of an "ActiveReport" notification's second argument ("Purchase Order,PO-1,").
QString report_title(const QString& arg2);

/// True when the text is one read-only SELECT statement (the only kind a host runs for a report).
bool is_single_select(const QString& query);

} // namespace zelkor::host
