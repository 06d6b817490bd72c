#pragma once

#include "core/db/database.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <functional>
#include <vector>

namespace zelkor {

/// One rule that the data of a company database must satisfy after every committed save.
struct InvariantCheck {
    QString name;
    /// Gives each violation found, in words; an empty list when the rule holds.
    std::function<std::expected<QStringList, Error>(Database&)> run;
};

/// Runs the checks over the whole database; each violation reads "<check name>: <words>".
/// An empty list means the data is consistent. Tests end every posting scenario with it.
[[nodiscard]] std::expected<QStringList, Error> check_invariants(Database& db, const std::vector<InvariantCheck>& checks);

} // namespace zelkor
