#pragma once

#include "reports/report_window.h"

namespace zelkor {

/// The receipt lines inquiry.
class POreport_receipt_transaction : public TransactionInquiry {
    Q_OBJECT
public:
    explicit POreport_receipt_transaction(QObject* parent = nullptr);
};

} // namespace zelkor
