// The landed-cost window's steps: a customs broker's freight spread over a receipt, edits of its
// amount and voids of saved landed bills.
#include "step.h"

namespace zelkor::cycle {

namespace {

/// The broker that bills freight on other vendors' goods.
const QString Broker = QStringLiteral("V3002");

/// Receipts with goods received, with their vendor.
QString receipts_with_goods()
{
    return QStringLiteral("SELECT h.docno, h.vendor_no FROM PO_receipt_header_table h WHERE h.void = FALSE"
                          " AND EXISTS (SELECT 1 FROM PO_receipt_transaction_table l WHERE l.fkey = h.fkey"
                          " AND l.landed_item = FALSE AND l.quantity_received > 0) ORDER BY h.fkey");
}

Prepared spread_freight(StepContext& context)
{
    const auto chosen = context.pick_row(receipts_with_goods());
    if (!chosen)
        return Prepared::skip(QStringLiteral("no receipt to spread freight over"));
    POform_landed& window = context.clerk.landed();
    const QString receipt = chosen->text(u"docno");
    if (QString why; !start_new(context, window, Broker, why))
        return Prepared::skip(why);
    const QString amount = context.dice.unit_cost();
    Grid& lines = window.lines();
    if (window.type_into(QStringLiteral("invoice_no"), QStringLiteral("LC-%1").arg(context.dice.between(1, 999999999)))
            != Entry::Accepted
        || lines.type_cell(0, QStringLiteral("item code"), QStringLiteral("FREIGHT")) != Entry::Accepted
        || lines.type_cell(0, QStringLiteral("unit cost"), amount) != Entry::Accepted
        || lines.type_cell(0, QStringLiteral("unit of measurement"), QStringLiteral("each")) != Entry::Accepted
        || window.type_into(QStringLiteral("primary_vendor"), chosen->text(u"vendor_no")) != Entry::Accepted
        || window.type_into(QStringLiteral("receipt_no"), receipt) != Entry::Accepted)
        return Prepared::skip(QStringLiteral("refused: ") + context.clerk.prompter().last());
    return {QStringLiteral("freight of %1 over %2 (%3)").arg(amount, receipt, chosen->text(u"vendor_no")), &window,
            [&window] { return window.execute(CommandId::Save); }};
}

/// Shows a live, unpaid landed bill; its number, or nothing.
std::optional<QString> show_landed_bill(StepContext& context, POform_landed& window)
{
    return show_chosen(context, window,
                       QStringLiteral("SELECT docno FROM PO_invoice_header_table WHERE doctype = 'ld'"
                                      " AND void = FALSE AND paid = FALSE ORDER BY fkey"));
}

Prepared edit_landed_bill(StepContext& context)
{
    POform_landed& window = context.clerk.landed();
    const auto docno = show_landed_bill(context, window);
    if (!docno)
        return Prepared::skip(QStringLiteral("no landed bill to edit"));
    if (!window.execute(CommandId::EditMode))
        return Prepared::skip(QStringLiteral("edit refused: ") + context.clerk.prompter().last());
    const QString amount = context.dice.unit_cost();
    if (window.lines().type_cell(0, QStringLiteral("unit cost"), amount) != Entry::Accepted)
        return Prepared::skip(QStringLiteral("amount refused: ") + context.clerk.prompter().last());
    return {QStringLiteral("edit of %1: freight %2").arg(*docno, amount), &window,
            [&window] { return window.execute(CommandId::Save); }};
}

Prepared void_landed_bill(StepContext& context)
{
    POform_landed& window = context.clerk.landed();
    const auto docno = show_landed_bill(context, window);
    if (!docno)
        return Prepared::skip(QStringLiteral("no landed bill to void"));
    return {QStringLiteral("void ") + *docno, &window, [&window] { return window.execute(CommandId::Void); }};
}

} // namespace

std::vector<CycleStep> landed_steps()
{
    return {
        {QStringLiteral("landed bill: freight over a receipt"), 3, Writes::Yes, spread_freight},
        {QStringLiteral("landed bill: edit"), 1, Writes::Yes, edit_landed_bill},
        {QStringLiteral("landed bill: void"), 1, Writes::Yes, void_landed_bill},
    };
}

} // namespace zelkor::cycle
