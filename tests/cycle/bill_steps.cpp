// The bill window's steps: a receipt billed as it was received, paid later or less a discount,
// and voids of saved bills.
#include "step.h"

namespace zelkor::cycle {

namespace {

/// Receipts with something left to bill, with their vendor.
QString receipts_to_bill()
{
    return QStringLiteral("SELECT h.docno, h.vendor_no FROM PO_receipt_header_table h WHERE h.void = FALSE"
                          " AND h.fully_billed = FALSE AND h.billed = FALSE"
                          " AND EXISTS (SELECT 1 FROM PO_receipt_transaction_table l WHERE l.fkey = h.fkey"
                          " AND l.quantity_open_for_bill > 0) ORDER BY h.fkey");
}

/// The vendor's bill number: unique enough that a clash is a rare, clearly refused step.
QString vendor_bill_number(StepContext& context)
{
    return QStringLiteral("CY-%1").arg(context.dice.between(1, 999999999));
}

Prepared bill_receipt(StepContext& context)
{
    const auto chosen = context.pick_row(receipts_to_bill());
    if (!chosen)
        return Prepared::skip(QStringLiteral("no receipt to bill"));
    POform_invoice& window = context.clerk.invoice();
    const QString receipt = chosen->text(u"docno");
    if (QString why; !start_new(context, window, chosen->text(u"vendor_no"), why))
        return Prepared::skip(why);
    if (window.type_into(QStringLiteral("receipt_no"), receipt) != Entry::Accepted)
        return Prepared::skip(QStringLiteral("receipt refused: ") + context.clerk.prompter().last());
    const QString number = vendor_bill_number(context);
    if (window.type_into(QStringLiteral("invoice_no"), number) != Entry::Accepted)
        return Prepared::skip(QStringLiteral("bill number refused: ") + context.clerk.prompter().last());
    QString how = QStringLiteral("paid later");
    if (context.dice.chance(0.25)) {
        how = QStringLiteral("less a discount");
        if (window.type_into(QStringLiteral("discount_amount"), QStringLiteral("1.25")) != Entry::Accepted)
            return Prepared::skip(QStringLiteral("discount refused: ") + context.clerk.prompter().last());
    }
    return {QStringLiteral("bill %1 of %2 (%3), %4").arg(number, receipt, chosen->text(u"vendor_no"), how), &window,
            [&window] { return window.execute(CommandId::Save); }};
}

Prepared void_bill(StepContext& context)
{
    POform_invoice& window = context.clerk.invoice();
    const auto docno = show_chosen(context, window,
                                   QStringLiteral("SELECT docno FROM PO_invoice_header_table WHERE doctype = 'vi'"
                                                  " AND void = FALSE AND paid = FALSE ORDER BY fkey"));
    if (!docno)
        return Prepared::skip(QStringLiteral("no bill to void"));
    return {QStringLiteral("void ") + *docno, &window, [&window] { return window.execute(CommandId::Void); }};
}

} // namespace

std::vector<CycleStep> bill_steps()
{
    return {
        {QStringLiteral("bill: receipt as received"), 6, Writes::Yes, bill_receipt},
        {QStringLiteral("bill: void"), 2, Writes::Yes, void_bill},
    };
}

} // namespace zelkor::cycle
