// Two clerks on one document: whatever the interleaving, exactly one write wins, the other is
// told why and writes nothing, and the order's quantities stay consistent.
#include "tests/support/po_window_fixture.h"

#include <latch>
#include <thread>

namespace zelkor {
namespace {

/// A clerk at another workstation: an order window on a connection of its own.
struct Clerk {
    explicit Clerk(TestDatabase& t, const HostSettings& shared) : db(t.open_another())
    {
        HostSettings settings = shared;
        settings.abcdb = settings.dbe = settings.cnx = db.get();
        window.apply_settings(settings);
        window.set_prompter(&prompter);
        window.open();
    }

    /// Shows the order and starts editing it with line 1 set to `boxes`.
    void edit_line(const QString& docno, const QString& boxes)
    {
        window.type_into("docno", docno);
        ASSERT_TRUE(window.execute(CommandId::EditMode));
        ASSERT_EQ(window.lines().type_cell(0, "quantity order", boxes), Entry::Accepted);
    }

    std::unique_ptr<Database> db;
    ScriptedPrompter prompter;
    POform_po window;
};

QString changed(const QString& docno) { return docno + " was changed by another user. Refresh it and edit again."; }

/// A write refused inside its transaction says why, then that it failed.
QStringList refused_with(const QString& why, const QString& failed) { return {why, failed}; }

QStringList last_two(const ScriptedPrompter& prompter)
{
    const QStringList said = prompter.messages();
    return said.mid(std::max(qsizetype(0), said.size() - 2));
}

TEST_F(OrderWindow, OfTwoEditsOfOneOrderTheSecondIsRefused)
{
    const QString docno = save_order("V100", {{"WIDGET", "10", "box", "30"}});
    Clerk a(t, window.settings());
    Clerk b(t, window.settings());
    a.edit_line(docno, "20");
    b.edit_line(docno, "40");

    ASSERT_TRUE(a.window.execute(CommandId::Save));
    EXPECT_EQ(a.prompter.last(), "Update PO no. " + docno + " complete");
    EXPECT_FALSE(b.window.execute(CommandId::Save));
    EXPECT_EQ(last_two(b.prompter), refused_with(changed(docno), "Update PO failed."));
    // B keeps what was typed, still in edit mode.
    EXPECT_EQ(b.window.mode(), WindowModel::Mode::Edit);
    EXPECT_EQ(b.window.lines().cell(0, "quantity order"), "40");
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(240));
    expect_consistent();

    // Refreshed, B's edit goes through.
    b.prompter.answer_no();
    ASSERT_TRUE(b.window.execute(CommandId::RefreshRecord));
    b.edit_line(docno, "40");
    ASSERT_TRUE(b.window.execute(CommandId::Save));
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(480));
    expect_consistent();
}

TEST_F(OrderWindow, AStaleEditNeverUndoesACloseVoidOrActivation)
{
    const QString closed = save_order("V100", {{"WIDGET", "10", "box", "30"}});
    const QString voided = save_order("V100", {{"WIDGET", "5", "box", "30"}});
    const auto future = testing::saved_order(
        t.db(), {"V100", {{"BOLT", "2", "box", "5"}}, QDate(2026, 3, 1), true, QDate(2026, 3, 20)});
    Clerk editor(t, window.settings());
    Clerk other(t, window.settings());

    const struct {
        QString docno;
        POform_po::Command command;
        QString refusal;
    } cases[] = {{closed, POform_po::Command::ClosePo, "Order was fully received."},
                 {voided, POform_po::Command::ClosePo, "PO-26-00002 was void."},
                 {future.docno, POform_po::Command::ActivateThisFuturePo, changed(future.docno)}};
    for (const auto& step : cases) {
        SCOPED_TRACE(step.docno.toStdString());
        editor.edit_line(step.docno, "3");
        other.window.type_into("docno", step.docno);
        if (step.docno == voided) {
            other.prompter.answer_yes();
            ASSERT_TRUE(other.window.execute(CommandId::Void));
        } else {
            other.prompter.answer_yes();
            ASSERT_TRUE(other.window.execute(step.command));
        }
        EXPECT_FALSE(editor.window.execute(CommandId::Save));
        EXPECT_EQ(last_two(editor.prompter), refused_with(step.refusal, "Update PO failed."));
        editor.prompter.answer_no();
        ASSERT_TRUE(editor.window.execute(CommandId::EditMode));
        expect_consistent();
    }
    EXPECT_EQ(t.decimal("SELECT quantity_open FROM PO_transaction_table WHERE docno = ?", {closed}), Decimal(0));
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(0));
    EXPECT_EQ(on_order("BOLT", "MAIN", "A2"), Decimal(200));

    // The other way round: a close started on a version the edit has since changed is refused.
    const QString edited = save_order("V100", {{"WIDGET", "4", "box", "30"}});
    other.window.type_into("docno", edited);
    editor.edit_line(edited, "6");
    ASSERT_TRUE(editor.window.execute(CommandId::Save));
    other.prompter.answer_yes();
    EXPECT_FALSE(other.window.execute(POform_po::Command::ClosePo));
    EXPECT_EQ(last_two(other.prompter), refused_with(changed(edited), "Close PO failed."));
    expect_consistent();
}

