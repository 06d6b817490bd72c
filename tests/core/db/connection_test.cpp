#include "core/db/database.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace zelkor {
namespace {

using testing::Contents;
using testing::TestDatabase;

/// The libpq variables a connection may read; each test starts without any of them.
constexpr const char* LibpqVariables[] = {"PGHOST", "PGHOSTADDR", "PGPORT", "PGUSER", "PGDATABASE", "PGPASSWORD",
                                          "PGPASSFILE", "PGSERVICE", "PGSERVICEFILE", "PGSSLMODE", "PGSSLROOTCERT",
                                          "PGCONNECT_TIMEOUT", "PGAPPNAME"};

/// Sets environment variables for one test and puts back what was there before.
class Environment {
public:
    Environment() = default;
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;
    ~Environment()
    {
        for (const auto& [name, value] : m_saved)
            value ? qputenv(name.constData(), *value) : qunsetenv(name.constData());
    }
    void set(const char* name, const QString& value)
    {
        save(name);
        qputenv(name, value.toUtf8());
    }
    void unset(const char* name)
    {
        save(name);
        qunsetenv(name);
    }

private:
    void save(const char* name)
    {
        if (!m_saved.contains(name))
            m_saved[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    }
    std::map<QByteArray, std::optional<QByteArray>> m_saved;
};

[[nodiscard]] std::expected<std::unique_ptr<Database>, Error> open_uri(const QString& uri)
{
    const auto where = ConnectionDescription::parse(uri);
    if (!where)
        return std::unexpected(Error::invalid(QStringLiteral("not a URI: ") + uri));
    return Database::open(*where);
}

TEST(ConnectionDescription, ReadsTheUriAsLibpqDoesAndLeavesTheRestToIt)
{
    Environment environment;
    for (const char* name : LibpqVariables)
        environment.unset(name);

    auto plain = ConnectionDescription::parse(QStringLiteral("postgresql://clerk@db.example:5433/company"));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->engine, Engine::Postgres);
    EXPECT_EQ(plain->user, "clerk");
    EXPECT_EQ(plain->host, "db.example");
    EXPECT_EQ(plain->port, 5433);
    EXPECT_EQ(plain->database, "company");
    EXPECT_TRUE(plain->password.isEmpty());
    EXPECT_EQ(plain->connect_options(), "connect_timeout=10");
    EXPECT_EQ(plain->display(), "postgresql://clerk@db.example:5433/company");

    // Nothing is filled in that libpq would find in the service file or the environment.
    auto service = ConnectionDescription::parse(QStringLiteral("postgresql:///?service=books"));
    ASSERT_TRUE(service);
    EXPECT_TRUE(service->host.isEmpty());
    EXPECT_EQ(service->port, -1);
    EXPECT_TRUE(service->user.isEmpty());
    EXPECT_TRUE(service->database.isEmpty());
    EXPECT_EQ(service->connect_options(), "service='books'");
    environment.set("PGCONNECT_TIMEOUT", QStringLiteral("3"));
    EXPECT_EQ(plain->connect_options(), "");
    environment.unset("PGCONNECT_TIMEOUT");

    auto keywords = ConnectionDescription::parse(
        QStringLiteral("postgres://clerk:s%40cret@db/company?sslmode=verify-full&sslpassword=key&connect_timeout=4"
                       "&application_name=it's%20Zelkor&sslrootcert=/etc/ssl/root.crt"));
    ASSERT_TRUE(keywords);
    EXPECT_EQ(keywords->password, "s@cret");
    EXPECT_EQ(keywords->connect_options(), "connect_timeout='4';application_name='it\\'s Zelkor';sslmode='verify-full';"
                                           "sslpassword='key';sslrootcert='/etc/ssl/root.crt'");
    EXPECT_EQ(keywords->display(), "postgresql://clerk@db/company?connect_timeout=4&application_name=it's Zelkor"
                                   "&sslmode=verify-full&sslrootcert=/etc/ssl/root.crt");

    auto socket = ConnectionDescription::parse(QStringLiteral("postgresql:///company?host=/run/postgresql"));
    ASSERT_TRUE(socket);
    EXPECT_EQ(socket->display(), "postgresql:///company?host=/run/postgresql");

