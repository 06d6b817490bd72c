#pragma once

#include "core/db/background_query.h"
#include "reports/report_query.h"
#include "windows/base/window_model.h"
#include "windows/print/pdf_list_writer.h"

#include <QDate>

#include <expected>
#include <optional>

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
    ExportCsv = 1012,
};

/// What names a report: the title of its printout, the stem of its files and the notification
/// that opens the document of a row.
struct ReportIdentity {
    QString title;
    QString stem;
    QString origin{};
};

/// The pages of a report's side panel and the commands that go with them.
struct ReportPanel {
    bool search = true; ///< more filters ("&More Search Criteria")
    bool sort = true;   ///< the Sort page ("&Sort")
    bool origin = true; ///< "Origin" opens the row's document
};

/// A from and a to date the user asked for.
struct DateRange {
    QDate from;
    QDate to;
};

/// A read-only window that lists rows by filters, sorts them, totals them per currency,
/// prints them and exports them: the base of the inquiries and reports. A window declares
/// its filters, its ReportQuery (columns, tables, currency, void rows, orders) and turns its
/// filters into a ReportSelection; the base runs it a page at a time (the next page starts
/// after the last row's order keys, so a deep page costs what the first does), totals it in
/// one aggregate over the same selection, and prints or exports every row of it.
class ReportWindow : public WindowModel {
    Q_OBJECT
public:
    /// Rows read a page at a time.
    static constexpr int PageRows = 500;

    ReportWindow(QString class_name, QString caption, QObject* parent);
    ~ReportWindow() override;

    /// Empties every filter field.
    virtual void clear_filters();
    /// Runs the report into its grid ("Find"); false when a filter was refused or reading failed.
    /// The first page shows at once; when more pages follow, the count and totals are read in
    /// the background (the clerk may cancel them) and fill the totals grid when they are in.
    virtual bool run_inquiry();
    /// Waits for the count and totals of the last run; false when they failed, were cancelled
    /// or nothing ran.
    bool wait_for_totals();
    /// How many times the query ran (the hosts and tests see whether an opening ran it).
    int inquiries_run() const { return m_inquiries_run; }
    /// The rows the last run selected (all of them, not only those read so far), once counted.
    qint64 selected_rows() const { return m_selected_rows; }

    Grid& results() const { return *m_results; }
    Grid& totals() const { return *m_totals; }
    /// What the report reads (its arrangement of the moment).
    const ReportQuery& query() const { return m_query; }

protected:
    /// Declares the result grid (read-only), the totals grid, and the side panel with its
    /// "Print Columns" page and the pages `panel` asks for.
    void declare_report(ReportQuery query, ReportIdentity identity, ReportPanel panel = {});
    /// File, format, option and run commands of every report window, as `panel` asks for them.
    void declare_report_commands(ReportPanel panel);
    /// The side panel holding the "Search" fields, Print Columns and Sort.
    static inline const QString SidePanel = QStringLiteral("print_column_search_sort");

    /// The window's filters as the rows to read, or the message that refuses them.
    [[nodiscard]] virtual std::expected<ReportSelection, QString> selection() = 0;
    /// The dates printed under the title when the run used them.
    virtual std::optional<DateRange> printed_dates() const { return std::nullopt; }
    /// Lines printed under the title besides the dates (currency, period, authority).
    virtual std::vector<std::pair<QString, QString>> printed_fields() const { return {}; }
    /// The totals of the selection; by default per currency over the rows not void.
    virtual SqlText totals_sql(const ReportSelection& selection) const;
    /// The order the user chose on the Sort page, then the default order.
    std::vector<SortKey> chosen_order() const;
    void set_query(ReportQuery query);
    const ReportIdentity& identity() const { return m_identity; }

    /// The date range of a date box and its two fields: nothing when the box is not ticked, the
    /// user's date message when a ticked date is empty or wrong.
    [[nodiscard]] std::expected<std::optional<DateRange>, QString> date_range(const QString& box, const QString& from,
                                                                              const QString& to) const;
    /// The row's value in a result column; empty when none is selected.
    QString current_cell(const QString& caption) const;
    /// Notifies `formx` with the selected row's cell of `caption` when it is not empty.
    bool notify_for_row(const QString& formx, const QString& caption);

    /// Offers the fiscal years of Fiscalyear_table and the periods 1 to the host's number of
    /// periods in two drop-downs.
    void load_fiscal_lists(const QString& year_field, const QString& period_field);

    /// Remembered values of the window (Recent_value_table); the form name is the window's own
    /// unless remembered_form says otherwise.
    QString recall(const QString& control) const;
    void remember(const QString& control, const QString& value);
    virtual QString remembered_form() const { return class_name(); }

