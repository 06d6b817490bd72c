#include "core/invariants.h"

namespace zelkor {

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

} // namespace zelkor
