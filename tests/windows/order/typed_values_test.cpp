// What a clerk may type: every value is refused with its message (and the previous value put
// back) or accepted and read back from the database exactly as typed, alike on both engines.
#include "tests/support/po_window_fixture.h"
#include "tests/support/pr_window_fixture.h"

namespace zelkor {
namespace {

using testing::PrWindow;

struct TypedCell {
    const char* column;
    const char* typed;
    const char* refusal; ///< nullptr: accepted
};

TEST_F(OrderWindow, LineValuesAreRefusedOrStoredExactly)
{
    start_order("V100", {{"WIDGET", "2", "box", "30"}});
    const TypedCell cases[] = {
        {"quantity order", "1,2", "quantity is invalid."},
        {"quantity order", "1,,,2", "quantity is invalid."},
        {"quantity order", "abc", "quantity is invalid."},
        {"quantity order", "0.0000001", "quantity has too many decimals."},
        {"quantity order", "1234567890", "quantity is too large."},
        {"unit cost", "999999999999999999.99", "unit cost is too large."},
        {"unit cost", "1.1234567", "unit cost has too many decimals."},
        {"extended cost", "1.005", "extended cost has too many decimals."},
        {"extended cost", "99999999999999", "extended cost is too large."},
        {"warehouse", "WEST", "warehouse is invalid."},
        {"location", "Z9", "location is invalid."},
        {"tax code", "SALES", "tax code is invalid."},
        {"account", "9999", "account is invalid."},
        {"uom", "kg", "Invalid uom"},
        {"quantity order", "1,234", nullptr},
        {"unit cost", "12.3456", nullptr},
    };
    Grid& lines = window.lines();
    for (const TypedCell& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " = " + c.typed);
        const QString before = lines.cell(0, c.column);
        const Entry entry = lines.type_cell(0, c.column, QString::fromUtf8(c.typed));
        if (c.refusal) {
            EXPECT_EQ(entry, Entry::Refused);
            EXPECT_EQ(prompter.last(), c.refusal);
            EXPECT_EQ(lines.cell(0, c.column), before);
        } else {
            EXPECT_EQ(entry, Entry::Accepted) << prompter.last().toStdString();
        }
    }
    // A quantity times a cost that no amount column holds is refused too.
    ASSERT_EQ(lines.type_cell(0, "quantity order", "999999"), Entry::Accepted);
    EXPECT_EQ(lines.type_cell(0, "unit cost", "99999999"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "extended cost is too large.");
    EXPECT_EQ(lines.cell(0, "unit cost"), "12.3456");
    ASSERT_EQ(lines.type_cell(0, "quantity order", "1,234"), Entry::Accepted);

    // Control characters never reach the database; the accepted values read back exactly.
    lines.type_cell(0, "description", QStringLiteral("Widget") + QChar(0) + QChar(27) + QStringLiteral(" blue"));
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(t.decimal("SELECT quantity FROM PO_transaction_table"), Decimal(1234));
    EXPECT_EQ(t.decimal("SELECT unitcost FROM PO_transaction_table"), Decimal("12.3456"));
    EXPECT_EQ(t.decimal("SELECT extended_cost FROM PO_transaction_table"), Decimal("15234.47"));
    EXPECT_EQ(t.text("SELECT description FROM PO_transaction_table"), "Widget blue");
    EXPECT_EQ(t.decimal("SELECT sub_total FROM PO_header_table"), Decimal("15234.47"));
    expect_consistent();
}

TEST_F(OrderWindow, HeaderCodesAndRatesAreCheckedWhereTheyAreTyped)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_EQ(window.type_into("vendor_no", "V300"), Entry::Accepted);
    EXPECT_EQ(window.field("currency"), "EUR");
    const struct {
        const char* field;
        const char* typed;
        const char* refusal;
    } cases[] = {
        {"currency", "XYZ", "currency is invalid."},
        {"payment_term", "99", "payment term is invalid."},
        {"shipvia", "NOPE", "ship via is invalid."},
        {"requested_user", "NOBODY", "requested by is invalid."},
        {"shipto", "NOWHERE", "Ship-to is invalid."},
        {"exchange_rate", "abc", "exchange rate is invalid."},
        {"exchange_rate", "0", "exchange rate is invalid."},
        {"exchange_rate", "-5", "exchange rate is invalid."},
        {"exchange_rate", "1.123456789", "exchange rate is invalid."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + c.typed);
        const QString before = window.field(c.field);
        EXPECT_EQ(window.type_into(c.field, QString::fromUtf8(c.typed)), Entry::Refused);
        EXPECT_EQ(prompter.last(), c.refusal);
        EXPECT_EQ(window.field(c.field), before);
    }
    // An empty rate is allowed and nothing is written for it.
    EXPECT_EQ(window.type_into("exchange_rate", ""), Entry::Accepted);
    EXPECT_EQ(window.type_into("exchange_rate", "1.2345"), Entry::Accepted);
}

TEST_F(OrderWindow, LinesWithoutAnItemAndNegativeLinesKeepHeaderAndLinesInStep)
{
    // A line with an amount but no item code is refused; the header is never saved without lines.
    ASSERT_TRUE(window.execute(CommandId::New));
    ASSERT_EQ(window.type_into("vendor_no", "V100"), Entry::Accepted);
    Grid& lines = window.lines();
    ASSERT_EQ(lines.type_cell(0, "item type", "3"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "description", "Desk"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "extended cost", "80"), Entry::Accepted);
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify item code for line 1");
    EXPECT_EQ(t.count("PO_header_table"), 0);

    // A negative non-stock line (a credit) is stored as typed, on the line and in the header.
    ASSERT_EQ(lines.type_cell(0, "item code", "DESK"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "account", "1500"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "quantity order", "1"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "quantity order", "3"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "extended cost", "100"), Entry::Accepted);
    EXPECT_EQ(lines.cell(0, "unit cost"), "33.333333") << "worked out from the extended cost, every decimal kept";
    ASSERT_EQ(lines.type_cell(0, "quantity order", "1"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(0, "extended cost", "100"), Entry::Accepted);
    EXPECT_EQ(lines.cell(0, "unit cost"), "100.00") << "never fewer than two decimals";
    const int credit = lines.append_row();
    ASSERT_EQ(lines.type_cell(credit, "item type", "5"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(credit, "item code", "DISCOUNT"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(credit, "account", "6000"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(credit, "quantity order", "1"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(credit, "extended cost", "-5"), Entry::Accepted);
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.messages().join(" | ").toStdString();
    EXPECT_EQ(t.decimal("SELECT extended_cost FROM PO_transaction_table WHERE itemcode = 'DISCOUNT'"), Decimal(-5));
    EXPECT_EQ(t.decimal("SELECT tax_amount FROM PO_transaction_table WHERE itemcode = 'DISCOUNT'"), Decimal(0));
    EXPECT_EQ(t.decimal("SELECT sub_total FROM PO_header_table"), Decimal(95));
    EXPECT_EQ(lines.cell(0, "unit cost"), "100.00") << "as the saved order shows it again";
    EXPECT_EQ(t.decimal("SELECT SUM(extended_cost) FROM PO_transaction_table"), Decimal(95));
    EXPECT_EQ(t.decimal("SELECT tax_total FROM PO_header_table"), t.decimal("SELECT SUM(tax_amount) FROM PO_transaction_table"));
}

TEST_F(OrderWindow, AMessageRepeatsAtMostSixtyCharactersOfATypedValue)
{
    const QString pasted(5000, u'X');
    window.set_field("docno", pasted);
    window.display_by_number();
    EXPECT_EQ(prompter.last(), QString(60, u'X') + "... not found.");

    start_order("V100", {{"WIDGET", "1", "box", "30"}});
    Grid& lines = window.lines();
    const int row = lines.append_row();
    ASSERT_EQ(lines.type_cell(row, "item type", "5"), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(row, "item code", pasted), Entry::Accepted);
    ASSERT_EQ(lines.type_cell(row, "extended cost", "10"), Entry::Accepted);
    EXPECT_FALSE(window.execute(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify quantity for " + QString(60, u'X') + "...");
}

TEST_F(PrWindow, FractionalQuantitiesOfWholeUnitItemsAreRefused)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    enter_item(0, "1", "WIDGET", "2", "10");
    EXPECT_EQ(type(0, "quantity", "1.5"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "WIDGET : not allow fractional quantity.");
    EXPECT_EQ(cell(0, "quantity"), "2");
    // A typed tax amount is shown as the line's elements give it.
    EXPECT_EQ(type(0, "tax amount", "99"), Entry::Accepted);
    EXPECT_EQ(cell(0, "tax amount"), "1.00");
    ASSERT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(t.decimal("SELECT net_cost FROM PR_transaction_table"), Decimal("21.00"));
}

} // namespace
} // namespace zelkor
