#include "forms/masters/POform_vendor_group.h"

namespace zelkor {

POform_vendor_group::POform_vendor_group(QObject* parent)
    : WindowModel(QStringLiteral("POform_vendor_group"), QStringLiteral("Vendor Group"), Kind::Document, parent)
{
    using K = FieldKind;
    declare_field({"group_name", "Group name", K::Text, 0});
    declare_field({"description", "Description", K::Text, 0});
    declare_field({"vendor_group", "Group", K::DropDown, 1, {}, false, ReadModeLock::Open});
    declare_grid("dbgrid_group", {}, {"group name", "description"});
    declare_grid("dbgrid_member", {}, {"vendor group", "vendor no", "name"});

    declare_command(CommandId::Exit);
    declare_command(CommandId::Save);
    declare_command(CommandId::Preview);
    declare_command({104, "&Find", menus::Edit, true, Right::None});
    declare_command(CommandId::New);
    declare_command(CommandId::EditMode);
    declare_command(CommandId::Delete);
    declare_command({Back, "Back", menus::View, true, Right::None});
    declare_command(CommandId::WindowHelp, "Vendor Group Help");
    declare_command(CommandId::SystemHelp);
    for (int id = 401; id <= 408; ++id)
        declare_command(CommandId(id));
}

} // namespace zelkor
