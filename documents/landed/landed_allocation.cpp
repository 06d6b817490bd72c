#include "documents/landed/landed_allocation.h"

#include "core/db/sql_batch.h"
#include "core/document_versions.h"

#include <set>

namespace zelkor {
namespace {

Error refused(const QString& message) { return Error::invalid(message); }

std::optional<Decimal> rate_of(const Row& row)
{
    const auto rate = row.decimal_or_null(u"exchange_rate");
    if (!rate || rate->is_zero() || *rate == Decimal(1))
        return std::nullopt;
    return rate;
}

} // namespace

std::expected<std::vector<Decimal>, Error> spread_by_value(const Decimal& total, const std::vector<Decimal>& values)
{
    Decimal basis;
    for (const Decimal& value : values)
        basis += value;
    std::vector<Decimal> shares(values.size());
    if (total.is_zero())
        return shares;
    if (!(basis > Decimal()))
        return std::unexpected(refused(QStringLiteral("Receipt goods value is zero. Landed cost cannot be allocated.")));
    Decimal running;
    Decimal given;
    for (size_t index = 0; index < values.size(); ++index) {
        running += values[index];
        const Decimal cumulative = index + 1 == values.size() ? total : (total * running / basis).round2();
        shares[index] = cumulative - given;
        given = cumulative;
    }
    return shares;
}

std::expected<std::vector<CoveredReceipt>, Error> lock_covered_receipts(Database& db, const QStringList& receipts,
                                                                        const QString& goods_vendor)
{
    QStringList distinct;
    for (const QString& receipt : receipts)
        if (!receipt.trimmed().isEmpty() && !distinct.contains(receipt.trimmed()))
            distinct << receipt.trimmed();
    if (distinct.size() > MostLandedReceipts)
        return std::unexpected(refused(QStringLiteral("A landed bill covers at most 10 receipts.")));
    std::vector<CoveredReceipt> covered;
    for (const QString& receipt : distinct) {
        auto rows = db.select_for_update(QStringLiteral("SELECT fkey, docno, vendor_no, void, exchange_rate"
                                                        " FROM PO_receipt_header_table WHERE company = 1 AND docno = ?"),
                                         {receipt});
        if (!rows)
            return std::unexpected(rows.error());
        if (rows->size() != 1 || rows->front().flag(u"void") || rows->front().text(u"vendor_no") != goods_vendor)
            return std::unexpected(refused(receipt + QStringLiteral(" is invalid.")));
        const Row& row = rows->front();
        covered.push_back({receipt, row.text(u"fkey"), goods_vendor, rate_of(row)});
        if (auto raised = raise_version(db, QStringLiteral("PO_receipt_header_table"), row.text(u"fkey")); !raised)
            return std::unexpected(raised.error());
    }
    return covered;
}

std::expected<std::vector<BasisLine>, Error> read_allocation_basis(Database& db,
                                                                   const std::vector<CoveredReceipt>& receipts)
{
    if (receipts.empty())
        return std::vector<BasisLine>{};
    Params keys;
    for (const CoveredReceipt& receipt : receipts)
        keys.push_back(receipt.fkey);
    auto rows = db.select(QStringLiteral("SELECT fkey, docno, itemno, itemcode, itemtype, accno, warehouse, location,"
                                         " quantity_received, extended_cost, tax_amount, price_include_tax"
                                         " FROM PO_receipt_transaction_table WHERE fkey IN (")
                              + placeholder_list(qsizetype(keys.size()))
                              + QStringLiteral(") AND landed_item = FALSE AND void = FALSE ORDER BY itemno"),
                          keys);
    if (!rows)
        return std::unexpected(rows.error());
    std::vector<BasisLine> basis;
    basis.reserve(rows->size());
    for (const CoveredReceipt& receipt : receipts)
        for (const Row& row : *rows) {
            if (row.text(u"fkey") != receipt.fkey)
                continue;
            Decimal value = row.decimal(u"extended_cost");
            if (row.flag(u"price_include_tax"))
                value -= row.decimal(u"tax_amount");
            if (receipt.exchange_rate)
                value = (value * *receipt.exchange_rate).round2();
            basis.push_back({receipt.docno, int(row.integer(u"itemno")), row.text(u"itemcode"), row.text(u"itemtype"),
                             row.text(u"accno"), row.text(u"warehouse"), row.text(u"location"),
                             row.decimal(u"quantity_received"), value});
        }
    return basis;
}

std::expected<LandedShares, Error> landed_shares(const Decimal& total, const std::optional<Decimal>& exchange_rate,
                                                 const std::vector<BasisLine>& basis)
{
    std::vector<Decimal> values;
    values.reserve(basis.size());
    for (const BasisLine& line : basis)
        values.push_back(line.value);
    auto amounts = spread_by_value(total, values);
    if (!amounts)
        return std::unexpected(amounts.error());
    const Decimal base_total = exchange_rate ? (total * *exchange_rate).round2() : total;
    auto base_amounts = spread_by_value(base_total, values);
    if (!base_amounts)
        return std::unexpected(base_amounts.error());
    return LandedShares{std::move(*amounts), std::move(*base_amounts)};
}

} // namespace zelkor
