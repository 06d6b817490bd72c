#include "forms/masters/POform_shipvia.h"

namespace zelkor {

POform_shipvia::POform_shipvia(QObject* parent)
    : WindowModel(QStringLiteral("POform_shipvia"), QStringLiteral("Ship-via Master"), Kind::Document, parent)
{
    using K = FieldKind;
    declare_field({"shipvia_id", "Ship-via code", K::DropDown, 0, {}, false, ReadModeLock::Open});
    declare_field({"description", "Name", K::Text, 0});
    declare_field({"contact_person", "Contact person", K::Text, 1});
    declare_field({"address", "Address", K::MultiLine, 2});
    declare_field({"city", "City", K::Text, 3});
    declare_field({"state", "State", K::Text, 3});
    declare_field({"province", "Province", K::Text, 3});
    declare_field({"country", "Country", K::DropDown, 4});
    declare_field({"postal_code", "Postal code", K::Text, 4});
    declare_field({"phone1", "Phone 1", K::Text, 5});
    declare_field({"phone2", "Phone 2", K::Text, 5});
    declare_field({"fax1", "Fax 1", K::Text, 6});
    declare_field({"fax2", "Fax 2", K::Text, 6});
    declare_field({"mobile1", "Mobile 1", K::Text, 7});
    declare_field({"mobile2", "Mobile 2", K::Text, 7});
    declare_field({"email1", "E-mail 1", K::Text, 8});
    declare_field({"email2", "E-mail 2", K::Text, 8});
    declare_field({"website", "Web site", K::Text, 9});

    declare_command(CommandId::Exit);
    declare_command(CommandId::Save);
    declare_command({102, "Page Set&up", menus::File, false, Right::Print});
    declare_command(CommandId::Preview);
    declare_command(CommandId::New);
    declare_command(CommandId::EditMode);
    declare_command({FirstRecord, "First", menus::Record, true, Right::None});
    declare_command(CommandId::PreviousRecord, "Previous");
    declare_command(CommandId::NextRecord, "Next");
    declare_command(CommandId::LastRecord, "Last record");
    declare_command(CommandId::Delete, "Delete");
    declare_command(CommandId::WindowHelp, "Ship-via Master Help");
    declare_command(CommandId::SystemHelp);
}

} // namespace zelkor
