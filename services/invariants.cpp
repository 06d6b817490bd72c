#include "services/invariants.h"

#include "services/stock/stock_invariants.h"

namespace zelkor {

std::vector<InvariantCheck> invariant_checks()
{
    // Modules that keep their own consistent data (stock, payables) append their checks here.
    std::vector<InvariantCheck> checks = ledger_invariant_checks();
    for (InvariantCheck& check : stock_invariant_checks())
        checks.push_back(std::move(check));
    for (InvariantCheck& check : payable_invariant_checks())
        checks.push_back(std::move(check));
    for (InvariantCheck& check : bill_invariant_checks())
        checks.push_back(std::move(check));
    for (InvariantCheck& check : landed_invariant_checks())
        checks.push_back(std::move(check));
    return checks;
}

[[nodiscard]] std::expected<QStringList, Error> check_invariants(Database& db, const std::vector<InvariantCheck>& checks)
{
    QStringList violations;
    for (const InvariantCheck& check : checks) {
        auto found = check.run(db);
        if (!found)
            return std::unexpected(found.error());
        for (const QString& violation : std::as_const(*found))
            violations << check.name + QStringLiteral(": ") + violation;
    }
    return violations;
}

[[nodiscard]] std::expected<QStringList, Error> check_invariants(Database& db) { return check_invariants(db, invariant_checks()); }

} // namespace zelkor
