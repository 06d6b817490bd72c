// Clerks as the company keeps them: their rows and rights change together, and on PostgreSQL the
// server itself refuses what a clerk's rights do not allow, whatever program the clerk uses.
#include "admin/clerks.h"

#include "core/rights.h"
#include "host/host_session.h"
#include "schema/roles.h"
#include "tests/support/pr_window_fixture.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace zelkor::testing {
namespace {

using admin::Clerk;
using admin::WindowRights;

/// Login roles belong to the whole server: a clerk's id names its test's database, so that
/// tests running side by side never share one.
QString clerk_id(TestDatabase& t, const char* name)
{
    return QString::fromLatin1(name) + u'_' + (t.engine() == Engine::Postgres ? t.where().database : QStringLiteral("t"));
}

Clerk listed(Database& db, const QString& userid)
{
    auto clerks = admin::list_clerks(db);
    EXPECT_TRUE(clerks);
    for (const Clerk& clerk : *clerks)
        if (clerk.userid == userid)
            return clerk;
    return {QStringLiteral("(no clerk)"), {}, false, {}, {}};
}

QStringList roles_of(Database& db, const QString& userid) { return listed(db, userid).roles; }

QStringList rights_of(Database& db, const QString& userid)
{
    QStringList rights;
    for (const WindowRights& right : listed(db, userid).rights)
        rights << right.text();
    return rights;
}

QStringList company_roles(Database& db, const QStringList& suffixes)
{
    if (db.engine() != Engine::Postgres)
        return {};
    const QString prefix = *schema::role_prefix(db);
    QStringList roles;
    for (const QString& suffix : suffixes)
        roles << schema::role_name(prefix, suffix);
    roles.sort();
    return roles;
}

TEST(Clerks, RowsRightsAndRolesChangeTogether)
{
    TestDatabase t;
    Database& db = t.db();
    const QString anna = clerk_id(t, "ANNA");
    ASSERT_TRUE(admin::add_clerk(db, {anna, QStringLiteral("Anna"), true,
                                      {{QStringLiteral("POform_pr"), true, true, false}, {QStringLiteral("POform_po"), false, true, false}}, {}}));
    EXPECT_EQ(rights_of(db, anna), (QStringList{QStringLiteral("POform_po=print"), QStringLiteral("POform_pr=update,print")}));
    EXPECT_EQ(roles_of(db, anna), company_roles(db, {"pr_update", "print", "read", "settings"}));

    // Wrong input is refused with a word and writes nothing.
    const QStringList before = t.snapshot();
    auto again = admin::add_clerk(db, {anna, {}, true, {}, {}});
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error().message, QStringLiteral("The clerk %1 already exists.").arg(anna));
    auto unknown = admin::add_clerk(db, {clerk_id(t, "BEN"), {}, true, {{QStringLiteral("POform_xx"), true, false, false}}, {}});
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error().message, QStringLiteral("There is no window called POform_xx."));
    EXPECT_FALSE(admin::add_clerk(db, {QStringLiteral(" BEN"), {}, true, {}, {}}));
    EXPECT_FALSE(admin::set_clerk_rights(db, QStringLiteral("NOBODY"), {}));
    EXPECT_FALSE(WindowRights::parse(QStringLiteral("POform_pr=update,approve")));
    EXPECT_FALSE(WindowRights::parse(QStringLiteral("POform_pr")));
    EXPECT_EQ(t.snapshot(), before);

    // A change of rights that fails at any statement leaves rows and roles as they were.
    const std::vector<WindowRights> orders{{QStringLiteral("POform_po"), true, false, false}};
    const QStringList roles_before = roles_of(db, anna);
    for (int failing = 1;; ++failing) {
        db.fail_statement(failing);
        const bool changed = bool(admin::set_clerk_rights(db, anna, orders));
        db.fail_statement(0);
        if (changed)
            break;
        ASSERT_EQ(t.snapshot(), before) << "statement " << failing;
        ASSERT_EQ(roles_of(db, anna), roles_before) << "statement " << failing;
    }
    EXPECT_EQ(roles_of(db, anna), company_roles(db, {"po_update", "read", "settings"}));

    // A disabled clerk keeps its rows and loses its roles, also when its rights change later.
    ASSERT_TRUE(admin::disable_clerk(db, anna));
    ASSERT_TRUE(admin::set_clerk_rights(db, anna, orders));
    EXPECT_FALSE(listed(db, anna).active);
    EXPECT_EQ(rights_of(db, anna), QStringList{QStringLiteral("POform_po=update")});
    EXPECT_EQ(roles_of(db, anna), QStringList());
}

