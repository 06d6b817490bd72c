#pragma once

#include "documents/order/po_document.h"
#include "documents/order/po_templates.h"
#include "windows/document/purchasing_window.h"

#include <optional>

namespace zelkor {

/// The purchase order window: what is ordered from one vendor. The model keeps the fields,
/// the line grid dbgridpo and the panes; checks live in po_verify, cell editing in po_cells.cpp,
/// the typed lines in po_lines.cpp, writing in po_save and po_lifecycle, the requisition link in
/// po_requisition*.
class POform_po : public PurchasingWindow {
    Q_OBJECT
public:
    enum class Command : int {
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

    Grid& lines() const { return *m_lines; }

    /// Puts the header fields back to their defaults (default warehouse, today's date).
    void reset_header_fields() override;
    /// Fills the lines from the requisition whose key is in the "requisition_key" field.
    virtual void fill_lines_from_requisition();
    void calculate_totals() override;

    /// Takes one line of the requisition shown in the requisition pane (its grid row) into the
    /// first empty order row; what a double-click on the line does.
    bool take_over_requisition_line(int row);
    /// Takes every line of the requisition shown in the requisition pane.
    bool take_over_requisition();
    /// Shows the requisition with this number in the requisition pane.
    bool show_requisition(const QString& docno);

protected:
    bool run_command(int id) override;
    Entry check_field(const QString& name, const QString& previous) override;
    Entry check_cell(Grid& grid, int row, int column, const QString& previous) override;
    bool begin_new() override;
    bool begin_edit() override;

    [[nodiscard]] std::expected<bool, Error> load_document(const QString& key) override;
    bool save_new() override;
    bool save_edit() override;
    bool print_document() override;
    void prepare_copy() override;
    QString document_name() const override { return QStringLiteral("PO"); }
    HelpDocuments help_documents() const override { return {QStringLiteral("Purchase Order Help.pdf")}; }
    Grid& line_grid() const override { return *m_lines; }

private:
    // po_lines.cpp
    [[nodiscard]] std::expected<Order, Error> read_order() const;
    OrderHeader read_header() const;
    void show_header(const Row& header);
    /// Shows a stored order line (its row in PO_transaction_table) in a grid row.
    void show_line(int row, const Row& line);
    /// The columns an order line and a template line share; its continuation rows follow it.
    void show_shared_columns(int row, const Row& line);
    int first_free_row();
    // po_commands.cpp
    [[nodiscard]] std::expected<Order, Error> checked_order(Mode saving);
    bool close_order();
    bool void_order();
    bool activate_order();
    bool activate_all_orders();
    bool receive_goods();
    bool enter_bill();
    bool linked_documents(Command id);
    bool delete_line();
    // po_cells.cpp
    Entry line_cell_typed(int row, const QString& caption, const QString& previous);
    Entry vendor_item_code_entered(int row);
    // po_template_commands.cpp
    /// Whether the window is writing a template instead of an order.
    enum class TemplateWork { None, New, Edit };
    bool new_template();
    bool copy_to_new_template();
    bool edit_template();
    bool remove_template();
    bool save_as_template();
    Entry template_chosen();
    bool save_new_template();
    bool save_edited_template();
    /// The template checks shared by a new and an edited template; gives the window's order.
    [[nodiscard]] std::expected<Order, Error> checked_template();
    void start_template_work(TemplateWork work);
    void leave_template_work();
    void reload_templates();
    void show_template(const StoredTemplate& stored);
    bool propose_reorders();
    // POform_po.cpp
    /// The templates are the window's own list.
    [[nodiscard]] std::expected<void, Error> load_window_lists() override;
    Entry vendor_chosen() override;
    void save_vendor_address();
    void refresh_panes();
    void refresh_history();

    Grid* m_lines = nullptr;
    Grid* m_requisition_lines = nullptr;
    Grid* m_item_history = nullptr;
    Grid* m_vendor_history = nullptr;
    TaxElementStore m_requisition_taxes;
    QString m_requisition_key;     ///< the requisition shown in the requisition pane
    TemplateWork m_template_work = TemplateWork::None;
};

} // namespace zelkor
