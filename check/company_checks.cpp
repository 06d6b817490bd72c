#include "check/company_checks.h"

#include "check/document_invariants.h"
#include "forms/purchasing/po_invariants.h"
#include "forms/receiving/receipt_invariants.h"

namespace zelkor {

std::vector<InvariantCheck> company_invariant_checks()
{
    std::vector<InvariantCheck> checks = purchasing_invariant_checks();
    for (std::vector<InvariantCheck> more : {receipt_invariant_checks(), document_invariant_checks()})
        for (InvariantCheck& check : more)
            checks.push_back(std::move(check));
    return checks;
}

} // namespace zelkor
