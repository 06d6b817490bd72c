#include "reports/POreport_receipt_transaction.h"

namespace zelkor {

POreport_receipt_transaction::POreport_receipt_transaction(QObject* parent)
    : TransactionInquiry(QStringLiteral("POreport_receipt_transaction"), QStringLiteral("Receipt Transactions"), QStringLiteral("pono"),
                         QStringLiteral("PO no"), parent)
{
    declare_result_grid({"document no", "date", "vendor no", "vendor name", "item no", "item code", "item type", "description", "currency", "quantity received", "quantity ordered", "quantity cancel", "landed item", "unit cost", "tax included", "extended cost", "net cost", "tax code", "tax amount", "account", "account name", "PO no", "PO item no"}).set_number_columns({"quantity received", "quantity ordered", "quantity cancel", "unit cost", "extended cost", "net cost", "tax amount"});
}

} // namespace zelkor
