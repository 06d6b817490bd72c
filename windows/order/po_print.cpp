// Printing an order: the host renders the query the window hands it.
#include "windows/order/po_print.h"

#include "windows/order/POform_po.h"
#include "windows/print/active_report.h"

namespace zelkor {

QString po_print_query()
{
    return QStringLiteral(
               "SELECT PO_header_table.docno, PO_header_table.order_date AS order_date,"
               " Vendor_table.vendor_name AS vendor_name, PO_header_table.arrival_date AS arrival_date,"
               " PO_header_table.ship_to_address, PO_header_table.vendor_address, PO_header_table.buyer,"
               " PO_header_table.rate_date AS rate_date, Payment_term_table.term_name AS payment_term,"
               " PO_header_table.currency, PO_header_table.exchange_rate, PO_header_table.shipvia,"
               " PO_header_table.requested_user, PO_header_table.contact_person, PO_header_table.phone,"
               " PO_header_table.fax, PO_header_table.remark, PO_header_table.reference, PO_header_table.fob_point,"
               " PO_header_table.delivery_instruction, PO_header_table.sub_total, PO_header_table.tax_total,"
               " PO_header_table.total, PO_transaction_table.itemno, PO_transaction_table.itemcode,"
               " PO_transaction_table.itemtype, PO_transaction_table.description, PO_transaction_table.vendor_itemcode,"
               " PO_transaction_table.quantity, PO_transaction_table.uom, PO_transaction_table.unitcost,"
               " PO_transaction_table.extended_cost, PO_transaction_table.price_include_tax,"
               " PO_transaction_table.net_cost, PO_transaction_table.accno, PO_transaction_table.prno,"
               " PO_transaction_table.warehouse, PO_transaction_table.location, PO_transaction_table.tax_code,"
               " PO_transaction_table.tax_amount, PO_transaction_table.tax_allocate"
               " FROM ((PO_header_table INNER JOIN PO_transaction_table ON PO_header_table.fkey = PO_transaction_table.fkey)"
               " LEFT JOIN Vendor_table ON Vendor_table.vendor_no = PO_header_table.vendor_no)"
               " LEFT JOIN Payment_term_table ON Payment_term_table.term_no = PO_header_table.payment_term"
               " WHERE PO_header_table.company = 1 AND PO_header_table.docno = ?"
               " ORDER BY PO_transaction_table.itemno");
}

DocumentLayout po_document_layout()
{
    DocumentLayout layout = purchasing_document_layout(QStringLiteral("Purchase Order"), QStringLiteral("PO_header_table"),
                                                       QStringLiteral("PO_transaction_table"));
    layout.facts.insert(layout.facts.begin(), {{QStringLiteral("Order date"), QStringLiteral("order_date"), PrintedAs::Date},
                                               {QStringLiteral("Arrival date"), QStringLiteral("arrival_date"), PrintedAs::Date}});
    layout.facts.push_back({QStringLiteral("Buyer"), QStringLiteral("buyer"), PrintedAs::Employee});
    layout.facts.push_back({QStringLiteral("Requested by"), QStringLiteral("requested_user"), PrintedAs::Employee});
    layout.vendor_address_column = QStringLiteral("vendor_address");
    layout.ship_to_address_column = QStringLiteral("ship_to_address");
    layout.notes.push_back({QStringLiteral("Delivery instruction"), QStringLiteral("delivery_instruction")});
    return layout;
}

bool POform_po::print_document()
{
    if (m_key.isEmpty() || mode() != Mode::Read)
        return false;
    if (find_field("void")->checked())
        return refuse(QStringLiteral("PO was void."));
    notify(QStringLiteral("ActiveReport"), po_print_query(),
           active_report_argument(QStringLiteral("Purchase Order"), field("docno")));
    return true;
}

} // namespace zelkor
