#include "bench/support/recorded_writes.h"

#include "bench/support/bench_database.h"

namespace zelkor::bench {

Writes recorded_writes(Database& db, const std::function<void()>& operation)
{
    Writes writes;
    db.record_writes([&writes](const QString& sql, const Params& params, int changed) {
        writes.push_back({sql, params, changed});
    });
    operation();
    db.record_writes({});
    return writes;
}

void write_again(Database& db, const Writes& writes, Sending sending)
{
    Transaction tx(db);
    for (const Write& write : writes) {
        if (sending == Sending::Together) {
            require(db.write(write.sql, write.params), "writing a recorded row");
            continue;
        }
        auto changed = db.execute(write.sql, write.params);
        require(changed, "writing a recorded row");
        if (*changed != write.changed)
            require(std::expected<void, Error>(std::unexpected(Error::database(write.sql))), "changing as many rows");
    }
    require(tx.commit(), "committing recorded rows");
}

} // namespace zelkor::bench
