#include "check/company_checks.h"

#include "check/document_invariants.h"
#include "documents/bill/bill_invariants.h"
#include "documents/landed/landed_invariants.h"
#include "documents/order/po_invariants.h"
#include "documents/receipt/receipt_invariants.h"
#include "ledger/ledger_invariants.h"
#include "payables/payables_invariants.h"
#include "stock/stock_invariants.h"

namespace zelkor {
namespace {

void append(std::vector<InvariantCheck>& checks, std::vector<InvariantCheck> more)
{
    for (InvariantCheck& check : more)
        checks.push_back(std::move(check));
}

} // namespace

std::vector<InvariantCheck> engine_invariant_checks()
{
    std::vector<InvariantCheck> checks = ledger_invariant_checks();
    append(checks, stock_invariant_checks());
    append(checks, payable_invariant_checks());
    append(checks, bill_invariant_checks());
    append(checks, landed_invariant_checks());
    return checks;
}

std::vector<InvariantCheck> purchasing_invariant_checks()
{
    std::vector<InvariantCheck> checks = engine_invariant_checks();
    append(checks, purchase_order_invariant_checks());
    return checks;
}

std::vector<InvariantCheck> company_invariant_checks()
{
    std::vector<InvariantCheck> checks = purchasing_invariant_checks();
    append(checks, receipt_invariant_checks());
    append(checks, document_invariant_checks());
    return checks;
}

} // namespace zelkor
