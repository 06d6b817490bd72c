#include "schema/roles.h"

#include "schema/window_writes.h"

#include "core/db/sql_names.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace zelkor::schema {
namespace {

/// Role names are at most 63 bytes: the prefix leaves room for the longest suffix.
constexpr qsizetype PrefixLength = 40;

/// The prefix of a new company's roles: its database's name in the letters a role name keeps
/// unquoted, shortened with a hash of the whole name when it is long.
QString prefix_for(const QString& database)
{
    QString prefix = database.toLower();
    prefix.replace(QRegularExpression(QStringLiteral("[^a-z0-9_]")), QStringLiteral("_"));
    if (prefix.size() <= PrefixLength)
        return prefix;
    const QByteArray hash = QCryptographicHash::hash(database.toUtf8(), QCryptographicHash::Sha1).toHex().left(6);
    return prefix.left(PrefixLength - 7) + u'_' + QString::fromLatin1(hash);
}

/// The statements that make the roles and their grants, run one by one.
class Grants {
public:
    /// For the database named `database`, the one `db` is connected to.
    Grants(Database& db, QString database) : m_db(db), m_database(std::move(database)), m_prefix(prefix_for(m_database)) {}

    [[nodiscard]] std::expected<void, Error> run()
    {
        if (auto made = make_roles(); !made)
            return made;
        auto tables = m_db.select(QStringLiteral("SELECT t.table_name, (SELECT pg_get_serial_sequence(c.table_name, c.column_name)"
                                                 " FROM information_schema.columns c WHERE c.table_schema = 'public'"
                                                 " AND c.table_name = t.table_name AND c.column_name = 'id') AS sequence"
                                                 " FROM information_schema.tables t WHERE t.table_schema = 'public'"
                                                 " AND t.table_type = 'BASE TABLE' ORDER BY t.table_name"));
        if (!tables)
            return std::unexpected(tables.error());
        const QString owner = role(OwnerRole);
        for (const Row& table : *tables) {
            const QString name = table.text(u"table_name");
            m_sequences.insert(name.toLower(), table.text(u"sequence"));
            add(QStringLiteral("ALTER TABLE %1 OWNER TO %2").arg(name, owner));
            add(QStringLiteral("REVOKE ALL ON %1 FROM PUBLIC").arg(name));
            add(QStringLiteral("GRANT SELECT ON %1 TO %2").arg(name, role(ReadRole)));
        }
        grant_writes(SettingsRole, settings_writes());
        for (const WriteRole& write_role : write_roles())
            grant_writes(write_role.suffix, write_role.writes);
        const QString database = quoted_identifier(m_database);
        add(QStringLiteral("REVOKE CONNECT, TEMPORARY ON DATABASE %1 FROM PUBLIC").arg(database));
        add(QStringLiteral("GRANT CONNECT ON DATABASE %1 TO %2").arg(database, role(ReadRole)));
        add(QStringLiteral("REVOKE CREATE ON SCHEMA public FROM PUBLIC"));
        add(QStringLiteral("GRANT USAGE ON SCHEMA public TO %1").arg(role(ReadRole)));
        if (auto done = m_db.execute_script(m_script); !done)
            return done;
        auto recorded = m_db.execute(QStringLiteral("INSERT INTO Database_role_table (prefix) VALUES (?)"), {m_prefix});
        if (!recorded)
            return std::unexpected(recorded.error());
        return {};
    }

private:
    QString role(const QString& suffix) const { return quoted_identifier(role_name(m_prefix, suffix)); }
    void add(const QString& statement) { m_script += statement + QStringLiteral(";\n"); }

    /// The owner, reader and settings roles, and the write roles, each a member of the reader and
    /// settings roles so that it alone is enough for its window.
    [[nodiscard]] std::expected<void, Error> make_roles()
    {
        // Roles belong to the whole server: a prefix another company's roles use already gets a
        // few random characters more, so that no clerk of that company gains rights here.
        for (;;) {
            const QStringList names = role_names(m_prefix);
            auto taken = m_db.scalar(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname IN (") + placeholder_list(names.size()) + u')',
                                     Params(names.begin(), names.end()));
            if (!taken)
                return std::unexpected(taken.error());
            if (!taken->isValid())
                break;
            m_prefix = m_prefix.left(PrefixLength - 5) + u'_' + QString::number(QRandomGenerator::global()->bounded(0x1000, 0x10000), 16);
        }
        for (const QString& name : role_names(m_prefix))
            add(QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(quoted_identifier(name)));
        // A creator who may create roles but is no superuser must belong to the owner to give it
        // the tables.
        add(QStringLiteral("GRANT %1 TO CURRENT_USER").arg(role(OwnerRole)));
        add(QStringLiteral("GRANT %1 TO %2").arg(role(ReadRole), role(SettingsRole)));
        for (const WriteRole& write_role : write_roles())
            add(QStringLiteral("GRANT %1 TO %2").arg(role(SettingsRole), role(write_role.suffix)));
        return {};
    }

    void grant_writes(const QString& suffix, const std::vector<TableWrite>& writes)
    {
        for (const TableWrite& write : writes) {
            add(QStringLiteral("GRANT %1 ON %2 TO %3").arg(write.privileges, write.table, role(suffix)));
            const QString sequence = m_sequences.value(write.table.toLower());
            if (!sequence.isEmpty() && write.privileges.contains(u"INSERT"))
                add(QStringLiteral("GRANT USAGE, SELECT, UPDATE ON SEQUENCE %1 TO %2").arg(sequence, role(suffix)));
        }
    }

    Database& m_db;
    QString m_database;
    QString m_prefix;
    QString m_script;
    QHash<QString, QString> m_sequences; ///< the identity sequence of each table, by its name in lower case
};

} // namespace

QString role_name(const QString& prefix, const QString& suffix) { return prefix + u'_' + suffix; }

QStringList role_names(const QString& prefix)
{
    QStringList names;
    for (const char* suffix : {OwnerRole, ReadRole, SettingsRole})
        names << role_name(prefix, QString::fromLatin1(suffix));
    for (const WriteRole& write_role : write_roles())
        names << role_name(prefix, write_role.suffix);
    return names;
}

QString quoted_identifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

[[nodiscard]] std::expected<void, Error> create_roles(Database& db)
{
    if (db.engine() != Engine::Postgres)
        return {};
    // The URI may leave the database to libpq (a service, PGDATABASE): the server names it.
    auto database = db.scalar(QStringLiteral("SELECT current_database()"));
    if (!database)
        return std::unexpected(database.error());
    return Grants(db, database->toString()).run();
}

[[nodiscard]] std::expected<QString, Error> role_prefix(Database& db)
{
    auto prefix = db.scalar(QStringLiteral("SELECT prefix FROM Database_role_table"));
    if (!prefix)
        return std::unexpected(prefix.error());
    return prefix->toString();
}

} // namespace zelkor::schema
