#include "windows/masters/POform_shipvia.h"

namespace zelkor {

namespace {

const QString CodeField = QStringLiteral("shipvia_id");
const QString NameField = QStringLiteral("description");

PickList country_list()
{
    return PickList{QStringLiteral("SELECT country FROM Country_table ORDER BY country"), {},
                    QStringLiteral("0;2500;<;Country")};
}

MasterColumn text_column(const char* column, const char* field)
{
    return MasterColumn{QString::fromLatin1(column), {}, QString::fromLatin1(field)};
}

MasterTable shipvia_table()
{
    MasterColumn country = text_column("country", "country");
    country.invalid = QStringLiteral("country is invalid.");
    country.list = country_list();
    MasterColumn code = text_column("shipvia_id", "shipvia_id");
    code.required = QStringLiteral("please specify ship-via code");
    return MasterTable{
        QStringLiteral("Shipvia_table"),
        {code, text_column("Description", "description"), text_column("contact_person", "contact_person"),
         text_column("Address", "address"), text_column("city", "city"), text_column("State", "state"),
         text_column("province", "province"), country, text_column("postal_code", "postal_code"),
         text_column("phone1", "phone1"), text_column("phone2", "phone2"), text_column("fax1", "fax1"),
         text_column("fax2", "fax2"), text_column("mobile1", "mobile1"), text_column("mobile2", "mobile2"),
         text_column("email1", "email1"), text_column("email2", "email2"), text_column("website", "website")},
        {
            {QStringLiteral("PR_header_table"), QStringLiteral("shipvia")},
            {QStringLiteral("PO_header_table"), QStringLiteral("shipvia")},
            {QStringLiteral("PO_receipt_header_table"), QStringLiteral("shipvia")},
            {QStringLiteral("PO_header_template_table"), QStringLiteral("shipvia")},
        },
    };
}

MasterWords shipvia_words()
{
    MasterWords words;
    words.new_question = QStringLiteral("Do you want to save new item?");
    words.added = QStringLiteral("Add new ship-via complete");
    words.delete_question = QStringLiteral("Are you sure to remove ship-via?");
    words.print_title = QStringLiteral("SHIP-VIA MASTER");
    words.print_stem = QStringLiteral("shipvia");
    words.help_file = QStringLiteral("Ship-via Master Help.pdf");
    return words;
}

/// The printed labels and the fields they show: the name and the description are one column.
constexpr std::pair<const char*, const char*> PrintedFields[]{
    {"ship-via code", "shipvia_id"}, {"Name", "description"},     {"Description", "description"},
    {"Contact Person", "contact_person"}, {"Address", "address"}, {"Province", "province"},
    {"City", "city"},                 {"State", "state"},         {"Country", "country"},
    {"Postal Code", "postal_code"},   {"Phone 1", "phone1"},      {"Fax 1", "fax1"},
    {"Mobile 1", "mobile1"},          {"Phone 2", "phone2"},      {"Fax 2", "fax2"},
    {"Mobile 2", "mobile2"},          {"Email 1", "email1"},      {"Email 2", "email2"},
    {"Web Site", "website"},
};

} // namespace

POform_shipvia::POform_shipvia(QObject* parent)
    : MasterWindow(QStringLiteral("POform_shipvia"), QStringLiteral("Ship-via Master"), shipvia_table(), shipvia_words(),
                   parent)
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
    declare_command(PageSetupCommand);
    declare_command(CommandId::Preview);
    declare_command(CommandId::New);
    declare_command(CommandId::EditMode);
    declare_command({to_int(Command::FirstRecord), "First", menus::Record, true, Right::None});
    declare_command(CommandId::PreviousRecord, "Previous");
    declare_command(CommandId::NextRecord, "Next");
    declare_command(CommandId::LastRecord, "Last record");
    declare_command(CommandId::Delete, "Delete");
    declare_command(CommandId::WindowHelp, "Ship-via Master Help");
    declare_command(CommandId::SystemHelp);

    // The code names the record: typed in read mode it finds one, in new mode it is the new
    // record's, and an edited record keeps its own.
    connect(this, &WindowModel::modeChanged, this,
            [this](Mode mode) { set_field_read_only(CodeField, mode == Mode::Edit); });
}

void POform_shipvia::on_open()
{
    MasterWindow::on_open();
    if (load_codes() && !m_codes.isEmpty())
        show(m_codes.front());
}

bool POform_shipvia::load_codes()
{
    auto codes = master_keys(*database(), table());
    if (!codes) {
        report(codes.error(), QStringLiteral("Reading the ship-vias failed"));
        return false;
    }
    m_codes = *codes;
    set_field_choices(CodeField, Choices::of(m_codes));
    return true;
}

