// The requisition window's steps: a new requisition, an edit, closing, deleting a closed one,
// and issuing one as an order (the host's part of the hand-off included).
#include "step.h"

namespace zelkor::cycle {

namespace {

const QString Quantity = QStringLiteral("quantity");

Grid& lines(POform_pr& window) { return *window.grid(QStringLiteral("dbgrid1")); }

int free_row(Grid& grid, int wanted) { return wanted < grid.row_count() ? wanted : grid.append_row(); }

Prepared new_requisition(StepContext& context)
{
    POform_pr& window = context.clerk.requisition();
    const VendorCode vendor = context.dice.pick(context.catalogue.vendors);
    if (QString why; !start_new(context, window, vendor.code, why))
        return Prepared::skip(why);
    const int count = context.dice.between(1, 4);
    const auto choices = context.items({"1", "1", "1", "2", "5", "6"});
    for (int line = 0; line < count; ++line)
        if (!type_line(context, lines(window), free_row(lines(window), line), context.dice.pick(choices), Quantity))
            return Prepared::skip(QStringLiteral("line refused: ") + context.clerk.prompter().last());
    return {QStringLiteral("requisition of %1, %2 lines").arg(vendor.code).arg(count), &window,
            [&window] { return window.execute(CommandId::Save); }};
}

/// Shows an open requisition; nothing when there is none.
std::optional<QString> show_open_requisition(StepContext& context, POform_pr& window)
{
    return show_chosen(context, window, QStringLiteral("SELECT docno FROM PR_header_table WHERE closed = FALSE ORDER BY fkey"));
}

Prepared edit_requisition(StepContext& context)
{
    POform_pr& window = context.clerk.requisition();
    const auto docno = show_open_requisition(context, window);
    if (!docno)
        return Prepared::skip(QStringLiteral("no open requisition"));
    if (!window.execute(CommandId::EditMode))
        return Prepared::skip(QStringLiteral("edit refused: ") + context.clerk.prompter().last());
    Grid& grid = lines(window);
    QString change = QStringLiteral("quantity");
    if (context.dice.chance(0.3)) {
        change = QStringLiteral("a new line");
        int row = 0;
        while (row < grid.row_count() && !grid.row_empty(row))
            ++row;
        if (!type_line(context, grid, free_row(grid, row), context.dice.pick(context.items({"1", "2", "6"})), Quantity))
            return Prepared::skip(QStringLiteral("line refused: ") + context.clerk.prompter().last());
    } else {
        const int row = context.dice.between(0, std::max(0, grid.row_count() - 1));
        if (grid.cell(row, QStringLiteral("item code")).isEmpty())
            return Prepared::skip(QStringLiteral("an empty row"));
        if (grid.type_cell(row, Quantity, context.dice.quantity(0)) != Entry::Accepted)
            return Prepared::skip(QStringLiteral("quantity refused: ") + context.clerk.prompter().last());
    }
    return {QStringLiteral("edit of %1: %2").arg(*docno, change), &window, [&window] { return window.execute(CommandId::Save); }};
}

Prepared close_requisition(StepContext& context)
{
    POform_pr& window = context.clerk.requisition();
    const auto docno = show_open_requisition(context, window);
    if (!docno)
        return Prepared::skip(QStringLiteral("no open requisition"));
    return {QStringLiteral("close ") + *docno, &window, [&window] { return window.execute(POform_pr::Command::ClosePr); }};
}

Prepared delete_requisition(StepContext& context)
{
    POform_pr& window = context.clerk.requisition();
    const auto docno =
        show_chosen(context, window, QStringLiteral("SELECT docno FROM PR_header_table WHERE closed = TRUE ORDER BY fkey"));
    if (!docno)
        return Prepared::skip(QStringLiteral("no closed requisition"));
    return {QStringLiteral("delete ") + *docno, &window, [&window] { return window.execute(CommandId::Delete); }};
}

/// "&Issue PO": the requisition notifies, the host opens the order window and hands the
/// requisition over; the clerk saves the order.
Prepared issue_order(StepContext& context)
{
    POform_pr& requisition = context.clerk.requisition();
    const auto docno = show_open_requisition(context, requisition);
    if (!docno)
        return Prepared::skip(QStringLiteral("no open requisition"));
    POform_po& order = context.clerk.order();
    context.clerk.settle(order);
    if (!requisition.execute(POform_pr::Command::IssuePo))
        return Prepared::skip(QStringLiteral("issue refused: ") + context.clerk.prompter().last());
    context.clerk.facade().Issue_PO();
    if (order.mode() != WindowModel::Mode::New)
        return Prepared::skip(QStringLiteral("the order window took no requisition"));
    if (!complete_taken_lines(context, order))
        return Prepared::skip(QStringLiteral("unit refused: ") + context.clerk.prompter().last());
    if (order.field(QStringLiteral("vendor_no")).isEmpty()
        && order.type_into(QStringLiteral("vendor_no"), context.dice.pick(context.catalogue.vendors).code) != Entry::Accepted)
        return Prepared::skip(QStringLiteral("vendor refused: ") + context.clerk.prompter().last());
    return {QStringLiteral("issue %1 as an order of %2").arg(*docno, order.field(QStringLiteral("vendor_no"))), &order,
            [&order] { return order.execute(CommandId::Save); }};
}

} // namespace

std::vector<CycleStep> requisition_steps()
{
    return {
        {QStringLiteral("requisition: new"), 10, Writes::Yes, new_requisition},
        {QStringLiteral("requisition: edit"), 4, Writes::Yes, edit_requisition},
        {QStringLiteral("requisition: close"), 2, Writes::Yes, close_requisition},
        {QStringLiteral("requisition: delete"), 1, Writes::Yes, delete_requisition},
        {QStringLiteral("requisition: issue as order"), 6, Writes::Yes, issue_order},
    };
}

} // namespace zelkor::cycle