    bool run_command(int id) override;
    void on_open() override;
    /// A value typed into a drop-down must be one of its list's.
    Entry check_field(const QString& name, const QString& previous) override;

private:
    bool fetch_page();
    /// Counts and totals the selection on the window's own connection, waiting for it.
    bool count_now();
    /// Counts and totals it on a connection of its own, while the clerk reads the first page.
    void start_count();
    void count_read(const BackgroundQuery::Result& rows);
    void on_cancel_background_work() override;
    void fill_totals(const Rows& rows);
    void show_row_count();
    QStringList grid_row(const Row& row) const;
    void fill_print_columns();
    bool printed(int column) const;
    /// Every selected row, read a page at a time; false when reading failed.
    template <typename Each>
    bool for_each_selected_row(Each&& each);
    /// Printing and exporting need the print right; says so when the user lacks it.
    bool may_print();
    bool preview();
    bool export_csv();
    bool open_page_setup();
    void report_failure(const QString& sentence, const Error& error);

    ReportQuery m_query;
    ReportIdentity m_identity;
    Grid* m_results = nullptr;
    Grid* m_totals = nullptr;
    Grid* m_print_columns = nullptr;
    Grid* m_sort = nullptr;
    int m_strike_column = -1;
    int m_inquiries_run = 0;
    qint64 m_selected_rows = 0;
    bool m_counted = false; ///< the totals grid holds the last run's count and totals
    std::unique_ptr<BackgroundQuery> m_counting;
    std::optional<ReportSelection> m_selection;   ///< the last run's rows
    std::optional<std::vector<SqlValue>> m_after; ///< order keys of the last row read
};

/// One of the four transaction inquiries (requisition, order, receipt and bill lines).
class TransactionInquiry : public ReportWindow {
    Q_OBJECT
public:
    /// Fills the date range from January 1, 2000 to today and the status "Open", then runs the
    /// inquiry: the "pending" opening of the requisition and order inquiries.
    void show_pending();
    void clear_filters() override;

    /// The tables and names of one inquiry.
    struct Tables {
        QString lines;       ///< "PO_transaction_table"
        QString date;        ///< the document date column, qualified
        QString vendor;      ///< the document's vendor column, qualified
        std::vector<std::pair<QString, QString>> shortcuts; ///< shortcut field -> line column; the first given wins
        std::vector<std::pair<QString, QString>> statuses;  ///< status text -> clause
        QString unfiltered_status{}; ///< the clause of an empty status or "All" (none adds nothing)
        bool requested_user = false; ///< whether the requested user filters (requisitions)
    };

    /// The usual joins of the names every inquiry shows.
    static QString name_joins(const QString& vendor_column, const QString& account_column, const QString& item_column);

    /// The columns the inquiries share, from the qualified names of their tables ("PO_transaction_table.").
    struct Columns {
        /// "vendor no" and "vendor name".
        static std::vector<ReportColumn> vendor(const QString& vendor_column);
        /// "item no", "item code", "item type", "description".
        static std::vector<ReportColumn> item(const QString& lines, const QString& description = QStringLiteral("description"));
        /// "unit cost", "tax included", the extended cost and the net cost under the window's
        /// captions, "tax code", "tax amount".
        static std::vector<ReportColumn> price(const QString& lines, const QString& extended_caption,
                                               const QString& net_caption);
        /// "account", "account name".
        static std::vector<ReportColumn> account(const QString& lines);
        /// The orders a user may choose, by caption.
        static std::vector<std::pair<QString, QString>> sorts(const QString& lines, const QString& date,
                                                              const QString& quantity, const QString& vendor);
        /// Document number and line, landed lines first where a document has them, then the key.
        static std::vector<SortKey> default_order(const QString& lines, bool landed_first);
    };

protected:
    TransactionInquiry(QString class_name, QString caption, Tables tables, QObject* parent);

    [[nodiscard]] std::expected<ReportSelection, QString> selection() override;
    std::optional<DateRange> printed_dates() const override;
    void on_open() override;
    void on_closing() override;
    Entry check_field(const QString& name, const QString& previous) override;

    const Tables& tables() const { return m_tables; }

private:
    void declare_filters();
    void load_filter_lists();
    /// A category takes the place of the item group and codes, a vendor group that of the vendor.
    void apply_filter_precedence();
    void add_vendor_filters(ReportSelection& selection) const;
    void add_item_filters(ReportSelection& selection) const;
    bool shortcut_selection(ReportSelection& selection) const;
    QString company_condition() const;
    void remember_dates();

    Tables m_tables;
    std::optional<DateRange> m_dates_used;
};

} // namespace zelkor
