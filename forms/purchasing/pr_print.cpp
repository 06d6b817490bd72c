#include "forms/purchasing/pr_print.h"

#include <QStringList>

namespace zelkor {

QString sql_text_literal(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString pr_print_query(const PrPrintValues& values)
{
    const QString header = QStringLiteral("PR_header_table.");
    const QString line = QStringLiteral("PR_transaction_table.");
    auto literal = [](const QString& value, const char* name) {
        return sql_text_literal(value) + QStringLiteral(" AS ") + QLatin1String(name);
    };
    QStringList columns{header + "docno",
                        literal(values.order_date, "order_date"),
                        literal(values.vendor_name, "vendor_name"),
                        literal(values.requested_date, "requested_date"),
                        header + "vendor_no",
                        header + "purpose",
                        header + "currency",
                        literal(values.rate_date, "rate_date"),
                        literal(values.payment_term, "payment_term")};
    for (const char* name : {"requested_user", "shipvia", "remark", "shipto", "shipto", "contact_person", "phone", "fax",
                             "reference", "sub_total", "tax_total", "total"})
        columns << header + QLatin1String(name);
    for (const char* name : {"itemno", "itemcode", "itemtype", "description", "vendor_itemcode", "quantity", "uom",
                             "unitcost", "price_include_tax", "net_cost"})
        columns << line + QLatin1String(name);
    return QStringLiteral("SELECT ") + columns.join(QStringLiteral(", "))
           + QStringLiteral(" FROM PR_header_table INNER JOIN PR_transaction_table"
                            " ON PR_header_table.fkey = PR_transaction_table.fkey"
                            " WHERE PR_header_table.fkey = ")
           + sql_text_literal(values.key) + QStringLiteral(" ORDER BY PR_transaction_table.itemno");
}

QString pr_print_title(const QString& docno)
{
    return QStringLiteral("Purchase Requisition,") + docno + QLatin1Char(',');
}

} // namespace zelkor
