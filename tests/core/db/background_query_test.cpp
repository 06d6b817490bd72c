#include "core/db/background_query.h"
#include "tests/support/test_database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using testing::Contents;
using testing::TestDatabase;

/// A read that runs for a minute unless it is stopped.
QString minute_long_read(Engine engine)
{
    return engine == Engine::Postgres
               ? QStringLiteral("SELECT pg_sleep(60)")
               : QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000000000)"
                                " SELECT COUNT(*) FROM n");
}

TEST(BackgroundQuery, HandsItsResultToTheWindowsThreadAndACancelledReadStopsOnTheServer)
{
    TestDatabase t(Contents::Fixture);
    QObject window;
    std::vector<QString> handed;
    auto hand = [&](const BackgroundQuery::Result& rows) {
        handed.push_back(rows ? Row::to_text((*rows)[0].value(0)) : QStringLiteral("failed: ") + rows.error().detail);
    };
    BackgroundQuery reader(t.where());

    // A result reaches the window only through its event loop.
    reader.start(QStringLiteral("SELECT COUNT(*) FROM Vendor_table WHERE vendor_no <> ?"), {QStringLiteral("V100")}, &window, hand);
    EXPECT_TRUE(reader.pending());
    for (QElapsedTimer waited; handed.empty() && waited.elapsed() < 30000;)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(handed, std::vector<QString>{t.text("SELECT COUNT(*) FROM Vendor_table WHERE vendor_no <> 'V100'")});
    EXPECT_FALSE(reader.pending());

    // Cancelled while the server works: it stops within seconds, and nothing is handed on.
    QElapsedTimer stopping;
    stopping.start();
    reader.start(minute_long_read(t.engine()), {}, &window, hand);
    QThread::msleep(300);
    reader.cancel();
    EXPECT_FALSE(reader.pending());
    reader.start(QStringLiteral("SELECT COUNT(*) FROM Item_master_table"), {}, &window, hand);
    ASSERT_TRUE(reader.wait());
    EXPECT_LT(stopping.elapsed(), 20000) << "the long read was not interrupted";
    EXPECT_EQ(handed.size(), 2u);
    EXPECT_EQ(handed.back(), t.text("SELECT COUNT(*) FROM Item_master_table"));
    QCoreApplication::processEvents();
    EXPECT_EQ(handed.size(), 2u) << "a result taken by wait() is not handed on twice";
    EXPECT_FALSE(reader.wait()) << "nothing is pending";

    // A newer read replaces one still running; going away stops the last one.
    reader.start(minute_long_read(t.engine()), {}, &window, hand);
    reader.start(QStringLiteral("SELECT 7"), {}, &window, hand);
    ASSERT_TRUE(reader.wait());
    EXPECT_EQ(handed.back(), QStringLiteral("7"));
    reader.start(minute_long_read(t.engine()), {}, &window, hand);
    QThread::msleep(100);
}

TEST(BackgroundQuery, ACompanyThatCannotBeOpenedIsAFailureNotAnEmptyResult)
{
    ConnectionDescription nowhere;
    nowhere.database = QStringLiteral("/nonexistent/folder/company.db");
    QObject window;
    BackgroundQuery reader(nowhere);
    std::optional<BackgroundQuery::Result> handed;
    reader.start(QStringLiteral("SELECT 1"), {}, &window, [&](const BackgroundQuery::Result& rows) { handed = rows; });
    ASSERT_TRUE(reader.wait());
    ASSERT_TRUE(handed);
    EXPECT_FALSE(handed->has_value());
}

} // namespace
} // namespace zelkor
