#include "core/db/save_retries.h"

#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QThread>

namespace zelkor {

namespace {
Q_LOGGING_CATEGORY(lcRetries, "zelkor.retries")
}

bool retry_after(Database& db, const Error& error, int attempt, QStringView what)
{
    if (error.kind != Error::Kind::Locked || attempt >= SaveAttempts || db.in_transaction())
        return false;
    const int pause = int(QRandomGenerator::global()->bounded(10, 40)) * attempt;
    qCInfo(lcRetries).noquote() << what << "met another save and runs again (attempt" << attempt + 1 << "after"
                                << pause << "ms):" << error.detail;
    QThread::msleep(ulong(pause));
    return true;
}

} // namespace zelkor
