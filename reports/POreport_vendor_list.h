#pragma once

#include "reports/report_window.h"

namespace zelkor {

/// Every vendor of the company in a sortable, printable list; a row opens its vendor master.
class POreport_vendor_list : public ReportWindow {
    Q_OBJECT
public:
    explicit POreport_vendor_list(QObject* parent = nullptr);

protected:
    [[nodiscard]] std::expected<ReportSelection, QString> selection() override;
    bool run_command(int id) override;
    bool on_row_activated(Grid& grid, int row) override;
};

} // namespace zelkor
