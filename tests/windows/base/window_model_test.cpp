#include "windows/base/window_model.h"

#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

/// Records the notifications a window or the facade sends.
struct Heard {
    QStringList all;
    void operator()(const QString& formx, const QString& docnox, const QString& arg2)
    {
        all << formx + u'|' + docnox + u'|' + arg2;
    }
};

/// A small document window: two header fields, a line grid and a save that succeeds or fails
/// as the test says.
class TestWindow : public WindowModel {
public:
    explicit TestWindow(const QString& name = QStringLiteral("POform_pr"))
        : WindowModel(name, QStringLiteral("Test Window"), Kind::Document)
    {
        declare_field({"docno", "Number", FieldKind::Text, 0, {}, false, ReadModeLock::Open});
        declare_field({"remark", "Remark", FieldKind::Text, 0});
        declare_field({"order_date", "Date", FieldKind::Date, 1});
        declare_grid("dbgrid1", {}, {"item code", "Quantity"});
        declare_command(CommandId::Exit);
        declare_command(CommandId::Save);
        declare_command(CommandId::New);
        declare_command(CommandId::EditMode);
        declare_command(CommandId::InsertLine);
        declare_command(CommandId::DeleteLine);
    }

    bool save_succeeds = true;
    int saves = 0;
    QStringList checked_fields;

protected:
    bool save_document() override
    {
        ++saves;
        return save_succeeds;
    }
    Entry check_field(const QString& name, const QString&) override
    {
        checked_fields << name;
        return Entry::Accepted;
    }
};

class WindowModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HostSettings settings;
        settings.abcdb = &database.db();
        settings.ZELKOR_USER = QStringLiteral("ADMIN");
        settings.ZELKOR_DATE_FORMAT = QStringLiteral("dd/mm/yyyy");
        window.apply_settings(settings);
        window.set_prompter(&prompter);
        window.open();
    }

    zelkor::testing::TestDatabase database;
    ScriptedPrompter prompter;
    TestWindow window;
};

TEST_F(WindowModelTest, LeavingNewModeWithChangesAsksAndDiscardsOnNo)
{
    ASSERT_TRUE(window.execute(CommandId::New));
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    EXPECT_TRUE(window.find_command(105)->checked);
    EXPECT_EQ(window.type_into("remark", "urgent"), Entry::Accepted);
    EXPECT_EQ(window.checked_fields, QStringList{"remark"});
    EXPECT_TRUE(window.is_dirty());

    prompter.answer_no();
    EXPECT_TRUE(window.execute(CommandId::New));

    ASSERT_EQ(prompter.records().size(), 1u);
    EXPECT_EQ(prompter.records()[0].text, "Do you want to save new entry?");
    EXPECT_EQ(prompter.records()[0].title, "Test Window");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
    EXPECT_FALSE(window.find_command(105)->checked);
    EXPECT_EQ(window.field("remark"), "");
    EXPECT_EQ(window.saves, 0);
}

TEST_F(WindowModelTest, LeavingNewModeWithoutChangesAsksNothing)
{
    window.execute(CommandId::New);
    window.execute(CommandId::New);
    EXPECT_TRUE(prompter.records().empty());
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
}

TEST_F(WindowModelTest, FailedSaveOnYesKeepsTheEntryAndTheMode)
{
    window.execute(CommandId::New);
    window.type_into("remark", "urgent");
    window.save_succeeds = false;

    prompter.answer_yes();
    EXPECT_FALSE(window.execute(CommandId::Exit));

    EXPECT_EQ(window.saves, 1);
    EXPECT_FALSE(window.is_closed());
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    EXPECT_TRUE(window.find_command(105)->checked);
    EXPECT_EQ(window.field("remark"), "urgent");
}

TEST_F(WindowModelTest, EditModeAsksAboutEditingAndRestoresTheShownDocumentOnNo)
{
    window.set_field("docno", "PR-26-00001");
    window.set_field("remark", "as saved");
    window.grid("dbgrid1")->append_row();
    window.grid("dbgrid1")->set_cell(0, "item code", "WIDGET");

    ASSERT_TRUE(window.execute(CommandId::EditMode));
    window.type_into("remark", "changed");
    EXPECT_EQ(window.grid("dbgrid1")->type_cell(0, "ITEM CODE", "GADGET"), Entry::Accepted);

    prompter.answer_no();
    window.execute(CommandId::EditMode);

    EXPECT_EQ(prompter.last(), "Do you want to save editing?");
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
    EXPECT_EQ(window.field("remark"), "as saved");
    EXPECT_EQ(window.grid("dbgrid1")->cell(0, "item code"), "WIDGET");
}

