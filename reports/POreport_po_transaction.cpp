#include "reports/POreport_po_transaction.h"

namespace zelkor {

namespace {

const QString Lines = QStringLiteral("PO_transaction_table.");
const QString Header = QStringLiteral("PO_header_table.");

TransactionInquiry::Tables order_tables()
{
    const QString open = QStringLiteral(" AND PO_header_table.void = FALSE");
    return {
        QStringLiteral("PO_transaction_table"),
        Header + QStringLiteral("order_date"),
        Header + QStringLiteral("vendor_no"),
        {{QStringLiteral("prno"), QStringLiteral("prno")}},
        {
            {QStringLiteral("Open"), QStringLiteral("PO_header_table.fully_received = FALSE") + open},
            {QStringLiteral("Not been received"), QStringLiteral("PO_header_table.received = FALSE") + open},
            {QStringLiteral("Partially received"),
             QStringLiteral("PO_header_table.fully_received = FALSE AND PO_header_table.received = TRUE") + open},
            {QStringLiteral("Received"), QStringLiteral("PO_transaction_table.closed = TRUE") + open},
            {QStringLiteral("Not been billed"), QStringLiteral("PO_header_table.billed = FALSE") + open},
            {QStringLiteral("Partially billed"),
             QStringLiteral("PO_header_table.fully_billed = FALSE AND PO_header_table.billed = TRUE") + open},
            {QStringLiteral("Billed"), QStringLiteral("PO_header_table.fully_billed = TRUE") + open},
            {QStringLiteral("Void"), QStringLiteral("PO_header_table.void = TRUE")},
        },
    };
}

ReportQuery order_query()
{
    using K = ColumnKind;
    using C = TransactionInquiry::Columns;
    ReportQuery query;
    query.from = QStringLiteral("PO_header_table INNER JOIN PO_transaction_table ON PO_header_table.fkey = PO_transaction_table.fkey");
    query.lookups = TransactionInquiry::name_joins(Header + "vendor_no", Lines + "accno", Lines + "itemcode");
    query.columns = {{"document no", Lines + "docno"}, {"date", Header + "order_date", K::Date}};
    append(query.columns, C::vendor(Header + "vendor_no"));
    append(query.columns, C::item(Lines));
    append(query.columns, {{"currency", Header + "currency"},
                           {"quantity", Lines + "quantity", K::Quantity},
                           {"quantity received", Lines + "quantity_received", K::Quantity},
                           {"quantity open", Lines + "quantity_open", K::Quantity},
                           {"quantity cancel", Lines + "quantity_cancel", K::Quantity}});
    append(query.columns, C::price(Lines, "extended cost", "net cost"));
    append(query.columns, C::account(Lines));
    append(query.columns, {{"PR no", Lines + "prno"}, {"PR item no", Lines + "pritemno"}});
    query.currency = Header + "currency";
    query.void_flag = Header + "void";
    query.document_key = Header + "fkey";
    query.default_order = C::default_order(Lines, false);
    query.sorts = C::sorts(Lines, Header + "order_date", "quantity", Header + "vendor_no");
    return query;
}

} // namespace

POreport_po_transaction::POreport_po_transaction(QObject* parent)
    : TransactionInquiry(QStringLiteral("POreport_po_transaction"), QStringLiteral("P/O Transactions"), order_tables(),
                         parent)
{
    declare_report(order_query(), {"P/O TRANSACTIONS REPORT", "PO_transaction", "Purchase Order"});
}

} // namespace zelkor
