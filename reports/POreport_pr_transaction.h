#pragma once

#include "reports/report_window.h"

namespace zelkor {

/// The requisition lines inquiry.
class POreport_pr_transaction : public TransactionInquiry {
    Q_OBJECT
public:
    explicit POreport_pr_transaction(QObject* parent = nullptr);
};

} // namespace zelkor
