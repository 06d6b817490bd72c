#include "core/document_versions.h"

namespace zelkor {

std::expected<std::optional<Row>, Error> lock_document(Database& db, const QString& table, const QString& key)
{
    auto rows = db.select_for_update(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE fkey = ?"), {key}, LockRank::EditedDocument);
    if (!rows)
        return std::unexpected(rows.error());
    if (rows->empty())
        return std::optional<Row>();
    return std::optional<Row>(rows->front());
}

Error changed_by_another_user(const QString& number)
{
    return Error::invalid(number + QStringLiteral(" was changed by another user. Refresh it and edit again."));
}

std::expected<LockedDocument, Error> lock_shown_version(Database& db, const DocumentVersion& version)
{
    auto header = lock_document(db, version.table, version.key);
    if (!header)
        return std::unexpected(header.error());
    if (!*header)
        return std::unexpected(
            Error::not_found(QStringLiteral("Document no. ") + version.number + QStringLiteral(" not found")));
    return LockedDocument{**header, (*header)->integer(u"row_version") != version.shown};
}

std::expected<void, Error> raise_version(Database& db, const QString& table, const QString& key)
{
    return db.write(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET row_version = row_version + 1 WHERE fkey = ?"),
                    {key});
}

} // namespace zelkor
