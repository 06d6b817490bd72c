#include "documents/order/po_requisition.h"

#include "core/db/sql_names.h"
#include "core/document_versions.h"

#include <QMap>

namespace zelkor {
namespace {

/// Sets `closed` on the named lines of one requisition, then brings its header in line: closed
/// when no line is open (closing), open again (reopening). The header is locked, then the lines
/// are read under lock, in one round trip (the header before its lines, as every save that takes
/// from a document does): closing a line another order closed meanwhile refuses the save.
[[nodiscard]] std::expected<void, Error> set_lines_closed(Database& db, const QString& docno, const QList<int>& itemnos,
                                                         bool closed)
{
    if (itemnos.isEmpty())
        return {};
    Params lines_of_docno{docno};
    for (int itemno : itemnos)
        lines_of_docno.push_back(itemno);
    const QString items = QStringLiteral(" AND itemno IN (") + placeholder_list(itemnos.size()) + u')';
    auto read = db.select_together(
        {{.sql = QStringLiteral("SELECT fkey FROM PR_header_table WHERE company = 1 AND docno = ? ORDER BY fkey LIMIT 1"),
          .params = {docno},
          .locks = true},
         {.sql = QStringLiteral("SELECT itemno, closed FROM PR_transaction_table"
                                " WHERE fkey = (SELECT fkey FROM PR_header_table WHERE company = 1 AND docno = ?"
                                " ORDER BY fkey LIMIT 1)")
                 + items + QStringLiteral(" ORDER BY itemno"),
          .params = lines_of_docno,
          .locks = true}});
    if (!read)
        return std::unexpected(read.error());
    if ((*read)[0].empty())
        return {};
    const QString key = (*read)[0].front().text(u"fkey");
    const Rows& locked = (*read)[1];
    Params params{key};
    params.insert(params.end(), lines_of_docno.begin() + 1, lines_of_docno.end());
    const QString named = QStringLiteral(" WHERE fkey = ?") + items;
    if (closed)
        for (const Row& line : locked)
            if (line.flag(u"closed"))
                return std::unexpected(Error::invalid(docno + QStringLiteral(" line ") + line.text(u"itemno")
                                                      + QStringLiteral(" was already ordered.")));
    Params update{closed};
    update.insert(update.end(), params.begin(), params.end());
    auto lines = db.write(QStringLiteral("UPDATE PR_transaction_table SET closed = ?") + named, update);
    if (!lines)
        return std::unexpected(lines.error());
    auto header = closed
        ? db.write(QStringLiteral("UPDATE PR_header_table SET closed = TRUE WHERE fkey = ? AND NOT EXISTS"
                                  " (SELECT 1 FROM PR_transaction_table WHERE fkey = ? AND closed = FALSE)"),
                   {key, key})
        : db.write(QStringLiteral("UPDATE PR_header_table SET closed = FALSE WHERE fkey = ?"), {key});
    if (!header)
        return std::unexpected(header.error());
    return raise_version(db, QStringLiteral("PR_header_table"), key);
}

} // namespace

[[nodiscard]] std::expected<void, Error> close_requisition_lines(Database& db, const std::vector<OrderLine>& lines)
{
    QMap<QString, QList<int>> linked;
    for (const OrderLine& line : lines)
        if (!line.prno.isEmpty() && line.pr_itemno)
            linked[line.prno] << *line.pr_itemno;
    for (auto it = linked.cbegin(); it != linked.cend(); ++it)
        if (auto done = set_lines_closed(db, it.key(), it.value(), true); !done)
            return done;
    return {};
}

[[nodiscard]] std::expected<void, Error> reopen_requisition_lines(Database& db, const QString& order_fkey)
{
    auto rows = db.select(QStringLiteral("SELECT prno, pr_itemno FROM PO_transaction_table WHERE fkey = ?"
                                         " AND prno IS NOT NULL AND pr_itemno IS NOT NULL ORDER BY prno, pr_itemno"),
                          {order_fkey});
    if (!rows)
        return std::unexpected(rows.error());
    QMap<QString, QList<int>> linked;
    for (const Row& row : *rows)
        if (!row.text(u"prno").isEmpty())
            linked[row.text(u"prno")] << int(row.integer(u"pr_itemno"));
    for (auto it = linked.cbegin(); it != linked.cend(); ++it)
        if (auto done = set_lines_closed(db, it.key(), it.value(), false); !done)
            return done;
    return {};
}

[[nodiscard]] std::expected<Rows, Error> open_requisitions(Database& db)
{
    return db.select(QStringLiteral("SELECT docno, fkey FROM PR_header_table WHERE company = 1 AND closed = FALSE"
                                    " ORDER BY docno DESC"));
}

[[nodiscard]] std::expected<std::optional<Row>, Error> requisition_header(Database& db, const QString& docno)
{
    return db.first(QStringLiteral("SELECT * FROM PR_header_table WHERE company = 1 AND docno = ?"), {docno});
}

[[nodiscard]] std::expected<std::optional<Row>, Error> requisition_header_by_key(Database& db, const QString& fkey)
{
    return db.first(QStringLiteral("SELECT * FROM PR_header_table WHERE fkey = ?"), {fkey});
}

[[nodiscard]] std::expected<Rows, Error> requisition_lines(Database& db, const QString& fkey)
{
    return db.select(QStringLiteral("SELECT l.*, a.accname FROM PR_transaction_table l"
                                    " LEFT JOIN Account_master_table a ON a.accno = l.accno"
                                    " WHERE l.fkey = ? ORDER BY l.itemno"),
                     {fkey});
}

} // namespace zelkor
