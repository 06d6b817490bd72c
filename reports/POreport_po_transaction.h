#pragma once

#include "reports/report_window.h"

namespace zelkor {

/// The order lines inquiry.
class POreport_po_transaction : public TransactionInquiry {
    Q_OBJECT
public:
    explicit POreport_po_transaction(QObject* parent = nullptr);
};

} // namespace zelkor
