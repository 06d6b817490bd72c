// The receipt window's steps: orders received whole, in part, beyond what was ordered (the clerk
// confirms), given up without receiving, several orders on one receipt, orders in a foreign
// currency; edits and voids of saved receipts.
#include "step.h"

#include "core/money/decimal.h"

namespace zelkor::cycle {

namespace {

const QString Received = QStringLiteral("quantity received");
const QString Canceled = QStringLiteral("quantity canceled");

/// Orders a receipt can take lines of, of one vendor when `vendor` is given.
QString outstanding_orders(const QString& extra = {})
{
    return QStringLiteral("SELECT h.docno, h.vendor_no, h.currency FROM PO_header_table h WHERE h.void = FALSE"
                          " AND h.future_po = FALSE AND h.fully_received = FALSE"
                          " AND EXISTS (SELECT 1 FROM PO_transaction_table l WHERE l.fkey = h.fkey AND l.void = FALSE"
                          " AND l.closed = FALSE AND l.quantity_open > 0)")
        + extra + QStringLiteral(" ORDER BY h.fkey");
}

/// Starts a new receipt of the vendor's order and lists its lines to pick from.
bool start_receipt(StepContext& context, POform_receipt& window, const QString& vendor, const QString& order)
{
    QString why;
    return start_new(context, window, vendor, why) && window.type_into(QStringLiteral("pono"), order) == Entry::Accepted
        && window.order_lines().row_count() > 0;
}

/// Picks the open lines of the pick grid (each with the chance given); the number picked.
int pick_open_lines(StepContext& context, POform_receipt& window, double chance)
{
    Grid& from = window.order_lines();
    int picked = 0;
    for (int row = 0; row < from.row_count(); ++row) {
        const auto open = Decimal::parse(from.cell(row, QStringLiteral("quantity open")));
        if (open && *open > Decimal() && (picked == 0 || context.dice.chance(chance)) && window.pick_order_line(row))
            ++picked;
    }
    return picked;
}

/// A location of the line's warehouse other than the one it shows.
QString another_location(const Grid& lines, int row)
{
    const QString location = lines.cell(row, QStringLiteral("location"));
    if (lines.cell(row, QStringLiteral("warehouse")) == u"EAST")
        return location == u"E-02" ? QStringLiteral("E-01") : QStringLiteral("E-02");
    return location == u"B-01" ? QStringLiteral("A-01") : QStringLiteral("B-01");
}

/// How the received quantities differ from what is open.
enum class Receiving { Whole, Partial, Over, CancelOnly, CancelRest };

QString receiving_name(Receiving receiving)
{
    switch (receiving) {
    case Receiving::Whole: return QStringLiteral("whole");
    case Receiving::Partial: return QStringLiteral("partial");
    case Receiving::Over: return QStringLiteral("over-receipt");
    case Receiving::CancelOnly: return QStringLiteral("cancel only");
    case Receiving::CancelRest: return QStringLiteral("part received, rest cancelled");
    }
    return {};
}

/// Types the quantities of one picked line; false when the window refused them.
bool type_quantities(StepContext& context, Grid& lines, int row, Receiving receiving)
{
    const Decimal open = cell_amount(lines, row, Received);
    const int whole = int(open.to_integer());
    switch (receiving) {
    case Receiving::Whole: return true;
    case Receiving::Partial:
        return whole < 2 || lines.type_cell(row, Received, QString::number(context.dice.between(1, whole - 1))) == Entry::Accepted;
    case Receiving::Over:
        return lines.type_cell(row, Received, QString::number(whole + context.dice.between(1, 5))) == Entry::Accepted;
    case Receiving::CancelOnly:
        return lines.type_cell(row, Received, QStringLiteral("0")) == Entry::Accepted
            && lines.type_cell(row, Canceled, open.to_string()) == Entry::Accepted;
    case Receiving::CancelRest: {
        if (whole < 2)
            return true;
        const int taken = context.dice.between(1, whole - 1);
        return lines.type_cell(row, Received, QString::number(taken)) == Entry::Accepted
            && lines.type_cell(row, Canceled, (open - Decimal(taken)).to_string()) == Entry::Accepted;
    }
    }
    return false;
}

Prepared receive(StepContext& context, Receiving receiving, const QString& which_orders)
{
    const auto chosen = context.pick_row(outstanding_orders(which_orders));
    if (!chosen)
        return Prepared::skip(QStringLiteral("no order to receive"));
    POform_receipt& window = context.clerk.receipt();
    const QString order = chosen->text(u"docno");
    if (!start_receipt(context, window, chosen->text(u"vendor_no"), order))
        return Prepared::skip(QStringLiteral("cannot start a receipt of ") + order + QStringLiteral(": ")
                              + context.clerk.prompter().last());
    const int picked = pick_open_lines(context, window, receiving == Receiving::Whole ? 1.0 : 0.6);
    if (picked == 0)
        return Prepared::skip(QStringLiteral("no open line on ") + order);
    Grid& lines = window.lines();
    for (int row = 0; row < lines.row_count(); ++row) {
        if (lines.cell(row, QStringLiteral("item code")).isEmpty() && lines.cell(row, QStringLiteral("po no")).isEmpty())
            continue;
        const bool this_line = row == 0 || context.dice.chance(0.5);
        if (this_line && !type_quantities(context, lines, row, receiving))
            return Prepared::skip(QStringLiteral("quantity refused: ") + context.clerk.prompter().last());
    }
    if (context.dice.chance(0.1) && lines.cell(0, QStringLiteral("item type")) == u"1"
        && lines.type_cell(0, QStringLiteral("location"), another_location(lines, 0)) != Entry::Accepted)
        return Prepared::skip(QStringLiteral("location refused: ") + context.clerk.prompter().last());
    return {QStringLiteral("%1 receipt of %2 (%3, %4), %5 lines")
                .arg(receiving_name(receiving), order, chosen->text(u"vendor_no"), chosen->text(u"currency"))
                .arg(picked),
            &window, [&window] { return window.execute(CommandId::Save); }};
}

/// One receipt of the open lines of two orders of one vendor.
Prepared receive_several_orders(StepContext& context)
{
    const auto first = context.pick_row(outstanding_orders());
    if (!first)
        return Prepared::skip(QStringLiteral("no order to receive"));
    const QString vendor = first->text(u"vendor_no");
    const auto second = context.pick_row(outstanding_orders(QStringLiteral(" AND h.vendor_no = ? AND h.docno <> ?")),
                                         {vendor, first->text(u"docno")});
    if (!second)
        return Prepared::skip(QStringLiteral("one outstanding order only for ") + vendor);
    POform_receipt& window = context.clerk.receipt();
    if (QString why; !start_new(context, window, vendor, why))
        return Prepared::skip(why);
    window.type_into(QStringLiteral("multi_po"), QStringLiteral("1"));
    for (const Row* order : {&*first, &*second})
        if (window.type_into(QStringLiteral("pono"), order->text(u"docno")) != Entry::Accepted)
            return Prepared::skip(QStringLiteral("order refused: ") + context.clerk.prompter().last());
    const int picked = pick_open_lines(context, window, 0.8);
    return {QStringLiteral("receipt of %1 and %2 (%3), %4 lines").arg(first->text(u"docno"), second->text(u"docno"), vendor).arg(picked),
            &window, [&window] { return window.execute(CommandId::Save); }};
}

/// Shows a live receipt not billed yet; its number, or nothing.
std::optional<QString> show_receipt(StepContext& context, POform_receipt& window)
{
    return show_chosen(context, window, QStringLiteral("SELECT docno FROM PO_receipt_header_table WHERE void = FALSE"
                                                       " AND billed = FALSE ORDER BY fkey"));
}

Prepared edit_receipt(StepContext& context)
{
    POform_receipt& window = context.clerk.receipt();
    const auto docno = show_receipt(context, window);
    if (!docno)
        return Prepared::skip(QStringLiteral("no receipt to edit"));
    if (!window.execute(CommandId::EditMode))
        return Prepared::skip(QStringLiteral("edit refused: ") + context.clerk.prompter().last());
    Grid& lines = window.lines();
    const int row = context.dice.between(0, std::max(0, lines.row_count() - 1));
    if (lines.cell(row, QStringLiteral("item code")).isEmpty())
        return Prepared::skip(QStringLiteral("an empty row"));
    QString change;
    if (context.dice.chance(0.3) && lines.cell(row, QStringLiteral("item type")) == u"1") {
        change = QStringLiteral("line %1 location").arg(row + 1);
        if (lines.type_cell(row, QStringLiteral("location"), another_location(lines, row)) != Entry::Accepted)
            return Prepared::skip(QStringLiteral("location refused: ") + context.clerk.prompter().last());
    } else {
        change = QStringLiteral("line %1 quantity").arg(row + 1);
        const int received = int(cell_amount(lines, row, Received).to_integer());
        if (lines.type_cell(row, Received, QString::number(std::max(0, received + context.dice.between(-2, 2))))
            != Entry::Accepted)
            return Prepared::skip(QStringLiteral("quantity refused: ") + context.clerk.prompter().last());
    }
    return {QStringLiteral("edit of %1: %2").arg(*docno, change), &window, [&window] { return window.execute(CommandId::Save); }};
}

Prepared void_receipt(StepContext& context)
{
    POform_receipt& window = context.clerk.receipt();
    const auto docno = show_receipt(context, window);
    if (!docno)
        return Prepared::skip(QStringLiteral("no receipt to void"));
    return {QStringLiteral("void ") + *docno, &window, [&window] { return window.execute(CommandId::Void); }};
}

} // namespace

std::vector<CycleStep> receipt_steps()
{
    const QString foreign = QStringLiteral(" AND h.currency <> 'USD'");
    return {
        {QStringLiteral("receipt: whole"), 8, Writes::Yes, [](StepContext& c) { return receive(c, Receiving::Whole, {}); }},
        {QStringLiteral("receipt: partial"), 6, Writes::Yes, [](StepContext& c) { return receive(c, Receiving::Partial, {}); }},
        {QStringLiteral("receipt: over-receipt confirmed"), 2, Writes::Yes,
         [](StepContext& c) { return receive(c, Receiving::Over, {}); }},
        {QStringLiteral("receipt: cancel only"), 1, Writes::Yes,
         [](StepContext& c) { return receive(c, Receiving::CancelOnly, {}); }},
        {QStringLiteral("receipt: part received, rest cancelled"), 1, Writes::Yes,
         [](StepContext& c) { return receive(c, Receiving::CancelRest, {}); }},
        {QStringLiteral("receipt: foreign currency"), 3, Writes::Yes,
         [foreign](StepContext& c) { return receive(c, Receiving::Whole, foreign); }},
        {QStringLiteral("receipt: several orders"), 2, Writes::Yes, receive_several_orders},
        {QStringLiteral("receipt: edit"), 3, Writes::Yes, edit_receipt},
        {QStringLiteral("receipt: void"), 2, Writes::Yes, void_receipt},
    };
}

} // namespace zelkor::cycle
