#include "core/db/sql_names.h"

#include <algorithm>
#include <vector>

namespace zelkor {
namespace {

// Words reserved by SQLite or PostgreSQL that may stand as column names.
const std::vector<QLatin1StringView>& keywords()
{
    static const char* const list[] = {
        "all", "analyse", "analyze", "and", "any", "array", "as", "asc",
        "asymmetric", "authorization", "begin", "between", "binary", "both",
        "case", "cast", "check", "collate", "column", "commit",
        "concurrently", "constraint", "create", "cross", "current_date",
        "current_role", "current_time", "current_timestamp", "current_user",
        "default", "deferrable", "delete", "desc", "distinct", "do",
        "drop", "else", "end", "escape", "except", "exists", "false",
        "fetch", "for", "foreign", "freeze", "from", "full", "glob",
        "grant", "group", "having", "ilike", "in", "index", "initially",
        "inner", "insert", "intersect", "into", "is", "isnull", "join",
        "lateral", "leading", "left", "like", "limit", "localtime",
        "localtimestamp", "natural", "not", "nothing", "notnull", "null",
        "offset", "on", "only", "or", "order", "outer", "overlaps",
        "placing", "primary", "references", "regexp", "returning", "right",
        "rollback", "select", "session_user", "set", "similar", "some",
        "symmetric", "table", "then", "to", "trailing", "transaction",
        "true", "union", "unique", "update", "user", "using", "values",
        "variadic", "verbose", "when", "where", "window", "with",
    };
    // Sorted once, so that a name is looked up without allocating (it runs for every column of
    // every row a save writes).
    static const std::vector<QLatin1StringView> words = [] {
        std::vector<QLatin1StringView> sorted;
        for (const char* word : list)
            sorted.emplace_back(word);
        std::sort(sorted.begin(), sorted.end(),
                  [](QLatin1StringView a, QLatin1StringView b) { return QtPrivate::compareStrings(a, b) < 0; });
        return sorted;
    }();
    return words;
}

bool is_keyword(QStringView name)
{
    const auto& words = keywords();
    const auto found = std::lower_bound(words.begin(), words.end(), name, [](QLatin1StringView word, QStringView wanted) {
        return QtPrivate::compareStrings(word, wanted, Qt::CaseInsensitive) < 0;
    });
    return found != words.end() && QtPrivate::compareStrings(*found, name, Qt::CaseInsensitive) == 0;
}

QString placeholders(qsizetype count)
{
    QString text;
    text.reserve(count * 3);
    for (qsizetype i = 0; i < count; ++i)
        text += i == 0 ? QLatin1StringView("?") : QLatin1StringView(", ?");
    return text;
}

} // namespace

QString sql_name(QStringView name)
{
    if (is_keyword(name))
        return u'"' + name.toString().toLower() + u'"';
    return name.toString();
}

InsertRow& InsertRow::set(QStringView column, SqlValue value)
{
    if (m_named)
        m_columns.append(sql_name(column));
    m_params.push_back(std::move(value));
    return *this;
}

InsertRow& InsertRow::set_created(const Created& created)
{
    return set(u"date_created", created.date).set(u"time_created", created.time).set(u"user_created", created.user);
}

QString InsertRow::sql() const
{
    Q_ASSERT_X(m_named, "InsertRow::sql", "a row without column names is written after the first row of its batch");
    return QStringLiteral("INSERT INTO ") + m_table + QStringLiteral(" (") + m_columns.join(QStringLiteral(", "))
        + QStringLiteral(") VALUES (") + placeholders(m_columns.size()) + u')';
}

[[nodiscard]] std::expected<void, Error> InsertRow::execute(Database& db) const
{
    return db.write(sql(), m_params);
}

[[nodiscard]] std::expected<qint64, Error> InsertRow::execute_returning_id(Database& db) const
{
    return db.insert_returning_id(sql(), m_params);
}

UpdateRow& UpdateRow::set(QStringView column, SqlValue value)
{
    m_columns.append(sql_name(column) + QStringLiteral(" = ?"));
    m_params.push_back(std::move(value));
    return *this;
}

UpdateRow& UpdateRow::where(QString condition, Params params)
{
    m_condition = std::move(condition);
    m_condition_params = std::move(params);
    return *this;
}

QString UpdateRow::sql() const
{
    Q_ASSERT_X(!m_condition.isEmpty(), "UpdateRow", "an update without a condition would change every row");
    return QStringLiteral("UPDATE ") + m_table + QStringLiteral(" SET ") + m_columns.join(QStringLiteral(", "))
        + QStringLiteral(" WHERE ") + m_condition;
}

[[nodiscard]] std::expected<int, Error> UpdateRow::execute(Database& db) const
{
    Params all = m_params;
    all.insert(all.end(), m_condition_params.begin(), m_condition_params.end());
    return db.execute(sql(), all);
}

QString placeholder_list(qsizetype count)
{
    QString text;
    for (qsizetype i = 0; i < count; ++i)
        text += i == 0 ? QStringLiteral("?") : QStringLiteral(", ?");
    return text;
}

} // namespace zelkor
