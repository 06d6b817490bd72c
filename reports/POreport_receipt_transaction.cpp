#include "reports/POreport_receipt_transaction.h"

namespace zelkor {

namespace {

const QString Lines = QStringLiteral("PO_receipt_transaction_table.");
const QString Header = QStringLiteral("PO_receipt_header_table.");

TransactionInquiry::Tables receipt_tables()
{
    // Bills keep billed and fully_billed on the receipt; the receipt is "invoiced" by them.
    const QString open = QStringLiteral(" AND PO_receipt_header_table.void = FALSE");
    return {
        QStringLiteral("PO_receipt_transaction_table"),
        Header + QStringLiteral("receipt_date"),
        Header + QStringLiteral("vendor_no"),
        {{QStringLiteral("pono"), QStringLiteral("PONO")}},
        {
            {QStringLiteral("Not been invoiced"), QStringLiteral("PO_receipt_header_table.billed = FALSE") + open},
            {QStringLiteral("Partially invoiced"),
             QStringLiteral("PO_receipt_header_table.fully_billed = FALSE AND PO_receipt_header_table.billed = TRUE") + open},
            {QStringLiteral("Invoiced"), QStringLiteral("PO_receipt_header_table.fully_billed = TRUE") + open},
            {QStringLiteral("Void"), QStringLiteral("PO_receipt_header_table.void = TRUE")},
        },
    };
}

ReportQuery receipt_query()
{
    using K = ColumnKind;
    using C = TransactionInquiry::Columns;
    ReportQuery query;
    query.from = QStringLiteral("PO_receipt_header_table INNER JOIN PO_receipt_transaction_table"
                                " ON PO_receipt_header_table.fkey = PO_receipt_transaction_table.fkey");
    query.lookups = TransactionInquiry::name_joins(Header + "vendor_no", Lines + "accno", Lines + "itemcode");
    query.columns = {{"document no", Lines + "docno"}, {"date", Header + "receipt_date", K::Date}};
    append(query.columns, C::vendor(Header + "vendor_no"));
    append(query.columns, C::item(Lines));
    append(query.columns, {{"currency", Lines + "currency"},
                           {"quantity received", Lines + "quantity_received", K::Quantity},
                           {"quantity ordered", Lines + "po_quantity_order", K::Quantity},
                           {"quantity cancel", Lines + "quantity_cancel", K::Quantity},
                           {"landed item", Lines + "landed_item", K::Marker, false, {}, "* landed *"}});
    append(query.columns, C::price(Lines, "extended cost", "net cost"));
    append(query.columns, C::account(Lines));
    append(query.columns, {{"PO no", Lines + "PONO"}, {"PO item no", Lines + "po_itemno"}});
    query.currency = Lines + "currency";
    query.void_flag = Header + "void";
    query.document_key = Header + "fkey";
    query.default_order = C::default_order(Lines, true);
    query.sorts = C::sorts(Lines, Header + "receipt_date", "quantity_received", Header + "vendor_no");
    return query;
}

} // namespace

POreport_receipt_transaction::POreport_receipt_transaction(QObject* parent)
    : TransactionInquiry(QStringLiteral("POreport_receipt_transaction"), QStringLiteral("Receipt Transactions"),
                         receipt_tables(), parent)
{
    declare_report(receipt_query(), {"Receipt Report", "PO_receipt_transaction", "Receipt Entry"});
}

} // namespace zelkor
