#include "core/db/sql_names.h"
#include "core/units.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using testing::Contents;
using testing::TestDatabase;

const QString Widget = QStringLiteral("WIDGET");

class UnitConversion : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* unit : {"piece", "box", "carton", "dozen", "kg", "pair"})
            ASSERT_TRUE(InsertRow(QStringLiteral("UOM_table")).set(u"uom", unit).execute(t.db()));
        ASSERT_TRUE(InsertRow(QStringLiteral("Item_master_table"))
                        .set(u"itemcode", Widget)
                        .set(u"item_type", QStringLiteral("1"))
                        .set(u"stock_uom", QStringLiteral("piece"))
                        .execute(t.db()));
        add_rule(Widget, "box", "piece", "1", "12");
        add_rule(Widget, "carton", "piece", "1", "144");
        add_rule(Widget, "dozen", "piece", "0", "0"); // stands for the company-wide rule
        add_rule(QStringLiteral("*"), "dozen", "piece", "1", "12");
        add_rule(QStringLiteral("*"), "pair", "piece", "1", "2");
        add_rule(QStringLiteral("*"), "kg", "piece", "0", "5"); // ignored
    }
    void add_rule(const QString& item, const char* from, const char* to, const char* quantity_from, const char* quantity_to)
    {
        ASSERT_TRUE(InsertRow(QStringLiteral("UOM_conversion_table"))
                        .set(u"itemcode", item)
                        .set(u"uom_from", from)
                        .set(u"uom_to", to)
                        .set(u"quantity_from", Decimal(quantity_from))
                        .set(u"quantity_to", Decimal(quantity_to))
                        .execute(t.db()));
    }

    TestDatabase t{Contents::Tables};
};

struct Conversion {
    const char* quantity;
    const char* from;
    const char* to;
    const char* expected;
};

TEST_F(UnitConversion, ItemRulesWorkBothWaysChainThroughTheStockUnitAndFallBackToCompanyRules)
{
    const Conversion cases[] = {
        {"3", "box", "piece", "36"},       // the item's rule
        {"36", "piece", "box", "3"},       // the same rule backwards
        {"1", "carton", "box", "12"},      // carton -> piece <- box
        {"24", "box", "carton", "2"},
        {"2", "dozen", "piece", "24"},     // quantity_from 0 defers to "*"
        {"6", "piece", "pair", "3"},       // only a company-wide rule links them
        {"7.5", "box", "box", "7.5"},
    };
    for (const Conversion& c : cases) {
        SCOPED_TRACE(std::string(c.quantity) + " " + c.from + " -> " + c.to);
        auto converted = convert_quantity(t.db(), Decimal(c.quantity), Widget, QString::fromUtf8(c.from),
                                          QString::fromUtf8(c.to));
        ASSERT_TRUE(converted) << converted.error().message.toStdString();
        EXPECT_EQ(*converted, Decimal(c.expected));
    }
    auto pair = conversion_pair(t.db(), Widget, QStringLiteral("carton"), QStringLiteral("box"));
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->to_quantity / pair->from_quantity, Decimal(12));
}

TEST_F(UnitConversion, EqualUnitsReadNothing)
{
    const qint64 before = t.db().statement_count();
    auto same = convert_quantity(t.db(), Decimal("4.25"), Widget, QStringLiteral("crate"), QStringLiteral("crate"));
    ASSERT_TRUE(same);
    EXPECT_EQ(*same, Decimal("4.25"));
    EXPECT_EQ(t.db().statement_count(), before);
}

TEST_F(UnitConversion, UnknownUnitsAndMissingRulesAreReportedNotGuessed)
{
    auto unknown = convert_quantity(t.db(), Decimal(1), Widget, QStringLiteral("box"), QStringLiteral("crate"));
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error().message, QStringLiteral("UOM (crate) is invalid."));

    // kg has only a company rule with quantity_from 0, which links nothing.
    auto unlinked = convert_quantity(t.db(), Decimal(1), Widget, QStringLiteral("kg"), QStringLiteral("box"));
    ASSERT_FALSE(unlinked);
    EXPECT_EQ(unlinked.error().kind, Error::Kind::NotFound);
    EXPECT_EQ(unlinked.error().message, QStringLiteral("No conversion from UOM (kg) to UOM (box) for item WIDGET."));

    // An item rule with a zero part would make a receipt of nothing: it does not count.
    add_rule(Widget, "kg", "piece", "2", "0");
    EXPECT_FALSE(convert_quantity(t.db(), Decimal(1), Widget, QStringLiteral("kg"), QStringLiteral("piece")));
}

TEST_F(UnitConversion, SearchesReadTogetherKeepTheirOwnAnswersInOrder)
{
    auto pairs = conversion_pairs(t.db(), {{Widget, QStringLiteral("box"), QStringLiteral("piece")},
                                           {Widget, QStringLiteral("piece"), QStringLiteral("piece")},
                                           {Widget, QStringLiteral("box"), QStringLiteral("crate")},
                                           {Widget, QStringLiteral("dozen"), QStringLiteral("piece")}});
    ASSERT_TRUE(pairs);
    ASSERT_EQ(pairs->size(), 4u);
    ASSERT_TRUE((*pairs)[0]);
    EXPECT_EQ((*pairs)[0]->to_quantity / (*pairs)[0]->from_quantity, Decimal(12));
    ASSERT_TRUE((*pairs)[1]);
    EXPECT_EQ((*pairs)[1]->to_quantity, (*pairs)[1]->from_quantity);
    ASSERT_FALSE((*pairs)[2]);
    EXPECT_EQ((*pairs)[2].error().message, QStringLiteral("UOM (crate) is invalid."));
    ASSERT_TRUE((*pairs)[3]);
    EXPECT_EQ((*pairs)[3]->to_quantity / (*pairs)[3]->from_quantity, Decimal(12));
}

TEST_F(UnitConversion, CompanyFactorUsesOnlyTheCompanyRuleInItsDirection)
{
    auto factor = [&](const char* from, const char* to) {
        return company_conversion_factor(t.db(), QString::fromUtf8(from), QString::fromUtf8(to)).value_or(Decimal(-1));
    };
    EXPECT_EQ(factor("dozen", "piece"), Decimal(12));
    EXPECT_EQ(factor("piece", "dozen"), Decimal(0));
    EXPECT_EQ(factor("box", "piece"), Decimal(0)); // an item rule is not company-wide
    EXPECT_EQ(factor("kg", "piece"), Decimal(0));
}

} // namespace
} // namespace zelkor
