#pragma once

#include "reports/report_window.h"

namespace zelkor {

/// The ledger lines of one liability account (the payable-clearing account) in a fiscal year
/// or period, each with its vendor, as debits and credits.
class POreport_payable_clearing : public ReportWindow {
    Q_OBJECT
public:
    explicit POreport_payable_clearing(QObject* parent = nullptr);

    bool run_inquiry() override;

protected:
    [[nodiscard]] std::expected<ReportSelection, QString> selection() override;
    std::vector<std::pair<QString, QString>> printed_fields() const override;
    QString remembered_form() const override { return QStringLiteral("GLreport_income_statement"); }
    void on_open() override;
    void on_closing() override;
};

} // namespace zelkor
