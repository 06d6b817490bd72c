#pragma once
// The floor of exactly the rows an operation writes: its statements that write, recorded with
// their values as a measured run makes them, run again in one transaction on a second company
// that went through the same writes. Against it an operation's own reads, checks and computing
// show, the rows themselves (tables, columns, indexes, commit) count on both sides.

#include "core/db/database.h"

#include <functional>
#include <vector>

namespace zelkor::bench {

/// A statement that wrote, with the number of rows it changed.
struct Write {
    QString sql;
    Params params;
    int changed = 0;
};
/// The statements that write, in the order an operation ran them.
using Writes = std::vector<Write>;

/// Runs `operation`, recording every statement of it that writes.
Writes recorded_writes(Database& db, const std::function<void()>& operation);

/// How write_again sends the recorded statements.
enum class Sending {
    OneByOne, ///< each waits for its answer, which must change as many rows as it did
    Together, ///< on PostgreSQL all travel with the COMMIT, in one round trip
};

/// Runs the recorded statements again in one transaction. One by one, each must change as many
/// rows as it did, or the floor would measure less work; together, the answers come back with
/// the COMMIT, uncounted (the same statements changed as many rows one by one).
void write_again(Database& db, const Writes& writes, Sending sending = Sending::OneByOne);

} // namespace zelkor::bench
