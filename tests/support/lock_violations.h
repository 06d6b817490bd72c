#pragma once
// Lock-order violations collected instead of failing the test, for tests of the recorder itself.

#include "core/db/lock_order.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace zelkor::testing {

/// Collects the violations for as long as it lives, then puts back the handler that fails the test.
class CollectedViolations {
public:
    CollectedViolations()
    {
        LockOrderRecorder::set_handler([this](const QString& violation) { seen << violation; });
    }
    ~CollectedViolations()
    {
        LockOrderRecorder::set_handler([](const QString& violation) { ADD_FAILURE() << violation.toStdString(); });
    }
    CollectedViolations(const CollectedViolations&) = delete;
    CollectedViolations& operator=(const CollectedViolations&) = delete;
    QStringList seen;
};

} // namespace zelkor::testing
