#include "documents/requisition/pr_load.h"

namespace zelkor {

namespace {

[[nodiscard]] std::expected<std::optional<PrDocument>, Error> with_lines(Database& db, std::expected<std::optional<Row>, Error> header)
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

} // namespace

DocumentKind requisitions() { return {QStringLiteral("PR_header_table"), QStringLiteral("pr")}; }

[[nodiscard]] std::expected<std::optional<PrDocument>, Error> read_pr_by_number(Database& db, const QString& docno)
{
    auto key = document_key_of_number(db, requisitions(), docno);
    if (!key)
        return std::unexpected(key.error());
    if (!*key)
        return std::optional<PrDocument>();
    return read_pr_by_key(db, **key);
}

[[nodiscard]] std::expected<std::optional<PrDocument>, Error> read_pr_by_key(Database& db, const QString& key)
{
    return with_lines(db, db.first(QStringLiteral("SELECT * FROM PR_header_table WHERE fkey = ?"), {key}));
}

} // namespace zelkor
