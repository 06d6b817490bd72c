// A bill's stock lines keep the ledger's stock value equal to the stock's: what the bill moved
// on a line's inventory account goes to the layer (or on-hand row) the receipt filled, while it
// holds stock; once that stock has been issued, the bill posts the difference to a variance
// account instead and stock is left alone.
#include "documents/bill/bill_cost_correction.h"

#include "documents/bill/settlement_posting.h"
#include "ledger/ledger_posting.h"
#include "stock/cost_layers.h"
#include "stock/inventory_document.h"
#include "stock/on_hand.h"
#include "stock/on_hand_changes.h"
#include "stock/stock_reversal.h"
#include "stock/stock_settings.h"

namespace zelkor {
namespace {

/// The layer the receipt line filled: the receipt's layers of the item in the warehouse are
/// taken in the order of its lines of that item there.
[[nodiscard]] std::expected<std::optional<QString>, Error> receipt_layer(Database& db, const BillLine& line)
{
    auto lines = db.select(QStringLiteral("SELECT itemno FROM PO_receipt_transaction_table WHERE company = 1 AND docno = ?"
                                          " AND landed_item = FALSE AND itemcode = ? AND warehouse = ?"
                                          " AND quantity_received > 0 ORDER BY itemno"),
                           {line.receipt_no, line.itemcode, line.warehouse});
    if (!lines)
        return std::unexpected(lines.error());
    qsizetype rank = 0;
    while (rank < qsizetype(lines->size()) && (*lines)[size_t(rank)].integer(u"itemno") != line.receipt_itemno.value_or(0))
        ++rank;
    auto lots = db.select(QStringLiteral("SELECT DISTINCT h.lot_id, h.id FROM FIFO_history_table h WHERE h.company = 1"
                                         " AND h.docno = ? AND h.Source = ? AND h.itemcode = ? AND h.warehouse = ?"
                                         " AND h.Reverse = FALSE AND h.quantity > 0 ORDER BY h.id"),
                          {line.receipt_no, receipt_source(), line.itemcode, line.warehouse});
    if (!lots)
        return std::unexpected(lots.error());
    if (rank >= qsizetype(lots->size()))
        return std::nullopt;
    const QString lot = (*lots)[size_t(rank)].text(u"lot_id");
    auto held = db.first(QStringLiteral("SELECT quantity FROM FIFO_table WHERE company = 1 AND itemcode = ?"
                                        " AND warehouse = ? AND lot_id = ? AND \"delete\" = FALSE"),
                         {line.itemcode, line.warehouse, lot});
    if (!held)
        return std::unexpected(held.error());
    if (!*held || (*held)->decimal(u"quantity") <= Decimal())
        return std::nullopt;
    return lot;
}

[[nodiscard]] std::expected<QString, Error> variance_account(Database& db, const QString& itemcode,
                                                             const QString& purchase_variance)
{
    auto item = db.scalar(QStringLiteral("SELECT vari_accno FROM Item_master_table WHERE itemcode = ?"), {itemcode});
    if (!item)
        return std::unexpected(item.error());
    const QString own = Row::to_text(*item).trimmed();
    return own.isEmpty() || own == u"0" ? purchase_variance : own;
}

/// Where one stock line's difference goes: a target in stock, or an account.
[[nodiscard]] std::expected<void, Error> plan_line(Database& db, const Bill& bill, size_t index,
                                                   const QString& purchase_variance, CostCorrectionPlan& plan)
{
    const BillLine& line = bill.lines[index];
    const StockPlace place{line.itemcode, line.warehouse, line.location};
    auto stock = lock_item_stock(db, place.item_warehouse());
    if (!stock)
        return std::unexpected(stock.error());
    if (!stock->setting)
        return std::unexpected(Error::invalid(QStringLiteral("warehouse ") + line.warehouse + QStringLiteral(" is invalid.")));
    const CostMethod method = stock->setting->cost_method;
    if (method == CostMethod::StandardCost) {
        plan.elsewhere[index] = purchase_variance;
        return {};
    }
    std::optional<QString> lot;
    if (keeps_layers(method)) {
        auto layer = receipt_layer(db, line);
        if (!layer)
            return std::unexpected(layer.error());
        lot = *layer;
    } else {
        auto row = on_hand_row(db, line.itemcode, line.warehouse, line.location);
        if (!row)
            return std::unexpected(row.error());
        if (*row && (*row)->quantity > Decimal())
            lot = QString();
    }
    if (lot) {
        plan.to_stock.push_back({index, place, *lot, stock->item.stock_uom});
        return {};
    }
    auto account = variance_account(db, line.itemcode, purchase_variance);
    if (!account)
        return std::unexpected(account.error());
    plan.elsewhere[index] = *account;
    return {};
}

InventoryLine correction_line(const BillLine& line, const CostCorrectionTarget& target, int lineno, const Decimal& base)
{
    InventoryLine corrected;
    corrected.lineno = lineno;
    corrected.itemcode = line.itemcode;
    corrected.description = line.description;
    corrected.warehouse = line.warehouse;
    corrected.location = line.location;
    corrected.adjustment_type = base > Decimal() ? 3 : 4;
    corrected.uom = line.uom_received;
    corrected.extended_cost = base;
    corrected.stock_uom = target.stock_uom;
    corrected.stock_value = base;
    return corrected;
}

} // namespace

std::expected<CostCorrectionPlan, Error> plan_cost_correction(Database& db, const Bill& bill, const QString& purchase_variance)
{
    // Every line's item-warehouse row in one pass, in key order, before each line is planned.
    std::set<ItemWarehouse> keys;
    for (size_t index = 0; index < bill.lines.size(); ++index)
        if (may_change_stock_cost(bill, index))
            keys.insert({bill.lines[index].itemcode, bill.lines[index].warehouse});
    if (auto locked = lock_warehouse_settings(db, keys); !locked)
        return std::unexpected(locked.error());
    CostCorrectionPlan plan;
    for (size_t index = 0; index < bill.lines.size(); ++index)
        if (may_change_stock_cost(bill, index))
            if (auto planned = plan_line(db, bill, index, purchase_variance, plan); !planned)
                return std::unexpected(planned.error());
    return plan;
}

std::expected<QString, Error> write_cost_correction(Database& db, const Bill& bill, const CostCorrectionPlan& plan,
                                                    const std::vector<StockCostChange>& changes, const StockStamp& stamp)
{
    const BillHeader& header = bill.header;
    const LayerDocument document{header.docno, bill_source(), header.invoice_date};
    std::vector<InventoryLine> lines;
    OnHandChanges on_hand;
    for (const StockCostChange& change : changes) {
        auto target = std::find_if(plan.to_stock.begin(), plan.to_stock.end(),
                                   [&](const CostCorrectionTarget& found) { return found.line == change.line; });
        if (target == plan.to_stock.end() || change.base_amount.is_zero())
            continue;
        if (target->lot_id.isEmpty()) {
            on_hand.add(target->place, target->stock_uom, {Decimal(), change.base_amount});
        } else {
            auto applied = adjust_layer_value(db, document, target->place, target->lot_id, change.base_amount);
            if (!applied)
                return std::unexpected(applied.error());
            if (applied->value != change.base_amount)
                return std::unexpected(Error::invalid(bill.lines[change.line].itemcode
                                                      + QStringLiteral(" cost layer was changed by another user.")));
        }
        lines.push_back(correction_line(bill.lines[change.line], *target, int(lines.size()) + 1, change.base_amount));
    }
    if (lines.empty())
        return QString();
    if (auto applied = on_hand.apply(db); !applied)
        return std::unexpected(applied.error());
    const InventoryHeader written{.doctype = QStringLiteral("ij"),
                                  .date = header.invoice_date,
                                  .period = header.period,
                                  .description = QStringLiteral("Cost correction of bill ") + header.docno,
                                  .currency = header.currency,
                                  .exchange_rate = header.exchange_rate,
                                  .rate_date = header.rate_date,
                                  .source = bill_source(),
                                  .source_form = header.source_form,
                                  .source_docno = header.docno,
                                  .stamp = stamp};
    auto number = write_inventory_document(db, written, lines);
    if (!number)
        return std::unexpected(number.error());
    return number->fkey;
}

std::expected<void, Error> void_cost_correction(Database& db, const CorrectionVoid& order)
{
    if (order.icfkey.isEmpty())
        return {};
    auto reversed = reverse_document_stock(db, order.icfkey, order.stamp);
    if (!reversed)
        return std::unexpected(reversed.error());
    const Decimal left = reversed->value_not_taken_back.round2();
    if (left.is_zero())
        return {};
    auto entry = signed_entry(db, {{order.inventory, left, left}, {order.variance, -left, -left}}, QString());
    if (!entry)
        return std::unexpected(entry.error());
    const JournalDocument document{.description = QStringLiteral("Cost left with stock issued, bill ") + order.bill_docno,
                                   .remark = QStringLiteral("Void invoice ") + order.bill_docno,
                                   .source = bill_source(),
                                   .source_form = QStringLiteral("P/O Bill Entry"),
                                   .source_docno = order.bill_docno,
                                   .date = order.date,
                                   .currency = QString(),
                                   .exchange_rate = std::nullopt,
                                   .vendor_no = QString(),
                                   .user = order.user,
                                   .company = 1,
                                   .period = order.period};
    auto posted = post_entry(db, document, entry->entry, &entry->ahead);
    if (!posted)
        return std::unexpected(posted.error());
    return {};
}

} // namespace zelkor
