#include "core/db/sql_names.h"
#include "core/rights.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using testing::Contents;
using testing::TestDatabase;

class UserRights : public ::testing::Test {
protected:
    void grant(const char* form, const char* user, bool update, bool print, bool design)
    {
        ASSERT_TRUE(InsertRow(QStringLiteral("User_right_table"))
                        .set(u"form", form)
                        .set(u"userid", user)
                        .set(u"update", update)
                        .set(u"Print", print)
                        .set(u"form_design", design)
                        .execute(t.db()));
    }
    Rights rights_of(const char* form, const char* user)
    {
        return load_rights(t.db(), QString::fromUtf8(form), QString::fromUtf8(user));
    }

    TestDatabase t{Contents::Tables};
};

TEST_F(UserRights, OnlyTheRowOfThisWindowAndUserGrantsAnything)
{
    grant("POform_pr", "ANN", true, false, true);
    grant("POform_po", "BOB", true, true, true);

    const Rights ann = rights_of("POform_pr", "ANN");
    EXPECT_TRUE(ann.update);
    EXPECT_FALSE(ann.print);
    EXPECT_TRUE(ann.design);

    for (const Rights& nothing : {rights_of("POform_po", "ANN"), rights_of("POform_pr", "BOB"), rights_of("POform_pr", "ann")}) {
        EXPECT_FALSE(nothing.update);
        EXPECT_FALSE(nothing.print);
        EXPECT_FALSE(nothing.design);
    }

    // A read error leaves everything refused; the window still opens.
    t.db().fail_statement(1);
    const Rights failed = rights_of("POform_po", "BOB");
    EXPECT_FALSE(failed.update || failed.print || failed.design);
}

TEST(CommandRights, WritingPrintingAndDesignCommandsNeedTheirFlag)
{
    const Rights read_only{false, true, false};
    const Rights clerk{true, false, false};
    for (int writes : {101, 105, 106, 111, 119, 120, 133, 1002}) {
        EXPECT_FALSE(command_allowed(read_only, writes)) << writes;
        EXPECT_TRUE(command_allowed(clerk, writes)) << writes;
    }
    EXPECT_TRUE(command_allowed(read_only, 103));
    EXPECT_FALSE(command_allowed(clerk, 103));
    for (int font : {401, 403, 408})
        EXPECT_FALSE(command_allowed(clerk, font)) << font;
    for (int always : {100, 107, 108, 131, 136, 201, 209})
        EXPECT_TRUE(command_allowed(Rights{}, always)) << always;
    // A window's own command that only shows something says so.
    EXPECT_TRUE(command_allowed(read_only, 1001, Right::None));
}

} // namespace
} // namespace zelkor
