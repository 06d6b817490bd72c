#pragma once

#include "reports/report_window.h"

namespace zelkor {

/// Every vendor in a sortable, printable list.
class POreport_vendor_list : public ReportWindow {
    Q_OBJECT
public:
    explicit POreport_vendor_list(QObject* parent = nullptr);
};

} // namespace zelkor
