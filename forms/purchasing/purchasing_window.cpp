#include "forms/purchasing/purchasing_window.h"

namespace zelkor {

bool PurchasingWindow::save_document()
{
    return mode() == Mode::New ? save_new() : save_edit();
}

namespace {

QStringList quantity_columns(const QStringList& columns)
{
    QStringList quantities;
    for (const QString& caption : columns)
        if (caption.contains(QLatin1String("quantity")))
            quantities << caption;
    return quantities;
}

} // namespace

std::unique_ptr<TaxPanes> PurchasingWindow::declare_tax_panes()
{
    const TaxPaneDeclaration detail = tax_detail_pane();
    const TaxPaneDeclaration summary = tax_summary_pane();
    declare_pane(detail.pane, detail.caption, PaneArea::Bottom, detail.command);
    Grid& detail_grid = declare_grid(detail.grid, {}, detail.columns, detail.pane);
    detail_grid.set_number_columns({"taxable amount", "tax rate", "tax amount"});
    declare_pane(summary.pane, summary.caption, PaneArea::Bottom, summary.command);
    Grid& summary_grid = declare_grid(summary.grid, {}, summary.columns, summary.pane);
    summary_grid.set_read_only(true);
    summary_grid.set_number_columns({"taxable amount", "tax amount", "recoverable", "allocated", "expensed"});
    return std::make_unique<TaxPanes>(detail_grid, summary_grid);
}

void PurchasingWindow::declare_stock_panes(const QStringList& by_location_columns, const QStringList& by_item_columns)
{
    declare_pane("stock_by_location", "Stock by Warehouse/Location", PaneArea::Right, to_int(CommandId::StockByLocation));
    Grid& by_location = declare_grid("grid_stock_location", {}, by_location_columns, "stock_by_location");
    by_location.set_read_only(true);
    by_location.set_number_columns(quantity_columns(by_location_columns));
    declare_pane("stock_by_item", "Stock By Items", PaneArea::Right, to_int(CommandId::StockByItem));
    Grid& by_item = declare_grid("grid_stock_item", {}, by_item_columns, "stock_by_item");
    by_item.set_read_only(true);
    by_item.set_number_columns(quantity_columns(by_item_columns));
}

void PurchasingWindow::declare_editing_commands()
{
    for (CommandId id : {CommandId::Preview, CommandId::New, CommandId::CopyToNew, CommandId::EditMode,
                         CommandId::InsertLine, CommandId::DeleteLine, CommandId::TaxDetails, CommandId::TaxSummary})
        declare_command(id);
}

void PurchasingWindow::declare_browsing_commands()
{
    for (CommandId id : {CommandId::NextRecord, CommandId::PreviousRecord, CommandId::LastRecord,
                         CommandId::RefreshRecord})
        declare_command(id);
}

void PurchasingWindow::declare_master_and_help_commands(const QString& window_help_caption)
{
    for (CommandId id : {CommandId::AccountMaster, CommandId::ItemMaster, CommandId::VendorMaster,
                         CommandId::StockOnHand})
        declare_command(id);
    declare_command(CommandId::WindowHelp, window_help_caption);
    declare_command(CommandId::SystemHelp);
    declare_command(CommandId::ShowTextBelowIcon);
    for (int id = 401; id <= 408; ++id)
        declare_command(CommandId(id));
}

} // namespace zelkor
