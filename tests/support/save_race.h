#pragma once
// Two clerks at two workstations pressing Save at the same moment: each clerk's window is made
// ready on a connection of its own, then both saves start together.

#include "windows/base/command_ids.h"

#include <QStringList>

#include <atomic>
#include <latch>
#include <mutex>
#include <thread>

namespace zelkor::testing {

/// How many of the two saves went through, and the messages of each refused one.
struct SaveRace {
    int saved = 0;
    QStringList refusals;
};

/// Makes a clerk with `make()` on each of two threads, lets `prepare(clerk, which)` (0 or 1) type
/// its document, then runs both windows' Save at once. A clerk has a `window` and a `prompter`.
template <class Make, class Prepare>
SaveRace race_to_save(Make make, Prepare prepare)
{
    std::latch ready(2);
    std::atomic<int> saved{0};
    QStringList refusals;
    std::mutex guard;
    auto clerk = [&](int which) {
        auto me = make();
        prepare(*me, which);
        ready.arrive_and_wait();
        if (me->window.execute(CommandId::Save)) {
            ++saved;
            return;
        }
        std::lock_guard lock(guard);
        refusals << me->prompter.messages().join(" | ");
    };
    std::thread first(clerk, 0);
    std::thread second(clerk, 1);
    first.join();
    second.join();
    return {saved.load(), refusals};
}

} // namespace zelkor::testing
