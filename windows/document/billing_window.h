#pragma once

#include "core/audit_stamp.h"
#include "windows/document/purchasing_window.h"

#include <functional>

namespace zelkor {

/// What the two bill windows (the vendor bill and the landed bill) share beyond every purchasing
/// window: the due date that follows the payment term, the pay-by and the payment fields it
/// uses, the term discount and the prepayment typed in the header, the payment choices, and the
/// refusals a void meets before its question.
class BillingWindow : public PurchasingWindow {
protected:
    using PurchasingWindow::PurchasingWindow;

    /// Deleting a line and the void as both bill windows run them; any other command as every
    /// document window runs it. The panes follow what a command changed.
    bool run_command(int id) override;
    virtual bool void_document() = 0;
    /// Shows the panes that follow the lines again (taxes, landed charges).
    virtual void refresh_panes() = 0;

    /// The checks of the payment fields: the payment term (the due date follows), the due and
    /// check dates, the pay-by, cash account and bank, the discount and the prepayment; nothing
    /// for any other field.
    std::optional<Entry> check_payment_field(const QString& name, const QString& previous);
    /// The due date follows the bill date by the term's days; a term due on receipt has none.
    Entry term_chosen();
    Entry payby_chosen();
    /// Only the payment fields of the chosen pay-by can be typed into.
    void lock_payment_fields();
    Entry discount_typed(const QString& name);
    Entry prepayment_typed();
    /// Offers "Pay Later", "Cash", "Check" and the cards in use as pay-by, the cash accounts and
    /// the banks.
    [[nodiscard]] std::expected<void, Error> load_payment_lists();
    /// A new bill's header defaults: dated today in its period, "Pay Later", the base currency.
    void set_bill_defaults();
    /// "Multiple receipts" ticked: the header then names none of them.
    Entry multiple_receipts_chosen();
    /// The stored header of the shown bill when it may be edited: not void, not paid or partly
    /// paid as stored now (another user may have voided or paid it since it was shown), in an
    /// open period. Otherwise says why and gives nothing.
    std::optional<Row> editable_bill_header();
    /// The stored bill with this key, its lines with their account names in line order.
    [[nodiscard]] std::expected<std::optional<StoredDocument>, Error> read_stored_bill(const QString& key);
    /// Keeps the keys of what the stored bill posted: its entry, stock document and payable.
    void show_posting_keys(const Row& header);
    /// The shown bill's stock document (I/C Record) and payable (A/P Record), for the host.
    bool show_inventory_record();
    bool show_payable_record();
    /// Hands the shown bill to the host's report viewer under its report `title`.
    bool print_bill(const QString& title);
    /// Says how an edit ended: "Update bill <number> complete", or its failure, rolled back (the
    /// window keeps the keys of the bill as it is still stored).
    bool report_edit(const std::expected<void, Error>& saved, const QString& number);
    /// Voids the shown bill by `void_it` once confirmed: a saved bill, the update right, not
    /// void (number + " was void"), not paid or partly paid as stored now, and Yes to "Are you
    /// sure to void this bill?". The void itself checks again under lock.
    using VoidRoutine = std::function<std::expected<void, Error>(const AuditStamp& stamp)>;
    bool void_bill(const VoidRoutine& void_it);

private:
    /// Says why a bill stored paid or partly paid can no longer change; false for one that can.
    bool refused_as_paid(const Row& header);
};

} // namespace zelkor
