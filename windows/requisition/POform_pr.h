#pragma once

#include "core/audit_stamp.h"
#include "documents/common/document_lists.h"
#include "documents/requisition/pr_document.h"
#include "documents/requisition/pr_load.h"
#include "windows/document/document_window.h"

namespace zelkor {

/// The purchase requisition window: who asks for what, for which warehouse, by when. The model
/// keeps the window's state and routes each action to the requisition routines: checks
/// (pr_verify), cell editing (pr_cells), saving (pr_save), reading (pr_load) and printing
/// (pr_print); showing, browsing and the panes come from DocumentWindow.
class POform_pr : public DocumentWindow {
    Q_OBJECT
public:
    enum class Command : int {
        PoRecord = 1001,
        IssuePo = 1002,
        ClosePr = 1003,
        ReorderingStockItems = 1004,
    };

    explicit POform_pr(QObject* parent = nullptr);
    ~POform_pr() override;

    /// The workstation's name, written to every line saved here.
    static QString computer_id() { return workstation_name(); }

protected:
    void on_open() override;
    bool run_command(int id) override;
    Entry check_field(const QString& name, const QString& previous) override;
    Entry check_cell(Grid& grid, int row, int column, const QString& previous) override;
    bool begin_new() override;
    bool begin_edit() override;
    void discard_changes(Mode left) override;

    [[nodiscard]] std::expected<bool, Error> load_document(const QString& key) override;
    bool save_new() override;
    bool save_edit() override;
    bool print_document() override;
    void prepare_copy() override;
    QString document_name() const override { return QStringLiteral("PR"); }
    HelpDocuments help_documents() const override { return {QStringLiteral("Purchase Requisition Help.pdf")}; }
    Grid& line_grid() const override;

private:
    Database& db() const;

    // Header
    Entry vendor_chosen(const QString& vendor_no);
    Entry vendor_name_chosen();
    /// The rates of the document currency (none for the base currency).
    Entry show_rates();
    Entry choice_typed(const QString& name, const Choices& list, const QString& message);
    Entry date_typed(const QString& name);
    bool show_default_ship_to();
    PrHeader header_values() const;
    void show_totals();

    // Lines
    Entry line_cell_typed(int row, int column, const QString& previous);
    Entry taxable_amount_typed(int row);
    void current_line_changed();
    void renumber_lines();
    bool delete_line();

    // Saving
    [[nodiscard]] std::expected<std::vector<PrLine>, Error> checked_lines(Mode mode);

    // Showing
    void show_document(const PrDocument& document);
    void show_line(int row, const Row& line, std::map<QString, TaxAuthorities>& authorities);
    /// The saved requisition behind the number box, or the message "Document no. ... not found".
    std::optional<PrDocument> shown_document();
    bool outside_read_mode();

    // Commands
    bool close_requisition();
    bool delete_requisition();
    bool issue_po();
    bool po_record();
    bool propose_reorders();

    DocumentLists m_lists;
    QDate m_rate_date;
    QString m_vendor_tax_code; ///< the chosen vendor's tax code, the default of new lines
};

} // namespace zelkor
