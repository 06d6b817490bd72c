#include "tests/support/documents.h"

#include "core/master_lookups.h"
#include "documents/order/po_save.h"
#include "documents/receipt/order_receiving.h"
#include "documents/receipt/receipt_save.h"
#include "documents/receipt/receipt_verify.h"
#include "documents/requisition/pr_save.h"
#include "tax/purchase_tax.h"

#include <stdexcept>

namespace zelkor::testing {

namespace {

template <typename T>
T value_of(std::expected<T, Error> done, const char* what)
{
    if (!done)
        throw std::runtime_error(std::string(what) + ": " + done.error().message.toStdString() + " "
                                 + done.error().detail.toStdString());
    return std::move(*done);
}

void check(std::expected<void, Error> done, const char* what)
{
    if (!done)
        throw std::runtime_error(std::string(what) + ": " + done.error().message.toStdString() + " "
                                 + done.error().detail.toStdString());
}

/// A line as the window would complete it from its item or charge.
struct CompletedLine {
    QString itemcode;
    QString itemtype;
    QString description;
    QString uom;
    QString accno;
    QString warehouse;
    QString location;
    QString tax_code;
    Decimal quantity;
    Decimal unitcost;
    Decimal extended_cost;
};

CompletedLine completed(Database& db, const LineSpec& wanted, const QString& vendor_tax_code)
{
    CompletedLine line{wanted.item, wanted.itemtype, wanted.item, wanted.uom, {}, {}, {}, wanted.tax_code,
                       Decimal::parse(wanted.quantity).value_or(Decimal()),
                       Decimal::parse(wanted.unitcost).value_or(Decimal()), {}};
    if (auto item = value_of(item_row(db, wanted.item), "item")) {
        line.itemtype = line.itemtype.isEmpty() ? item->text(u"item_type") : line.itemtype;
        line.description = item->text(u"description");
        line.uom = line.uom.isEmpty() ? item->text(u"purchase_uom") : line.uom;
        line.accno = item->text(u"asset_accno");
        if (auto place = value_of(item_default_place(db, wanted.item), "default place")) {
            line.warehouse = place->warehouse;
            line.location = place->location;
        }
    } else if (auto charge = value_of(charge_row(db, wanted.item), "charge")) {
        line.itemtype = QStringLiteral("6");
        line.description = charge->text(u"Description");
        line.accno = charge->text(u"account");
        line.tax_code = line.tax_code.isEmpty() ? charge->text(u"tax_code") : line.tax_code;
    } else if (line.accno.isEmpty()) {
        line.accno = QStringLiteral("6000");
    }
    if (line.tax_code.isEmpty())
        line.tax_code = vendor_tax_code.isEmpty() ? value_of(default_tax_code(db), "default tax code") : vendor_tax_code;
    line.extended_cost = (line.quantity * line.unitcost).round2();
    return line;
}

QString vendor_tax_code(Database& db, const QString& vendor)
{
    auto row = value_of(vendor_in_use(db, vendor), "vendor");
    return row ? row->text(u"tax_code") : QString();
}

/// The line's tax elements in the store, and its tax amount and net cost.
LineTaxTotals taxed(Database& db, TaxElementStore& taxes, int itemno, const CompletedLine& line)
{
    return value_of(get_fulltax_detail(db, taxes, itemno, taxable_amount(line.extended_cost), line.tax_code,
                                       TaxIncluded::No),
                    "tax");
}

} // namespace

DocumentNumber saved_requisition(Database& db, const QString& vendor, const std::vector<LineSpec>& lines,
                                 const QDate& date)
{
    PrHeader header;
    header.vendor_no = vendor;
    header.order_date = date;
    header.currency = QStringLiteral("USD");
    header.shipto = value_of(default_warehouse(db), "default warehouse").value_or(QString());
    const QString tax_code = vendor_tax_code(db, vendor);
    TaxElementStore taxes;
    std::vector<PrLine> typed;
    for (const LineSpec& wanted : lines) {
        const CompletedLine line = completed(db, wanted, tax_code);
        PrLine pr;
        pr.itemno = int(typed.size()) + 1;
        const LineTaxTotals tax = taxed(db, taxes, pr.itemno, line);
        pr.itemcode = line.itemcode;
        pr.itemtype = line.itemtype;
        pr.description = line.description;
        pr.uom = line.uom;
        pr.quantity = line.quantity;
        pr.unitcost = line.unitcost;
        pr.extended_cost = line.extended_cost;
        pr.tax_amount = tax.tax_amount;
        pr.net_cost = tax.net_cost;
        pr.tax_code = line.tax_code;
        pr.accno = line.accno;
        pr.warehouse = line.warehouse;
        pr.location = line.location;
        typed.push_back(pr);
    }
    return value_of(insert_new_pr(db, header, typed, taxes, audit_stamp(QStringLiteral("ADMIN"))), "saving the requisition");
}

DocumentNumber saved_order(Database& db, const OrderSpec& wanted)
{
    Order order;
    order.header.vendor_no = wanted.vendor;
    order.header.order_date = wanted.date;
    order.header.currency = wanted.currency;
    order.header.payment_term = wanted.payment_term;
    order.header.future_po = wanted.future;
    order.header.activate_date = wanted.activate_date;
    order.header.shipto = value_of(default_warehouse(db), "default warehouse").value_or(QString());
    // The addresses the window fills in from the warehouse and the vendor.
    order.header.ship_to_address = value_of(ship_to_address(db, order.header.shipto), "ship-to address").value_or(QString());
    if (auto vendor = value_of(vendor_in_use(db, wanted.vendor), "vendor"))
        order.header.vendor_address = vendor->text(u"Address");
    if (auto rate = value_of(document_rate(db, wanted.currency, QStringLiteral("USD"), wanted.date), "rate")) {
        order.header.exchange_rate = rate->rate;
        order.header.rate_date = rate->rate_date;
    }
    const QString tax_code = vendor_tax_code(db, wanted.vendor);
    for (const LineSpec& line_wanted : wanted.lines) {
        const CompletedLine line = completed(db, line_wanted, tax_code);
        OrderLine typed;
        typed.itemno = int(order.lines.size()) + 1;
        const LineTaxTotals tax = taxed(db, order.taxes, typed.itemno, line);
        typed.itemcode = line.itemcode;
        typed.itemtype = line.itemtype;
        typed.description = line.description;
        typed.quantity = line.quantity;
        typed.uom = typed.uom_open = line.uom;
        typed.unitcost = line.unitcost;
        typed.extended_cost = line.extended_cost;
        typed.tax_amount = tax.tax_amount;
        typed.tax_allocate = tax.allocated;
        typed.net_cost = tax.net_cost;
        typed.tax_code = line.tax_code;
        typed.accno = line.accno;
        typed.warehouse = line.warehouse;
        typed.location = line.location;
        if (!wanted.requisition.isEmpty()) {
            typed.prno = wanted.requisition;
            typed.pr_itemno = typed.itemno;
        }
        order.lines.push_back(typed);
    }
    return value_of(insert_new_po(db, order, audit_stamp(QStringLiteral("ADMIN"))), "saving the order");
}

DocumentNumber saved_receipt(Database& db, const QString& order_number, const std::vector<ReceiptLineSpec>& lines,
                             const QDate& date)
{
    auto order = value_of(db.first(QStringLiteral("SELECT * FROM PO_header_table WHERE docno = ?"), {order_number}), "order");
    if (!order)
        throw std::runtime_error("no order " + order_number.toStdString());
    Receipt receipt;
    ReceiptHeader& header = receipt.header;
    header.vendor_no = order->text(u"vendor_no");
    header.receipt_date = date;
    header.currency = order->text(u"currency");
    if (auto rate = value_of(document_rate(db, header.currency, QStringLiteral("USD"), date), "rate")) {
        header.exchange_rate = rate->rate;
        header.rate_date = rate->rate_date;
    }
    header.pono = order_number;
    header.payby = QStringLiteral("Pay Later");
    header.shipto = order->text(u"shipto");
    header.payment_term = order->text(u"payment_term");
    const FiscalPeriod period = value_of(fiscal_period_of(db, date), "period");
    header.fyear = period.fiscal_year;
    header.period = period.period;
    for (const ReceiptLineSpec& wanted : lines) {
        auto ordered = value_of(db.first(QStringLiteral("SELECT * FROM PO_transaction_table WHERE fkey = ? AND itemno = ?"),
                                         {order->text(u"fkey"), wanted.order_itemno}),
                                "order line");
        if (!ordered)
            throw std::runtime_error("no order line " + std::to_string(wanted.order_itemno));
        ReceiptLine line;
        line.itemno = int(receipt.lines.size()) + 1;
        line.itemcode = ordered->text(u"itemcode");
        line.itemtype = ordered->text(u"itemtype");
        line.description = ordered->text(u"description");
        line.warehouse = wanted.warehouse.isEmpty() ? ordered->text(u"warehouse") : wanted.warehouse;
        line.location = wanted.location.isEmpty() ? ordered->text(u"location") : wanted.location;
        line.quantity_received = *Decimal::parse(wanted.received);
        if (!wanted.cancelled.isEmpty())
            line.quantity_cancel = *Decimal::parse(wanted.cancelled);
        line.po_quantity_order = ordered->decimal(u"quantity");
        line.po_quantity_open = ordered->decimal(u"quantity_open");
        line.uom = wanted.uom.isEmpty() ? ordered->text(u"uom") : wanted.uom;
        line.unitcost = ordered->decimal(u"unitcost");
        line.extended_cost = (line.received() * *line.unitcost).round2();
        line.tax_code = ordered->text(u"tax_code");
        line.price_include_tax = ordered->flag(u"price_include_tax");
        line.accno = ordered->text(u"accno");
        line.pono = order_number;
        line.po_itemno = wanted.order_itemno;
        line.po_uom = ordered->text(u"uom");
        value_of(get_fulltax_detail(db, receipt.taxes, line.itemno, taxable_amount(*line.extended_cost), line.tax_code,
                                    line.price_include_tax ? TaxIncluded::Yes : TaxIncluded::No),
                 "tax");
        receipt.lines.push_back(line);
    }
    check(verify_receipt_lines(db, receipt.lines, value_of(load_document_lists(db), "lists")), "checking the receipt");
    std::set<OrderLineKey> keys;
    for (const ReceiptLine& line : receipt.lines)
        keys.insert({line.po_key, *line.po_itemno});
    const ReceiptSaving saving{value_of(receipt_accounts(db), "accounts"), value_of(read_order_lines(db, keys), "orders"),
                               audit_stamp(QStringLiteral("ADMIN"))};
    return value_of(insert_new_receipt(db, receipt, saving), "saving the receipt");
}

void received_on_order(Database& db, const QString& order_key, int itemno, const QString& quantity,
                       const QString& uom_received)
{
    Transaction tx(db);
    if (!tx.active())
        throw std::runtime_error("receiving: " + tx.begin_error().detail.toStdString());
    check(apply_receipt_to_orders(db, {{order_key, itemno, *Decimal::parse(quantity), Decimal(), uom_received}},
                                  ReceiptEffect::Apply),
          "receiving");
    check(tx.commit(), "committing the receipt");
}

} // namespace zelkor::testing
