#pragma once

#include "reports/report_window.h"

namespace zelkor {

/// The purchase taxes of receipt and bill lines for one currency.
class POreport_purchase_tax : public ReportWindow {
    Q_OBJECT
public:
    explicit POreport_purchase_tax(QObject* parent = nullptr);
};

} // namespace zelkor
