#include "tests/support/documents.h"

#include "forms/purchasing/po_save.h"
#include "forms/purchasing/pr_save.h"
#include "services/master_lookups.h"
#include "services/order_receiving.h"
#include "services/purchase_tax.h"

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

CompletedLine completed(Database& db, const LineSpec& spec, const QString& vendor_tax_code)
{
    CompletedLine line{spec.item, spec.itemtype, spec.item, spec.uom, {}, {}, {}, spec.tax_code,
                       Decimal::parse(spec.quantity).value_or(Decimal()),
                       Decimal::parse(spec.unitcost).value_or(Decimal()), {}};
    if (auto item = value_of(item_row(db, spec.item), "item")) {
        line.itemtype = line.itemtype.isEmpty() ? item->text(u"item_type") : line.itemtype;
        line.description = item->text(u"description");
        line.uom = line.uom.isEmpty() ? item->text(u"purchase_uom") : line.uom;
        line.accno = item->text(u"asset_accno");
        if (auto place = value_of(item_default_place(db, spec.item), "default place")) {
            line.warehouse = place->warehouse;
            line.location = place->location;
        }
    } else if (auto charge = value_of(charge_row(db, spec.item), "charge")) {
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
    for (const LineSpec& spec : lines) {
        const CompletedLine line = completed(db, spec, tax_code);
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

DocumentNumber saved_order(Database& db, const OrderSpec& spec)
{
    Order order;
    order.header.vendor_no = spec.vendor;
    order.header.order_date = spec.date;
    order.header.currency = QStringLiteral("USD");
    order.header.payment_term = QStringLiteral("30");
    order.header.future_po = spec.future;
    order.header.activate_date = spec.activate_date;
    order.header.shipto = value_of(default_warehouse(db), "default warehouse").value_or(QString());
    const QString tax_code = vendor_tax_code(db, spec.vendor);
    for (const LineSpec& line_spec : spec.lines) {
        const CompletedLine line = completed(db, line_spec, tax_code);
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
        if (!spec.requisition.isEmpty()) {
            typed.prno = spec.requisition;
            typed.pr_itemno = typed.itemno;
        }
        order.lines.push_back(typed);
    }
    return value_of(insert_new_po(db, order, audit_stamp(QStringLiteral("ADMIN"))), "saving the order");
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
