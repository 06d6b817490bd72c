#pragma once

#include "documents/bill/bill_document.h"
#include "windows/document/billing_window.h"

#include <QHash>
#include <QSet>

namespace zelkor {

/// The vendor bill window: a vendor's invoice matched to what was received, to an order's lines,
/// or typed directly. The model keeps the fields, the bill lines dbgrid1 and the panes; header
/// fields live in POform_invoice.cpp, taking receipt and order lines in invoice_sources.cpp, the
/// history panes in invoice_history.cpp, cell editing in invoice_cells.cpp, the typed bill in
/// invoice_lines.cpp, the commands in invoice_commands.cpp and the checks of a save in
/// invoice_verify.
class POform_invoice : public BillingWindow {
    Q_OBJECT
public:
    enum class Command : int {
        ReceiptWindow = 1001,
        PoWindow = 1002,
        ReceiptHistory = 1004,
        IcRecord = 1006,
        ApRecord = 1008,
        PoRecord = 1009,
        ReceiptRecord = 1010,
        InvoiceHistory = 1011,
        VendorAddress = 1012,
    };

    explicit POform_invoice(QObject* parent = nullptr);
    ~POform_invoice() override;

    Grid& lines() const { return *m_lines; }
    Grid& receipt_lines() const { return *m_receipt_lines; }
    Grid& order_lines() const { return *m_order_lines; }

    /// Puts the header fields back to their defaults (today's date and its period, the base
    /// currency, "Pay Later"), keeping a vendor already chosen.
    void reset_header_fields() override;
    /// Takes the open lines of the receipt in the "receipt_no" field into the bill (with
    /// "Multiple receipts" ticked, beside the lines already there), landed charges first.
    virtual void load_receipt_lines();
    /// Lists the lines of the order in the "po_no" field in the order pane.
    void load_order_lines();
    /// Takes the receipt line at `row` of the receipt pane into the bill (a double click).
    bool take_receipt_line(int row);
    /// Takes the order line at `row` of the order pane into the bill (a double click).
    bool take_order_line(int row);
    void calculate_totals() override;
    /// The checks of a save in their order, on the bill as typed; gives what the save hands to
    /// the bill writer. Nothing is written.
    [[nodiscard]] std::expected<CheckedBill, Error> checked_bill();

protected:
    [[nodiscard]] std::expected<void, Error> load_window_lists() override;
    bool run_command(int id) override;
    Entry check_field(const QString& name, const QString& previous) override;
    Entry check_cell(Grid& grid, int row, int column, const QString& previous) override;
    bool begin_new() override;
    bool begin_edit() override;
    bool on_row_activated(Grid& grid, int row) override;

    [[nodiscard]] std::expected<bool, Error> load_document(const QString& key) override;
    bool save_new() override;
    bool save_edit() override;
    bool print_document() override;
    QString document_name() const override { return QStringLiteral("Bill"); }
    HelpDocuments help_documents() const override { return {QStringLiteral("PO Bill Entry Help.pdf")}; }
    Grid& line_grid() const override { return *m_lines; }

private:
    // POform_invoice.cpp
    Entry vendor_chosen() override;
    /// The vendor's details, rates and the receipts and orders it has open for billing.
    Entry show_vendor();
    Entry date_chosen();
    /// Fields an edit cannot change (what was posted, and the prepayment already paid).
    void set_posted_fields_editable(bool editable);
    // invoice_sources.cpp
    [[nodiscard]] std::expected<void, Error> load_source_lists();
    Entry receipt_chosen();
    Entry order_chosen();
    /// Takes a receipt's open lines (all of them, or only `itemno` of goods or landed lines)
    /// into the bill and its pane; false after saying why a receipt cannot be billed here.
    bool take_receipt(const QString& number, std::optional<std::pair<bool, int>> only = std::nullopt);
    void show_receipt_line(int row, const Row& line);
    /// Adds a receipt line to the receipt pane.
    void list_receipt_line(const Row& line);
    /// A receipt line: receipt number, landed flag, line number.
    struct ReceiptLineKey {
        QString number;
        bool landed = false;
        int itemno = 0;
        bool operator==(const ReceiptLineKey&) const = default;
        friend size_t qHash(const ReceiptLineKey& key, size_t seed = 0) noexcept
        {
            return qHashMulti(seed, key.number, key.landed, key.itemno);
        }
    };
    /// The receipt lines the receipt pane and the bill's lines hold.
    QSet<ReceiptLineKey> receipt_pane_lines() const;
    QSet<ReceiptLineKey> taken_receipt_lines() const;
    void list_landed_lines(const QString& fkey);
    void show_order_line(int row, const Row& line);
    /// The cells a line taken from a receipt or an order copies alike: the item, tax code and
    /// account, its open quantity at the document's unit cost; then its number and tax.
    void show_taken_line(int row, const Row& line);
    /// After lines were taken: an empty line last, the bill changed, its totals.
    void lines_taken();
    void show_landed_taxes();
    /// Whether the document's currency is the bill's; says which it is when not.
    bool same_currency(const QString& document, const QString& number, const QString& currency);
    /// The bill's row of a receipt's goods or landed line, or of an order line not received; -1 when none.
    int receipt_line_row(const QString& number, bool landed, int itemno) const;
    int order_line_row(const QString& number, int itemno) const;
    /// Lines taken from receipts or orders belong to their vendor: a new vendor takes them away.
    void drop_document_lines();
    // invoice_history.cpp
    void refresh_histories();
    bool take_history_receipt(int row);
    // invoice_lines.cpp
    [[nodiscard]] std::expected<EnteredBill, Error> read_bill() const;
    [[nodiscard]] std::expected<EnteredBillHeader, Error> read_header() const;
    void show_line(int row, const Row& line);
    // invoice_cells.cpp
    Entry line_cell_typed(int row, const QString& caption);
    void current_line_changed();
    // invoice_commands.cpp
    bool save(Mode saving);
    /// The new bill's transaction and its messages.
    bool write_new(const CheckedBill& checked);
    /// The edited bill's transaction and its messages.
    bool write_edited(const CheckedBill& checked);
    bool void_document() override;
    bool linked_document(Command id);
    bool show_document_pane(Command id);
    void refresh_panes() override;

    Grid* m_lines = nullptr;
    Grid* m_receipt_lines = nullptr;
    Grid* m_order_lines = nullptr;
    Grid* m_landed_lines = nullptr;
    Grid* m_landed_taxes = nullptr;
    Grid* m_receipt_history = nullptr;
    Grid* m_invoice_history = nullptr;
    Grid* m_order_history = nullptr;
    Choices m_item_choices;                   ///< every item and charge, for lines of other types
    QString m_vendor_shown;                   ///< the vendor whose details the header shows
    QHash<QString, TaxElements> m_landed_tax; ///< the landed pane's elements, by its row's receipt and line
    std::optional<Decimal> m_stored_rate;     ///< the edited bill's rate as saved
};

/// Vendor bills as the window browses them by key number.
DocumentKind vendor_bills();

} // namespace zelkor
