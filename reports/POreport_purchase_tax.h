#pragma once

#include "reports/report_window.h"

namespace zelkor {

/// The purchase taxes carried by receipt and bill lines in one currency, over a fiscal period
/// or a date range, by line, by document and authority, or by authority.
class POreport_purchase_tax : public ReportWindow {
    Q_OBJECT
public:
    /// The three arrangements of the report.
    enum class View { ByLine, ByDocument, ByAuthority };

    explicit POreport_purchase_tax(QObject* parent = nullptr);

    View view() const { return m_view; }
    bool run_inquiry() override;

protected:
    [[nodiscard]] std::expected<ReportSelection, QString> selection() override;
    std::optional<DateRange> printed_dates() const override { return m_dates_used; }
    std::vector<std::pair<QString, QString>> printed_fields() const override;
    SqlText totals_sql(const ReportSelection& selection) const override;
    bool run_command(int id) override;
    void on_open() override;
    void on_closing() override;

private:
    /// The tax slots of the receipt and bill lines the filters select, one row per slot.
    [[nodiscard]] std::expected<SqlText, QString> tax_slots() const;
    bool run_view(View view);

    View m_view = View::ByLine;
    std::optional<DateRange> m_dates_used;
};

} // namespace zelkor
