#include "forms/purchasing/pr_load.h"

#include "services/numbering.h"

namespace zelkor {

namespace {

const QString DocType = QStringLiteral("pr");

std::expected<std::optional<PrDocument>, Error> with_lines(Database& db, std::expected<std::optional<Row>, Error> header)
{
    if (!header)
        return std::unexpected(header.error());
    if (!*header)
        return std::optional<PrDocument>();
    auto lines = db.select(QStringLiteral("SELECT * FROM PR_transaction_table WHERE fkey = ? ORDER BY itemno"),
                           {(*header)->text(u"fkey")});
    if (!lines)
        return std::unexpected(lines.error());
    return std::optional<PrDocument>(PrDocument{**header, std::move(*lines)});
}

/// The last key number issued for requisitions (the counter holds the next one).
std::expected<long long, Error> last_issued_number(Database& db)
{
    auto next = db.scalar(QStringLiteral("SELECT fkeyno FROM Next_number_fkey_table WHERE company = 1 AND doctype = ?"),
                          {DocType});
    if (!next)
        return std::unexpected(next.error());
    return next->isValid() ? next->toLongLong() - 1 : 0;
}

/// The number after "1pr-" in a key; 0 when the key is not a requisition key.
long long number_of_key(const QString& key)
{
    const QString prefix = make_fkey(1, DocType, 0).chopped(1);
    if (!key.startsWith(prefix))
        return 0;
    bool whole = false;
    const long long number = key.mid(prefix.size()).toLongLong(&whole);
    return whole ? number : 0;
}

/// Probes key numbers from `from` by `delta` while they stay within 1..last.
std::expected<std::optional<QString>, Error> probe(Database& db, long long from, int delta, long long last)
{
    for (long long number = from; number >= 1 && number <= last; number += delta) {
        const QString key = make_fkey(1, DocType, number);
        auto found = db.first(QStringLiteral("SELECT fkey FROM PR_header_table WHERE fkey = ?"), {key});
        if (!found)
            return std::unexpected(found.error());
        if (*found)
            return std::optional<QString>(key);
    }
    return std::optional<QString>();
}

} // namespace

std::expected<std::optional<PrDocument>, Error> read_pr_by_number(Database& db, const QString& docno)
{
    return with_lines(db, db.first(QStringLiteral("SELECT * FROM PR_header_table WHERE company = 1 AND docno = ?"), {docno}));
}

std::expected<std::optional<PrDocument>, Error> read_pr_by_key(Database& db, const QString& key)
{
    return with_lines(db, db.first(QStringLiteral("SELECT * FROM PR_header_table WHERE fkey = ?"), {key}));
}

std::expected<std::optional<QString>, Error> last_pr_key(Database& db)
{
    auto last = last_issued_number(db);
    if (!last)
        return std::unexpected(last.error());
    return probe(db, *last, -1, *last);
}

std::expected<std::optional<QString>, Error> neighbour_pr_key(Database& db, const QString& key, Step step)
{
    auto last = last_issued_number(db);
    if (!last)
        return std::unexpected(last.error());
    const long long current = number_of_key(key);
    if (current == 0)
        return std::optional<QString>();
    return step == Step::Next ? probe(db, current + 1, 1, *last) : probe(db, current - 1, -1, *last);
}

} // namespace zelkor