TEST_F(OrderWindow, OneRequisitionLineIsNeverOrderedTwice)
{
    const QString key = requisition();
    Clerk a(t, window.settings());
    Clerk b(t, window.settings());
    for (Clerk* clerk : {&a, &b}) {
        ASSERT_TRUE(clerk->window.execute(CommandId::New));
        clerk->window.set_field("requisition_key", key);
        clerk->window.fill_lines_from_requisition();
        clerk->window.set_field("requisition_key", QString());
    }
    ASSERT_TRUE(a.window.execute(CommandId::Save));
    EXPECT_FALSE(b.window.execute(CommandId::Save));
    EXPECT_EQ(b.prompter.messages().mid(b.prompter.messages().size() - 2),
              (QStringList{"PR-26-00001 line 1 was already ordered.", "Add new PO failed."}));
    EXPECT_EQ(t.count("PO_header_table"), 1);
    EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), Decimal(60));
    expect_consistent();
}

// A save that waits in vain for another user's lock says so in the same words on both engines.
TEST_F(OrderWindow, ASaveBlockedByAnotherUsersLockSaysSoAlikeOnBothEngines)
{
    start_order("V100", {{"WIDGET", "1", "box", "30"}});
    auto other = t.open_another();
    Transaction holding(*other);
    ASSERT_TRUE(holding.active());
    ASSERT_TRUE(issue_document_number(*other, QStringLiteral("po"), QStringLiteral("2026")));

    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(last_two(prompter), refused_with("record is locked by another user", "Add new PO failed."));
    holding.rollback();
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Add new PO no. PO-26-00001 complete");
}

// Both clerks press Save at the same moment, on threads of their own: the database serialises
// them (SQLite's write lock, PostgreSQL's row lock) and the second sees the first's version.
TEST_F(OrderWindow, SimultaneousEditsSerialiseAndOnlyOneWins)
{
    const QString docno = save_order("V100", {{"WIDGET", "20", "box", "30"}});
    const HostSettings settings = window.settings();
    for (int round = 0; round < 5; ++round) {
        std::latch ready(2);
        std::atomic<int> saved{0};
        std::atomic<int> refused{0};
        auto clerk = [&](const QString& boxes) {
            Clerk me(t, settings);
            me.edit_line(docno, boxes);
            ready.arrive_and_wait();
            if (me.window.execute(CommandId::Save))
                ++saved;
            else if (last_two(me.prompter) == refused_with(changed(docno), "Update PO failed."))
                ++refused;
        };
        std::thread first([&] { clerk(QString::number(21 + round)); });
        std::thread second([&] { clerk(QString::number(41 + round)); });
        first.join();
        second.join();
        ASSERT_EQ(saved.load(), 1) << round;
        ASSERT_EQ(refused.load(), 1) << round;
        const Decimal boxes = t.decimal("SELECT quantity FROM PO_transaction_table WHERE docno = ?", {docno});
        EXPECT_EQ(on_order("WIDGET", "MAIN", "A1"), boxes * Decimal(12));
        expect_consistent();
    }
}

} // namespace
} // namespace zelkor
