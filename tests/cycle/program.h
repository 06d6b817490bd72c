#pragma once
// What the cycle tests' helper programs (the crash child, the walker) share.

#include "core/db/database.h"

#include <QString>

#include <memory>

namespace zelkor::cycle {

/// Opens the company a program's --db names; says why on stderr and gives null when it cannot.
std::unique_ptr<Database> open_company(const QString& location);

} // namespace zelkor::cycle
