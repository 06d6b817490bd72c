#include "windows/print/bill_print.h"

namespace zelkor {

QString bill_print_query()
{
    return QStringLiteral(
        "SELECT PO_invoice_header_table.docno, PO_invoice_header_table.vendor_no, Vendor_table.vendor_name AS vendor_name,"
        " PO_invoice_header_table.invoice_no, PO_invoice_header_table.invoice_date AS invoice_date,"
        " PO_invoice_header_table.receipt_no, PO_invoice_header_table.po_no, PO_invoice_header_table.currency,"
        " PO_invoice_header_table.exchange_rate, PO_invoice_header_table.payby, PO_invoice_header_table.prepayment,"
        " PO_invoice_header_table.paypreby, PO_invoice_header_table.prepayment_no, PO_invoice_header_table.bank_code,"
        " PO_invoice_header_table.cash_accno, PO_invoice_header_table.check_no, PO_invoice_header_table.discount_percent,"
        " PO_invoice_header_table.discount_amount, PO_invoice_header_table.remark, PO_invoice_header_table.reference,"
        " PO_invoice_header_table.fob_point, PO_invoice_header_table.period, PO_invoice_header_table.fyear,"
        " Payment_term_table.term_name AS payment_term,"
        " PO_invoice_header_table.subtotal, PO_invoice_header_table.excluded_tax, PO_invoice_header_table.total,"
        " PO_invoice_header_table.net_amount, PO_invoice_transaction_table.itemno,"
        " PO_invoice_transaction_table.landed_item, PO_invoice_transaction_table.itemcode,"
        " PO_invoice_transaction_table.itemtype, PO_invoice_transaction_table.Description AS description,"
        " PO_invoice_transaction_table.vendor_itemcode, PO_invoice_transaction_table.quantity,"
        " PO_invoice_transaction_table.quantity_received, PO_invoice_transaction_table.quantity_cancel,"
        " PO_invoice_transaction_table.uom, PO_invoice_transaction_table.unitcost,"
        " PO_invoice_transaction_table.extended_cost, PO_invoice_transaction_table.price_include_tax,"
        " PO_invoice_transaction_table.net_cost, PO_invoice_transaction_table.warehouse,"
        " PO_invoice_transaction_table.location, PO_invoice_transaction_table.expense,"
        " PO_invoice_transaction_table.accno, PO_invoice_transaction_table.tax_code,"
        " PO_invoice_transaction_table.tax_amount, PO_invoice_transaction_table.tax_allocate"
        " FROM ((PO_invoice_header_table INNER JOIN PO_invoice_transaction_table"
        " ON PO_invoice_header_table.fkey = PO_invoice_transaction_table.fkey)"
        " LEFT JOIN Vendor_table ON Vendor_table.vendor_no = PO_invoice_header_table.vendor_no)"
        " LEFT JOIN Payment_term_table ON Payment_term_table.term_no = PO_invoice_header_table.payment_term"
        " WHERE PO_invoice_header_table.company = 1 AND PO_invoice_header_table.docno = ?"
        " ORDER BY PO_invoice_transaction_table.itemno");
}

} // namespace zelkor
