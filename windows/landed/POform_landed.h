#pragma once

#include "documents/landed/landed_verify.h"
#include "windows/document/billing_window.h"

namespace zelkor {

/// The landed-cost window: a bill of extra charges from any vendor, spread over the goods of one
/// or several receipts of the goods vendor. Header fields and modes live in POform_landed.cpp,
/// cell editing in landed_cells.cpp, the typed and stored bill in landed_lines.cpp, the checks of
/// a save in landed_verify, the commands in landed_commands.cpp.
class POform_landed : public BillingWindow {
    Q_OBJECT
public:
    enum class Command : int {
        Receipt = 1001,
        IcRecord = 1006,
        ApRecord = 1008,
        PoRecord = 1009,
        ReceiptRecord = 1010,
    };

    explicit POform_landed(QObject* parent = nullptr);
    ~POform_landed() override;

    Grid& lines() const { return *m_lines; }
    /// The goods vendor's receipts (the receipt pane).
    Grid& vendor_receipts() const { return *m_vendor_receipts; }

    void reset_header_fields() override;
    void calculate_totals() override;
    /// The checks of a save in their order, on the bill as typed; nothing is written.
    [[nodiscard]] std::expected<CheckedLanded, Error> checked_bill();
    /// Takes the receipt at `row` of the receipt pane: the bill's receipt, or one more in the list.
    bool take_receipt(int row);

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
    QString document_name() const override { return QStringLiteral("Landed bill"); }
    HelpDocuments help_documents() const override { return {QStringLiteral("Landed Cost Entry Help.pdf")}; }
    Grid& line_grid() const override { return *m_lines; }

private:
    // POform_landed.cpp
    Entry goods_vendor_chosen();
    Entry receipt_chosen();
    /// Lists the goods vendor's live receipts from the pane's date on, newest first.
    void list_vendor_receipts();
    void set_posted_fields_editable(bool editable);
    // landed_cells.cpp
    Entry line_cell_typed(int row, const QString& caption);
    Entry charge_entered(int row);
    // landed_lines.cpp
    [[nodiscard]] std::expected<TypedLanded, Error> read_bill() const;
    QStringList chosen_receipts() const;
    void show_line(int row, const Row& line);
    [[nodiscard]] std::expected<void, Error> show_covered_receipts(const QString& number);
    // landed_commands.cpp
    bool save(Mode saving);
    bool void_document() override;
    void refresh_panes() override { refresh_tax_panes(); }
    bool linked_document(Command id);

    Grid* m_lines = nullptr;
    Grid* m_vendor_receipts = nullptr;
    Grid* m_covered = nullptr;
};

/// Landed bills as the window browses them by key number.
DocumentKind landed_bills();

} // namespace zelkor
