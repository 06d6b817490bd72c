#include "reports/POreport_po_transaction.h"

namespace zelkor {

POreport_po_transaction::POreport_po_transaction(QObject* parent)
    : TransactionInquiry(QStringLiteral("POreport_po_transaction"), QStringLiteral("P/O Transactions"), QStringLiteral("prno"),
                         QStringLiteral("PR no"), parent)
{
    declare_result_grid({"document no", "date", "vendor no", "vendor name", "item no", "item code", "item type", "description", "currency", "quantity", "quantity received", "quantity open", "quantity cancel", "unit cost", "tax included", "extended cost", "net cost", "tax code", "tax amount", "account", "account name", "PR no", "PR item no"}).set_number_columns({"quantity", "quantity received", "quantity open", "quantity cancel", "unit cost", "extended cost", "net cost", "tax amount"});
}

} // namespace zelkor
