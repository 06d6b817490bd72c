#include "core/db/background_query.h"

#include <QMetaObject>

#include <condition_variable>
#include <mutex>
#include <optional>

namespace zelkor {

namespace {

struct Job {
    quint64 generation = 0;
    QString sql;
    Params params;
    QObject* context = nullptr;
    BackgroundQuery::Done done;
};

} // namespace

/// What the caller's thread and the reading thread share, under one mutex. Every start and
/// cancel begins a new generation; a result is handed on only while its generation is current.
struct BackgroundQuery::Shared {
    ConnectionDescription where;
    std::mutex mutex;
    std::condition_variable changed;
    quint64 generation = 0;
    std::optional<Job> waiting;      ///< started, not yet taken by the thread
    quint64 running = 0;             ///< the generation the thread reads now; 0 when idle
    std::function<void()> interrupt; ///< stops the statement the thread's connection runs
    std::optional<std::pair<Job, Result>> finished; ///< read, not yet handed on
    bool stopping = false;

    /// The finished result of `generation` with its callback, when it is still wanted.
    std::optional<std::pair<Done, Result>> take(quint64 wanted)
    {
        if (!finished || finished->first.generation != wanted || wanted != generation)
            return std::nullopt;
        std::pair<Done, Result> taken{std::move(finished->first.done), std::move(finished->second)};
        finished.reset();
        return taken;
    }
    void stop_running()
    {
        if (running != 0 && interrupt)
            interrupt();
    }
};

BackgroundQuery::BackgroundQuery(ConnectionDescription where) : m_shared(std::make_shared<Shared>())
{
    where.access = ConnectionDescription::Access::ReadOnly;
    m_shared->where = std::move(where);
    m_thread = std::thread(&BackgroundQuery::work, m_shared);
}

BackgroundQuery::~BackgroundQuery()
{
    {
        std::scoped_lock lock(m_shared->mutex);
        m_shared->stopping = true;
        ++m_shared->generation;
        m_shared->stop_running();
    }
    m_shared->changed.notify_all();
    m_thread.join();
}

void BackgroundQuery::start(QString sql, Params params, QObject* context, Done done)
{
    {
        std::scoped_lock lock(m_shared->mutex);
        const quint64 generation = ++m_shared->generation;
        m_shared->stop_running();
        m_shared->finished.reset();
        m_shared->waiting = Job{generation, std::move(sql), std::move(params), context, std::move(done)};
    }
    m_shared->changed.notify_all();
}

void BackgroundQuery::cancel()
{
    std::scoped_lock lock(m_shared->mutex);
    ++m_shared->generation;
    m_shared->waiting.reset();
    m_shared->finished.reset();
    m_shared->stop_running();
}

bool BackgroundQuery::pending() const
{
    std::scoped_lock lock(m_shared->mutex);
    return m_shared->waiting || m_shared->running == m_shared->generation || m_shared->finished;
}

bool BackgroundQuery::wait()
{
    std::unique_lock lock(m_shared->mutex);
    const quint64 wanted = m_shared->generation;
    m_shared->changed.wait(lock, [&] { return !m_shared->waiting && m_shared->running == 0; });
    auto taken = m_shared->take(wanted);
    lock.unlock();
    if (!taken)
        return false;
    taken->first(std::move(taken->second));
    return true;
}

void BackgroundQuery::work(const std::shared_ptr<Shared>& shared)
{
    // The connection belongs to this thread: opened, used and closed here only.
    std::unique_ptr<Database> db;
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->changed.wait(lock, [&] { return shared->stopping || shared->waiting; });
        if (shared->stopping)
            break;
        Job job = std::move(*shared->waiting);
        shared->waiting.reset();
        shared->running = job.generation;
        lock.unlock();
        std::optional<Result> result;
        if (!db) {
            auto opened = Database::open(shared->where);
            if (opened)
                db = std::move(*opened);
            else
                result = std::unexpected(opened.error());
        }
        lock.lock();
        if (db && !shared->interrupt)
            shared->interrupt = db->interrupter();
        // A cancel while the connection opened had nothing to interrupt yet.
        const bool wanted = job.generation == shared->generation;
        lock.unlock();
        if (!result && wanted)
            result = db->select(job.sql, job.params);
        lock.lock();
        shared->running = 0;
        if (result && job.generation == shared->generation) {
            const quint64 generation = job.generation;
            QObject* context = job.context;
            shared->finished.emplace(std::move(job), std::move(*result));
            if (context)
                QMetaObject::invokeMethod(
                    context,
                    [shared, generation] {
                        std::unique_lock taking(shared->mutex);
                        auto taken = shared->take(generation);
                        taking.unlock();
                        if (taken)
                            taken->first(std::move(taken->second));
                    },
                    Qt::QueuedConnection);
        }
        shared->changed.notify_all();
    }
    shared->interrupt = {};
    lock.unlock();
    db.reset();
}

} // namespace zelkor
