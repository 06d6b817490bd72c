#pragma once

#include "core/db/database.h"

#include <QObject>

#include <expected>
#include <functional>
#include <memory>
#include <thread>

namespace zelkor {

/// Runs one long read at a time on a read-only connection of its own, in a thread of its own, so
/// that a window stays with the clerk while it runs (the count and totals of a long list). The
/// connection opens with the first read and is kept for the next ones. The result is handed to a
/// callback on the thread of a context object (the window), unless the read was cancelled or a
/// newer one started meanwhile: a result never reaches a window that no longer wants it.
class BackgroundQuery {
public:
    using Result = std::expected<Rows, Error>;
    using Done = std::function<void(Result)>;

    /// Reads from the company `where` describes (opened read-only).
    explicit BackgroundQuery(ConnectionDescription where);
    /// Cancels the running read and waits for the thread to end.
    ~BackgroundQuery();
    BackgroundQuery(const BackgroundQuery&) = delete;
    BackgroundQuery& operator=(const BackgroundQuery&) = delete;

    /// Starts a read, cancelling the one still running; `done` runs later on `context`'s thread.
    /// The context outlives this object (the window that owns it).
    void start(QString sql, Params params, QObject* context, Done done);
    /// Stops the running read on the server; its `done` never runs.
    void cancel();
    /// Whether a read was started and its result has not been handed on yet.
    bool pending() const;
    /// Waits for the started read to finish and hands its result on now, on the caller's thread
    /// (a printout that needs the totals, a test). False when no read was pending.
    bool wait();

private:
    struct Shared;
    static void work(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

} // namespace zelkor
