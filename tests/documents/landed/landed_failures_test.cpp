// A database error at any statement of a landed bill's save, edit or void: the database is as it
// was (no number taken, no layer touched), and the error is a database failure, never a refusal.
#include "tests/support/landed_fixture.h"

#include <functional>

namespace zelkor {
namespace {

class LandedFailures : public LandedFixture {
protected:
    /// Makes each statement of `operation` fail in turn until it succeeds; gives the failures.
    int fail_each_statement(const std::function<std::expected<void, Error>()>& operation)
    {
        const QStringList before = t.snapshot();
        int failures = 0;
        for (int statement = 1; statement < 400; ++statement) {
            db().fail_statement(statement);
            auto done = operation();
            db().fail_statement(0);
            if (done)
                return failures;
            SCOPED_TRACE(statement);
            ++failures;
            EXPECT_EQ(done.error().kind, Error::Kind::Database) << done.error().message.toStdString();
            EXPECT_EQ(t.snapshot(), before);
            if (::testing::Test::HasFailure())
                return failures;
        }
        ADD_FAILURE() << "never succeeded";
        return failures;
    }
};

TEST_F(LandedFailures, EveryStatementOfSaveEditAndVoidFailsCleanly)
{
    const QString receipt = received({{"WIDGET-A", "10", "box", "30"}, {"BOLT-M8", "2", "box", "10"}});
    const QString moving = received({{"WIRE-CU", "1", "roll", "100"}});
    issue("WIDGET-A", "MAIN", "A-01", "300");
    LandedBill bill = landed({charge(1, "FREIGHT", "90.00"), charge(2, "INSURANCE", "10.00", true, "6400")},
                             {receipt, moving});
    bill.bill.header.discount_amount = QStringLiteral("5");
    DocumentNumber saved;
    const int save_failures = fail_each_statement([&]() -> std::expected<void, Error> {
        auto number = save_new_landed_bill(db(), bill, accounts(), stamp());
        if (!number)
            return std::unexpected(number.error());
        saved = *number;
        return {};
    });
    EXPECT_GT(save_failures, 20);
    expect_consistent();

    issue("WIDGET-A", "MAIN", "A-01", "30", "SO-2");
    bill.bill.lines[0] = charge(1, "FREIGHT", "120.00");
    const DocumentVersion before_edit = shown(saved);
    const int edit_failures = fail_each_statement(
        [&] { return update_landed_bill(db(), before_edit, bill, accounts(), stamp()); });
    EXPECT_GT(edit_failures, 20);
    expect_consistent();

    issue("WIDGET-A", "MAIN", "A-01", "20", "SO-3");
    const DocumentVersion before_void = shown(saved);
    const int void_failures = fail_each_statement(
        [&] { return void_landed_bill(db(), before_void, QStringLiteral("5100"), stamp()); });
    EXPECT_GT(void_failures, 10);
    expect_consistent();
}

} // namespace
} // namespace zelkor
