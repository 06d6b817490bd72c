#include "windows/base/form_properties.h"

#include "core/db/row.h"
#include "core/db/sql_names.h"

namespace zelkor {

namespace {

const QString EvenRowColour = QStringLiteral("evenrow_color");

bool switched_on(const QString& value)
{
    return value == QLatin1String("1") || value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

} // namespace

[[nodiscard]] std::expected<std::optional<FormProperties>, Error> load_form_properties(Database& db, const QString& userid,
                                                                         const QString& form)
{
    auto row = db.first(QStringLiteral("SELECT toolbar_text, Fontbar FROM Form_property_table WHERE userid = ? AND form = ?"),
                        {userid, form});
    if (!row)
        return std::unexpected(row.error());
    if (!*row)
        return std::optional<FormProperties>{};
    return FormProperties{(*row)->flag_or_null(u"toolbar_text"), (*row)->flag_or_null(u"Fontbar")};
}

[[nodiscard]] std::expected<bool, Error> save_form_properties(Database& db, const QString& userid, const QString& form,
                                                bool toolbar_text, bool fontbar)
{
    auto updated = UpdateRow(QStringLiteral("Form_property_table"))
                       .set(u"toolbar_text", toolbar_text)
                       .set(u"Fontbar", fontbar)
                       .where(QStringLiteral("userid = ? AND form = ?"), {userid, form})
                       .execute(db);
    if (!updated)
        return std::unexpected(updated.error());
    return *updated > 0;
}

[[nodiscard]] std::expected<std::optional<QString>, Error> recent_value(Database& db, const QString& form,
                                                          const QString& control_name)
{
    auto row = db.first(QStringLiteral("SELECT Value FROM Recent_value_table WHERE form_name = ? AND control_name = ?"),
                        {form, control_name});
    if (!row)
        return std::unexpected(row.error());
    if (!*row)
        return std::optional<QString>{};
    return std::optional<QString>((*row)->text(u"Value"));
}

[[nodiscard]] std::expected<bool, Error> remember_value(Database& db, const QString& form, const QString& control_name,
                                          const QString& value)
{
    auto updated = UpdateRow(QStringLiteral("Recent_value_table"))
                       .set(u"Value", value)
                       .where(QStringLiteral("form_name = ? AND control_name = ?"), {form, control_name})
                       .execute(db);
    if (!updated)
        return std::unexpected(updated.error());
    return *updated > 0;
}

[[nodiscard]] std::expected<bool, Error> alternate_row_colour(Database& db)
{
    auto row = db.first(QStringLiteral("SELECT Value FROM Recent_value_table WHERE control_name = ? ORDER BY form_name"),
                        {EvenRowColour});
    if (!row)
        return std::unexpected(row.error());
    return *row && switched_on((*row)->text(u"Value"));
}

[[nodiscard]] std::expected<bool, Error> set_alternate_row_colour(Database& db, bool on)
{
    auto updated = UpdateRow(QStringLiteral("Recent_value_table"))
                       .set(u"Value", on ? "1" : "0")
                       .where(QStringLiteral("control_name = ?"), {EvenRowColour})
                       .execute(db);
    if (!updated)
        return std::unexpected(updated.error());
    return *updated > 0;
}

} // namespace zelkor
