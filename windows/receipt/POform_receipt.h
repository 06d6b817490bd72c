#pragma once

#include "documents/receipt/receipt_document.h"
#include "documents/receipt/receipt_save.h"
#include "windows/document/purchasing_window.h"

#include <memory>
#include <optional>
#include <set>

namespace zelkor {

/// The goods receipt window: goods arriving from a vendor against one or more orders. The model
/// keeps the fields, the line grid dbgridrc, the pick grid of open order lines dbgridpo and the
/// panes; header fields live in POform_receipt.cpp, the order list and picking in
/// receipt_orders.cpp, cell editing in receipt_cells.cpp, the typed lines in receipt_lines.cpp,
/// the commands in receipt_commands.cpp, checks in receipt_verify and writing in receipt_save.
class POform_receipt : public PurchasingWindow {
    Q_OBJECT
public:
    enum class Command : int {
        PoWindow = 1001,
        VendorPurchaseHistory = 1003,
        ItemPurchaseHistory = 1004,
        Landed = 1005,
        IcRecord = 1006,
        LandedTaxDetails = 1007,
        PoRecord = 1008,
        ApRecord = 1009,
        LandedApRecord = 1010,
        BillRecord = 1011,
        ReceiptStockItemOnly = 1012,
        EnterBill = 1013,
        ShipToVendorAddress = 1014,
    };

    explicit POform_receipt(QObject* parent = nullptr);
    ~POform_receipt() override;

    Grid& lines() const { return *m_lines; }
    Grid& order_lines() const { return *m_order_lines; }
    /// The landed charges dbgrid_landed: typed in new and edit mode.
    Grid& landed_lines() const { return *m_landed; }
    /// The tax elements of the landed charges, by their line number.
    const TaxElementStore& landed_taxes() const { return m_landed_taxes; }

    /// Puts the header fields back to their defaults (today's date and its period, the base
    /// currency, the default warehouse), keeping a vendor a hand-off has chosen.
    void reset_header_fields() override;
    /// Fills the header from the order chosen in the "pono" drop-down and lists its lines in the
    /// pick grid (with "Multiple PO" ticked, adds them to the lines already listed).
    virtual void load_order_lines();
    /// Takes the order line at `row` of the pick grid into the first free receipt line: what a
    /// double click on it, or Enter, does.
    bool pick_order_line(int row);
    void calculate_totals() override;

protected:
    [[nodiscard]] std::expected<void, Error> load_window_lists() override;
    bool run_command(int id) override;
    Entry check_field(const QString& name, const QString& previous) override;
    Entry check_cell(Grid& grid, int row, int column, const QString& previous) override;
    bool begin_new() override;
    bool begin_edit() override;
    bool on_row_activated(Grid& grid, int row) override;
    /// Deletes an unsaved landed charge; a saved one stays ("Cannot delete item. Use void item.").
    bool on_row_delete(Grid& grid, int row) override;
    void discard_changes(Mode left) override;
    void show_nothing() override;

    [[nodiscard]] std::expected<bool, Error> load_document(const QString& key) override;
    bool save_new() override;
    bool save_edit() override;
    bool print_document() override;
    QString document_name() const override { return QStringLiteral("Receipt"); }
    HelpDocuments help_documents() const override { return {QStringLiteral("Receipt Entry Help.pdf")}; }
    Grid& line_grid() const override { return *m_lines; }

private:
    // POform_receipt.cpp
    Entry vendor_chosen() override;
    void set_new_document_fields(bool editable);
    // receipt_orders.cpp
    Entry load_order_list();
    [[nodiscard]] std::expected<bool, Error> add_order_lines(const QString& number);
    void show_order_header(const Row& order);
    // receipt_lines.cpp
    [[nodiscard]] std::expected<Receipt, Error> read_receipt() const;
    ReceiptHeader read_header() const;
    void show_line(int row, const Row& line);
    void show_landed_line(int row, const Row& line);
    [[nodiscard]] std::expected<void, Error> read_landed_lines(Receipt& receipt) const;
    // receipt_cells.cpp
    Entry line_cell_typed(int row, const QString& caption);
    Entry bill_field_typed(const QString& name);
    /// What typing into a landed charge's cell checks and fills in, by the cell's column.
    Entry landed_cell_typed(int row, const QString& caption);
    Entry landed_vendor_typed(int row, const QString& caption, const QString& value);
    Entry landed_bill_date_typed(int row, const QString& caption, const QString& value);
    Entry landed_charge_typed(int row, const QString& caption, const QString& value);
    Entry landed_amount_typed(int row, const QString& caption, const QString& value);
    Entry landed_tax_code_typed(int row, const QString& caption, const QString& value);
    Entry landed_account_typed(int row, const QString& caption, const QString& value);
    /// Computes a landed charge's tax from its code and extended cost, and the totals.
    void recompute_landed_tax(int row);
    void refresh_landed_tax_pane();
    /// The discount amount a typed discount percent gives on the total.
    void apply_discount_percent();
    // receipt_commands.cpp
    [[nodiscard]] std::expected<Receipt, Error> checked_receipt(Mode saving);
    /// Asks the questions about the order lines and shows the capacity warnings; false when the
    /// clerk says No or Cancel.
    [[nodiscard]] std::expected<bool, Error> confirm_quantities(const Receipt& receipt, ReceiptSaving& saving);
    /// Checks, asks and saves: the new or the edited receipt.
    bool save(Mode saving);
    bool void_document();
    bool enter_bill();
    bool linked_document(Command id);
    /// Asks the host for the payable of the bill entered with the receipt, a landed charge's
    /// payable or the bill (1009, 1010, 1011).
    bool payable_record(Command id);
    /// Tells the clerk of the prepayments waiting for the receipt's order that it does not apply.
    [[nodiscard]] std::expected<void, Error> show_waiting_prepayments(const Receipt& receipt);
    void refresh_panes();

    Grid* m_lines = nullptr;
    Grid* m_order_lines = nullptr;
    Grid* m_landed = nullptr;
    TaxElementStore m_landed_taxes;
    TaxElementStore m_shown_landed_taxes; ///< put back when an edit is left unsaved
    std::set<int> m_saved_landed_lines;   ///< the line numbers of the shown receipt's stored charges
    std::unique_ptr<TaxPanes> m_landed_tax_pane;
    Grid* m_vendor_history = nullptr;
    Grid* m_item_history = nullptr;
};

} // namespace zelkor
