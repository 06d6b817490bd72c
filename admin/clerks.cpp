#include "admin/clerks.h"

#include "core/db/sql_names.h"
#include "core/rights.h"
#include "schema/roles.h"
#include "schema/window_writes.h"

#include <algorithm>

namespace zelkor::admin {
namespace {

using schema::quoted_identifier;
using schema::role_name;

/// A PostgreSQL role name holds at most 63 bytes.
constexpr qsizetype LongestUserid = 63;

[[nodiscard]] std::expected<void, Error> check_userid(const QString& userid)
{
    const bool printable = std::ranges::all_of(userid, [](QChar c) { return c.isPrint(); });
    if (userid.trimmed().isEmpty() || userid.trimmed() != userid || !printable || userid.toUtf8().size() > LongestUserid)
        return std::unexpected(Error::invalid(QStringLiteral("The user ID \"%1\" is not valid: it needs 1 to 63 letters, digits"
                                                             " or signs, without spaces around them.").arg(userid)));
    return {};
}

[[nodiscard]] std::expected<void, Error> check_rights(const std::vector<WindowRights>& rights)
{
    QStringList seen;
    for (const WindowRights& right : rights) {
        if (std::ranges::find(windows_with_rights, right.form) == windows_with_rights.end())
            return std::unexpected(Error::invalid(QStringLiteral("There is no window called %1.").arg(right.form)));
        if (seen.contains(right.form))
            return std::unexpected(Error::invalid(QStringLiteral("The rights of %1 are given twice.").arg(right.form)));
        seen << right.form;
    }
    return {};
}

/// The company's roles a clerk with these rights belongs to: reading and settings always, and
/// the write role of each right that writes.
QStringList roles_for(const QString& prefix, const std::vector<WindowRights>& rights)
{
    QStringList roles{role_name(prefix, QString::fromLatin1(schema::ReadRole)),
                      role_name(prefix, QString::fromLatin1(schema::SettingsRole))};
    for (const WindowRights& window : rights)
        for (const schema::WriteRole* role : schema::write_roles_of(window.form, window.update, window.print, window.design))
            roles << role_name(prefix, role->suffix);
    roles.removeDuplicates();
    return roles;
}

/// The company's roles the login `userid` belongs to.
[[nodiscard]] std::expected<QStringList, Error> memberships(Database& db, const QString& prefix, const QString& userid)
{
    const QStringList company = schema::role_names(prefix);
    Params params{userid};
    params.insert(params.end(), company.begin(), company.end());
    auto rows = db.select(QStringLiteral("SELECT r.rolname FROM pg_auth_members m JOIN pg_roles r ON r.oid = m.roleid"
                                         " JOIN pg_roles u ON u.oid = m.member WHERE u.rolname = ? AND r.rolname IN (")
                              + placeholder_list(company.size()) + QStringLiteral(") ORDER BY r.rolname"),
                          params);
    if (!rows)
        return std::unexpected(rows.error());
    QStringList roles;
    for (const Row& row : *rows)
        roles << row.text(u"rolname");
    return roles;
}

/// The prefix of the company's roles; a company without them cannot have PostgreSQL clerks.
[[nodiscard]] std::expected<QString, Error> company_roles(Database& db)
{
    auto prefix = schema::role_prefix(db);
    if (prefix && prefix->isEmpty())
        return std::unexpected(Error::invalid(QStringLiteral("The company has no roles of its own: it was not made by this"
                                                             " version of zelkor_create_db.")));
    return prefix;
}

/// Makes the login's memberships in the company's roles those of `rights` (none for nullptr).
[[nodiscard]] std::expected<void, Error> set_memberships(Database& db, const QString& userid,
                                                         const std::vector<WindowRights>* rights)
{
    if (db.engine() != Engine::Postgres)
        return {};
    auto prefix = company_roles(db);
    if (!prefix)
        return std::unexpected(prefix.error());
    auto held = memberships(db, *prefix, userid);
    if (!held)
        return std::unexpected(held.error());
    const QStringList wanted = rights ? roles_for(*prefix, *rights) : QStringList();
    QString script;
    for (const QString& role : *held)
        if (!wanted.contains(role))
            script += QStringLiteral("REVOKE %1 FROM %2;\n").arg(quoted_identifier(role), quoted_identifier(userid));
    for (const QString& role : wanted)
        if (!held->contains(role))
            script += QStringLiteral("GRANT %1 TO %2;\n").arg(quoted_identifier(role), quoted_identifier(userid));
    return script.isEmpty() ? std::expected<void, Error>() : db.execute_script(script);
}

/// The login role of a new clerk, unless one of that name exists (a clerk of another company).
[[nodiscard]] std::expected<void, Error> make_login(Database& db, const QString& userid)
{
    if (db.engine() != Engine::Postgres)
        return {};
    auto exists = db.scalar(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?"), {userid});
    if (!exists)
        return std::unexpected(exists.error());
    if (exists->isValid())
        return {};
    return db.execute_script(QStringLiteral("CREATE ROLE %1 LOGIN").arg(quoted_identifier(userid)));
}

[[nodiscard]] std::expected<void, Error> write_rights(Database& db, const QString& userid, const std::vector<WindowRights>& rights)
{
    if (auto done = db.execute(QStringLiteral("DELETE FROM User_right_table WHERE userid = ?"), {userid}); !done)
        return std::unexpected(done.error());
    for (const WindowRights& right : rights) {
        auto done = db.execute(QStringLiteral("INSERT INTO User_right_table (form, userid, \"update\", Print, form_design)"
                                              " VALUES (?, ?, ?, ?, ?)"),
                               {right.form, userid, right.update, right.print, right.design});
        if (!done)
            return std::unexpected(done.error());
    }
    return {};
}

[[nodiscard]] std::expected<bool, Error> clerk_active(Database& db, const QString& userid)
{
    auto active = db.scalar(QStringLiteral("SELECT active FROM User_table WHERE userid = ?"), {userid});
    if (!active)
        return std::unexpected(active.error());
    if (!active->isValid())
        return std::unexpected(Error::not_found(QStringLiteral("There is no clerk %1.").arg(userid)));
    return Row::to_flag(*active);
}

} // namespace

[[nodiscard]] std::expected<WindowRights, QString> WindowRights::parse(const QString& text)
{
    WindowRights rights;
    rights.form = text.section(u'=', 0, 0).trimmed();
    const QString given = text.section(u'=', 1);
    for (const QString& right : given.split(u',', Qt::SkipEmptyParts)) {
        const QString name = right.trimmed().toLower();
        if (name == u"update")
            rights.update = true;
        else if (name == u"print")
            rights.print = true;
        else if (name == u"design")
            rights.design = true;
        else
            return std::unexpected(QStringLiteral("\"%1\" is not a right: give update, print or design.").arg(right));
    }
    if (rights.form.isEmpty() || !text.contains(u'='))
        return std::unexpected(QStringLiteral("\"%1\" names no window: give WINDOW=update,print,design.").arg(text));
    return rights;
}

QString WindowRights::text() const
{
    QStringList given;
    for (const auto& [name, flag] : {std::pair{"update", update}, {"print", print}, {"design", design}})
        if (flag)
            given << QString::fromLatin1(name);
    return form + u'=' + given.join(u',');
}

[[nodiscard]] std::expected<void, Error> add_clerk(Database& db, const Clerk& clerk)
{
    if (auto valid = check_userid(clerk.userid); !valid)
        return valid;
    if (auto valid = check_rights(clerk.rights); !valid)
        return valid;
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto exists = db.scalar(QStringLiteral("SELECT 1 FROM User_table WHERE userid = ?"), {clerk.userid});
    if (!exists)
        return std::unexpected(exists.error());
    if (exists->isValid())
        return std::unexpected(Error::invalid(QStringLiteral("The clerk %1 already exists.").arg(clerk.userid)));
    auto added = db.execute(QStringLiteral("INSERT INTO User_table (userid, name, active) VALUES (?, ?, TRUE)"),
                            {clerk.userid, clerk.name});
    if (!added)
        return std::unexpected(added.error());
    if (auto done = write_rights(db, clerk.userid, clerk.rights); !done)
        return done;
    if (auto made = make_login(db, clerk.userid); !made)
        return made;
    if (auto joined = set_memberships(db, clerk.userid, &clerk.rights); !joined)
        return joined;
    return tx.commit();
}

[[nodiscard]] std::expected<void, Error> set_clerk_rights(Database& db, const QString& userid,
                                                          const std::vector<WindowRights>& rights)
{
    if (auto valid = check_rights(rights); !valid)
        return valid;
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    auto active = clerk_active(db, userid);
    if (!active)
        return std::unexpected(active.error());
    if (auto done = write_rights(db, userid, rights); !done)
        return done;
    // A user the company had before it had roles (the demo's) gets its login with its rights.
    if (auto made = *active ? make_login(db, userid) : std::expected<void, Error>(); !made)
        return made;
    // A disabled clerk keeps its rows but gets its memberships back only when enabled again.
    if (auto joined = set_memberships(db, userid, *active ? &rights : nullptr); !joined)
        return joined;
    return tx.commit();
}

[[nodiscard]] std::expected<void, Error> disable_clerk(Database& db, const QString& userid)
{
    Transaction tx(db);
    if (!tx.active())
        return std::unexpected(tx.begin_error());
    if (auto active = clerk_active(db, userid); !active)
        return std::unexpected(active.error());
    if (auto done = db.execute(QStringLiteral("UPDATE User_table SET active = FALSE WHERE userid = ?"), {userid}); !done)
        return std::unexpected(done.error());
    if (auto left = set_memberships(db, userid, nullptr); !left)
        return left;
    return tx.commit();
}

[[nodiscard]] std::expected<std::vector<Clerk>, Error> list_clerks(Database& db)
{
    auto users = db.select(QStringLiteral("SELECT userid, name, active FROM User_table ORDER BY userid"));
    if (!users)
        return std::unexpected(users.error());
    auto rights = db.select(QStringLiteral("SELECT form, userid, \"update\", Print, form_design FROM User_right_table"
                                           " ORDER BY userid, form"));
    if (!rights)
        return std::unexpected(rights.error());
    std::expected<QString, Error> prefix = db.engine() == Engine::Postgres ? schema::role_prefix(db) : QString();
    if (!prefix)
        return std::unexpected(prefix.error());
    std::vector<Clerk> clerks;
    for (const Row& user : *users) {
        Clerk clerk{user.text(u"userid"), user.text(u"name"), user.flag(u"active"), {}, {}};
        for (const Row& right : *rights)
            if (right.text(u"userid") == clerk.userid)
                clerk.rights.push_back({right.text(u"form"), right.flag(u"update"), right.flag(u"Print"),
                                        right.flag(u"form_design")});
        if (!prefix->isEmpty()) {
            auto roles = memberships(db, *prefix, clerk.userid);
            if (!roles)
                return std::unexpected(roles.error());
            clerk.roles = *roles;
        }
        clerks.push_back(std::move(clerk));
    }
    return clerks;
}

} // namespace zelkor::admin
