#include "bench/support/bench_documents.h"

#include "documents/order/po_save.h"
#include "documents/receipt/order_receiving.h"
#include "documents/receipt/receipt_verify.h"

namespace zelkor::bench {

const AuditStamp Stamp{QStringLiteral("ADMIN"), QStringLiteral("bench"), QDate(2026, 3, 15), QStringLiteral("08:00:00")};

Order order_of(Database& db, int count, int year)
{
    Order order;
    order.header.vendor_no = QStringLiteral("V100");
    order.header.order_date = QDate(year, 3, 1);
    order.header.currency = QStringLiteral("USD");
    order.header.payment_term = QStringLiteral("30");
    order.header.shipto = QStringLiteral("MAIN");
    for (int itemno = 1; itemno <= count; ++itemno) {
        const FixtureItem& item = FixtureItems[(itemno - 1) % std::size(FixtureItems)];
        OrderLine line;
        line.itemno = itemno;
        line.itemcode = QString::fromLatin1(item.item);
        line.itemtype = QString::fromLatin1(item.type);
        line.description = line.itemcode;
        line.quantity = Decimal(2);
        line.uom = QString::fromLatin1(item.uom);
        line.unitcost = Decimal(10);
        line.extended_cost = Decimal(20);
        line.tax_code = QStringLiteral("ST");
        line.accno = QStringLiteral("1300");
        line.warehouse = QString::fromLatin1(item.warehouse);
        line.location = QString::fromLatin1(item.location);
        order.lines.push_back(line);
        require(get_fulltax_detail(db, order.taxes, itemno, Decimal(20), line.tax_code, TaxIncluded::No), "tax");
    }
    return order;
}

DocumentNumber saved_order(Database& db, int count)
{
    Order order = order_of(db, count);
    auto saved = insert_new_po(db, order, Stamp);
    require(saved, "saving the order");
    return *saved;
}

Receipt receipt_of(Database& db, const DocumentNumber& order, int count, long long serial, int year)
{
    Receipt receipt;
    ReceiptHeader& header = receipt.header;
    header.vendor_no = QStringLiteral("V100");
    header.receipt_date = QDate(year, 1, 1).addDays(int(serial % 360));
    header.currency = QStringLiteral("USD");
    header.pono = order.docno;
    header.payby = QStringLiteral("Pay Later");
    header.shipto = QStringLiteral("MAIN");
    header.payment_term = QStringLiteral("30");
    header.fyear = QString::number(year);
    header.period = header.receipt_date.month();
    for (int itemno = 1; itemno <= count; ++itemno) {
        const FixtureItem& item = FixtureItems[(itemno - 1) % std::size(FixtureItems)];
        ReceiptLine line;
        line.itemno = itemno;
        line.itemcode = QString::fromLatin1(item.item);
        line.itemtype = QString::fromLatin1(item.type);
        line.warehouse = QString::fromLatin1(item.warehouse);
        line.location = QString::fromLatin1(item.location);
        line.quantity_received = line.order_received = Decimal(2);
        line.uom = line.po_uom = QString::fromLatin1(item.uom);
        line.unitcost = Decimal(10);
        line.extended_cost = Decimal(20);
        line.tax_code = QStringLiteral("ST");
        line.accno = QStringLiteral("1300");
        line.pono = order.docno;
        line.po_key = order.fkey;
        line.po_itemno = itemno;
        receipt.lines.push_back(line);
        require(get_fulltax_detail(db, receipt.taxes, itemno, Decimal(20), line.tax_code, TaxIncluded::No), "tax");
    }
    return receipt;
}

ReceiptSaving saving_of(Database& db, const Receipt& receipt)
{
    std::set<OrderLineKey> keys;
    for (const ReceiptLine& line : receipt.lines)
        keys.insert({line.po_key, *line.po_itemno});
    auto accounts = receipt_accounts(db);
    require(accounts, "accounts");
    auto orders = read_order_lines(db, keys);
    require(orders, "order lines");
    return {*accounts, *orders, Stamp};
}

} // namespace zelkor::bench
