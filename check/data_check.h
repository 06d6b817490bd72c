#pragma once

#include "core/invariants.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// What one check found: nothing (it passed), the problems it names, or the error that kept it
/// from running.
struct CheckResult {
    QString name;
    QStringList problems;
    std::optional<Error> error{};

    bool passed() const { return problems.isEmpty() && !error; }
};

/// The outcome of a data check of a company database.
struct DataCheck {
    QString database; ///< where the data lives, without a password
    std::vector<CheckResult> results;

    bool consistent() const;
};

/// How many problem rows a report names per failed check; the rest are counted.
inline constexpr int ReportedProblems = 20;

/// Runs every check against one state of the database (a read snapshot, so that saves by others
/// meanwhile cannot show as problems). A check that cannot run is a failed check; only a
/// snapshot that cannot begin fails the whole run.
[[nodiscard]] std::expected<DataCheck, Error> run_data_check(Database& db, const std::vector<InvariantCheck>& checks);

/// The report as text: a line per check with pass or FAIL, under each failed check up to
/// `rows` of its problems, and a closing verdict.
QString data_check_text(const DataCheck& check, int rows = ReportedProblems);
/// The same as a JSON document: {"database", "consistent", "checks": [{"name", "passed",
/// "problems", "rows", "error"}]}.
QByteArray data_check_json(const DataCheck& check, int rows = ReportedProblems);

} // namespace zelkor