    for (const char* refused : {"postgresql://db/company?sslmod=require", "postgresql://db:first/company",
                                "postgresql://db1,db2/company", "postgresql://db/company?application_name=a%3Bb", "  "})
        EXPECT_FALSE(ConnectionDescription::parse(QString::fromUtf8(refused))) << refused;
    auto file = ConnectionDescription::parse(QStringLiteral("company.db"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->engine, Engine::Sqlite);
}

TEST(ConnectionDescription, OnlyAUriCarryingAPasswordIsWarnedAbout)
{
    for (const char* warned : {"postgresql://clerk:secret@db/company", "postgresql://db/company?password=secret",
                               "postgresql://clerk@db/company?sslpassword=key"}) {
        const auto warning = password_warning(*ConnectionDescription::parse(QString::fromUtf8(warned)));
        ASSERT_TRUE(warning) << warned;
        EXPECT_EQ(*warning, "warning: the password in the database URI is visible to every user of this machine (ps); "
                            "use a password file (~/.pgpass), a service file or PGPASSWORD instead");
    }
    for (const char* quiet : {"postgresql://clerk@db/company", "postgresql://clerk:@db/company",
                              "postgresql:///?service=books&sslmode=require", "secret:company.db"})
        EXPECT_FALSE(password_warning(*ConnectionDescription::parse(QString::fromUtf8(quiet)))) << quiet;
}

/// A login role that must give its password (the test server asks it of every member of
/// zelkor_password_login), and the files libpq may find it in.
class PostgresLogin : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (t.engine() != Engine::Postgres)
            GTEST_SKIP() << "connects to the PostgreSQL server";
        for (const char* name : LibpqVariables)
            environment.unset(name);
        environment.set("PGPASSFILE", folder.filePath(QStringLiteral("missing")));
        ASSERT_TRUE(folder.isValid());
        const QString group = t.text(QStringLiteral("SELECT rolname FROM pg_roles WHERE rolname = 'zelkor_password_login'"));
        ASSERT_EQ(group, "zelkor_password_login") << "the server of ZELKOR_TEST_PG asks no password of anyone: "
                                                     "start it with scripts/pg-throwaway.sh";
        ASSERT_TRUE(t.db().execute_script(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2' IN ROLE zelkor_password_login")
                                              .arg(role, password)));
        created = true;
    }
    void TearDown() override
    {
        if (created) {
            EXPECT_TRUE(t.db().execute_script(QStringLiteral("DROP ROLE ") + role));
        }
    }

    /// The test database on the test server as the role, with `rest` after the database's name.
    QString uri(const QString& rest = {}) const
    {
        return QStringLiteral("postgresql://%1@%2:%3/%4").arg(role, t.where().host).arg(t.where().port).arg(t.where().database)
            + rest;
    }
    void write_file(const QString& name, const QString& text)
    {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
        file.close();
        // libpq ignores a password file that others may read.
        ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }
    void write_password_file(const QString& password_written)
    {
        write_file(QStringLiteral("pgpass"), QStringLiteral("%1:%2:%3:%4:%5\n")
                                                 .arg(t.where().host)
                                                 .arg(t.where().port)
                                                 .arg(t.where().database, role, password_written));
        environment.set("PGPASSFILE", folder.filePath(QStringLiteral("pgpass")));
    }
    static QString answer(Database& db, const QString& sql)
    {
        auto value = db.scalar(sql);
        return value ? Row::to_text(*value) : QStringLiteral("failed: ") + value.error().detail;
    }
    static QString logged_in_as(Database& db) { return answer(db, QStringLiteral("SELECT current_user || '@' || current_database()")); }
    /// The certificate the test server shows, which the tests take as their root certificate.
    QString server_certificate()
    {
        if (t.text(QStringLiteral("SHOW ssl")) != u"on")
            ADD_FAILURE() << "the server of ZELKOR_TEST_PG speaks no SSL: start it with scripts/pg-throwaway.sh";
        return t.text(QStringLiteral("SHOW ssl_cert_file"));
    }

