#include "reports/report_query.h"

#include "core/fiscal_periods.h"

namespace zelkor {

namespace {

QString void_or_false(const ReportQuery& query)
{
    return query.void_flag.isEmpty() ? QStringLiteral("FALSE") : query.void_flag;
}

QString currency_or_blank(const ReportQuery& query)
{
    return query.currency.isEmpty() ? QStringLiteral("''") : query.currency;
}

/// Whether the shown columns' lookups join the tables (the count and totals need none of them).
enum class Lookups { Joined, Left };

SqlText from_where(const ReportQuery& query, const ReportSelection& selection, Lookups lookups = Lookups::Joined)
{
    SqlText text(QStringLiteral(" FROM "));
    if (selection.from)
        text.append(*selection.from);
    else
        text.append(query.from + (lookups == Lookups::Joined ? query.lookups : QString()));
    text.append(selection.joins + QStringLiteral(" WHERE "));
    return text.append(selection.where.joined());
}

QString order_by(const std::vector<SortKey>& order)
{
    QStringList keys;
    for (const SortKey& key : order)
        keys << key.expression + (key.descending ? QStringLiteral(" DESC") : QString());
    return keys.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", "));
}

bool is_true(const QVariant& value)
{
    return !value.isNull() && Row::to_flag(value);
}

int unit_cost_places(const QVariant& decimals)
{
    bool number = false;
    const int places = decimals.toInt(&number);
    return number && !decimals.isNull() && places >= 0 && places <= 6 ? places : 2;
}

} // namespace

SqlText& SqlText::append(const QString& text, const Params& params)
{
    m_text += text;
    m_params.insert(m_params.end(), params.begin(), params.end());
    return *this;
}

SqlText& SqlText::append(const SqlText& other) { return append(other.m_text, other.m_params); }

void Conditions::add(const QString& condition, const Params& params) { m_conditions.emplace_back(condition, params); }

void Conditions::add(const SqlText& condition) { m_conditions.push_back(condition); }

SqlText Conditions::joined() const
{
    if (m_conditions.empty())
        return SqlText(QStringLiteral("1 = 1"));
    SqlText text;
    for (size_t index = 0; index < m_conditions.size(); ++index) {
        if (index > 0)
            text.append(QStringLiteral(" AND "));
        text.append(u'(' + m_conditions[index].text() + u')', m_conditions[index].params());
    }
    return text;
}

QString ReportQuery::sort_expression(const QString& caption) const
{
    for (const auto& [name, expression] : sorts)
        if (name.compare(caption.trimmed(), Qt::CaseInsensitive) == 0)
            return expression;
    return {};
}

SqlText keyset_condition(const std::vector<SortKey>& order, const std::vector<SqlValue>& after, Engine engine)
{
    // SQLite orders NULL before every value, PostgreSQL after: "after a value" includes the
    // NULLs only where they come later.
    const bool nulls_first = engine == Engine::Sqlite;
    SqlText alternatives;
    SqlText equal_so_far;
    for (size_t index = 0; index < order.size() && index < after.size(); ++index) {
        const SortKey& key = order[index];
        const SqlValue& value = after[index];
        const bool ascending = !key.descending;
        const bool nulls_later = ascending != nulls_first;
        std::optional<SqlText> beyond;
        if (value.variant().isNull()) {
            if (!nulls_later)
                beyond = SqlText(key.expression + QStringLiteral(" IS NOT NULL"));
        } else {
            const QString comparison = key.expression + (ascending ? QStringLiteral(" > ?") : QStringLiteral(" < ?"));
            beyond = key.nullable && nulls_later
                         ? SqlText(u'(' + comparison + QStringLiteral(" OR ") + key.expression + QStringLiteral(" IS NULL)"), {value})
                         : SqlText(comparison, {value});
        }
        if (beyond) {
            SqlText alternative = equal_so_far;
            if (!alternative.empty())
                alternative.append(QStringLiteral(" AND "));
            alternative.append(*beyond);
            if (!alternatives.empty())
                alternatives.append(QStringLiteral(" OR "));
            alternatives.append(u'(' + alternative.text() + u')', alternative.params());
        }
        if (!equal_so_far.empty())
            equal_so_far.append(QStringLiteral(" AND "));
        if (value.variant().isNull())
            equal_so_far.append(key.expression + QStringLiteral(" IS NULL"));
        else
            equal_so_far.append(key.expression + QStringLiteral(" = ?"), {value});
    }
    if (alternatives.empty())
        return SqlText(QStringLiteral("1 = 0"));
    SqlText condition;
    // A bound on the first key lets an index on it start at the page instead of at the top.
    if (!order.empty() && !after.empty() && !order.front().nullable && !after.front().variant().isNull())
        condition.append(order.front().expression + (order.front().descending ? QStringLiteral(" <= ?") : QStringLiteral(" >= ?"))
                             + QStringLiteral(" AND "),
                         {after.front()});
    return condition.append(u'(' + alternatives.text() + u')', alternatives.params());
}

