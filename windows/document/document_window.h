#pragma once

#include "core/document_versions.h"
#include "documents/common/document_navigation.h"
#include "windows/base/window_model.h"
#include "windows/document/tax_panes.h"
#include "windows/print/document_layout.h"

#include <QStringList>

#include <expected>
#include <memory>

namespace zelkor {

/// The help documents of a document window: its own and the module's.
struct HelpDocuments {
    QString window_file{}; ///< "Purchase Order Help.pdf"
};

/// What every document window (requisition, order, receipt, bill, landed bill) shares: the
/// shown document's key, showing a document by number, browsing by key number, refresh, the
/// dispatch of a save to the new or the edit routine with its rights check, copy to new, the
/// notifications to the master and help windows, and the tax and stock panes.
///
/// A window declares its number box as the field "docno", its vendor as "vendor_no", its ship-to
/// warehouse as "shipto", and its line grid with the columns "item no", "item code" and
/// "account"; the base addresses them by those names.
class DocumentWindow : public WindowModel {
    Q_OBJECT
public:
    /// The internal key of the shown document; empty when none is shown.
    const QString& document_key() const { return m_key; }
    /// Shows the document whose number is in the number box; a number nobody saved says so.
    virtual void display_by_number();
    /// The tax elements of the open document.
    const TaxElementStore& tax_elements() const { return m_taxes; }
    /// Puts the header fields back to their defaults for a new document.
    virtual void reset_header_fields();
    /// Enters new mode on the window as it is, without asking anything (a hand-off from another
    /// window); refused without the update right.
    bool enter_new_mode();

protected:
    DocumentWindow(QString class_name, QString caption, DocumentKind kind, QObject* parent);
    ~DocumentWindow() override;

    // What each window provides ----------------------------------------------------------------
    /// Reads the document with this key and shows it; false when there is no such document.
    [[nodiscard]] virtual std::expected<bool, Error> load_document(const QString& key) = 0;
    /// Saves the new document (new mode); true only when it committed.
    virtual bool save_new() = 0;
    /// Saves the edited document (edit mode); true only when it committed.
    virtual bool save_edit() = 0;
    /// Prints the shown document (command 103).
    virtual bool print_document() { return false; }
    /// What Copy To New clears beyond the number and key (references, flags, received quantities).
    virtual void prepare_copy() {}
    /// The message for a typed number that no document has.
    virtual QString not_found_message(const QString& number) const;
    /// The short name of the document in messages ("PR", "PO").
    virtual QString document_name() const = 0;
    virtual HelpDocuments help_documents() const = 0;
    /// The document's line grid.
    virtual Grid& line_grid() const = 0;

    // Shared behaviour ---------------------------------------------------------------------------
    bool run_command(int id) override;
    /// Preview needs a saved document shown in read mode, Edit mode and Copy To New a shown
    /// document (or the mode to leave).
    bool command_applies_now(int id) const override;
    /// A number typed into the number box shows that document.
    Entry check_field(const QString& name, const QString& previous) override;
    /// Checks the update right, then saves the new or the edited document.
    bool save_document() override;

    /// Shows the document with this key; a failure to read it is reported.
    bool show_key(const QString& key);
    /// A new document's save failed and was rolled back: says so with `failed`, and the window
    /// shows the document as new again, with no number and no key, keeping what was typed.
    void new_save_failed(const Error& error, const QString& failed);
    /// Clears the window: no document shown.
    virtual void show_nothing();
    /// The newest document, or nothing when there is none.
    bool go_last();
    /// The oldest document, or nothing when there is none.
    bool go_first();
    /// Shows the document found at an end of the numbers, nothing when none was found; says
    /// why when it could not be looked for.
    bool show_found(const std::expected<std::optional<QString>, Error>& key);
    bool go_step(KeyStep step);
    bool refresh_record();
    bool copy_to_new();
    /// Asks the host to show the document's journal entry (its "GLFKEY"): command 113.
    bool journal_record();
    /// "Read " + name + " no. " + number + " failed": a document that could not be read.
    QString read_failed(const QString& number) const;
    /// Shows every header field whose name is a column of the stored row: dates in the user's
    /// format, check boxes ticked or not, numbers of kind Number as "#,##0.00".
    void show_stored_fields(const Row& header);
    /// Which documents the window shows: their header table and document type.
    const DocumentKind& document_kind() const { return m_kind; }
    /// The shown document as a write must find it: its key, number and the version shown.
    DocumentVersion shown_version() const;
    /// Remembers the version of the document just shown (its header's row_version).
    void remember_version(const Row& header);

    /// Reads the header row of the document with this key; nothing when there is none.
    [[nodiscard]] std::expected<std::optional<Row>, Error> stored_header_row(const QString& key);
    /// The shown document's header as stored now (another user may have changed it): nothing
    /// after reporting a failed read (with `failed`, else "Read ... failed") or "Document no. " +
    /// number + " not found".
    std::optional<Row> stored_header(const QString& failed = {});

    /// Declares how the window's documents print (the host lays the printout out with it) and
    /// the Page Setup command that chooses paper, margins and fonts for it.
    void declare_print_layout(const DocumentLayout& layout);
    /// Declares the "Tax Detail Window" and "Tax Summary Window" panes at the bottom.
    void declare_tax_panes();
    /// Declares "Stock by Warehouse/Location" and "Stock By Items" with their read-only grids.
    void declare_stock_panes(const QStringList& by_location_columns, const QStringList& by_item_columns);
    /// Preview, New, Copy To New, Edit mode, Insert and Delete Line, Tax Details and Summary.
    void declare_editing_commands();
    /// First, Previous, Next and Last record, Refresh record.
    void declare_browsing_commands();
    /// The record commands the posting documents (receipt, bill, landed bill) open their
    /// command tables with: exit, save, preview, new, edit mode, browsing, line insert/delete
    /// and the journal record.
    void declare_posting_record_commands();
    /// The master windows, Stock On Hand, the two help documents, the toolbar option and the grid
    /// font commands.
    void declare_master_and_help_commands(const QString& window_help_caption);

    TaxElementStore& taxes() { return m_taxes; }
    TaxPanes& tax_panes() { return *m_tax_panes; }
    /// The line number of the grid's current row; 0 when it has none.
    int current_line_number() const;
    /// Shows the current line's tax elements and the summary in the tax panes.
    void refresh_tax_panes();
    /// Fills the stock panes that are open: the current line's item by location, every line's
    /// item at its place.
    void refresh_stock_panes();
    bool pane_visible(const QString& name) const;
    /// Fills the purchase history panes that are open ("vendor_history", "item_history"): the
    /// vendor's order lines and those of the current line's item, of the last six months.
    void refresh_history_panes(Grid& vendor_history, Grid& item_history);

    QString m_key;

private:
    qint64 m_version = 0;
    void notify_master(CommandId id);
    bool show_help(CommandId id);
    bool toggle_stock_pane(CommandId id);
    bool open_page_setup();

    DocumentKind m_kind;
    TaxElementStore m_taxes;
    std::unique_ptr<TaxPanes> m_tax_panes;
};

} // namespace zelkor
