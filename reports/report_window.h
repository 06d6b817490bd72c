#pragma once

#include "forms/common/window_model.h"

namespace zelkor {

/// The commands the inquiry and report windows share.
enum class ReportCommand : int {
    PageSetup = 102,
    Find = 104,
    PrintColumn = 1001,
    MoreSearchCriteria = 1002,
    Sort = 1003,
    Clear = 1004,
    Freeze = 1005,
    Origin = 1006,
    ApInformation = 1007,
    Font = 1008,
    ByDocument = 1010,
    ByTaxAuthority = 1011,
};

/// A read-only window that lists rows by filters and prints them: the base of the inquiries and
/// reports. The query itself is each window's own.
class ReportWindow : public WindowModel {
    Q_OBJECT
public:
    ReportWindow(QString class_name, QString caption, QObject* parent);

    /// Empties every filter field.
    virtual void clear_filters();
    /// Runs the window's query into its grid.
    virtual void run_inquiry();
    /// How many times the query ran (the hosts and tests see whether an opening ran it).
    int inquiries_run() const { return m_inquiries_run; }

protected:
    bool run_command(int id) override;
    /// Declares the result grid (read-only) with its column captions.
    Grid& declare_result_grid(const QStringList& columns);
    /// File, format, option and run commands of every report window.
    void declare_report_commands();

    int m_inquiries_run = 0;
};

/// One of the four transaction inquiries (requisition, order, receipt and bill lines).
class TransactionInquiry : public ReportWindow {
    Q_OBJECT
public:
    /// Fills the date range from January 1, 2000 to today and the status "Open", then runs the
    /// inquiry: the "pending" opening of the requisition and order inquiries.
    void show_pending();

protected:
    TransactionInquiry(QString class_name, QString caption, const QString& shortcut_field,
                       const QString& shortcut_caption, QObject* parent);
};

} // namespace zelkor
