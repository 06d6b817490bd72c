#pragma once

#include "reports/report_window.h"

namespace zelkor {

/// Ledger lines of one clearing account with their vendors.
class POreport_payable_clearing : public ReportWindow {
    Q_OBJECT
public:
    explicit POreport_payable_clearing(QObject* parent = nullptr);
};

} // namespace zelkor
