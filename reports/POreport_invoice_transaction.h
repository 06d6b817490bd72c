#pragma once

#include "reports/report_window.h"

namespace zelkor {

/// The bill lines inquiry.
class POreport_invoice_transaction : public TransactionInquiry {
    Q_OBJECT
public:
    explicit POreport_invoice_transaction(QObject* parent = nullptr);

protected:
    bool run_command(int id) override;
};

} // namespace zelkor
