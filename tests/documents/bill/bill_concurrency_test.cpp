// Two clerks at two workstations saving bills with the same vendor's bill number at the same
// moment: the number check runs again under the lock the save takes, so exactly one bill is
// saved and the other is refused before anything of it is written or numbered.
#include "bill_posting_fixture.h"

#include "tests/support/save_race.h"

#include <chrono>
#include <future>

namespace zelkor {
namespace {

/// A clerk at another workstation: a bill window on a connection of its own, with a direct
/// line of handling typed and the vendor's bill number given.
struct Clerk {
    Clerk(TestDatabase& t, const QString& folder) : db(t.open_another())
    {
        window.apply_settings(testing::window_settings(*db, QStringLiteral("ADMIN"), folder));
        window.set_prompter(&prompter);
        window.open();
    }

    void type_bill(const QString& vendor, const QString& invoice_no, const QString& amount)
    {
        ASSERT_TRUE(window.execute(CommandId::New));
        ASSERT_EQ(window.type_into("vendor_no", vendor), Entry::Accepted) << prompter.last().toStdString();
        ASSERT_EQ(window.lines().type_cell(0, "item code", "HANDLING"), Entry::Accepted);
        ASSERT_EQ(window.lines().type_cell(0, "extended cost", amount), Entry::Accepted);
        ASSERT_EQ(window.type_into("invoice_no", invoice_no), Entry::Accepted);
    }

    std::unique_ptr<Database> db;
    ScriptedPrompter prompter;
    POform_invoice window;
};

TEST_F(BillPosting, OfTwoBillsSavedAtOnceWithOneVendorNumberOneIsSaved)
{
    // Each round, both clerks type the same number and press Save together; the vendors differ
    // in the second round, since the number is unique among live bills whoever the vendor.
    const std::vector<std::pair<QString, QString>> rounds{{"V1001", "V1001"}, {"V1001", "V1002"}};
    int round_no = 0;
    for (const auto& [first_vendor, second_vendor] : rounds) {
        const QString number = QStringLiteral("DUP-%1").arg(++round_no);
        const testing::SaveRace race = testing::race_to_save(
            [&] { return std::make_unique<Clerk>(t, folder.path()); },
            [&](Clerk& me, int which) {
                me.type_bill(which == 0 ? first_vendor : second_vendor, number, which == 0 ? "50" : "70");
            });
        EXPECT_EQ(race.saved, 1);
        ASSERT_EQ(race.refusals.size(), 1);
        EXPECT_TRUE(race.refusals[0].startsWith("Vendor invoice no " + number + " exist")) << race.refusals[0].toStdString();
        EXPECT_EQ(t.count("PO_invoice_header_table"), round_no);
        EXPECT_EQ(t.count("AP_header_table"), round_no);
        EXPECT_EQ(t.decimal("SELECT COUNT(*) FROM PO_invoice_header_table WHERE invoice_no = ?", {number}), Decimal(1));
        // The refused save took no number: the next bill gets the one after the saved bill's.
        EXPECT_EQ(t.decimal("SELECT nextdocno FROM Docno_master_table WHERE doctype = 'vi' AND fiscalyear = '2026'"),
                  Decimal(round_no + 1));
    }
    expect_consistent();
}

TEST_F(BillPosting, ABillSavedWhileItsOrderIsBeingEditedBillsTheLinesTheEditWrote)
{
    const QString po = order("V1001", {{"MANUAL-OPS", "3", "each", "15"}});
    bill_first_order_line(po, "SRV-1", "2");

    // Another clerk raises the order to 4; the edit rewrites the order's lines and its
    // transaction is still open when the bill is saved.
    auto other = t.open_another();
    OrderEditor editor(*other, folder.path());
    Transaction edit(*other);
    editor.save_first_quantity(po, "4");

    prompter.clear();
    auto saving = std::async(std::launch::async, [&] { return window.execute(CommandId::Save); });
    EXPECT_EQ(saving.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout)
        << "the bill was saved through the edit's lock";
    ASSERT_TRUE(edit.commit());
    ASSERT_TRUE(saving.get()) << prompter.messages().join(" | ").toStdString();

    // The bill waited for the edit and billed the rewritten line: 2 of 4 billed, 2 still due.
    auto line = [&](const char* column) {
        return t.decimal(QStringLiteral("SELECT ") + column + " FROM PO_transaction_table WHERE docno = ?", {po});
    };
    EXPECT_EQ(line("quantity"), Decimal(4));
    EXPECT_EQ(line("quantity_billed"), Decimal(2));
    EXPECT_EQ(line("quantity_open_for_bill"), Decimal(2));
    expect_consistent();
}

} // namespace
} // namespace zelkor