/// Runs one statement with psql as `where`'s user; gives psql's error output, empty when it ran.
QString psql_refusal(const ConnectionDescription& where, const QString& statement)
{
    QString psql = QStandardPaths::findExecutable(QStringLiteral("psql"));
    if (psql.isEmpty())
        psql = QStandardPaths::findExecutable(QStringLiteral("psql"), {QStringLiteral("/usr/lib/postgresql/15/bin")});
    EXPECT_FALSE(psql.isEmpty()) << "psql is not installed";
    QProcess process;
    process.start(psql, {QStringLiteral("-X"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"),
                         where.host, QStringLiteral("-p"), QString::number(where.port), QStringLiteral("-U"), where.user,
                         QStringLiteral("-d"), where.database, QStringLiteral("-c"), statement});
    EXPECT_TRUE(process.waitForFinished(30000));
    return process.exitCode() == 0 ? QString() : QString::fromUtf8(process.readAllStandardError());
}

TEST(ClerkRoles, TheServerRefusesWhatARequisitionClerkMayNotDo)
{
    TestDatabase t;
    if (t.engine() != Engine::Postgres)
        GTEST_SKIP() << "a SQLite company has no roles: its file is the clerk's";
    const QString clerk = clerk_id(t, "REQ");
    ASSERT_TRUE(admin::add_clerk(t.db(), {clerk, QStringLiteral("Requisitions"), true,
                                          {{QStringLiteral("POform_pr"), true, false, false}}, {}}));
    ConnectionDescription as_clerk = t.where();
    as_clerk.user = clerk;
    as_clerk.password.clear();
    auto db = Database::open(as_clerk);
    ASSERT_TRUE(db) << db.error().detail.toStdString();

    // The login is the user: naming someone else is refused, by the rights and by the host.
    EXPECT_EQ(*module_user(**db, {}), clerk);
    auto other = module_user(**db, QStringLiteral("ADMIN"));
    ASSERT_FALSE(other);
    EXPECT_EQ(other.error().message,
              QStringLiteral("You are logged in to the company as %1: the user ID ADMIN names someone else.").arg(clerk));
    EXPECT_FALSE(load_rights(**db, QStringLiteral("POform_pr"), QStringLiteral("ADMIN")).update);
    host::HostOptions options;
    options.database = QStringLiteral("postgresql://%1@%2:%3/%4").arg(clerk, as_clerk.host).arg(as_clerk.port).arg(as_clerk.database);
    options.user = QStringLiteral("ADMIN");
    auto host = host::HostSession::start(options);
    ASSERT_FALSE(host);
    EXPECT_EQ(host.error().message, other.error().message);

    // The requisition window saves for the clerk.
    FixedClock clock{QDate(2026, 3, 16), QTime(9, 30, 0)};
    HostSettings settings;
    settings.cnx = settings.dbe = settings.abcdb = db->get();
    settings.BASE_CURRENCY = QStringLiteral("USD");
    settings.ZELKOR_USER = clerk;
    settings.ZELKOR_DATE_FORMAT = QStringLiteral("dd/mm/yyyy");
    ScriptedPrompter prompter;
    POform_pr window;
    window.apply_settings(settings);
    window.set_prompter(&prompter);
    window.open();
    ASSERT_TRUE(window.execute(CommandId::New));
    window.type_into(QStringLiteral("vendor_no"), QStringLiteral("V200"));
    Grid& lines = *window.grid(QStringLiteral("dbgrid1"));
    for (const auto& [column, value] : {std::pair{"item type", "1"}, {"item code", "WIDGET"}, {"quantity", "10"}, {"unit cost", "2.50"}})
        ASSERT_EQ(lines.type_cell(0, QString::fromLatin1(column), QString::fromLatin1(value)), Entry::Accepted) << column;
    EXPECT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Add new PR complete");

    // Whatever the clerk types in psql beyond that, the server refuses.
    for (const char* statement : {"INSERT INTO PO_header_table (company, docno) VALUES (1, 'X1')",
                                  "UPDATE GL_transaction_table SET amount = 0", "DELETE FROM FIFO_table",
                                  "DROP TABLE PR_header_table", "TRUNCATE PR_transaction_table",
                                  "UPDATE User_right_table SET \"update\" = TRUE", "CREATE TABLE mine (x INTEGER)"}) {
        const QString refusal = psql_refusal(as_clerk, QString::fromLatin1(statement));
        EXPECT_TRUE(refusal.contains(u"permission denied") || refusal.contains(u"must be owner")) << statement << ": "
                                                                                                  << refusal.toStdString();
    }
    EXPECT_EQ(psql_refusal(as_clerk, QStringLiteral("SELECT COUNT(*) FROM PO_header_table")), QString());
}

} // namespace
} // namespace zelkor::testing
