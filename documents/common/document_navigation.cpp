#include "documents/common/document_navigation.h"

#include "core/numbering.h"

namespace zelkor {

namespace {

/// The last key number issued for the kind (the counter holds the next one).
[[nodiscard]] std::expected<long long, Error> last_issued_number(Database& db, const DocumentKind& kind)
{
    auto next = db.scalar(QStringLiteral("SELECT fkeyno FROM Next_number_fkey_table WHERE company = 1 AND doctype = ?"),
                          {kind.doctype});
    if (!next)
        return std::unexpected(next.error());
    return next->isValid() ? next->toLongLong() - 1 : 0;
}

/// The number after "1" + type + "-" in a key; 0 when the key is not one of this kind.
long long number_of_key(const DocumentKind& kind, const QString& key)
{
    const QString prefix = make_fkey(1, kind.doctype, 0).chopped(1);
    if (!key.startsWith(prefix))
        return 0;
    bool whole = false;
    const long long number = key.mid(prefix.size()).toLongLong(&whole);
    return whole ? number : 0;
}

/// Probes key numbers from `from` by `delta` while they stay within 1..last. Deleted documents
/// leave few gaps, so probing key by key stays short.
[[nodiscard]] std::expected<std::optional<QString>, Error> probe(Database& db, const DocumentKind& kind, long long from, int delta,
                                                   long long last)
{
    // The table name is one of the module's own constants, never a typed value.
    const QString sql = QStringLiteral("SELECT fkey FROM ") + kind.header_table + QStringLiteral(" WHERE fkey = ?");
    for (long long number = from; number >= 1 && number <= last; number += delta) {
        const QString key = make_fkey(1, kind.doctype, number);
        auto found = db.first(sql, {key});
        if (!found)
            return std::unexpected(found.error());
        if (*found)
            return std::optional<QString>(key);
    }
    return std::optional<QString>();
}

} // namespace

[[nodiscard]] std::expected<std::optional<QString>, Error> document_key_of_number(Database& db, const DocumentKind& kind,
                                                                    const QString& docno)
{
    // Bills and landed bills share one table: a number finds only a document of the window's type.
    auto found = db.first(QStringLiteral("SELECT fkey FROM ") + kind.header_table
                              + QStringLiteral(" WHERE company = 1 AND docno = ? AND doctype = ?"),
                          {docno, kind.doctype});
    if (!found)
        return std::unexpected(found.error());
    if (!*found)
        return std::optional<QString>();
    return std::optional<QString>((*found)->text(u"fkey"));
}

[[nodiscard]] std::expected<std::optional<QString>, Error> last_document_key(Database& db, const DocumentKind& kind)
{
    auto last = last_issued_number(db, kind);
    if (!last)
        return std::unexpected(last.error());
    return probe(db, kind, *last, -1, *last);
}

[[nodiscard]] std::expected<std::optional<QString>, Error> first_document_key(Database& db, const DocumentKind& kind)
{
    auto last = last_issued_number(db, kind);
    if (!last)
        return std::unexpected(last.error());
    return probe(db, kind, 1, 1, *last);
}

[[nodiscard]] std::expected<std::optional<QString>, Error> neighbour_document_key(Database& db, const DocumentKind& kind,
                                                                    const QString& key, KeyStep step)
{
    auto last = last_issued_number(db, kind);
    if (!last)
        return std::unexpected(last.error());
    const long long current = number_of_key(kind, key);
    if (current == 0)
        return std::optional<QString>();
    return step == KeyStep::Next ? probe(db, kind, current + 1, 1, *last) : probe(db, kind, current - 1, -1, *last);
}

} // namespace zelkor
