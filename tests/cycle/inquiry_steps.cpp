// Reading steps: the inquiries run over every document so far, the stock panes of a document,
// and browsing through saved documents. They must write nothing.
#include "step.h"

#include "reports/report_window.h"

namespace zelkor::cycle {

namespace {

/// Opens an inquiry, runs its search and reads every page of the result, then closes it.
Prepared run_inquiry(StepContext& context, const QString& reference, void (POclass::*open)())
{
    POclass& facade = context.clerk.facade();
    (facade.*open)();
    auto* window = dynamic_cast<ReportWindow*>(facade.window(reference));
    if (!window)
        return Prepared::skip(reference + QStringLiteral(" did not open"));
    window->execute(int(ReportCommand::Find));
    while (window->results().fetch_more()) {
    }
    const int rows = window->results().row_count();
    window->close_window(WindowModel::Closing::Unload);
    return Prepared::read(QStringLiteral("%1: %2 rows").arg(reference).arg(rows));
}

/// Shows a saved document of a window and opens and closes its stock panes over it.
Prepared stock_panes(StepContext& context)
{
    const bool order = context.dice.chance(0.5);
    WindowModel& window = order ? static_cast<WindowModel&>(context.clerk.order())
                                : static_cast<WindowModel&>(context.clerk.requisition());
    const auto docno = show_chosen(context, window,
                                   order ? QStringLiteral("SELECT docno FROM PO_header_table ORDER BY fkey")
                                         : QStringLiteral("SELECT docno FROM PR_header_table ORDER BY fkey"));
    if (!docno)
        return Prepared::skip(QStringLiteral("nothing to show"));
    for (CommandId pane : {CommandId::StockByLocation, CommandId::StockByItem}) {
        window.execute(pane);
        window.execute(pane);
    }
    return Prepared::read(QStringLiteral("stock panes of ") + *docno);
}

Prepared browse(StepContext& context)
{
    POform_receipt& window = context.clerk.receipt();
    context.clerk.settle(window);
    window.execute(CommandId::LastRecord);
    const int steps = context.dice.between(1, 5);
    for (int step = 0; step < steps; ++step)
        window.execute(CommandId::PreviousRecord);
    window.execute(CommandId::NextRecord);
    return Prepared::read(QStringLiteral("browse receipts to ") + window.field(QStringLiteral("docno")));
}

} // namespace

std::vector<CycleStep> inquiry_steps()
{
    return {
        {QStringLiteral("inquiry: requisition lines"), 1, Writes::No,
         [](StepContext& c) {
             return run_inquiry(c, QStringLiteral("frm_pr_transaction"),
                                static_cast<void (POclass::*)()>(&POclass::showform_POform_pr_transaction));
         }},
        {QStringLiteral("inquiry: order lines"), 1, Writes::No,
         [](StepContext& c) {
             return run_inquiry(c, QStringLiteral("frm_po_transaction"),
                                static_cast<void (POclass::*)()>(&POclass::showform_POform_po_transaction));
         }},
        {QStringLiteral("inquiry: receipt lines"), 1, Writes::No,
         [](StepContext& c) {
             return run_inquiry(c, QStringLiteral("frm_receipt_transaction"),
                                static_cast<void (POclass::*)()>(&POclass::showform_POform_receipt_transaction));
         }},
        {QStringLiteral("inquiry: payable clearing"), 1, Writes::No,
         [](StepContext& c) { return run_inquiry(c, QStringLiteral("frm_payable_clearing"), &POclass::showform_POform_payable_clearing); }},
        {QStringLiteral("inquiry: purchase tax"), 1, Writes::No,
         [](StepContext& c) { return run_inquiry(c, QStringLiteral("frm_purchase_tax"), &POclass::showform_POform_purchase_tax); }},
        {QStringLiteral("stock panes"), 2, Writes::No, stock_panes},
        {QStringLiteral("browse receipts"), 1, Writes::No, browse},
    };
}

} // namespace zelkor::cycle
