#pragma once

#include "core/db/database.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace zelkor {

/// SQL text and the values bound to its placeholders, built together so that a value can only
/// ever reach the database bound, and each placeholder keeps its value beside it.
class SqlText {
public:
    SqlText() = default;
    SqlText(QString text, Params params = {}) : m_text(std::move(text)), m_params(std::move(params)) {}

    SqlText& append(const QString& text, const Params& params = {});
    SqlText& append(const SqlText& other);
    const QString& text() const { return m_text; }
    const Params& params() const { return m_params; }
    bool empty() const { return m_text.isEmpty(); }

private:
    QString m_text;
    Params m_params;
};

/// Conditions that must all hold.
class Conditions {
public:
    void add(const QString& condition, const Params& params = {});
    void add(const SqlText& condition);
    bool empty() const { return m_conditions.empty(); }
    /// "c1 AND c2 ..."; "1 = 1" when there is none.
    SqlText joined() const;

private:
    std::vector<SqlText> m_conditions;
};

/// How a report column shows its value.
enum class ColumnKind {
    Text,
    Date,        ///< in the user's date format (ISO in exports)
    Money,       ///< "#,##0.00"
    WholeAmount, ///< "#,###": no decimals, empty for NULL
    Quantity,    ///< as stored, without trailing zeros
    UnitCost,    ///< with the item's unit-cost decimals, 2 without an item
    Check,       ///< "1" ticked, "0" not
    Marker,      ///< the column's marker text when the value is true, else empty
};

/// One column of a report: its caption in the grid, the SQL that gives its value, how it is
/// shown, and whether the report totals it per currency.
struct ReportColumn {
    QString caption;
    QString source;
    ColumnKind kind = ColumnKind::Text;
    bool totalled = false;
    QString decimals{}; ///< UnitCost: the SQL giving the decimals shown
    QString marker{};   ///< Marker: the text shown for a true value
};

/// One key of a report's order. Keys that can be NULL are compared so that NULLs are never
/// lost between pages, whichever end of the order the engine puts them at.
struct SortKey {
    QString expression;
    bool descending = false;
    bool nullable = true;
};

/// What a report reads: its tables, its columns, the currency its totals are kept in, which
/// rows belong to void documents, its default order (ending in a unique key) and the orders a
/// user may choose by caption.
struct ReportQuery {
    QString from;
    /// LEFT JOINs on a unique key that only the shown columns read (the names of codes): a row
    /// has at most one match, so the count and totals leave them out. Filters never read them.
    QString lookups{};
    /// The key of the document a row belongs to, when rows are a document's lines: on SQLite the
    /// totals add up each document's lines first, then the documents per currency.
    QString document_key{};
    std::vector<ReportColumn> columns;
    QString currency{};
    QString void_flag{};
    QString totals_caption = QStringLiteral("currency"); ///< what the totals are kept per
    std::vector<SortKey> default_order{};
    std::vector<std::pair<QString, QString>> sorts{};

    /// The SQL of a sort caption; empty for one that is not offered.
    QString sort_expression(const QString& caption) const;
};

/// Appends columns to a report's columns.
inline void append(std::vector<ReportColumn>& columns, const std::vector<ReportColumn>& more)
{
    columns.insert(columns.end(), more.begin(), more.end());
}

/// The rows a run of the report selects: the joins its filters need, its conditions and its order.
struct ReportSelection {
    std::optional<SqlText> from{}; ///< in place of the query's tables (a derived table with its own values)
    QString joins{};
    Conditions where{};
    std::vector<SortKey> order{};
};

/// A page of rows in the selection's order after the row whose order keys are `after` (the
/// first page without them). Each row holds the columns, then the currency, the void flag,
/// the decimals of each unit-cost column and the order keys (read them with ReportRowLayout).
SqlText page_query(const ReportQuery& query, const ReportSelection& selection,
                   const std::optional<std::vector<SqlValue>>& after, int limit, Engine engine);
/// Per currency: the number of rows, and the sums of the totalled columns over the rows of
/// documents that are not void.
SqlText totals_query(const ReportQuery& query, const ReportSelection& selection, Engine engine);
/// The rows that come after `after` in `order`.
SqlText keyset_condition(const std::vector<SortKey>& order, const std::vector<SqlValue>& after, Engine engine);

/// Where the extra values of a page_query row are.
struct ReportRowLayout {
    int columns = 0;
    int currency() const { return columns; }
    int void_flag() const { return columns + 1; }
    int decimals(int column) const { return columns + 2 + column; }
    int key(int index) const { return 2 * columns + 2 + index; }
};

/// The order keys of a row, as values to bind for the next page.
std::vector<SqlValue> keys_of(const Row& row, const ReportRowLayout& layout, size_t key_count);

/// A value as the grid shows it.
QString shown_text(const ReportColumn& column, const QVariant& value, const QVariant& decimals, const QString& date_format);
/// A value as an export holds it: plain numbers, ISO dates.
QString plain_text(const ReportColumn& column, const QVariant& value, const QVariant& decimals);
/// A LIKE pattern that finds `text` anywhere, its own % and _ taken literally (escape "\").
QString contains_pattern(const QString& text);

} // namespace zelkor
