#pragma once

#include "core/db/value_limits.h"
#include "documents/common/document_lists.h"
#include "windows/document/document_window.h"

#include <optional>

namespace zelkor {

/// What the windows of documents bought from a vendor (order, receipt, bill) share beyond every
/// document window: the purchasing lists, the vendor's refill, the rates of the document
/// currency, and the editing of lines by the captions their grids share ("item no", "item
/// code", "item type", "description", "vendor item code", "uom", "unit cost", "extended cost",
/// "tax code", "tax included", "tax amount", "allocated tax", "net cost", "account",
/// "account name" where shown, "warehouse", "location"). Each window names its date field and
/// the caption of its lines' quantity.
class PurchasingWindow : public DocumentWindow {
    Q_OBJECT
public:
    /// Recomputes the footer totals from the lines.
    virtual void calculate_totals() = 0;

protected:
    PurchasingWindow(QString class_name, QString caption, DocumentKind kind, QString date_field, QString quantity,
                     QObject* parent);
    ~PurchasingWindow() override;

    Database& db() const;
    /// Reads the lists, then resets the header for a new document.
    void on_open() override;
    /// The lists a window reads besides the shared ones; runs when the window opens.
    [[nodiscard]] virtual std::expected<void, Error> load_window_lists() { return {}; }
    /// Leaving edit mode unsaved puts the tax elements back; leaving new mode shows the newest
    /// document.
    void discard_changes(Mode left) override;
    void show_nothing() override;
    QString not_found_message(const QString& number) const override;
    /// Names the lines' unit column and the refusal of a unit its list does not have: "uom" and
    /// "Invalid uom" unless the window says otherwise.
    void set_line_unit(QString caption, QString invalid_message);
    /// Fills the "fyear" and "period" drop-downs: the fiscal years, and periods 1 to the host's
    /// number of periods.
    [[nodiscard]] std::expected<void, Error> load_period_lists();
    /// The period and fiscal year follow the document date (the clerk may still choose another
    /// period); the rates of that date are offered.
    Entry period_follows_date();
    /// Keeps the tax elements as edit mode begins, to put back when the edit is left unsaved.
    void keep_shown_taxes();
    /// Whether the shown document may be changed: one is shown and it is not void (number + "
    /// was void.").
    bool shown_document_changeable();

    // Header fields
    /// The checks of the header fields the windows share: number, vendor and its name, ship-to,
    /// currency and the document date (the rates follow), the rate and its date, requested by,
    /// payment term, ship via, period and fiscal year.
    Entry check_field(const QString& name, const QString& previous) override;
    Entry choice_typed(const QString& name, const Choices& list, const QString& message);
    /// A date typed into a field: empty, or a date in the user's format (the parser's message).
    Entry date_typed(const QString& name);
    /// A vendor chosen by name: its number is chosen.
    Entry vendor_name_chosen();
    /// Fills the vendor's details, address and rates; its tax code becomes the default of new
    /// lines. A window adds what it offers for the vendor.
    virtual Entry vendor_chosen();
    /// The rates of the document currency on or before the document date (none for the base
    /// currency), the newest chosen.
    Entry show_rates();
    /// An exchange rate typed over the shown one: empty, or a positive rate the column holds
    /// ("exchange rate is invalid."); a rate of the list brings its date along.
    Entry rate_typed();
    /// The ship-to warehouse's address (its own, else the company's); "Ship-to is invalid." for
    /// a warehouse the master does not have.
    Entry shipto_chosen();
    /// The default warehouse as ship-to, with its address.
    void show_default_ship_to();
    /// A stored document: its header with the vendor's name, and its lines.
    struct StoredDocument {
        Row header;
        Rows lines;
    };
    /// Reads the document with this key (its lines by `lines_query`, the key bound) and keeps
    /// its lines' tax elements in the window's store; nothing when there is no such document.
    [[nodiscard]] std::expected<std::optional<StoredDocument>, Error> read_stored_document(const QString& key,
                                                                                           const QString& lines_query);

    // Lines
    /// Offers the units of the line at `row` in the unit drop-down.
    void offer_line_units(int row);
    /// Gives every line with an item code and no number the next free number.
    void renumber_lines();
    /// Gives the line at `row` the next free number when it has an item code and none yet;
    /// while lines are taken in bulk, without reading the others' numbers again.
    void number_line(int row);
    /// The first line from `from` on whose visible cells are all empty; a new one at the end
    /// when there is none.
    int first_empty_row(int from = 0);

    /// Brackets the taking of many lines at once (a receipt's or an order's): the line taxes
    /// are computed per line, but the footer totals and tax panes once, when the last line is
    /// in (by the caller, after the bracket), so that taking n lines costs n, not n squared.
    class BulkLines {
    public:
        explicit BulkLines(PurchasingWindow& window);
        ~BulkLines();
        BulkLines(const BulkLines&) = delete;
        BulkLines& operator=(const BulkLines&) = delete;

    private:
        PurchasingWindow& m_window;
    };
    /// Deletes the current line with its tax elements; the totals follow.
    bool delete_current_line();
    /// Computes the line's tax elements from its tax code and extended cost, and the totals.
    void recompute_line_tax(int row);
    /// A taxable amount typed into the tax detail pane of the shown line.
    Entry taxable_amount_entered(int row);
    /// An item code typed into a line: an item (by code or short name) fills the line from the
    /// item master, a charge from the charge list, a free code of an asset, supply or service
    /// takes the default tax code; an empty code empties the line.
    Entry item_code_entered(int row);
    /// Gives a line without a tax code the vendor's, else the default code.
    bool default_tax_code(int row);
    /// The quantity, unit cost or extended cost typed into a line (`noun` names it in a
    /// refusal): the extended cost follows the quantity and the unit cost, or the unit cost the
    /// extended cost, and the tax follows.
    Entry amount_typed(int row, const QString& caption, const QString& noun, NumberColumn column);
    /// The codes typed into a line (tax code, tax included, unit, account, warehouse, location),
    /// checked against their lists; nothing for other captions.
    std::optional<Entry> line_code_typed(int row, const QString& caption);

    DocumentLists m_lists;
    QString m_vendor_tax_code; ///< the chosen vendor's tax code, the default of new lines

private:
    Entry fill_item_defaults(int row, const Row& item);

    QString m_date_field;
    QString m_quantity; ///< the caption of the lines' quantity
    QString m_unit = QStringLiteral("uom");
    QString m_unit_invalid = QStringLiteral("Invalid uom");
    TaxElementStore m_shown_taxes;
    bool m_bulk_lines = false;   ///< lines are being taken in bulk (BulkLines)
    int m_bulk_highest = 0;      ///< the highest line number while they are
};

} // namespace zelkor
