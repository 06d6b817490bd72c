// Kill -9 in the middle of large saves: a child saves large documents in a loop (a 2,000-line
// receipt, a 500-line receipt and its bill, a 500-line receipt and a landed bill spread over it)
// and is killed at random moments. After every kill the company is whole: SQLite's own integrity
// check, every rule of the data, no header without its lines nor lines without their header, no
// posting without its document, no landed bill's receipt list without its bill, no counter past
// the numbers committed.
#include "large_documents.h"
#include "step.h"

#include "check/company_checks.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <iostream>

namespace zelkor::cycle {
namespace {

/// Kills per kind of document and engine: 24 per engine, and the test stays well within its
/// time on PostgreSQL, where reopening and checking the company after a kill costs most.
constexpr int Kills = 8;

/// One child saving documents of a kind, from a given day of the year on.
class Child {
public:
    Child(const testing::TestDatabase& t, const QString& kind, int first_day)
    {
        m_process.start(QStringLiteral(ZELKOR_CRASH_CHILD),
                        {"--db", t.location(), "--document", kind, "--first-day", QString::number(first_day)});
    }
    ~Child()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }

    /// Waits for the next line that starts with `prefix`; false when the child ended first.
    bool wait_for(const QString& prefix)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 120000) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                m_last = line;
                if (line.startsWith(prefix))
                    return true;
            }
            if (m_process.state() == QProcess::NotRunning || !m_process.waitForReadyRead(1000)) {
                if (m_process.state() == QProcess::NotRunning)
                    return false;
            }
        }
        return false;
    }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(10000);
        while (m_process.canReadLine())
            m_last = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    /// Whether the kill came in the middle of a save.
    bool killed_while_saving() const { return m_last.startsWith(u"saving"); }
    QString errors() { return QString::fromUtf8(m_process.readAllStandardError()); }

private:
    QProcess m_process;
    QString m_last;
};

/// PostgreSQL rolls a dead client's transaction back when its server process notices; the next
/// child waits for that, not for the locks of a dead one.
void wait_for_dead_clients(testing::TestDatabase& t)
{
    if (t.engine() != Engine::Postgres)
        return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto others = t.db().scalar("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database()"
                                    " AND pid <> pg_backend_pid()");
        ASSERT_TRUE(others) << others.error().detail.toStdString();
        if (others->toLongLong() == 0)
            return;
        QThread::msleep(100);
    }
    FAIL() << "a killed child's connection stays open";
}

/// What must hold after every kill.
void expect_whole_company(testing::TestDatabase& t, const QString& after)
{
    std::unique_ptr<Database> reopened = t.open_another();
    if (t.engine() == Engine::Sqlite) {
        auto integrity = reopened->select("PRAGMA integrity_check");
        ASSERT_TRUE(integrity) << integrity.error().detail.toStdString();
        EXPECT_EQ(integrity->front().text(u"integrity_check"), "ok") << after.toStdString();
    }
    auto violations = check_invariants(*reopened, company_invariant_checks());
    ASSERT_TRUE(violations) << violations.error().detail.toStdString();
    EXPECT_TRUE(violations->isEmpty()) << after.toStdString() << ":\n" << violations->join('\n').toStdString();
    // The receipts a landed bill covers are rows of their own, beside its lines.
    auto listed = reopened->select("SELECT m.docno, m.receipt_no FROM PO_landed_multi_receipt_table m WHERE NOT EXISTS"
                                   " (SELECT 1 FROM PO_invoice_header_table h WHERE h.docno = m.docno AND h.doctype = 'ld')");
    ASSERT_TRUE(listed) << listed.error().detail.toStdString();
    for (const Row& row : *listed)
        ADD_FAILURE() << after.toStdString() << ": receipt " << row.text(u"receipt_no").toStdString()
                      << " is listed for landed bill " << row.text(u"docno").toStdString() << ", which does not exist";
}

/// The documents of every kind a crash child saves.
qint64 saved_documents(testing::TestDatabase& t)
{
    return t.count("PO_header_table") + t.count("PO_receipt_header_table") + t.count("PO_invoice_header_table");
}

TEST(CrashSafety, KillsInTheMiddleOfLargeSavesLeaveNoPartOfADocument)
{
    testing::TestDatabase t(testing::Contents::Demo);
    Dice dice(20260316);
    int day = 1;
    for (const LargeDocument& kind : large_documents()) {
        SCOPED_TRACE(kind.name.toStdString());
        QElapsedTimer kind_timer;
        kind_timer.start();
        // One whole save first: how long a save takes sets the range of the kills.
        QElapsedTimer timer;
        qint64 save_milliseconds = 0;
        {
            Child child(t, kind.name, day++);
            ASSERT_TRUE(child.wait_for("saving")) << child.errors().toStdString();
            timer.start();
            ASSERT_TRUE(child.wait_for("saved")) << child.errors().toStdString();
            save_milliseconds = timer.elapsed();
            child.kill();
        }
        wait_for_dead_clients(t);
        const qint64 saved_before = saved_documents(t);
        int killed_while_saving = 0;
        for (int kill = 1; kill <= Kills; ++kill) {
            Child child(t, kind.name, day);
            day += 2;
            ASSERT_TRUE(child.wait_for("saving")) << child.errors().toStdString();
            // Now and then a save commits and the kill comes in the next one.
            QThread::msleep(ulong(dice.between(0, int(save_milliseconds * 3 / 2))));
            child.kill();
            killed_while_saving += child.killed_while_saving() ? 1 : 0;
            wait_for_dead_clients(t);
            expect_whole_company(t, QStringLiteral("kill %1 of a %2 save").arg(kill).arg(kind.name));
        }
        std::cout << kind.name.toStdString() << ": a save of " << kind.lines << " lines takes " << save_milliseconds
                  << " ms; " << Kills << " kills, " << killed_while_saving << " in the middle of a save, "
                  << saved_documents(t) - saved_before
                  << " documents committed between the kills; " << kind_timer.elapsed() / 1000 << " s in all"
                  << std::endl;
        EXPECT_GE(killed_while_saving, Kills / 2);
    }
}

} // namespace
} // namespace zelkor::cycle
