#include "core/rights.h"

#include "core/db/sql_names.h"

#include <QLoggingCategory>

namespace zelkor {
namespace {

Q_LOGGING_CATEGORY(lcRights, "zelkor.rights")

struct SharedCommand {
    int id;
    Right right;
};

// The command ids every document window shares. Ids not listed (exit, navigation, panes,
// refresh, master files, help, toolbar text) need no right.
constexpr SharedCommand SharedCommands[] = {
    {101, Right::Update}, // save
    {102, Right::Print},  // print
    {103, Right::Print},  // preview
    {105, Right::Update}, // new
    {106, Right::Update}, // edit mode
    {110, Right::Update}, // insert line
    {111, Right::Update}, // delete line
    {119, Right::Update}, // delete document
    {120, Right::Update}, // copy to new
    {133, Right::Update}, // void
    {401, Right::Design}, // save font
    {402, Right::Design}, // restore font
    {403, Right::Design}, // bold
    {404, Right::Design}, // italic
    {405, Right::Design}, // underline
    {406, Right::Design}, // align left
    {407, Right::Design}, // align center
    {408, Right::Design}, // align right
};

} // namespace

bool Rights::allows(Right right) const
{
    switch (right) {
    case Right::None: return true;
    case Right::Update: return update;
    case Right::Print: return print;
    case Right::Design: return design;
    }
    return false;
}

[[nodiscard]] std::expected<QString, Error> module_user(Database& db, const QString& named)
{
    if (db.engine() != Engine::Postgres)
        return named.isEmpty() ? QStringLiteral("ADMIN") : named;
    auto login = db.first(QStringLiteral("SELECT session_user AS login, rolsuper FROM pg_roles WHERE rolname = session_user"));
    if (!login)
        return std::unexpected(login.error());
    const QString user = *login ? (*login)->text(u"login") : QString();
    // A superuser may take any role in the database anyway: it may name the user it acts as, and
    // is the company's administrator when it names nobody.
    const bool superuser = *login && (*login)->flag(u"rolsuper");
    if (superuser)
        return named.isEmpty() ? QStringLiteral("ADMIN") : named;
    if (named.isEmpty() || named == user)
        return user;
    return std::unexpected(Error::invalid(
        QStringLiteral("You are logged in to the company as %1: the user ID %2 names someone else.").arg(user, named)));
}

Rights load_rights(Database& db, const QString& form, const QString& userid)
{
    Rights rights;
    if (auto user = module_user(db, userid); !user) {
        qCWarning(lcRights).noquote() << "no rights on" << form << "-" << user.error().message << user.error().detail;
        return rights;
    }
    static const QString sql = QStringLiteral("SELECT ") + sql_name(u"update")
                               + QStringLiteral(", Print, form_design FROM User_right_table WHERE form = ? AND userid = ?");
    auto row = db.first(sql, {form, userid});
    if (!row) {
        qCWarning(lcRights).noquote() << "rights of" << userid << "on" << form << "not read:" << row.error().detail;
        return rights;
    }
    if (*row) {
        rights.update = (*row)->flag(u"update");
        rights.print = (*row)->flag(u"Print");
        rights.design = (*row)->flag(u"form_design");
    }
    return rights;
}

Right right_needed(int command_id)
{
    if (command_id >= FirstWindowCommand)
        return Right::Update;
    for (const SharedCommand& command : SharedCommands)
        if (command.id == command_id)
            return command.right;
    return Right::None;
}

bool command_allowed(const Rights& rights, int command_id, std::optional<Right> declared)
{
    return rights.allows(declared.value_or(right_needed(command_id)));
}

} // namespace zelkor
