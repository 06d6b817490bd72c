#include "core/db/sql_names.h"
#include "core/fiscal_periods.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using testing::Contents;
using testing::TestDatabase;

struct TypedDate {
    const char* format;
    const char* typed;
    QDate date;           ///< the date accepted, or invalid when refused
    const char* message;  ///< the message when refused
};

void PrintTo(const TypedDate& c, std::ostream* os) { *os << c.format << " " << c.typed; }

class DateEntry : public ::testing::TestWithParam<TypedDate> {};

TEST_P(DateEntry, AcceptsRealDatesAndNamesTheFirstWrongPart)
{
    const TypedDate& c = GetParam();
    auto parsed = parse_user_date(QString::fromUtf8(c.typed), QString::fromUtf8(c.format));
    if (c.date.isValid()) {
        ASSERT_TRUE(parsed) << parsed.error().message.toStdString();
        EXPECT_EQ(*parsed, c.date);
        EXPECT_EQ(format_user_date(*parsed, QString::fromUtf8(c.format)), QString::fromUtf8(c.typed));
    } else {
        ASSERT_FALSE(parsed);
        EXPECT_EQ(parsed.error().message, QString::fromUtf8(c.message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DateEntry,
    ::testing::Values(TypedDate{"dd/mm/yyyy", "15/03/2006", QDate(2006, 3, 15), ""},
                      TypedDate{"mm/dd/yyyy", "03/15/2006", QDate(2006, 3, 15), ""},
                      TypedDate{"yyyy/mm/dd", "2006/03/15", QDate(2006, 3, 15), ""},
                      TypedDate{"dd/mm/yyyy", "29/02/2008", QDate(2008, 2, 29), ""},
                      TypedDate{"dd/mm/yyyy", "31/04/2006", {}, "Date is invalid (31/04/2006)"},
                      TypedDate{"dd/mm/yyyy", "29/02/2006", {}, "Date is invalid (29/02/2006)"},
                      TypedDate{"dd/mm/yyyy", "00/01/2006", {}, "Date is invalid (00/01/2006)"},
                      TypedDate{"mm/dd/yyyy", "13/01/2006", {}, "Month is invalid (13)"},
                      TypedDate{"mm/dd/yyyy", "00/01/2006", {}, "Month is invalid (00)"},
                      TypedDate{"dd/mm/yyyy", "32/13/2006", {}, "Month is invalid (13)"},
                      TypedDate{"dd/mm/yyyy", "32/01/2006", {}, "date is invalid (32)"},
                      TypedDate{"dd/mm/yyyy", "01/01/1989", {}, "year is invalid (1989)"},
                      TypedDate{"dd/mm/yyyy", "01/01/1990", QDate(1990, 1, 1), ""},
                      TypedDate{"dd/mm/yyyy", "31/12/2529", QDate(2529, 12, 31), ""},
                      TypedDate{"dd/mm/yyyy", "01/01/2530", {}, "year is invalid (2530)"},
                      TypedDate{"dd/mm/yyyy", "01/xx/2006", {}, "Month is invalid (xx)"},
                      TypedDate{"dd/mm/yyyy", "15/03", {}, "Date is invalid (15/03)"},
                      TypedDate{"dd.mm.yyyy", "15/03/2006", {}, "Error : User_Form_Dateformat:date_format is not valid"},
                      TypedDate{"yyyy/dd/yy", "2006/15/06", {}, "Error : User_Form_Dateformat:date_format is not valid"}));

class FiscalYears : public ::testing::Test {
protected:
    void SetUp() override
    {
        // July to June years, labelled by the year they end in.
        add_year(QStringLiteral("2006"), QDate(2005, 7, 1), QDate(2006, 6, 30));
        add_year(QStringLiteral("2007"), QDate(2006, 7, 1), QDate(2007, 6, 30));
    }
    void add_year(const QString& label, const QDate& start, const QDate& end)
    {
        ASSERT_TRUE(InsertRow(QStringLiteral("Fiscalyear_table"))
                        .set(u"fyear", label)
                        .set(u"StartDate", start)
                        .set(u"EndDate", end)
                        .execute(t.db()));
    }
    void set_working_period(const QString& start_year, int start_period, const QString& end_year,
                            std::optional<int> end_period, bool history = false)
    {
        ASSERT_TRUE(t.db().execute(QStringLiteral("DELETE FROM COA_config_table")));
        ASSERT_TRUE(InsertRow(QStringLiteral("COA_config_table"))
                        .set(u"company", 1)
                        .set(u"activate_working_period", true)
                        .set(u"working_start_fyear", start_year)
                        .set(u"working_start_period", start_period)
                        .set(u"working_end_fyear", end_year)
                        .set(u"working_end_period", end_period)
                        .set(u"allow_history_update", history)
                        .set(u"allow_start_fyear", QStringLiteral("2006"))
                        .set(u"allow_start_period", 1)
                        .set(u"allow_end_fyear", QStringLiteral("2006"))
                        .set(u"allow_end_period", 12)
                        .execute(t.db()));
    }
    FiscalPeriod period_of(const QDate& date)
    {
        auto period = fiscal_period_of(t.db(), date);
        EXPECT_TRUE(period) << date.toString(Qt::ISODate).toStdString();
        return period.value_or(FiscalPeriod{});
    }

    TestDatabase t{Contents::Tables};
};

TEST_F(FiscalYears, PeriodsCountMonthsFromTheStartOfTheYear)
{
    EXPECT_EQ(period_of(QDate(2005, 7, 1)).key(), QStringLiteral("200601"));
    EXPECT_EQ(period_of(QDate(2006, 3, 15)).key(), QStringLiteral("200609"));
    EXPECT_EQ(period_of(QDate(2006, 6, 30)).key(), QStringLiteral("200612"));
    EXPECT_EQ(period_of(QDate(2006, 7, 1)).key(), QStringLiteral("200701"));
    // Keys order periods across the year end.
    EXPECT_LT(period_of(QDate(2006, 6, 30)).key(), period_of(QDate(2006, 7, 1)).key());
    EXPECT_LT((FiscalPeriod{QStringLiteral("2006"), 12}.key()), (FiscalPeriod{QStringLiteral("2007"), 1}.key()));

    auto outside = fiscal_period_of(t.db(), QDate(2008, 3, 15));
    ASSERT_FALSE(outside);
    EXPECT_EQ(outside.error().message, QStringLiteral("No fiscal year for Mar 15, 2008"));
}

TEST_F(FiscalYears, WorkingPeriodAllowsItsRangeAndTheHistoryRangeOnly)
{
    const FiscalPeriod history{QStringLiteral("2006"), 5};
    const FiscalPeriod open{QStringLiteral("2007"), 3};
    const FiscalPeriod later{QStringLiteral("2007"), 7};

    EXPECT_TRUE(check_working_period(t.db(), later)); // no configuration: no check

    set_working_period(QStringLiteral("2007"), 1, QStringLiteral("2007"), 6);
    EXPECT_TRUE(check_working_period(t.db(), open));
    EXPECT_TRUE(check_working_period(t.db(), FiscalPeriod{QStringLiteral("2007"), 6}));
    for (const FiscalPeriod& refused : {history, later}) {
        auto checked = check_working_period(t.db(), refused);
        ASSERT_FALSE(checked) << refused.key().toStdString();
        EXPECT_EQ(checked.error().message, QStringLiteral("Fiscal period/year is out of working period."));
    }

    set_working_period(QStringLiteral("2007"), 1, QStringLiteral("2007"), 6, true);
    EXPECT_TRUE(check_working_period(t.db(), history));
    EXPECT_FALSE(check_working_period(t.db(), later));

    set_working_period(QStringLiteral("2007"), 1, QStringLiteral("2007"), std::nullopt);
    EXPECT_TRUE(check_working_period(t.db(), later));
}

} // namespace
} // namespace zelkor
