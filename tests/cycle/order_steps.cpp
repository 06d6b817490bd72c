// The order window's steps: new orders (some for the future), edits, closing, voiding,
// activating future orders, taking requisition lines over, reorder suggestions and templates.
#include "step.h"

#include "core/clock.h"

namespace zelkor::cycle {

namespace {

const QString Quantity = QStringLiteral("quantity order");

/// The names the clerks give their templates; some take quotes, a percent sign or accents.
const QStringList TemplateNames{QStringLiteral("Weekly"), QStringLiteral("Monthly paint"), QStringLiteral("Rush 'A'"),
                                QStringLiteral("100% bolts_2"), QStringLiteral("Ünïcode ✓ Vorlage")};

int free_row(Grid& grid)
{
    for (int row = 0; row < grid.row_count(); ++row)
        if (grid.cell(row, QStringLiteral("item code")).isEmpty() && grid.cell(row, QStringLiteral("description")).isEmpty())
            return row;
    return grid.append_row();
}

QString user_date(const QDate& date) { return date.toString(QStringLiteral("dd/MM/yyyy")); }

Prepared save_of(POform_po& window, QString what)
{
    return {std::move(what), &window, [&window] { return window.execute(CommandId::Save); }};
}

/// Types one to five lines of items a vendor might sell into the order window.
bool type_lines(StepContext& context, POform_po& window, int most)
{
    const auto choices = context.items({"1", "1", "1", "1", "2", "5", "6"});
    const int count = context.dice.between(1, most);
    for (int line = 0; line < count; ++line)
        if (!type_line(context, window.lines(), free_row(window.lines()), context.dice.pick(choices), Quantity))
            return false;
    return true;
}

} // namespace

bool complete_taken_lines(StepContext& context, POform_po& window)
{
    Grid& grid = window.lines();
    for (int row = 0; row < grid.row_count(); ++row) {
        const QString code = grid.cell(row, QStringLiteral("item code"));
        if (code.isEmpty() || grid.cell(row, QStringLiteral("item type")) != u"2")
            continue;
        if (grid.cell(row, QStringLiteral("account")).isEmpty()
            && grid.type_cell(row, QStringLiteral("account"), QStringLiteral("6000")) != Entry::Accepted)
            return false;
        for (const ItemCode& item : context.catalogue.items)
            if (item.code == code && !item.units.isEmpty() && grid.cell(row, QStringLiteral("uom")).isEmpty()
                && grid.type_cell(row, QStringLiteral("uom"), item.units.first()) != Entry::Accepted)
                return false;
    }
    return true;
}

namespace {

Prepared new_order(StepContext& context)
{
    POform_po& window = context.clerk.order();
    const VendorCode vendor = context.dice.pick(context.catalogue.vendors);
    if (QString why; !start_new(context, window, vendor.code, why))
        return Prepared::skip(why);
    QString kind = QStringLiteral("order");
    if (context.dice.chance(0.12)) {
        kind = QStringLiteral("future order");
        window.type_into(QStringLiteral("future_po"), QStringLiteral("1"));
        if (window.type_into(QStringLiteral("activate_date"), user_date(Clock::today().addDays(context.dice.between(-3, 20))))
            != Entry::Accepted)
            return Prepared::skip(QStringLiteral("activation date refused: ") + context.clerk.prompter().last());
    }
    if (!type_lines(context, window, 5))
        return Prepared::skip(QStringLiteral("line refused: ") + context.clerk.prompter().last());
    return save_of(window, QStringLiteral("%1 of %2 (%3)").arg(kind, vendor.code, vendor.currency));
}

/// Shows a live order chosen by `condition` on PO_header_table; its number, or nothing.
std::optional<QString> show_order(StepContext& context, POform_po& window, const QString& condition)
{
    return show_chosen(context, window,
                       QStringLiteral("SELECT docno FROM PO_header_table WHERE void = FALSE AND ") + condition
                           + QStringLiteral(" ORDER BY fkey"));
}

Prepared edit_order(StepContext& context)
{
    POform_po& window = context.clerk.order();
    const auto docno = show_order(context, window, QStringLiteral("fully_received = FALSE"));
    if (!docno)
        return Prepared::skip(QStringLiteral("no open order"));
    if (!window.execute(CommandId::EditMode))
        return Prepared::skip(QStringLiteral("edit refused: ") + context.clerk.prompter().last());
    Grid& grid = window.lines();
    const int row = context.dice.between(0, std::max(0, grid.row_count() - 1));
    QString change;
    if (context.dice.chance(0.25) || grid.cell(row, QStringLiteral("item code")).isEmpty()) {
        change = QStringLiteral("a new line");
        if (!type_lines(context, window, 1))
            return Prepared::skip(QStringLiteral("line refused: ") + context.clerk.prompter().last());
    } else if (context.dice.chance(0.5)) {
        change = QStringLiteral("line %1 quantity").arg(row + 1);
        const bool whole = grid.cell(row, QStringLiteral("item type")) != u"6";
        if (grid.type_cell(row, Quantity, context.dice.quantity(whole ? 0 : 2, 1, 30)) != Entry::Accepted)
            return Prepared::skip(QStringLiteral("quantity refused: ") + context.clerk.prompter().last());
    } else {
        change = QStringLiteral("line %1 unit cost").arg(row + 1);
        if (grid.type_cell(row, QStringLiteral("unit cost"), context.dice.unit_cost()) != Entry::Accepted)
            return Prepared::skip(QStringLiteral("unit cost refused: ") + context.clerk.prompter().last());
    }
    return save_of(window, QStringLiteral("edit of %1: %2").arg(*docno, change));
}

Prepared close_order(StepContext& context)
{
    POform_po& window = context.clerk.order();
    const auto docno = show_order(context, window, QStringLiteral("fully_received = FALSE"));
    if (!docno)
        return Prepared::skip(QStringLiteral("no open order"));
    return {QStringLiteral("close ") + *docno, &window, [&window] { return window.execute(POform_po::Command::ClosePo); }};
}

Prepared void_order(StepContext& context)
{
    POform_po& window = context.clerk.order();
    // Mostly orders nothing was received on yet; now and then one that was, which is refused.
    const auto docno = show_order(context, window,
                                  context.dice.chance(0.85) ? QStringLiteral("received = FALSE") : QStringLiteral("1 = 1"));
    if (!docno)
        return Prepared::skip(QStringLiteral("no order to void"));
    return {QStringLiteral("void ") + *docno, &window, [&window] { return window.execute(CommandId::Void); }};
}

Prepared activate_orders(StepContext& context)
{
    POform_po& window = context.clerk.order();
    if (context.dice.chance(0.3)) {
        context.clerk.settle(window);
        return {QStringLiteral("activate every future order due"), &window,
                [&window] { return window.execute(POform_po::Command::ActivateAllFuturePos); }};
    }
    const auto docno = show_order(context, window, QStringLiteral("future_po = TRUE"));
    if (!docno)
        return Prepared::skip(QStringLiteral("no future order"));
    return {QStringLiteral("activate ") + *docno, &window,
            [&window] { return window.execute(POform_po::Command::ActivateThisFuturePo); }};
}

/// A new order with lines taken over from an open requisition in the requisition pane.
Prepared take_over_requisition(StepContext& context)
{
    const auto chosen = context.pick_row(QStringLiteral("SELECT docno, vendor_no FROM PR_header_table WHERE closed = FALSE"
                                                        " ORDER BY fkey"));
    if (!chosen)
        return Prepared::skip(QStringLiteral("no open requisition"));
    POform_po& window = context.clerk.order();
    QString vendor = chosen->text(u"vendor_no");
    if (vendor.isEmpty() || context.dice.chance(0.2))
        vendor = context.dice.pick(context.catalogue.vendors).code;
    if (QString why; !start_new(context, window, vendor, why))
        return Prepared::skip(why);
    if (!window.find_command(to_int(POform_po::Command::PrWindow))->checked)
        window.execute(POform_po::Command::PrWindow);
    // Chosen again, the requisition is read again: the pane does not follow saves meanwhile.
    const QString docno = chosen->text(u"docno");
    window.type_into(QStringLiteral("pr_docno"), QString());
    window.type_into(QStringLiteral("pr_docno"), docno);
    Grid& pane = *window.grid(QStringLiteral("grid_pr"));
    int taken = 0;
    const bool all = context.dice.chance(0.5);
    for (int row = 0; row < pane.row_count(); ++row)
        if ((all || context.dice.chance(0.5)) && window.take_over_requisition_line(row))
            ++taken;
    if (taken == 0)
        return Prepared::skip(QStringLiteral("no open line on ") + docno);
    if (!complete_taken_lines(context, window))
        return Prepared::skip(QStringLiteral("unit refused: ") + context.clerk.prompter().last());
    return save_of(window, QStringLiteral("order of %1 taking %2 lines of %3").arg(vendor).arg(taken).arg(docno));
}

Prepared reorder_suggestions(StepContext& context)
{
    POform_po& window = context.clerk.order();
    const VendorCode vendor = context.dice.pick(context.catalogue.vendors);
    if (QString why; !start_new(context, window, vendor.code, why))
        return Prepared::skip(why);
    if (!window.execute(POform_po::Command::ReorderingStockItems) || window.lines().cell(0, QStringLiteral("item code")).isEmpty())
        return Prepared::skip(QStringLiteral("nothing to reorder"));
    // The proposal leaves the cursor on the empty row after the lines, where the save finds "No
    // detail line": the clerk clicks the first line first.
    window.lines().set_current(0, window.lines().required_column(QStringLiteral("item code")));
    return save_of(window, QStringLiteral("reorders from ") + vendor.code);
}

std::optional<QString> saved_template(StepContext& context)
{
    const auto chosen = context.pick_row(QStringLiteral("SELECT docno FROM PO_header_template_table ORDER BY docno"));
    return chosen ? std::optional(chosen->text(u"docno")) : std::nullopt;
}

Prepared save_as_template(StepContext& context)
{
    POform_po& window = context.clerk.order();
    const auto docno = show_order(context, window, QStringLiteral("1 = 1"));
    if (!docno)
        return Prepared::skip(QStringLiteral("no order"));
    const QString name = context.dice.pick(TemplateNames);
    context.clerk.prompter().set_prompt_answer(name);
    return {QStringLiteral("save %1 as template %2").arg(*docno, name), &window,
            [&window] { return window.execute(POform_po::Command::SaveAsTemplate); }};
}

Prepared new_template(StepContext& context)
{
    POform_po& window = context.clerk.order();
    context.clerk.settle(window);
    if (!window.execute(POform_po::Command::NewTemplate))
        return Prepared::skip(QStringLiteral("new template refused: ") + context.clerk.prompter().last());
    const QString name = context.dice.pick(TemplateNames);
    window.type_into(QStringLiteral("template"), name);
    const VendorCode vendor = context.dice.pick(context.catalogue.vendors);
    if (window.type_into(QStringLiteral("vendor_no"), vendor.code) != Entry::Accepted)
        return Prepared::skip(QStringLiteral("vendor refused: ") + context.clerk.prompter().last());
    if (!type_lines(context, window, 3))
        return Prepared::skip(QStringLiteral("line refused: ") + context.clerk.prompter().last());
    return save_of(window, QStringLiteral("new template ") + name);
}

Prepared order_from_template(StepContext& context)
{
    const auto name = saved_template(context);
    if (!name)
        return Prepared::skip(QStringLiteral("no template"));
    POform_po& window = context.clerk.order();
    context.clerk.settle(window);
    // A template chosen again in the drop-down is no change: the clerk empties the box first.
    window.type_into(QStringLiteral("template"), QString());
    if (window.type_into(QStringLiteral("template"), *name) != Entry::Accepted || window.mode() != WindowModel::Mode::New)
        return Prepared::skip(QStringLiteral("template refused: ") + context.clerk.prompter().last());
    if (window.field(QStringLiteral("vendor_no")).isEmpty()
        && window.type_into(QStringLiteral("vendor_no"), context.dice.pick(context.catalogue.vendors).code) != Entry::Accepted)
        return Prepared::skip(QStringLiteral("vendor refused: ") + context.clerk.prompter().last());
    return save_of(window, QStringLiteral("order from template ") + *name);
}

/// Shows a saved template in template edit mode: chosen in the drop-down it starts an order, and
/// Edit Template then shows the template itself. Its name, or nothing (`why` says why).
std::optional<QString> edit_a_template(StepContext& context, POform_po& window, QString& why)
{
    const auto name = saved_template(context);
    if (!name) {
        why = QStringLiteral("no template");
        return std::nullopt;
    }
    context.clerk.settle(window);
    // A template chosen again in the drop-down is no change: the clerk empties the box first.
    window.type_into(QStringLiteral("template"), QString());
    window.type_into(QStringLiteral("template"), *name);
    if (!window.execute(POform_po::Command::EditTemplate)) {
        why = QStringLiteral("edit template refused: ") + context.clerk.prompter().last();
        return std::nullopt;
    }
    return name;
}

Prepared edit_template(StepContext& context)
{
    POform_po& window = context.clerk.order();
    QString why;
    const auto name = edit_a_template(context, window, why);
    if (!name)
        return Prepared::skip(why);
    Grid& grid = window.lines();
    const int row = context.dice.between(0, std::max(0, grid.row_count() - 1));
    if (grid.cell(row, QStringLiteral("item code")).isEmpty())
        return Prepared::skip(QStringLiteral("an empty row"));
    if (grid.type_cell(row, Quantity, context.dice.quantity(0)) != Entry::Accepted)
        return Prepared::skip(QStringLiteral("quantity refused: ") + context.clerk.prompter().last());
    return save_of(window, QStringLiteral("edit template ") + *name);
}

Prepared delete_template(StepContext& context)
{
    POform_po& window = context.clerk.order();
    QString why;
    const auto name = edit_a_template(context, window, why);
    if (!name)
        return Prepared::skip(why);
    return {QStringLiteral("delete template ") + *name, &window,
            [&window] { return window.execute(POform_po::Command::DeleteTemplate); }};
}

} // namespace

std::vector<CycleStep> order_steps()
{
    return {
        {QStringLiteral("order: new"), 14, Writes::Yes, new_order},
        {QStringLiteral("order: edit"), 5, Writes::Yes, edit_order},
        {QStringLiteral("order: close"), 2, Writes::Yes, close_order},
        {QStringLiteral("order: void"), 2, Writes::Yes, void_order},
        {QStringLiteral("order: activate future"), 2, Writes::Yes, activate_orders},
        {QStringLiteral("order: take over requisition"), 4, Writes::Yes, take_over_requisition},
        {QStringLiteral("order: reorder suggestions"), 1, Writes::Yes, reorder_suggestions},
        {QStringLiteral("template: save order as"), 1, Writes::Yes, save_as_template},
        {QStringLiteral("template: new"), 1, Writes::Yes, new_template},
        {QStringLiteral("template: order from"), 2, Writes::Yes, order_from_template},
        {QStringLiteral("template: edit"), 1, Writes::Yes, edit_template},
        {QStringLiteral("template: delete"), 1, Writes::Yes, delete_template},
    };
}

} // namespace zelkor::cycle
