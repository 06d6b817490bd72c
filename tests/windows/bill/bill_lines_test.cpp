// Lines typed into a bill: what each cell checks and fills in, the tax that follows the amount,
// the tax code and "tax included", the footer, and the header's payment, discount and
// prepayment fields.
#include "tests/support/bill_window_fixture.h"

namespace zelkor {
namespace {

QStringList values(const Choices& list)
{
    QStringList bound;
    for (int row = 0; row < int(list.rows.size()); ++row)
        bound << list.value_of(row);
    return bound;
}

TEST_F(BillWindow, TypedLinesTakeTheirDefaultsTheirTaxAndTheFooter)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    EXPECT_EQ(type(0, "item code", "HANDLING"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "please specify vendor");
    ASSERT_EQ(window.type_into("vendor_no", "V1001"), Entry::Accepted);

    // A charge brings its description, account and tax code; the amount brings the tax.
    ASSERT_EQ(type(0, "item code", "HANDLING"), Entry::Accepted);
    ASSERT_EQ(type(0, "quantity", "2"), Entry::Accepted);
    ASSERT_EQ(type(0, "unit cost", "30"), Entry::Accepted);
    // An office supply needs no master; it takes the vendor's tax code.
    lines().append_row();
    ASSERT_EQ(type(1, "item type", "4"), Entry::Accepted);
    ASSERT_EQ(type(1, "item code", "PAPER"), Entry::Accepted);
    ASSERT_EQ(type(1, "extended cost", "40"), Entry::Accepted);
    ASSERT_EQ(type(1, "account", "6000"), Entry::Accepted);
    const QStringList shown{"item no", "item type", "description", "account", "account name", "tax code",
                            "extended cost", "tax amount", "net cost"};
    EXPECT_EQ(rows(lines(), shown), (QStringList{"1|6|Handling fee|5200|Freight and duty|ST|60.00|3.60|63.60",
                                                 "2|4||6000|Office supplies|ST|40|2.40|42.40"}));
    EXPECT_EQ(window.field("excluded_tax"), "6.00");

    // Tax inside the price is not owed on top of it; another code recomputes the tax.
    ASSERT_EQ(type(1, "tax included", "1"), Entry::Accepted);
    EXPECT_EQ(lines().cell(1, "tax amount"), "2.26");
    EXPECT_EQ(lines().cell(1, "net cost"), "40.00");
    EXPECT_EQ(window.field("subtotal"), "100.00");
    EXPECT_EQ(window.field("excluded_tax"), "3.60");
    EXPECT_EQ(window.field("total"), "103.60");
    ASSERT_EQ(type(0, "tax code", "EXEMPT"), Entry::Accepted);
    EXPECT_EQ(lines().cell(0, "tax amount"), "0.00");
    EXPECT_EQ(window.field("total"), "100.00");
    ASSERT_EQ(type(0, "extended cost", "75"), Entry::Accepted);
    EXPECT_EQ(lines().cell(0, "unit cost"), "37.50");
    ASSERT_EQ(type(0, "tax code", "ST"), Entry::Accepted);
    EXPECT_EQ(lines().cell(0, "tax amount"), "4.50");
    EXPECT_EQ(window.field("total"), "119.50");

    // A percent gives the discount; an amount typed over it stands alone; the prepayment comes off.
    ASSERT_EQ(window.type_into("discount_percent", "10"), Entry::Accepted);
    EXPECT_EQ(window.field("discount_amount"), "11.95");
    EXPECT_EQ(window.field("net_amount"), "107.55");
    ASSERT_EQ(window.type_into("payby", "Cash"), Entry::Accepted);
    ASSERT_EQ(window.type_into("prepayment", "20"), Entry::Accepted);
    EXPECT_EQ(window.field("net_amount"), "87.55");
    ASSERT_EQ(window.type_into("discount_amount", "5"), Entry::Accepted);
    EXPECT_EQ(window.field("discount_percent"), "");
    EXPECT_EQ(window.field("net_amount"), "94.50");

    auto refused = [&](const std::function<Entry()>& typing, const QString& why) {
        prompter.clear();
        EXPECT_EQ(typing(), Entry::Refused) << why.toStdString();
        EXPECT_EQ(prompter.messages(), QStringList{why});
    };
    auto field = [&](const char* name, const QString& value) { return [=, this] { return window.type_into(name, value); }; };
    auto cell = [&](int row, const char* column, const QString& value) { return [=, this] { return type(row, column, value); }; };
    refused(field("discount_amount", "5x"), "please input numeric data");
    refused(field("discount_amount", "-1"), "discount amount must be positive");
    refused(field("discount_percent", "abc"), "please input numeric data");
    refused(field("discount_percent", "101"), "discount percent is invalid.");
    refused(field("prepayment", "abc"), "prepayment is invalid.");
    refused(field("prepayment", "-5"), "Prepayment must be positive");
    refused(field("payby", "AMEX"), "Pay by is invalid.");
    refused(field("cash_accno", "1300"), "cash account is invalid.");
    refused(field("bank_code", "NOBANK"), "Bank code NOBANK is invalid.");
    refused(cell(0, "quantity", "1x"), "quantity is invalid.");
    refused(cell(0, "unit cost", "x"), "unit cost is invalid.");
    refused(cell(0, "extended cost", "x"), "extended cost is invalid.");
    refused(cell(1, "uom received", "crate"), "uom is invalid.");
    refused(cell(1, "account", "9999"), "account is invalid.");
    refused(cell(1, "item type", "9"), "item type is invalid.");
    lines().append_row();
    refused(cell(2, "item code", "NO-SUCH"), "item code is invalid.");
    EXPECT_EQ(window.field("net_amount"), "94.50");
    EXPECT_EQ(lines().cell(1, "item code"), "PAPER");

    // Only the chosen pay-by's fields are typed into; its lists.
    EXPECT_EQ(values(window.find_field("payby")->choices), (QStringList{"Pay Later", "Cash", "Check", "MasterCard", "VISA"}));
    EXPECT_EQ(values(window.find_field("cash_accno")->choices), (QStringList{"1010", "1000"}));
    EXPECT_TRUE(window.field_editable("cash_accno"));
    EXPECT_FALSE(window.field_editable("check_no"));
    ASSERT_EQ(window.type_into("cash_accno", "1000"), Entry::Accepted);
    ASSERT_EQ(window.type_into("payby", "Check"), Entry::Accepted);
    EXPECT_EQ(window.field("cash_accno"), "");
    EXPECT_TRUE(window.field_editable("check_no"));
    EXPECT_TRUE(window.field_editable("bank_code"));

    // Lines charge expense accounts; a charge line chooses among the charges.
    const Choices& accounts = lines().column(lines().required_column("account")).choices;
    EXPECT_GE(accounts.find("5200"), 0);
    EXPECT_LT(accounts.find("1300"), 0) << "no inventory account";
    EXPECT_LT(accounts.find("5100"), 0) << "no cost of goods sold";
    lines().set_current(0, 0);
    EXPECT_EQ(values(lines().column(lines().required_column("item code")).choices),
              (QStringList{"DUTY", "FREIGHT", "HANDLING", "INSURANCE"}));

    // Without a vendor's code or a default code, a new line stays untaxed and says why.
    ASSERT_TRUE(t.db().execute("UPDATE Vendor_table SET tax_code = NULL WHERE vendor_no = 'V1002'"));
    ASSERT_TRUE(t.db().execute("UPDATE Tax_code_table SET \"default\" = FALSE"));
    ASSERT_EQ(window.type_into("vendor_no", "V1002"), Entry::Accepted);
    lines().append_row();
    ASSERT_EQ(type(2, "item type", "5"), Entry::Accepted);
    prompter.clear();
    EXPECT_EQ(type(2, "item code", "REPAIR"), Entry::Accepted);
    EXPECT_EQ(prompter.messages(), QStringList{"Default Tax code has not been set"});
    EXPECT_EQ(lines().cell(2, "tax code"), "");
}

} // namespace
} // namespace zelkor
