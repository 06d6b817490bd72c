#pragma once

#include "bench/support/bench_database.h"
#include "windows/base/window_model.h"

#include <memory>

namespace zelkor::bench {

/// A window of the administrator opened on a benchmark's company, answering from `prompter`.
template <class Window>
std::unique_ptr<Window> opened(Database& db, const QString& data_path, ScriptedPrompter& prompter)
{
    auto window = std::make_unique<Window>();
    window->apply_settings(window_settings(db, data_path));
    window->set_prompter(&prompter);
    window->open();
    return window;
}

} // namespace zelkor::bench
