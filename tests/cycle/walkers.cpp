#include "walkers.h"

#include <QRegularExpression>

namespace zelkor::cycle {

namespace {

int captured(const QString& output, const QString& pattern)
{
    const auto found = QRegularExpression(pattern, QRegularExpression::MultilineOption).match(output);
    return found.hasMatch() ? found.captured(1).toInt() : 0;
}

} // namespace

void WalkerTotals::add(const QString& output, bool completed)
{
    saves += captured(output, QStringLiteral("^saves (\\d+)$"));
    retries += captured(output, QStringLiteral("^retries (\\d+)$"));
    refused += captured(output, QStringLiteral("(\\d+) refused, "));
    refused_by_others += captured(output, QStringLiteral("(\\d+) of them by another user"));
    refused_locked += captured(output, QStringLiteral("(\\d+) on a lock\\)"));
    if (!completed) {
        ++failed;
        failures << output;
    }
}

Walkers::Walkers(const QString& walker, const QString& location, int clerks, int steps, quint64 first_seed)
{
    for (int clerk = 0; clerk < clerks; ++clerk) {
        m_processes.push_back(std::make_unique<QProcess>());
        m_processes.back()->setProcessChannelMode(QProcess::MergedChannels);
        m_processes.back()->start(walker, {QStringLiteral("--db"), location, QStringLiteral("--seed"),
                                           QString::number(first_seed + quint64(clerk)), QStringLiteral("--steps"),
                                           QString::number(steps)});
    }
}

WalkerTotals Walkers::wait(int milliseconds)
{
    WalkerTotals totals;
    for (auto& process : m_processes) {
        const bool ended = process->waitForFinished(milliseconds);
        const QString output = QString::fromUtf8(process->readAll());
        totals.add(output, ended && process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0);
    }
    return totals;
}

} // namespace zelkor::cycle
