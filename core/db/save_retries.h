#pragma once

#include "core/db/database.h"

#include <QStringView>

#include <type_traits>

namespace zelkor {

/// How many times in all a save runs before the clerk hears that other saves held it up.
inline constexpr int SaveAttempts = 4;

/// Whether a save that failed with `error` on its `attempt` runs again: it met a wait on another
/// clerk's save (a deadlock the server broke, a lock held past the wait, a busy SQLite file) and
/// is not nested in a caller's transaction. Logs the retry and pauses a short random time,
/// longer with each attempt, so that the saves that met do not meet again.
[[nodiscard]] bool retry_after(Database& db, const Error& error, int attempt, QStringView what);

/// Runs a whole save (its own transaction, a function of the typed document alone) and runs it
/// again, rolled back and from the start, while retry_after says so. The numbers a rolled-back
/// try took go back with it, so the counters stay gap-free. A real conflict (another clerk
/// changed or voided the same document) fails with its own message and is never retried; a
/// retried save that meets such a change finds it by its version check.
template <typename Save>
[[nodiscard]] std::invoke_result_t<Save&> with_retries(Database& db, QStringView what, Save&& save)
{
    for (int attempt = 1;; ++attempt) {
        auto result = save();
        if (result || !retry_after(db, result.error(), attempt, what))
            return result;
    }
}

} // namespace zelkor
