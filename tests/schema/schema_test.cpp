#include "core/master_lookups.h"
#include "schema/schema.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using testing::Contents;
using testing::TestDatabase;

QStringList declared_tables(Engine engine)
{
    static const QRegularExpression create(QStringLiteral("CREATE TABLE (\\w+)"));
    QStringList names;
    for (auto it = create.globalMatch(schema::tables_sql(engine)); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

TEST(Schema, CreatesEveryTableAndLoadsTheDemoCompany)
{
    TestDatabase t{Contents::Empty};
    ASSERT_FALSE(*schema::has_tables(t.db()));
    ASSERT_TRUE(schema::create_tables(t.db()));
    EXPECT_TRUE(*schema::has_tables(t.db()));

    const QStringList tables = declared_tables(t.engine());
    EXPECT_GE(tables.size(), 65);
    for (const QString& table : tables)
        EXPECT_TRUE(t.db().select(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE 1 = 0")))
            << table.toStdString();

    ASSERT_TRUE(schema::load_demo(t.db(), 2026));
    // The demo company can run the whole purchasing cycle: the masters every document needs.
    for (const char* table : {"Vendor_table", "Item_master_table", "Account_master_table", "Warehouse_master_table",
                              "Tax_code_table", "Payment_term_table", "Employee_table", "Exchange_rate_table",
                              "User_right_table", "Next_number_format_table"})
        EXPECT_GT(t.count(QString::fromLatin1(table)), 0) << table;
    EXPECT_EQ(t.count(QStringLiteral("Fiscalyear_table WHERE fyear = ?"), {QStringLiteral("2026")}), 1);
    EXPECT_GE(t.count(QStringLiteral("Docno_master_table WHERE fiscalyear = ?"), {QStringLiteral("2027")}), 10);
    EXPECT_EQ(t.count(QStringLiteral("Account_master_table WHERE type = ?"), {QStringLiteral("X")}), 1);
    for (Parameter p : {Parameter::ApSuspense, Parameter::PurchaseDiscount, Parameter::PurchaseVariance,
                        Parameter::RealizedGain, Parameter::RealizedLoss}) {
        auto account = module_parameter(t.db(), p);
        ASSERT_TRUE(account);
        EXPECT_TRUE(account->has_value()) << missing_parameter_message(p).toStdString();
    }
}

TEST(Schema, FixtureLoadsOnTopOfTheTables)
{
    TestDatabase t;
    EXPECT_GT(t.count(QStringLiteral("Vendor_table")), 1);
    EXPECT_EQ(t.count(QStringLiteral("Warehouse_master_table WHERE \"default\" = ?"), {true}), 1);
}

// The command-line tool reads its options as options: --help and --version answer and create
// nothing (a file named "--help" was once created).
TEST(CreateDbTool, HelpAndVersionAnswerAndCreateNothing)
{
    QTemporaryDir folder;
    for (const char* option : {"--help", "--version"}) {
        QProcess tool;
        tool.setWorkingDirectory(folder.path());
        tool.start(QStringLiteral(ZELKOR_CREATE_DB), {QString::fromLatin1(option)});
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 0) << option;
        EXPECT_FALSE(tool.readAllStandardOutput().isEmpty()) << option;
    }
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

} // namespace
} // namespace zelkor
