// Two clerks, one order line or one receipt: the database serialises them (SQLite's write lock,
// PostgreSQL's row locks). Receipts of one order line both save while what is open covers them;
// otherwise, and of two voids of one receipt, exactly one wins and the other is told why and
// writes nothing.
#include "tests/support/receipt_window_fixture.h"

#include <algorithm>
#include <atomic>
#include <latch>
#include <thread>

namespace zelkor {
namespace {

/// A clerk at another workstation: a receipt window on a connection of its own.
struct Clerk {
    explicit Clerk(TestDatabase& t) : db(t.open_another())
    {
        window.apply_settings(receipt_settings(*db));
        window.set_prompter(&prompter);
        window.open();
    }

    /// Starts receiving `boxes` of the order's first line.
    void receive(const QString& order_number, const QString& boxes)
    {
        ASSERT_TRUE(window.execute(CommandId::New));
        ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);
        ASSERT_EQ(window.type_into("pono", order_number), Entry::Accepted);
        ASSERT_TRUE(window.activate_row(window.order_lines(), 0));
        ASSERT_EQ(window.lines().type_cell(0, "quantity received", boxes), Entry::Accepted);
    }

    bool was_asked(const QString& question) const
    {
        return std::any_of(prompter.records().begin(), prompter.records().end(),
                           [&](const auto& record) { return record.text == question; });
    }
    QStringList last_two() const { return prompter.messages().mid(std::max(qsizetype(0), prompter.messages().size() - 2)); }

    std::unique_ptr<Database> db;
    ScriptedPrompter prompter;
    POform_receipt window;
};

TEST_F(ReceiptWindow, TwoClerksReceivingOneOrderLineAtOnceBothSaveWhileWhatIsOpenCoversThem)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}});
    // Each round two clerks confirm their boxes against what is open, then save at once.
    struct Round {
        const char* boxes;
        int saves;
    };
    int received = 0;
    for (const Round round : {Round{"4", 2}, Round{"2", 1}}) {
        SCOPED_TRACE(round.boxes);
        std::latch ready(2);
        std::atomic<int> saved{0};
        std::atomic<int> refused{0};
        // Four and four of ten: the later save sees two left and goes on. Two and two of the two
        // left: the later one would receive more than is open, which its clerk declines when
        // asked, or which nobody confirmed when it was checked before the other saved.
        auto clerk = [&] {
            Clerk me(t);
            me.receive(po, round.boxes);
            me.prompter.answer_no();
            ready.arrive_and_wait();
            if (me.window.execute(CommandId::Save))
                ++saved;
            else if (me.last_two() == QStringList{po + " was changed by another user. Refresh it and edit again.",
                                                   "Add new receipt failed"}
                     || me.was_asked("Are you sure to receive WIDGET-A more than quantity open (0 box)?"))
                ++refused;
        };
        std::thread first(clerk);
        std::thread second(clerk);
        first.join();
        second.join();
        ASSERT_EQ(saved.load(), round.saves);
        ASSERT_EQ(refused.load(), 2 - round.saves);
        received += QString(round.boxes).toInt() * saved.load();
        EXPECT_EQ(open_quantity(po, 1), Decimal(10 - received));
        EXPECT_EQ(on_order("WIDGET-A", "MAIN", "A-01"), Decimal(12 * (10 - received)));
        expect_consistent();
    }
    // Each receipt records what was open when it received: ten, six, two.
    EXPECT_EQ(t.count("PO_receipt_transaction_table WHERE po_quantity_open IN (10, 6, 2)"), 3);
}

TEST_F(ReceiptWindow, AQuantityConfirmedAgainstAnOpenQuantityChangedSinceIsRefused)
{
    const QString po = order("V1001", {{"WIDGET-A", "3", "box", "30"}});
    Clerk other(t);
    other.receive(po, "1");
    // Four of three open: while the clerk is asked, another receives one box of the line.
    start("V1001", po);
    pick({0});
    ASSERT_EQ(type(0, "quantity received", "4"), Entry::Accepted);
    prompter.on_record = [&](const ScriptedPrompter::Record& record) {
        if (record.kind == ScriptedPrompter::Kind::YesNo) {
            EXPECT_TRUE(other.window.execute(CommandId::Save));
        }
    };
    prompter.answer_yes();
    EXPECT_FALSE(window.execute(CommandId::Save));
    prompter.on_record = nullptr;
    EXPECT_EQ(prompter.messages().mid(prompter.messages().size() - 2),
              (QStringList{po + " was changed by another user. Refresh it and edit again.", "Add new receipt failed"}));
    EXPECT_EQ(t.count("PO_receipt_header_table"), 1);
    EXPECT_EQ(open_quantity(po, 1), Decimal(2));
    // Asked again, about what is open now.
    prompter.answer_yes();
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(t.count("Item_onhand_table WHERE itemcode = 'WIDGET-A' AND quantity = 300"), 1);
    EXPECT_EQ(open_quantity(po, 1), Decimal(0));
    EXPECT_TRUE(std::any_of(prompter.records().begin(), prompter.records().end(), [](const auto& record) {
        return record.text == "Are you sure to receive WIDGET-A more than quantity open (2 box)?";
    }));
    expect_consistent();
}

TEST_F(ReceiptWindow, OfTwoVoidsOfOneReceiptOneWins)
{
    const QString po = order("V1001", {{"WIDGET-A", "10", "box", "30"}, {"BOLT-M8", "2", "box", "12"}});
    ASSERT_EQ(receive_all("V1001", po), "RO-26-00001");
    std::latch ready(2);
    std::atomic<int> voided{0};
    std::atomic<int> refused{0};
    auto clerk = [&] {
        Clerk me(t);
        me.window.type_into("docno", "RO-26-00001");
        me.prompter.answer_yes();
        ready.arrive_and_wait();
        if (me.window.execute(CommandId::Void))
            ++voided;
        else if (me.last_two() == QStringList{"RO-26-00001 was void.", "Void receipt failed"})
            ++refused;
    };
    std::thread first(clerk);
    std::thread second(clerk);
    first.join();
    second.join();
    EXPECT_EQ(voided.load(), 1);
    EXPECT_EQ(refused.load(), 1);
    EXPECT_EQ(t.count("GL_header_table WHERE Source = 'PO-RECEIPT'"), 2);
    EXPECT_EQ(open_quantity(po, 1), Decimal(10));
    EXPECT_EQ(on_order("WIDGET-A", "MAIN", "A-01"), Decimal(120));
    expect_consistent();
}

} // namespace
} // namespace zelkor
