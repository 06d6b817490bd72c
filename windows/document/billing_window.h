#pragma once

#include "windows/document/purchasing_window.h"

namespace zelkor {

/// What the two bill windows (the vendor bill and the landed bill) share beyond every purchasing
/// window: the due date that follows the payment term, the pay-by and the payment fields it
/// uses, the term discount and the prepayment typed in the header, the payment choices, and the
/// refusals a void meets before its question.
class BillingWindow : public PurchasingWindow {
protected:
    using PurchasingWindow::PurchasingWindow;

    /// The checks of the payment fields: the payment term (the due date follows), the due and
    /// check dates, the pay-by, cash account and bank, the discount and the prepayment; nothing
    /// for any other field.
    std::optional<Entry> check_payment_field(const QString& name, const QString& previous);
    /// Shows why a typed value is refused.
    Entry refuse_entry(const QString& text);
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
    /// Whether the shown bill may be voided: a saved bill, the update right, not void (number +
    /// " was void"), not paid or partly paid as stored now; then the question "Are you sure to
    /// void this bill?". The void itself asks again under lock.
    bool confirm_void(const QString& failed);
};

} // namespace zelkor
