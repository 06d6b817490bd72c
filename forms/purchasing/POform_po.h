#pragma once

#include "forms/common/document_navigation.h"
#include "forms/purchasing/purchasing_window.h"
#include "forms/purchasing/po_document.h"
#include "forms/purchasing/purchase_tax.h"

#include <memory>
#include <optional>

namespace zelkor {

/// The purchase order window: what is ordered from one vendor. The model keeps the fields,
/// the line grid dbgridpo and the panes; checks live in po_verify.cpp, cell editing in
/// po_cells.cpp, writing in po_save.cpp and po_lifecycle.cpp, the requisition link in
/// po_requisition*.cpp.
class POform_po : public PurchasingWindow {
    Q_OBJECT
public:
    enum Command : int {
        PrWindow = 1001,
        PrRecord = 1002,
        VendorPurchaseHistory = 1003,
        ItemPurchaseHistory = 1004,
        NewTemplate = 1005,
        EditTemplate = 1006,
        SaveAsTemplate = 1007,
        ReceiptRecord = 1008,
        BillRecord = 1009,
        ReceivingGoods = 1010,
        EnterBill = 1011,
        ClosePo = 1012,
        ActivateThisFuturePo = 1013,
        ActivateAllFuturePos = 1014,
        ReorderingStockItems = 1016,
        ShipToVendorAddress = 1017,
        CopyToNewTemplate = 1018,
        DeleteTemplate = 1019,
    };

    explicit POform_po(QObject* parent = nullptr);
    ~POform_po() override;

    const QString& document_key() const { return m_key; }
    Grid& lines() const { return *m_lines; }
    const TaxElementStore& tax_elements() const { return m_taxes; }

    /// Shows the order whose number is in the number box.
    virtual void display_by_number();
    /// Puts the header fields back to their defaults (default warehouse, today's date).
    virtual void reset_header_fields();
    /// Enters new mode on a cleared window without asking anything.
    virtual void enter_new_mode();
    /// Fills the lines from the requisition whose key is in the "requisition_key" field.
    virtual void fill_lines_from_requisition();
    /// Recomputes the footer totals from the lines.
    virtual void calculate_totals();

    /// Takes one line of the requisition shown in the requisition pane (its grid row) into the
    /// first empty order row; what a double-click on the line does.
    bool take_over_requisition_line(int row);
    /// Takes every line of the requisition shown in the requisition pane.
    bool take_over_requisition();
    /// Shows the requisition with this number in the requisition pane.
    bool show_requisition(const QString& docno);

protected:
    void on_open() override;
    bool run_command(int id) override;
    Entry check_field(const QString& name, const QString& previous) override;
    Entry check_cell(Grid& grid, int row, int column, const QString& previous) override;
    bool begin_new() override;
    bool begin_edit() override;
    void discard_changes(Mode left) override;

private:
    // po_verify.cpp
    bool verify_header(Mode mode);
    bool verify_detail();
    bool verify_quantities_received();
    // po_lines.cpp
    Order read_order() const;
    OrderHeader read_header() const;
    void show_line(int row, const Row& line);
    void renumber_lines();
    void recompute_line_tax(int row);
    std::optional<Decimal> extended_cost_of(int row) const;
    int first_free_row();
    // po_navigation.cpp
    bool load_order(const QString& fkey);
    void show_header(const Row& header);
    bool last_record();
    bool next_record(KeyStep step);
    // po_commands.cpp
    bool checked_for_save(Mode saving);
    /// Shows the message of a failed routine when it has one for the user, then `failed`.
    void report_failure(const Error& error, const QString& failed);
    /// Shows `text` when `condition` holds; gives the condition.
    bool refuse_when(bool condition, const QString& text);
    bool save_new() override;
    bool save_edit() override;
    bool close_order();
    bool void_order();
    bool activate_order();
    bool activate_all_orders();
    bool receive_goods();
    bool enter_bill();
    bool linked_documents(int id);
    bool print_order();
    bool delete_line();
    std::optional<Row> stored_header(const QString& message_when_missing);
    // po_cells.cpp
    Entry item_code_entered(int row, const QString& previous);
    Entry taxable_amount_entered(int row);
    Entry vendor_item_code_entered(int row);
    void fill_item_defaults(int row, const Row& item);
    // POform_po.cpp
    void vendor_chosen();
    void shipto_chosen();
    void currency_chosen();
    void save_vendor_address();
    void load_lists();
    /// The units the line at `row` may use (every unit when no row or no stock item).
    [[nodiscard]] std::expected<Choices, Error> line_units(int row) const;
    /// Offers the units of the line at `row` in the unit drop-down.
    void offer_line_units(int row);
    void refresh_panes();
    void refresh_history();
    void refresh_stock();

    Grid* m_lines = nullptr;
    Choices m_all_units;
    Grid* m_requisition_lines = nullptr;
    Grid* m_item_history = nullptr;
    Grid* m_vendor_history = nullptr;
    Grid* m_stock_by_location = nullptr;
    Grid* m_stock_by_item = nullptr;
    std::unique_ptr<TaxPanes> m_tax_panes;
    TaxElementStore m_taxes;
    TaxElementStore m_requisition_taxes;
    TaxElementStore m_shown_taxes; ///< the elements when edit mode began
    QString m_key;
    QString m_requisition_key; ///< the requisition shown in the requisition pane
    QString m_vendor_tax_code; ///< the chosen vendor's tax code, the default of new lines
};

} // namespace zelkor
