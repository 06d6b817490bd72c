#include "forms/masters/POform_misccharge.h"

namespace zelkor {

POform_misccharge::POform_misccharge(QObject* parent)
    : WindowModel(QStringLiteral("POform_misccharge"), QStringLiteral("Purchase Miscellaneous Charges"),
                  Kind::Document, parent)
{
    using K = FieldKind;
    declare_field({"itemcode", "Code", K::Text, 0});
    declare_field({"description", "Description", K::Text, 0});
    declare_field({"account", "Account", K::DropDown, 1});
    declare_field({"tax_code", "Tax code", K::DropDown, 1});
    declare_grid("dbgrid1", {}, {"item code", "description", "account", "account name", "tax code"});

    declare_command(CommandId::Exit);
    declare_command(CommandId::Save);
    declare_command({102, "Page Set&up", menus::File, false, Right::Print});
    declare_command(CommandId::Preview);
    declare_command(CommandId::New);
    declare_command(CommandId::EditMode);
    declare_command({104, "Find", menus::Edit, true, Right::None});
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

} // namespace zelkor