bool POform_shipvia::show(const QString& code)
{
    auto row = master_row(*database(), table(), code.trimmed());
    if (!row) {
        report(row.error(), QStringLiteral("Reading the ship-via failed"));
        return false;
    }
    m_shown = *row ? Row::to_text((*row)->value(0)) : QString();
    const auto& columns = table().columns;
    for (int index = 0; index < int(columns.size()); ++index)
        if (index > 0 || *row)
            set_field(columns[size_t(index)].field, *row ? Row::to_text((*row)->value(index)) : QString());
    return row->has_value();
}

Entry POform_shipvia::check_field(const QString& name, const QString& previous)
{
    if (name == CodeField && mode() == Mode::Read) {
        show(field(CodeField));
        return Entry::Accepted;
    }
    return MasterWindow::check_field(name, previous);
}

bool POform_shipvia::browse_to(int id)
{
    if (!settle_unsaved_work())
        return false;
    set_mode(Mode::Read);
    if (m_codes.isEmpty())
        return false;
    const qsizetype at = m_codes.indexOf(m_shown);
    qsizetype target = m_codes.size() - 1;
    if (id == to_int(Command::FirstRecord))
        target = 0;
    else if (id == to_int(CommandId::PreviousRecord))
        target = at < 0 ? 0 : std::max<qsizetype>(at - 1, 0);
    else if (id == to_int(CommandId::NextRecord))
        target = at < 0 ? 0 : std::min(at + 1, m_codes.size() - 1);
    return show(m_codes.at(target));
}

bool POform_shipvia::run_command(int id)
{
    switch (id) {
    case to_int(Command::FirstRecord):
    case to_int(CommandId::PreviousRecord):
    case to_int(CommandId::NextRecord):
    case to_int(CommandId::LastRecord): return browse_to(id);
    case to_int(CommandId::Delete): return delete_shown();
    default: break;
    }
    return MasterWindow::run_command(id);
}

bool POform_shipvia::begin_new()
{
    clear_document();
    return true;
}

bool POform_shipvia::begin_edit()
{
    // Only a ship-via that is in the table can be edited.
    return !m_shown.isEmpty() && m_shown == field(CodeField);
}

void POform_shipvia::discard_changes(Mode left)
{
    if (left == Mode::New) {
        show(m_shown);
        if (m_shown.isEmpty())
            clear_document();
        return;
    }
    MasterWindow::discard_changes(left);
}

bool POform_shipvia::save_document()
{
    if (!may_update())
        return false;
    const MasterValues values = values_of_fields();
    const QString code = values.front();
    if (code.isEmpty()) {
        message(table().key().required);
        return false;
    }
    if (auto refusal = refusal_of_values(values)) {
        message(*refusal);
        return false;
    }
    auto existing = master_row(*database(), table(), code);
    if (!existing) {
        report(existing.error(), failed_sentence(mode() == Mode::New ? words().added : words().updated));
        return false;
    }
    if (*existing) {
        // A new form with a code already in the table may have been meant as another ship-via.
        if (mode() == Mode::New
            && !ask_yes_no(QStringLiteral("Ship-via ") + code + QStringLiteral(" exist. Do you want to replace it?")))
            return false;
        if (!update_shown(values))
            return false;
    } else {
        if (values.value(table().column_of_field(NameField)).trimmed().isEmpty()) {
            message(QStringLiteral("please specify ship-via name"));
            return false;
        }
        if (!insert_row(values, {{QStringLiteral("active"), true}}))
            return false;
        message(words().added);
    }
    load_codes();
    show(code);
    return true;
}

bool POform_shipvia::update_shown(const MasterValues& values)
{
    const QString failed = failed_sentence(words().updated);
    Transaction tx(*database());
    if (!tx.active()) {
        report(tx.begin_error(), failed);
        return false;
    }
    auto updated = update_master_row(*database(), table(), values);
    if (!updated) {
        report(updated.error(), failed);
        return false;
    }
    if (*updated == 0) {
        // Another user removed it meanwhile.
        report(Error::database(QStringLiteral("the ship-via was deleted by another user")), failed);
        return false;
    }
    if (auto committed = tx.commit(); !committed) {
        report(committed.error(), failed);
        return false;
    }
    message(words().updated);
    return true;
}

bool POform_shipvia::delete_shown()
{
    if (mode() != Mode::Read || m_shown.isEmpty())
        return false;
    const QString code = m_shown;
    if (!delete_master_row_asked(code))
        return false;
    const qsizetype at = m_codes.indexOf(code);
    load_codes();
    if (m_codes.isEmpty()) {
        m_shown.clear();
        clear_document();
        return true;
    }
    show(m_codes.at(std::min(std::max<qsizetype>(at, 0), m_codes.size() - 1)));
    return true;
}

PrintList POform_shipvia::print_list() const
{
    PrintList list;
    list.title = words().print_title;
    list.fields_per_line = 1;
    for (const auto& [label, name] : PrintedFields)
        list.fields.emplace_back(QString::fromLatin1(label), field(QString::fromLatin1(name)).simplified());
    return list;
}

} // namespace zelkor