SqlText page_query(const ReportQuery& query, const ReportSelection& selection,
                   const std::optional<std::vector<SqlValue>>& after, int limit, Engine engine)
{
    QStringList selected;
    for (const ReportColumn& column : query.columns)
        selected << column.source;
    selected << currency_or_blank(query) << void_or_false(query);
    for (const ReportColumn& column : query.columns)
        selected << (column.decimals.isEmpty() ? QStringLiteral("NULL") : column.decimals);
    for (const SortKey& key : selection.order)
        selected << key.expression;
    SqlText text(QStringLiteral("SELECT ") + selected.join(QStringLiteral(", ")));
    text.append(from_where(query, selection));
    if (after) {
        text.append(QStringLiteral(" AND "));
        text.append(keyset_condition(selection.order, *after, engine));
    }
    text.append(order_by(selection.order));
    if (limit > 0)
        text.append(QStringLiteral(" LIMIT ?"), {limit});
    return text;
}

SqlText totals_query(const ReportQuery& query, const ReportSelection& selection, Engine engine)
{
    QStringList sums;
    for (const ReportColumn& column : query.columns)
        if (column.totalled)
            sums << QStringLiteral("SUM(CASE WHEN %1 THEN 0 ELSE %2 END)").arg(void_or_false(query), column.source);
    const QString currency = currency_or_blank(query);
    if (query.document_key.isEmpty() || engine != Engine::Sqlite) {
        SqlText text(QStringLiteral("SELECT %1, COUNT(*)%2").arg(currency, sums.isEmpty() ? QString() : QStringLiteral(", ") + sums.join(u", ")));
        text.append(from_where(query, selection, Lookups::Left));
        // A report without currencies totals in one row.
        return query.currency.isEmpty() ? text : text.append(QStringLiteral(" GROUP BY ") + currency + QStringLiteral(" ORDER BY 1"));
    }
    // SQLite groups a million lines per currency by sorting them all; it reads a document's lines
    // together by its key, so their sums per document cost nothing and leave a tenth as many rows
    // to sort. Grouping by the currency as well keeps the sums exact whatever a document's
    // currencies. (PostgreSQL hashes the currencies in one pass: the plain form is its fastest.)
    QStringList per_document{currency + QStringLiteral(" AS currency"), QStringLiteral("COUNT(*) AS row_count")};
    QStringList per_currency{QStringLiteral("currency"), QStringLiteral("SUM(row_count)")};
    for (int index = 0; index < sums.size(); ++index) {
        per_document << sums[index] + QStringLiteral(" AS sum%1").arg(index);
        per_currency << QStringLiteral("SUM(sum%1)").arg(index);
    }
    SqlText text(QStringLiteral("SELECT %1 FROM (SELECT %2").arg(per_currency.join(u", "), per_document.join(u", ")));
    text.append(from_where(query, selection, Lookups::Left));
    const QString groups = query.currency.isEmpty() ? query.document_key : query.document_key + QStringLiteral(", ") + query.currency;
    return text.append(QStringLiteral(" GROUP BY %1) documents GROUP BY currency ORDER BY 1").arg(groups));
}

std::vector<SqlValue> keys_of(const Row& row, const ReportRowLayout& layout, size_t key_count)
{
    std::vector<SqlValue> keys;
    for (size_t index = 0; index < key_count; ++index) {
        const int at = layout.key(int(index));
        const QVariant value = row.value(at);
        if (value.isNull())
            keys.emplace_back(std::nullopt);
        else if (value.typeId() == QMetaType::QDate)
            keys.emplace_back(value.toDate());
        else if (value.typeId() == QMetaType::Bool)
            keys.emplace_back(value.toBool());
        else if (row.is_number(at))
            keys.emplace_back(Row::to_decimal(value));
        else
            keys.emplace_back(Row::to_text(value));
    }
    return keys;
}

QString shown_text(const ReportColumn& column, const QVariant& value, const QVariant& decimals, const QString& date_format)
{
    switch (column.kind) {
    case ColumnKind::Date: {
        const QDate date = Row::to_date(value);
        return date.isValid() ? format_user_date(date, date_format) : QString();
    }
    case ColumnKind::Money: return value.isNull() ? QString() : Row::to_decimal(value).format(2);
    case ColumnKind::WholeAmount: return value.isNull() ? QString() : Row::to_decimal(value).format(0);
    case ColumnKind::UnitCost:
        return value.isNull() ? QString() : Row::to_decimal(value).format(unit_cost_places(decimals));
    default: break;
    }
    return plain_text(column, value, decimals);
}

QString plain_text(const ReportColumn& column, const QVariant& value, const QVariant& decimals)
{
    switch (column.kind) {
    case ColumnKind::Date: {
        const QDate date = Row::to_date(value);
        return date.isValid() ? date.toString(Qt::ISODate) : QString();
    }
    case ColumnKind::Money: return value.isNull() ? QString() : Row::to_decimal(value).to_fixed(2);
    case ColumnKind::WholeAmount: return value.isNull() ? QString() : Row::to_decimal(value).to_fixed(0);
    case ColumnKind::UnitCost: return value.isNull() ? QString() : Row::to_decimal(value).to_fixed(unit_cost_places(decimals));
    case ColumnKind::Quantity: return value.isNull() ? QString() : Row::to_decimal(value).to_string();
    case ColumnKind::Check: return is_true(value) ? QStringLiteral("1") : QStringLiteral("0");
    case ColumnKind::Marker: return is_true(value) ? column.marker : QString();
    case ColumnKind::Text: break;
    }
    return Row::to_text(value);
}

QString contains_pattern(const QString& text)
{
    QString escaped;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            escaped += u'\\';
        escaped += c;
    }
    return u'%' + escaped + u'%';
}

} // namespace zelkor
