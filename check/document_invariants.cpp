#include "check/document_invariants.h"

#include "core/numbering.h"


#include <set>

namespace zelkor {
namespace {

QString where_filter(const DocumentTables& kind, const QString& alias)
{
    return kind.filter.isEmpty() ? QString() : QStringLiteral(" AND ") + alias + u'.' + kind.filter;
}

[[nodiscard]] std::expected<QStringList, Error> documents_are_whole(Database& db)
{
    QStringList violations;
    for (const DocumentTables& kind : numbered_documents()) {
        auto bare = db.select(QStringLiteral("SELECT h.docno, h.fkey FROM ") + kind.header_table
                              + QStringLiteral(" h WHERE h.company = 1") + where_filter(kind, QStringLiteral("h"))
                              + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM ") + kind.line_table
                              + QStringLiteral(" l WHERE l.fkey = h.fkey) ORDER BY h.fkey"));
        if (!bare)
            return std::unexpected(bare.error());
        for (const Row& row : *bare)
            violations << kind.noun + u' ' + row.text(u"docno") + QStringLiteral(" (") + row.text(u"fkey")
                    + QStringLiteral(") has no lines");
        auto orphans = db.select(QStringLiteral("SELECT l.fkey, MAX(l.docno) AS docno, COUNT(*) AS lines FROM ")
                                 + kind.line_table + QStringLiteral(" l WHERE l.company = 1")
                                 + where_filter(kind, QStringLiteral("l")) + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM ")
                                 + kind.header_table + QStringLiteral(" h WHERE h.fkey = l.fkey) GROUP BY l.fkey ORDER BY l.fkey"));
        if (!orphans)
            return std::unexpected(orphans.error());
        for (const Row& row : *orphans)
            violations << QString::number(row.integer(u"lines")) + u' ' + kind.noun + QStringLiteral(" lines of ")
                    + row.text(u"docno") + QStringLiteral(" (") + row.text(u"fkey") + QStringLiteral(") have no header");
    }
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> postings_belong_to_documents(Database& db)
{
    QStringList violations;
    for (const PostingSource& source : posting_sources()) {
        for (const auto& [table, noun] : {std::pair{QStringLiteral("GL_header_table"), QStringLiteral("journal entry")},
                                          std::pair{QStringLiteral("IN_header_table"), QStringLiteral("inventory document")}}) {
            auto rows = db.select(QStringLiteral("SELECT p.docno, p.fkey, p.source_docno FROM ") + table
                                      + QStringLiteral(" p WHERE p.Source = ? AND NOT EXISTS (SELECT 1 FROM ")
                                      + source.header_table
                                      + QStringLiteral(" d WHERE d.docno = p.source_docno) ORDER BY p.fkey"),
                                  {source.tag});
            if (!rows)
                return std::unexpected(rows.error());
            for (const Row& row : *rows)
                violations << noun + u' ' + row.text(u"docno") + QStringLiteral(" (") + row.text(u"fkey")
                        + QStringLiteral(") was posted by ") + source.noun + u' ' + row.text(u"source_docno")
                        + QStringLiteral(", which does not exist");
        }
    }
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> numbers_are_unique(Database& db)
{
    QStringList violations;
    for (const DocumentTables& kind : numbered_documents()) {
        auto rows = db.select(QStringLiteral("SELECT h.docno, COUNT(*) AS uses FROM ") + kind.header_table
                              + QStringLiteral(" h WHERE h.company = 1") + where_filter(kind, QStringLiteral("h"))
                              + QStringLiteral(" GROUP BY h.docno HAVING COUNT(*) > 1 ORDER BY h.docno"));
        if (!rows)
            return std::unexpected(rows.error());
        for (const Row& row : *rows)
            violations << kind.noun + QStringLiteral(" number ") + row.text(u"docno") + QStringLiteral(" is used ")
                    + QString::number(row.integer(u"uses")) + QStringLiteral(" times");
    }
    return violations;
}

/// The key numbers the documents of a kind hold (the 57 of "1pr-57").
[[nodiscard]] std::expected<std::set<long long>, Error> key_numbers(Database& db, const DocumentTables& kind)
{
    auto rows = db.select(QStringLiteral("SELECT h.fkey FROM ") + kind.header_table + QStringLiteral(" h WHERE h.company = 1")
                          + where_filter(kind, QStringLiteral("h")));
    if (!rows)
        return std::unexpected(rows.error());
    const QString prefix = make_fkey(1, kind.doctype, 0).chopped(1);
    std::set<long long> numbers;
    for (const Row& row : *rows) {
        const QString key = row.text(u"fkey");
        bool number = false;
        const long long counter = key.mid(prefix.size()).toLongLong(&number);
        if (key.startsWith(prefix) && number)
            numbers.insert(counter);
    }
    return numbers;
}

/// What is wrong with a kind's key counter against the keys its documents hold.
QStringList key_counter_faults(const DocumentTables& kind, long long next, const std::set<long long>& used)
{
    QStringList faults;
    const QString counter = kind.noun + QStringLiteral(" key counter stands at ") + QString::number(next);
    if (!used.empty() && *used.rbegin() >= next)
        return {counter + QStringLiteral(", but key ") + make_fkey(1, kind.doctype, *used.rbegin())
                + QStringLiteral(" is already taken")};
    if (kind.deletion == Deletion::Allowed)
        return {};
    QStringList missing;
    for (long long key = 1; key < next && missing.size() <= 5; ++key)
        if (!used.contains(key))
            missing << make_fkey(1, kind.doctype, key);
    if (!missing.isEmpty())
        faults << counter + QStringLiteral(", but no document holds ") + missing.join(QStringLiteral(", "));
    return faults;
}

[[nodiscard]] std::expected<QStringList, Error> key_counters_match(Database& db)
{
    QStringList violations;
    for (const DocumentTables& kind : numbered_documents()) {
        auto next = db.scalar(QStringLiteral("SELECT fkeyno FROM Next_number_fkey_table WHERE company = 1 AND doctype = ?"),
                              {kind.doctype});
        if (!next)
            return std::unexpected(next.error());
        if (next->isNull())
            continue;
        auto used = key_numbers(db, kind);
        if (!used)
            return std::unexpected(used.error());
        violations << key_counter_faults(kind, next->toLongLong(), *used);
    }
    return violations;
}

[[nodiscard]] std::expected<bool, Error> number_used(Database& db, const DocumentTables& kind, const QString& docno)
{
    auto found = db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + kind.header_table
                               + QStringLiteral(" h WHERE h.company = 1 AND h.docno = ?") + where_filter(kind, QStringLiteral("h")),
                           {docno});
    if (!found)
        return std::unexpected(found.error());
    return found->toLongLong() > 0;
}

[[nodiscard]] std::expected<QStringList, Error> number_counters_match(Database& db)
{
    QStringList violations;
    for (const DocumentTables& kind : numbered_documents()) {
        auto counters = db.select(QStringLiteral("SELECT fiscalyear, nextdocno FROM Docno_master_table"
                                                 " WHERE company = 1 AND doctype = ? AND nextdocno > 1 ORDER BY fiscalyear"),
                                  {kind.doctype});
        if (!counters)
            return std::unexpected(counters.error());
        for (const Row& counter : *counters) {
            const QString year = counter.text(u"fiscalyear");
            const long long next = counter.integer(u"nextdocno");
            auto newest = format_number(db, kind.doctype, next - 1, year);
            auto following = format_number(db, kind.doctype, next, year);
            if (!newest || !following)
                return std::unexpected(newest ? following.error() : newest.error());
            auto newest_used = number_used(db, kind, *newest);
            auto following_used = number_used(db, kind, *following);
            if (!newest_used || !following_used)
                return std::unexpected(newest_used ? following_used.error() : newest_used.error());
            const QString stands = kind.noun + QStringLiteral(" numbering of ") + year + QStringLiteral(" stands at ")
                + QString::number(next);
            if (*following_used)
                violations << stands + QStringLiteral(", but ") + *following + QStringLiteral(" is already taken");
            else if (!*newest_used && kind.deletion == Deletion::Never)
                violations << stands + QStringLiteral(", but no document holds the last number given, ") + *newest;
        }
    }
    return violations;
}

} // namespace

const std::vector<DocumentTables>& numbered_documents()
{
    // Payments ("pp") are the host's documents as much as this module's: a prepayment the host
    // recorded has no payable row of its own.
    static const std::vector<DocumentTables> kinds{
        {QStringLiteral("pr"), QStringLiteral("requisition"), QStringLiteral("PR_header_table"),
         QStringLiteral("PR_transaction_table"), {}, Deletion::Allowed},
        {QStringLiteral("po"), QStringLiteral("order"), QStringLiteral("PO_header_table"),
         QStringLiteral("PO_transaction_table"), {}, Deletion::Never},
        {QStringLiteral("ro"), QStringLiteral("receipt"), QStringLiteral("PO_receipt_header_table"),
         QStringLiteral("PO_receipt_transaction_table"), {}, Deletion::Never},
        {QStringLiteral("vi"), QStringLiteral("bill"), QStringLiteral("PO_invoice_header_table"),
         QStringLiteral("PO_invoice_transaction_table"), QStringLiteral("doctype = 'vi'"), Deletion::Never},
        {QStringLiteral("ld"), QStringLiteral("landed bill"), QStringLiteral("PO_invoice_header_table"),
         QStringLiteral("PO_invoice_transaction_table"), QStringLiteral("doctype = 'ld'"), Deletion::Never},
        {QStringLiteral("ip"), QStringLiteral("payable"), QStringLiteral("AP_header_table"),
         QStringLiteral("AP_transaction_table"), QStringLiteral("doctype = 'ip'"), Deletion::Never},
        {QStringLiteral("gl"), QStringLiteral("journal entry"), QStringLiteral("GL_header_table"),
         QStringLiteral("GL_transaction_table"), QStringLiteral("doctype = 'gl'"), Deletion::Never},
        {QStringLiteral("ir"), QStringLiteral("inventory receipt"), QStringLiteral("IN_header_table"),
         QStringLiteral("IN_transaction_table"), QStringLiteral("doctype = 'ir'"), Deletion::Never},
        {QStringLiteral("ij"), QStringLiteral("inventory adjustment"), QStringLiteral("IN_header_table"),
         QStringLiteral("IN_transaction_table"), QStringLiteral("doctype = 'ij'"), Deletion::Never},
    };
    return kinds;
}

const std::vector<PostingSource>& posting_sources()
{
    static const std::vector<PostingSource> sources{
        {QStringLiteral("PO-RECEIPT"), QStringLiteral("receipt"), QStringLiteral("PO_receipt_header_table")},
        {QStringLiteral("PO-BILL"), QStringLiteral("bill"), QStringLiteral("PO_invoice_header_table")},
        {QStringLiteral("PO-LANDED"), QStringLiteral("landed bill"), QStringLiteral("PO_invoice_header_table")},
    };
    return sources;
}

std::vector<InvariantCheck> document_invariant_checks()
{
    return {
        {QStringLiteral("documents are whole"), documents_are_whole},
        {QStringLiteral("postings belong to their documents"), postings_belong_to_documents},
        {QStringLiteral("document numbers are unique"), numbers_are_unique},
        {QStringLiteral("key counters match the documents"), key_counters_match},
        {QStringLiteral("number counters match the documents"), number_counters_match},
    };
}

} // namespace zelkor
