#include "core/db/sql_batch.h"

#include "core/db/sql_names.h"

namespace zelkor {
namespace {

qsizetype rows_per_statement(const Database& db) { return db.engine() == Engine::Postgres ? 100 : 1; }

} // namespace

std::vector<Statement> statements_by_keys(const QString& head, const std::vector<QString>& keys, const QString& tail,
                                          bool locks)
{
    std::vector<Statement> statements;
    for (qsizetype first = 0; first < qsizetype(keys.size()); first += KeysPerStatement) {
        const qsizetype count = std::min(KeysPerStatement, qsizetype(keys.size()) - first);
        statements.push_back({.sql = head + placeholder_list(count) + tail,
                              .params = Params(keys.begin() + first, keys.begin() + first + count),
                              .locks = locks});
    }
    return statements;
}

QString placeholder_rows(qsizetype count, qsizetype width)
{
    const QString row = u'(' + placeholder_list(width) + u')';
    QString text;
    text.reserve(count * (row.size() + 2));
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0)
            text += QLatin1StringView(", ");
        text += row;
    }
    return text;
}

InsertBatch::InsertBatch(const QString& table, const QStringList& columns, QString suffix)
    : m_row_placeholders(u'(' + placeholder_list(columns.size()) + u')'), m_suffix(std::move(suffix)),
      m_columns(columns.size())
{
    QStringList names;
    for (const QString& column : columns)
        names << sql_name(column);
    m_prefix = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + names.join(QStringLiteral(", "))
        + QStringLiteral(") VALUES ");
}

void InsertBatch::add(Params values)
{
    Q_ASSERT_X(qsizetype(values.size()) == m_columns, "InsertBatch::add", "one value per column");
    m_values.insert(m_values.end(), std::make_move_iterator(values.begin()), std::make_move_iterator(values.end()));
    ++m_rows;
}

[[nodiscard]] std::expected<void, Error> InsertBatch::execute(Database& db) const
{
    const qsizetype batch = rows_per_statement(db);
    for (qsizetype first = 0; first < m_rows; first += batch) {
        const qsizetype count = std::min(batch, m_rows - first);
        QString sql = m_prefix;
        for (qsizetype row = 0; row < count; ++row) {
            if (row > 0)
                sql += QLatin1StringView(", ");
            sql += m_row_placeholders;
        }
        sql += m_suffix;
        const auto begin = m_values.begin() + first * m_columns;
        const Params values(begin, begin + count * m_columns);
        if (auto done = db.write(sql, values); !done)
            return std::unexpected(done.error());
    }
    return {};
}

std::expected<void, Error> insert_rows(Database& db, const std::vector<InsertRow>& rows)
{
    if (rows.empty())
        return {};
    const size_t batch = size_t(rows_per_statement(db));
    const QString single = rows.front().sql();
    const QString values = single.mid(single.lastIndexOf(QStringLiteral(" VALUES ")) + 8);
    for (size_t first = 0; first < rows.size(); first += batch) {
        const size_t last = std::min(rows.size(), first + batch);
        QString sql = single;
        Params params = rows[first].params();
        for (size_t index = first + 1; index < last; ++index) {
            sql += QStringLiteral(", ") + values;
            const Params& more = rows[index].params();
            params.insert(params.end(), more.begin(), more.end());
        }
        if (auto done = db.write(sql, params); !done)
            return std::unexpected(done.error());
    }
    return {};
}

std::expected<void, Error> update_from_values(Database& db, const QString& table, const QString& set,
                                              const QString& match, const QString& row_placeholders,
                                              const std::vector<Params>& rows)
{
    const qsizetype batch = db.engine() == Engine::Postgres ? 100 : 1;
    for (qsizetype first = 0; first < qsizetype(rows.size()); first += batch) {
        const qsizetype count = std::min(batch, qsizetype(rows.size()) - first);
        QStringList values;
        Params params;
        for (qsizetype index = first; index < first + count; ++index) {
            values << row_placeholders;
            params.insert(params.end(), rows[size_t(index)].begin(), rows[size_t(index)].end());
        }
        auto done = db.write(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + set
                                   + QStringLiteral(" FROM (VALUES ") + values.join(QStringLiteral(", "))
                                   + QStringLiteral(") AS v WHERE ") + match,
                               params);
        if (!done)
            return std::unexpected(done.error());
    }
    return {};
}

} // namespace zelkor
