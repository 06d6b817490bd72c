// What the requisition and order windows say their commands can do in each mode, which the view
// turns into enabled and disabled buttons: Save and the line commands only while a document is
// entered or edited, Preview and Edit mode only with a saved document shown.
#include "tests/support/po_window_fixture.h"
#include "tests/support/pr_window_fixture.h"

#include <memory>

namespace zelkor {
namespace {

using testing::PrWindow;

/// "+" or "-" for Save, Insert Line, Delete Line, Preview, Edit mode and Copy To New, in that order.
QString available(const WindowModel& window)
{
    QString marks;
    for (CommandId id : {CommandId::Save, CommandId::InsertLine, CommandId::DeleteLine, CommandId::Preview,
                         CommandId::EditMode, CommandId::CopyToNew})
        marks += window.command_applies(to_int(id)) ? u'+' : u'-';
    return marks;
}

/// Counts the times the window says what its commands can do may have changed.
std::shared_ptr<int> count_changes(WindowModel& window)
{
    auto changes = std::make_shared<int>(0);
    QObject::connect(&window, &WindowModel::commandAvailabilityChanged, &window, [changes] { ++*changes; });
    return changes;
}

TEST_F(PrWindow, CommandsApplyPerModeAndShownRequisition)
{
    const auto changes = count_changes(window);
    EXPECT_EQ(available(window), "------") << "an empty window in read mode";

    ASSERT_TRUE(window.execute(CommandId::New));
    EXPECT_GT(*changes, 0) << "the view hears of the new mode";
    lines().set_current(0, 0);
    EXPECT_EQ(available(window), "+++--+") << "entering: save and lines, nothing to print or edit yet";
    window.type_into(QStringLiteral("vendor_no"), QStringLiteral("V200"));
    enter_item(0, QStringLiteral("1"), QStringLiteral("WIDGET"), QStringLiteral("10"), QStringLiteral("2.50"));
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.last().toStdString();

    EXPECT_EQ(available(window), "---+++") << "a saved requisition shown in read mode";
    EXPECT_FALSE(window.execute(CommandId::InsertLine)) << "and the commands themselves agree";

    ASSERT_TRUE(window.execute(CommandId::EditMode));
    lines().set_current(0, 0);
    EXPECT_EQ(available(window), "+++-++") << "editing";
    lines().set_current(-1, -1);
    EXPECT_EQ(available(window).at(2), u'-') << "Delete Line needs a line to be on";
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    EXPECT_EQ(available(window), "---+++");
}

TEST_F(OrderWindow, CommandsApplyPerModeAndShownOrder)
{
    EXPECT_EQ(available(window), "------") << "an empty window in read mode";
    start_order("V100", {{"WIDGET", "4", "box", "2.50"}});
    window.lines().set_current(0, 0);
    EXPECT_EQ(available(window), "+++--+") << "entering";
    ASSERT_TRUE(window.execute(CommandId::Save)) << prompter.last().toStdString();
    EXPECT_EQ(available(window), "---+++") << "a saved order shown in read mode";

    ASSERT_TRUE(window.execute(CommandId::EditMode));
    window.lines().set_current(0, 0);
    EXPECT_EQ(available(window), "+++-++") << "editing";
    ASSERT_TRUE(window.execute(CommandId::EditMode));
    EXPECT_EQ(available(window), "---+++");
}

} // namespace
} // namespace zelkor