    TestDatabase t{Contents::Empty};
    Environment environment;
    QTemporaryDir folder;
    const QString role = QStringLiteral("zelkor_login_%1_%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QRandomGenerator::global()->generate() & 0xffffff);
    const QString password = QStringLiteral("pw-%1").arg(QRandomGenerator::global()->generate());
    bool created = false;
};

TEST_F(PostgresLogin, APasswordLessUriLogsInThroughThePasswordFileTheEnvironmentOrAService)
{
    const QString expected = role + u'@' + t.where().database;
    // The server really asks: without a password, or with a wrong one, there is no login.
    EXPECT_FALSE(open_uri(uri()));
    write_password_file(QStringLiteral("wrong"));
    EXPECT_FALSE(open_uri(uri()));

    write_password_file(password);
    {
        auto db = open_uri(uri());
        ASSERT_TRUE(db) << db.error().detail.toStdString();
        EXPECT_EQ(logged_in_as(**db), expected);
    }

    write_file(QStringLiteral("services"), QStringLiteral("[zelkor_books]\nhost=%1\nport=%2\nuser=%3\ndbname=%4\n")
                                               .arg(t.where().host)
                                               .arg(t.where().port)
                                               .arg(role, t.where().database));
    environment.set("PGSERVICEFILE", folder.filePath(QStringLiteral("services")));
    for (const char* service : {"postgresql:///?service=zelkor_books", "postgresql://?service=zelkor_books&sslmode=require"}) {
        auto db = open_uri(QString::fromUtf8(service));
        ASSERT_TRUE(db) << service << ": " << db.error().detail.toStdString();
        EXPECT_EQ(logged_in_as(**db), expected) << service;
    }
    // What the URI names wins over the service's entry.
    {
        const QString other = t.text(QStringLiteral("SELECT current_user"));
        auto db = open_uri(QStringLiteral("postgresql://%1@/postgres?service=zelkor_books").arg(other));
        ASSERT_TRUE(db) << db.error().detail.toStdString();
        EXPECT_EQ(logged_in_as(**db), other + QStringLiteral("@postgres"));
    }

    environment.set("PGPASSFILE", folder.filePath(QStringLiteral("missing")));
    environment.unset("PGSERVICEFILE");
    environment.set("PGPASSWORD", password);
    environment.set("PGHOST", t.where().host);
    environment.set("PGPORT", QString::number(t.where().port));
    environment.set("PGUSER", role);
    environment.set("PGDATABASE", t.where().database);
    {
        auto db = open_uri(QStringLiteral("postgresql://"));
        ASSERT_TRUE(db) << db.error().detail.toStdString();
        EXPECT_EQ(logged_in_as(**db), expected);
    }
}

TEST_F(PostgresLogin, TheUrisKeywordsReachBothPathsOfTheConnection)
{
    const QString certificate = server_certificate();
    write_password_file(password);
    const QString encrypted = QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()");
    for (const std::string& rest : {std::string("?sslmode=require&application_name=Zelkor%20PO%20test"),
                                "?sslmode=verify-full&sslrootcert=" + certificate.toStdString()
                                    + "&application_name=Zelkor%20PO%20test"}) {
        auto db = open_uri(uri(QString::fromStdString(rest)));
        ASSERT_TRUE(db) << rest << ": " << db.error().detail.toStdString();
        // The module's statements run on libpq's handle, the Qt driver's on the same connection.
        EXPECT_EQ(answer(**db, encrypted), "true") << rest;
        QSqlQuery query((*db)->connection());
        ASSERT_TRUE(query.exec(encrypted) && query.next()) << rest;
        EXPECT_TRUE(query.value(0).toBool()) << rest;
        EXPECT_EQ(answer(**db, QStringLiteral("SELECT application_name FROM pg_stat_activity WHERE pid = pg_backend_pid()")),
                  "Zelkor PO test");
    }
    // libpq would choose SSL itself (sslmode=prefer): only the keyword turns it off, and only the
    // named root certificate, missing here, refuses the server.
    {
        auto db = open_uri(uri(QStringLiteral("?sslmode=disable")));
        ASSERT_TRUE(db) << db.error().detail.toStdString();
        EXPECT_EQ(answer(**db, encrypted), "false");
    }
    EXPECT_FALSE(open_uri(uri(QStringLiteral("?sslmode=verify-ca&sslrootcert=") + folder.filePath(QStringLiteral("none.crt")))));
}

} // namespace
} // namespace zelkor
