#pragma once

#include "core/db/database.h"
#include "host/host_window.h"

namespace zelkor::host {

/// Tools > Check Company Data: runs every check of the company's data (reading only) and shows
/// the report in a child window; the verdict goes to the log too.
void show_data_check(HostWindow& window, Database& db);

} // namespace zelkor::host
