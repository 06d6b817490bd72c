#include "bench/cycle/cycle_documents.h"

#include "bench/support/bench_documents.h"
#include "documents/bill/bill_save.h"
#include "documents/order/po_save.h"
#include "documents/requisition/pr_save.h"

namespace zelkor::bench {

namespace {

/// The account a line of the item type is bought on: stock on the inventory account, the non-stock
/// item on office supplies, so that the inventory account holds the value of the stock alone.
QString account_of(const QString& itemtype)
{
    return itemtype == u"2" ? QStringLiteral("6000") : QStringLiteral("1300");
}

/// A requisition of `count` lines of the fixture's item mix, with the lines' tax elements.
struct Requisition {
    PrHeader header;
    std::vector<PrLine> lines;
    TaxElementStore taxes;
};

/// The requisition of the lines order_of orders, dated before the order, in `year`.
Requisition requisition_of(Database& db, int count, int year)
{
    const Order order = order_of(db, count, year);
    Requisition requisition;
    requisition.header.vendor_no = order.header.vendor_no;
    requisition.header.order_date = QDate(year, 2, 20);
    requisition.header.currency = order.header.currency;
    requisition.header.shipto = order.header.shipto;
    for (const OrderLine& ordered : order.lines) {
        PrLine line;
        line.itemno = ordered.itemno;
        line.itemcode = ordered.itemcode;
        line.itemtype = ordered.itemtype;
        line.description = ordered.description;
        line.uom = ordered.uom;
        line.quantity = ordered.quantity;
        line.unitcost = ordered.unitcost;
        line.extended_cost = ordered.extended_cost;
        line.tax_code = ordered.tax_code;
        line.accno = account_of(line.itemtype);
        line.warehouse = ordered.warehouse;
        line.location = ordered.location;
        auto tax = get_fulltax_detail(db, requisition.taxes, line.itemno, *line.extended_cost, line.tax_code, TaxIncluded::No);
        require(tax, "tax");
        line.tax_amount = tax->tax_amount;
        line.net_cost = tax->net_cost;
        requisition.lines.push_back(line);
    }
    return requisition;
}

/// Saves one document of the cycle between the watch's two calls.
template <typename Save>
auto watched(SaveWatch& watch, CycleDocument document, Save save)
{
    watch.saving(document);
    auto saved = save();
    watch.saved(document);
    require(saved, name_of(document));
    return *saved;
}

} // namespace

const char* name_of(CycleDocument document)
{
    switch (document) {
    case CycleDocument::Requisition: return "requisition";
    case CycleDocument::Order: return "order";
    case CycleDocument::Receipt: return "receipt";
    case CycleDocument::Bill: return "bill";
    case CycleDocument::Landed: return "landed";
    }
    return "";
}

PurchasingCycle::PurchasingCycle(Database& db, int lines, int year)
    : m_db(db), m_lines(lines), m_year(year), m_bills(db)
{
    // The year's periods are the company's working periods, as its accountant sets at the year's
    // start; documents dated outside them are refused.
    require(db.execute(QStringLiteral("UPDATE COA_config_table SET working_start_fyear = ?, working_start_period = 1,"
                                      " working_end_fyear = ?, working_end_period = 12"),
                       {QString::number(year), QString::number(year)}),
            "opening the cycles' year");
    auto cycles = db.scalar(QStringLiteral("SELECT COUNT(*) FROM PO_receipt_header_table"));
    require(cycles, "counting the cycles");
    m_serial = cycles->toLongLong();
}

void PurchasingCycle::run(SaveWatch& watch)
{
    const long long serial = ++m_serial;
    const Requisition requisition = requisition_of(m_db, m_lines, m_year);
    const DocumentNumber issued = watched(watch, CycleDocument::Requisition, [&] {
        return insert_new_pr(m_db, requisition.header, requisition.lines, requisition.taxes, Stamp);
    });
    Order order = order_of(m_db, m_lines, m_year);
    for (OrderLine& line : order.lines) {
        line.prno = issued.docno;
        line.pr_itemno = line.itemno;
        line.accno = account_of(line.itemtype);
    }
    const DocumentNumber ordered = watched(watch, CycleDocument::Order, [&] { return insert_new_po(m_db, order, Stamp); });
    Receipt receipt = receipt_of(m_db, ordered, m_lines, serial, m_year);
    for (ReceiptLine& line : receipt.lines)
        line.accno = account_of(line.itemtype);
    const ReceiptSaving saving = saving_of(m_db, receipt);
    const DocumentNumber received =
        watched(watch, CycleDocument::Receipt, [&] { return insert_new_receipt(m_db, receipt, saving); });
    const CheckedBill bill = m_bills.bill_of(received.docno, serial, BillPayment::Check);
    watched(watch, CycleDocument::Bill, [&] { return save_new_bill(m_db, bill, Stamp); });
    const LandedBill landed = freight_over(received.docno, serial, receipt.header.receipt_date);
    watched(watch, CycleDocument::Landed, [&] { return save_new_landed_bill(m_db, landed, FreightAccounts, Stamp); });
}

} // namespace zelkor::bench
