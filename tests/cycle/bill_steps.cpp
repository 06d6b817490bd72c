// The bill window's steps: receipts billed as received, in part, with the rest written off or
// above the received price; bills of typed charges spread over expense lines; edits and voids of
// saved bills.
#include "step.h"

namespace zelkor::cycle {

namespace {

/// Receipts with something left to bill, with their vendor.
QString receipts_to_bill()
{
    return QStringLiteral("SELECT h.docno, h.vendor_no FROM PO_receipt_header_table h WHERE h.void = FALSE"
                          " AND h.fully_billed = FALSE"
                          " AND EXISTS (SELECT 1 FROM PO_receipt_transaction_table l WHERE l.fkey = h.fkey"
                          " AND l.quantity_open_for_bill > 0) ORDER BY h.fkey");
}

/// The vendor's bill number: unique enough that a clash is a rare, clearly refused step.
QString vendor_bill_number(StepContext& context)
{
    return QStringLiteral("CY-%1").arg(context.dice.between(1, 999999999));
}

/// How the billed lines differ from what the receipt holds open.
enum class Billing { AsReceived, Part, WriteOff, Dearer };

QString billing_name(Billing billing)
{
    switch (billing) {
    case Billing::AsReceived: return QStringLiteral("as received");
    case Billing::Part: return QStringLiteral("in part");
    case Billing::WriteOff: return QStringLiteral("in part, the rest written off");
    case Billing::Dearer: return QStringLiteral("above the received price");
    }
    return {};
}

/// Changes the first goods line of the bill as `billing` says; false when the window refused.
bool change_first_line(StepContext& context, Grid& lines, Billing billing)
{
    const QString quantity = QStringLiteral("quantity");
    const Decimal open = cell_amount(lines, 0, quantity);
    const long long whole = open.to_integer();
    switch (billing) {
    case Billing::AsReceived: return true;
    case Billing::Part:
    case Billing::WriteOff:
        if (whole < 2)
            return true;
        if (lines.type_cell(0, quantity, QString::number(context.dice.between(1, int(whole - 1)))) != Entry::Accepted)
            return false;
        return billing == Billing::Part || lines.type_cell(0, QStringLiteral("complete"), check_text(true)) == Entry::Accepted;
    case Billing::Dearer: {
        const Decimal cost = cell_amount(lines, 0, QStringLiteral("unit cost"));
        return lines.type_cell(0, QStringLiteral("unit cost"), (cost + Decimal(context.dice.between(1, 5))).to_string())
            == Entry::Accepted;
    }
    }
    return false;
}

/// Types the vendor's bill number and, now and then, a discount.
bool type_bill_header(StepContext& context, POform_invoice& window, QString& how)
{
    if (window.type_into(QStringLiteral("invoice_no"), vendor_bill_number(context)) != Entry::Accepted)
        return false;
    if (!context.dice.chance(0.25))
        return true;
    how += QStringLiteral(", less a discount");
    return window.type_into(QStringLiteral("discount_amount"), QStringLiteral("1.25")) == Entry::Accepted;
}

Prepared bill_receipt(StepContext& context, Billing billing)
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
    QString how = billing_name(billing);
    if (!type_bill_header(context, window, how))
        return Prepared::skip(QStringLiteral("header refused: ") + context.clerk.prompter().last());
    if (!change_first_line(context, window.lines(), billing))
        return Prepared::skip(QStringLiteral("line refused: ") + context.clerk.prompter().last());
    return {QStringLiteral("bill of %1 (%2), %3").arg(receipt, chosen->text(u"vendor_no"), how), &window,
            [&window] { return window.execute(CommandId::Save); }};
}

/// A bill of typed charges: two lines to their expense accounts and, now and then, a shared
/// charge spread over them.
Prepared bill_charges(StepContext& context)
{
    const auto vendors = context.vendors();
    if (vendors.empty())
        return Prepared::skip(QStringLiteral("no vendor"));
    const QString vendor = context.dice.pick(vendors).code;
    POform_invoice& window = context.clerk.invoice();
    if (QString why; !start_new(context, window, vendor, why))
        return Prepared::skip(why);
    QString how = QStringLiteral("typed charges");
    if (!type_bill_header(context, window, how))
        return Prepared::skip(QStringLiteral("header refused: ") + context.clerk.prompter().last());
    Grid& lines = window.lines();
    const bool spread = context.dice.chance(0.4);
    const QStringList accounts{QStringLiteral("6000"), QStringLiteral("6100"), QStringLiteral("6400")};
    for (int row = 0; row < (spread ? 3 : 2); ++row) {
        if (row > 0)
            lines.append_row();
        const bool shared = row == 2;
        if (lines.type_cell(row, QStringLiteral("item type"), QStringLiteral("4")) != Entry::Accepted
            || lines.type_cell(row, QStringLiteral("item code"), QStringLiteral("CHG-%1").arg(row)) != Entry::Accepted
            || lines.type_cell(row, QStringLiteral("extended cost"), context.dice.unit_cost()) != Entry::Accepted
            || lines.type_cell(row, QStringLiteral("account"), accounts[row]) != Entry::Accepted
            || (shared && lines.type_cell(row, QStringLiteral("expense"), check_text(true)) != Entry::Accepted))
            return Prepared::skip(QStringLiteral("charge refused: ") + context.clerk.prompter().last());
    }
    if (spread)
        how += QStringLiteral(", one spread over the others");
    return {QStringLiteral("bill of %1: %2").arg(vendor, how), &window, [&window] { return window.execute(CommandId::Save); }};
}

/// Shows a live, unpaid bill; its number, or nothing.
std::optional<QString> show_bill(StepContext& context, POform_invoice& window)
{
    return show_chosen(context, window,
                       QStringLiteral("SELECT docno FROM PO_invoice_header_table WHERE doctype = 'vi'"
                                      " AND void = FALSE AND paid = FALSE ORDER BY fkey"));
}

Prepared edit_bill(StepContext& context)
{
    POform_invoice& window = context.clerk.invoice();
    const auto docno = show_bill(context, window);
    if (!docno)
        return Prepared::skip(QStringLiteral("no bill to edit"));
    if (!window.execute(CommandId::EditMode))
        return Prepared::skip(QStringLiteral("edit refused: ") + context.clerk.prompter().last());
    Grid& lines = window.lines();
    const bool cost = lines.cell(0, QStringLiteral("receipt no")).isEmpty() || context.dice.chance(0.5);
    const QString caption = cost ? QStringLiteral("unit cost") : QStringLiteral("quantity");
    const Decimal now = cell_amount(lines, 0, caption);
    const Decimal changed = cost ? now + Decimal(context.dice.between(1, 3)) : std::max(Decimal(1), now - Decimal(1));
    if (lines.type_cell(0, caption, changed.to_string()) != Entry::Accepted)
        return Prepared::skip(caption + QStringLiteral(" refused: ") + context.clerk.prompter().last());
    return {QStringLiteral("edit of %1: line 1 %2 %3").arg(*docno, caption, changed.to_string()), &window,
            [&window] { return window.execute(CommandId::Save); }};
}

Prepared void_bill(StepContext& context)
{
    POform_invoice& window = context.clerk.invoice();
    const auto docno = show_bill(context, window);
    if (!docno)
        return Prepared::skip(QStringLiteral("no bill to void"));
    return {QStringLiteral("void ") + *docno, &window, [&window] { return window.execute(CommandId::Void); }};
}

} // namespace

std::vector<CycleStep> bill_steps()
{
    return {
        {QStringLiteral("bill: receipt as received"), 4, Writes::Yes,
         [](StepContext& c) { return bill_receipt(c, Billing::AsReceived); }},
        {QStringLiteral("bill: receipt in part"), 2, Writes::Yes, [](StepContext& c) { return bill_receipt(c, Billing::Part); }},
        {QStringLiteral("bill: receipt in part, rest written off"), 1, Writes::Yes,
         [](StepContext& c) { return bill_receipt(c, Billing::WriteOff); }},
        {QStringLiteral("bill: receipt above its price"), 2, Writes::Yes,
         [](StepContext& c) { return bill_receipt(c, Billing::Dearer); }},
        {QStringLiteral("bill: typed charges"), 2, Writes::Yes, bill_charges},
        {QStringLiteral("bill: edit"), 2, Writes::Yes, edit_bill},
        {QStringLiteral("bill: void"), 2, Writes::Yes, void_bill},
    };
}

} // namespace zelkor::cycle
