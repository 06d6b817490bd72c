#include "windows/masters/POform_misccharge.h"

namespace zelkor {

namespace {

MasterTable charge_table()
{
    const QString line_condition = QStringLiteral("itemtype = ?");
    // Landed-cost lines name their charge whatever item type they carry.
    const QString landed_condition = QStringLiteral("itemtype = ? OR landed_item = ?");
    const Params charge_type{QStringLiteral("6")};
    const Params charge_or_landed{QStringLiteral("6"), true};
    return MasterTable{
        QStringLiteral("Vendor_miscellaneous_charge_table"),
        {
            {QStringLiteral("itemcode"), QStringLiteral("item code"), QStringLiteral("itemcode")},
            {QStringLiteral("Description"), QStringLiteral("description"), QStringLiteral("description")},
            {QStringLiteral("account"), QStringLiteral("account"), QStringLiteral("account"),
             QStringLiteral("please specify account"), QStringLiteral("account is invalid."),
             pick_lists::account(AccountList::Expense), QStringLiteral("account name"),
             QStringLiteral("SELECT accno, accname FROM Account_master_table")},
            {QStringLiteral("tax_code"), QStringLiteral("tax code"), QStringLiteral("tax_code"),
             QStringLiteral("please specify tax code"), QStringLiteral("tax code is invalid."),
             pick_lists::purchase_tax_code()},
        },
        {
            {QStringLiteral("PR_transaction_table"), QStringLiteral("itemcode"), line_condition, charge_type},
            {QStringLiteral("PO_transaction_table"), QStringLiteral("itemcode"), line_condition, charge_type},
            {QStringLiteral("PO_receipt_transaction_table"), QStringLiteral("itemcode"), landed_condition, charge_or_landed},
            {QStringLiteral("PO_invoice_transaction_table"), QStringLiteral("itemcode"), landed_condition, charge_or_landed},
            {QStringLiteral("PO_transaction_template_table"), QStringLiteral("itemcode"), line_condition, charge_type},
        },
    };
}

MasterWords charge_words()
{
    MasterWords words;
    words.new_question = QStringLiteral("Do you want to save new item?");
    words.added = QStringLiteral("Add new charged item complete");
    words.delete_question = QStringLiteral("Are you sure to delete %1");
    words.delete_title = QStringLiteral("Delete item");
    words.deleted = QStringLiteral("Delete item complete");
    words.print_title = QStringLiteral("PURCHASE MISCELLANEOUS CHARGES");
    words.print_stem = QStringLiteral("purchase_misc_charge");
    words.help_file = QStringLiteral("Purchase Miscellaneous charge Help.pdf");
    return words;
}

} // namespace

POform_misccharge::POform_misccharge(QObject* parent)
    : MasterWindow(QStringLiteral("POform_misccharge"), QStringLiteral("Purchase Miscellaneous Charges"), charge_table(),
                   charge_words(), parent)
{
    using K = FieldKind;
    declare_field({"itemcode", "Code", K::Text, 0});
    declare_field({"description", "Description", K::Text, 0});
    declare_field({"account", "Account", K::DropDown, 1});
    declare_field({"tax_code", "Tax code", K::DropDown, 1});
    declare_master_grid(QStringLiteral("dbgrid1"));

    declare_command(CommandId::Exit);
    declare_command(CommandId::Save);
    declare_command(PageSetupCommand);
    declare_command(CommandId::Preview);
    declare_command(CommandId::New);
    declare_command(CommandId::EditMode);
    declare_command({to_int(Command::Find), "Find", menus::Edit, true, Right::None});
    declare_command(CommandId::FirstRecord);
    declare_command(CommandId::PreviousRecord);
    declare_command(CommandId::NextRecord);
    declare_command(CommandId::LastRecord);
    declare_command(CommandId::InsertLine);
    declare_command(CommandId::DeleteLine);
    declare_command(CommandId::Delete, "Delete");
    declare_command(CommandId::WindowHelp, "Purchase Miscellaneous charge Help");
    declare_command(CommandId::SystemHelp);
    for (int id = 401; id <= 408; ++id)
        declare_command(CommandId(id));
}

bool POform_misccharge::run_command(int id)
{
    if (id == to_int(Command::Find))
        return find_account();
    return MasterWindow::run_command(id);
}

bool POform_misccharge::find_account()
{
    const auto typed = prompter().prompt(QStringLiteral("account"), QStringLiteral("Find"), field("account"));
    if (!typed || typed->trimmed().isEmpty())
        return false;
    Grid& grid = *master_grid();
    const int account = grid.required_column(QStringLiteral("account"));
    for (int row = 0; row < grid.row_count(); ++row)
        if (grid.cell(row, account).compare(typed->trimmed(), Qt::CaseInsensitive) == 0) {
            grid.set_current(row, account);
            return true;
        }
    message(typed->trimmed() + QStringLiteral(" not found"));
    return false;
}

} // namespace zelkor