TEST_F(WindowModelTest, SwitchingFromEditToNewSavesTheEditFirstOnYes)
{
    window.execute(CommandId::EditMode);
    window.type_into("remark", "changed");
    prompter.answer_yes();

    EXPECT_TRUE(window.execute(CommandId::New));

    EXPECT_EQ(prompter.last(), "Do you want to save editing?");
    EXPECT_EQ(window.saves, 1);
    EXPECT_EQ(window.mode(), WindowModel::Mode::New);
    EXPECT_FALSE(window.find_command(106)->checked);
    EXPECT_EQ(window.field("remark"), "");
}

TEST_F(WindowModelTest, SaveLeavesTheModeAndExitClosesThenNotifiesNextApp)
{
    int closed = 0;
    QObject::connect(&window, &WindowModel::closed, [&] { ++closed; });
    Heard notified;
    QObject::connect(&window, &WindowModel::NotifyClients, std::ref(notified));
    window.execute(CommandId::New);
    window.type_into("remark", "urgent");
    EXPECT_TRUE(window.execute(CommandId::Save));
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
    EXPECT_FALSE(window.is_dirty());

    EXPECT_TRUE(window.execute(CommandId::Exit));

    EXPECT_TRUE(prompter.records().empty());
    EXPECT_TRUE(window.is_closed());
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(notified.all, QStringList{"Next App||"});
    EXPECT_FALSE(window.execute(CommandId::New)) << "a closed window runs nothing";
}

TEST_F(WindowModelTest, ReadModeLocksFieldsAndLinesButNotTheNumberBox)
{
    EXPECT_EQ(window.type_into("remark", "x"), Entry::ReadOnly);
    EXPECT_EQ(window.type_into("docno", "PR-26-00001"), Entry::Accepted);
    EXPECT_EQ(window.type_into("no_such_field", "x"), Entry::Unknown);
    Grid& lines = *window.main_grid();
    lines.append_row();
    EXPECT_EQ(lines.type_cell(0, "quantity", "1"), Entry::ReadOnly);
    EXPECT_FALSE(window.execute(CommandId::InsertLine));

    window.execute(CommandId::New);
    EXPECT_EQ(lines.row_count(), 0) << "new mode starts with no lines";
    EXPECT_TRUE(window.execute(CommandId::InsertLine));
    EXPECT_TRUE(window.execute(CommandId::InsertLine));
    lines.set_current(1, 0);
    EXPECT_EQ(lines.type_cell(1, "quantity", "5"), Entry::Accepted);
    lines.set_current(0, 0);
    EXPECT_TRUE(window.execute(CommandId::DeleteLine));
    ASSERT_EQ(lines.row_count(), 1);
    EXPECT_EQ(lines.cell(0, "quantity"), "5");
    EXPECT_EQ(lines.type_cell(0, "no such column", "1"), Entry::Unknown);
}

TEST_F(WindowModelTest, DatesAreTypedAndShownInTheUsersFormat)
{
    window.set_field_date("order_date", QDate(2026, 3, 5));
    EXPECT_EQ(window.field("order_date"), "05/03/2026");
    window.set_field("order_date", "31/12/2025");
    EXPECT_EQ(window.field_date("order_date").value(), QDate(2025, 12, 31));
    window.set_field("order_date", "");
    EXPECT_FALSE(window.field_date("order_date").value().isValid());
}

TEST(WindowRights, AUserWithoutUpdateRightCannotStartNewWork)
{
    zelkor::testing::TestDatabase database;
    ScriptedPrompter prompter;
    TestWindow window(QStringLiteral("POform_po")); // CLERK may only change requisitions
    HostSettings settings;
    settings.abcdb = &database.db();
    settings.ZELKOR_USER = QStringLiteral("CLERK");
    window.apply_settings(settings);
    window.set_prompter(&prompter);

    EXPECT_FALSE(window.find_command(105)->enabled);
    EXPECT_FALSE(window.execute(CommandId::New));
    window.set_command_enabled(105, true);
    EXPECT_FALSE(window.find_command(105)->enabled) << "the window cannot give a right the user lacks";
    EXPECT_EQ(window.mode(), WindowModel::Mode::Read);
    EXPECT_TRUE(window.execute(CommandId::Exit));
}

TEST(ScriptedPrompterTest, AQuestionWithoutAQueuedAnswerFailsLoudly)
{
    ScriptedPrompter prompter;
    prompter.message("vendor is invalid.");
    EXPECT_THROW(prompter.ask_yes_no("Are you sure to void this receipt?"), UnansweredQuestion);
    EXPECT_EQ(prompter.unanswered(), 1);
    prompter.answer_text("Template A");
    EXPECT_THROW(prompter.ask_yes_no("Delete?"), UnfitAnswer);
    prompter.answer_cancel();
    EXPECT_EQ(prompter.prompt("Template Name"), std::nullopt);
    prompter.answer_text("Template B");
    EXPECT_EQ(prompter.prompt("Template Name"), "Template B");
    EXPECT_EQ(prompter.messages(), QStringList{"vendor is invalid."});
}

} // namespace
