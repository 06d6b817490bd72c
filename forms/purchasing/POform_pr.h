#pragma once

#include "forms/purchasing/purchasing_window.h"
#include "forms/purchasing/pr_document.h"
#include "forms/purchasing/pr_lists.h"
#include "forms/purchasing/pr_load.h"
#include "forms/purchasing/purchase_tax.h"

#include <memory>

namespace zelkor {

/// The purchase requisition window: who asks for what, for which warehouse, by when. The model
/// keeps the window's state and routes each action to the requisition routines: checks
/// (pr_verify), cell editing (pr_cells), saving (pr_save), reading and browsing (pr_load),
/// printing (pr_print) and the stock panes (purchasing_stock_panes).
class POform_pr : public PurchasingWindow {
    Q_OBJECT
public:
    enum Command : int {
        PoRecord = 1001,
        IssuePo = 1002,
        ClosePr = 1003,
        ReorderingStockItems = 1004,
    };

    explicit POform_pr(QObject* parent = nullptr);
    ~POform_pr() override;

    /// The internal key of the shown requisition; empty when none is shown.
    const QString& document_key() const { return m_key; }
    /// Shows the requisition whose number is in the number box ("document not found" when
    /// there is none).
    virtual void display_by_number();
    /// The tax elements of the open document.
    const TaxElementStore& tax_elements() const { return m_taxes; }
    /// The workstation's name, written to every line saved here.
    static QString computer_id();

protected:
    void on_open() override;
    bool run_command(int id) override;
    Entry check_field(const QString& name, const QString& previous) override;
    Entry check_cell(Grid& grid, int row, int column, const QString& previous) override;
    bool begin_new() override;
    bool begin_edit() override;
    void discard_changes(Mode left) override;

private:
    Grid& lines() const;
    Database& db() const;
    bool refuse(const Error& error);
    bool refuse(const QString& message);

    // Header
    Entry vendor_chosen(const QString& vendor_no);
    Entry vendor_name_chosen();
    Entry currency_chosen();
    Entry choice_typed(const QString& name, const Choices& list, const QString& message);
    Entry date_typed(const QString& name);
    void show_default_ship_to();
    PrHeader header_values() const;
    void show_totals();

    // Lines
    Entry line_cell_typed(int row, int column, const QString& previous);
    Entry taxable_amount_typed(int row);
    void current_line_changed();
    void renumber_lines();
    bool insert_line();
    bool delete_line();
    void refresh_tax_panes();

    // Saving
    [[nodiscard]] std::expected<std::vector<PrLine>, Error> checked_lines(Mode mode);
    bool save_new() override;
    bool save_edit() override;
    PrAudit audit() const;

    // Showing
    void show_document(const PrDocument& document);
    void show_line(int row, const Row& line, std::map<QString, TaxAuthorities>& authorities);
    bool show_key(const QString& key);
    void show_nothing();
    bool go_last();
    bool go_step(KeyStep step);
    bool refresh_record();
    /// The saved requisition behind the number box, or the message "Document no. ... not found".
    std::optional<PrDocument> shown_document();
    bool outside_read_mode();

    // Commands
    bool copy_to_new();
    bool close_requisition();
    bool delete_requisition();
    bool issue_po();
    bool po_record();
    bool print_requisition();
    bool show_help(int id);
    void fill_stock_by_location();
    void fill_stock_by_items();

    QString m_key;
    PrLists m_lists;
    TaxElementStore m_taxes;
    std::unique_ptr<TaxPanes> m_tax_panes;
    QDate m_rate_date;
};

} // namespace zelkor
