#include "stock/lot_ids.h"

#include "core/clock.h"
#include "core/db/sql_batch.h"

namespace zelkor {
namespace {

constexpr int SecondsPerDay = 24 * 60 * 60;

QString day_prefix(const QDate& date) { return date.toString(QStringLiteral("yyyyMMdd")); }

QString time_of_second(int second)
{
    return QTime(0, 0).addSecs(second).toString(QStringLiteral("hh:mm:ss"));
}

// Ids taken by live layers and by history rows (used-up layers) of the keys within one day,
// from the operation's start time on.
QString taken_ids_sql(qsizetype keys)
{
    const auto from = [&](const char* table) {
        return QStringLiteral("SELECT f.itemcode, f.warehouse, f.lot_id FROM (VALUES ") + placeholder_rows(keys, 2)
            + QStringLiteral(") AS v INNER JOIN ") + QLatin1StringView(table)
            + QStringLiteral(" f ON f.company = 1 AND f.itemcode = v.column1 AND f.warehouse = v.column2"
                             " AND f.lot_id >= ? AND f.lot_id <= ?");
    };
    return from("FIFO_table") + QStringLiteral(" UNION ") + from("FIFO_history_table");
}

} // namespace

LotIds::LotIds(Database& db) : m_db(db), m_start_second(QTime(0, 0).secsTo(Clock::time_of_day())) {}

QString LotIds::first_id(const QDate& date) const { return day_prefix(date) + time_of_second(m_start_second); }

QString LotIds::last_id(const QDate& date) const { return day_prefix(date) + QStringLiteral("23:59:59"); }

[[nodiscard]] std::expected<void, Error> LotIds::read_taken(const std::vector<ItemWarehouse>& keys, const QDate& date)
{
    std::vector<ItemWarehouse> unread;
    for (const ItemWarehouse& key : keys)
        if (m_days.try_emplace({key, date}, Day{{}, m_start_second}).second)
            unread.push_back(key);
    for (qsizetype first = 0; first < qsizetype(unread.size()); first += KeysPerStatement) {
        const qsizetype count = std::min(KeysPerStatement, qsizetype(unread.size()) - first);
        Params values;
        for (qsizetype i = first; i < first + count; ++i)
            values.insert(values.end(), {unread[size_t(i)].itemcode, unread[size_t(i)].warehouse});
        values.insert(values.end(), {first_id(date), last_id(date)});
        Params params = values;
        params.insert(params.end(), values.begin(), values.end());
        auto rows = m_db.select(taken_ids_sql(count), params);
        if (!rows)
            return std::unexpected(rows.error());
        for (const Row& row : *rows)
            m_days[{{row.text(u"itemcode"), row.text(u"warehouse")}, date}].taken.insert(row.text(u"lot_id"));
    }
    return {};
}

[[nodiscard]] std::expected<QString, Error> LotIds::next(const ItemWarehouse& key, const QDate& date)
{
    if (!m_days.contains({key, date}))
        if (auto read = read_taken({key}, date); !read)
            return std::unexpected(read.error());
    Day& day = m_days[{key, date}];
    for (; day.next_second < SecondsPerDay; ++day.next_second) {
        QString id = day_prefix(date) + time_of_second(day.next_second);
        if (!day.taken.contains(id)) {
            day.taken.insert(id);
            ++day.next_second;
            return id;
        }
    }
    return std::unexpected(Error::invalid(QStringLiteral("No cost layer of item %1 in warehouse %2 can be added on %3:"
                                                         " every later second of the day is taken.")
                                              .arg(key.itemcode, key.warehouse, date.toString(Qt::ISODate))));
}

} // namespace zelkor
