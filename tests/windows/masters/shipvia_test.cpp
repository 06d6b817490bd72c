// The ship-via window: one record at a time, added, replaced, browsed, deleted and printed.
#include "master_fixture.h"
#include "windows/masters/POform_shipvia.h"
#include "windows/order/POform_po.h"

namespace zelkor::testing {
namespace {

class ShipviaWindow : public MasterWindowTest<POform_shipvia> {
protected:
    QString stored(const char* column, const QString& code)
    {
        return text(QStringLiteral("SELECT %1 FROM Shipvia_table WHERE shipvia_id = ?").arg(QLatin1String(column)), {code});
    }
};

TEST_F(ShipviaWindow, AddsWithActiveSetAndUpdatesByCode)
{
    EXPECT_EQ(window->shown_code(), "FEDEX") << "the first ship-via by code is shown";
    ASSERT_TRUE(run(CommandId::New));
    EXPECT_EQ(window->field("description"), "");
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify ship-via code");
    type("shipvia_id", "DHL");
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "please specify ship-via name");
    EXPECT_EQ(type("country", "Atlantis"), Entry::Refused);
    EXPECT_EQ(prompter.last(), "country is invalid.");
    type("country", "USA");
    type("description", "DHL Express");
    type("address", QStringLiteral("1 Dock Road\nO'Hare \"cargo\" area"));
    type("website", QStringLiteral("https://dhl.example/") + QChar(0));
    ASSERT_TRUE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Add new ship-via complete");
    EXPECT_EQ(stored("active", "DHL"), t.engine() == Engine::Sqlite ? "1" : "true");
    EXPECT_EQ(stored("Address", "DHL"), QStringLiteral("1 Dock Road\nO'Hare \"cargo\" area"));
    EXPECT_EQ(stored("website", "DHL"), "https://dhl.example/");
    EXPECT_EQ(window->shown_code(), "DHL");
    EXPECT_EQ(window->mode(), WindowModel::Mode::Read);

    ASSERT_TRUE(run(CommandId::EditMode));
    EXPECT_FALSE(window->field_editable("shipvia_id")) << "an edited ship-via keeps its code";
    type("contact_person", "Dana");
    ASSERT_TRUE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Update complete");
    EXPECT_EQ(stored("contact_person", "DHL"), "Dana");
    EXPECT_EQ(count("Shipvia_table"), 3);

    POform_po order;
    order.apply_settings(window_settings(t.db(), "ADMIN", folder.path()));
    order.set_prompter(&prompter);
    order.open();
    EXPECT_GE(order.find_field("shipvia")->choices.find("DHL"), 0) << "the order window lists the new ship-via";
}

TEST_F(ShipviaWindow, NewFormWithAnExistingCodeReplacesItOnlyWhenTheClerkSaysSo)
{
    ASSERT_TRUE(run(CommandId::New));
    type("shipvia_id", "UPS");
    type("description", "UPS Next Day");
    prompter.answer_no();
    EXPECT_FALSE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Ship-via UPS exist. Do you want to replace it?");
    EXPECT_EQ(stored("Description", "UPS"), "UPS Ground");
    EXPECT_EQ(window->mode(), WindowModel::Mode::New);
    prompter.answer_yes();
    ASSERT_TRUE(run(CommandId::Save));
    EXPECT_EQ(prompter.last(), "Update complete");
    EXPECT_EQ(stored("Description", "UPS"), "UPS Next Day");
    EXPECT_EQ(stored("country", "UPS"), "") << "a replaced ship-via takes the whole form";
    EXPECT_EQ(count("Shipvia_table"), 2);
}

TEST_F(ShipviaWindow, BrowsesByCodeAndFindsATypedCode)
{
    ASSERT_TRUE(run(to_int(POform_shipvia::Command::FirstRecord)));
    EXPECT_EQ(window->field("description"), "FedEx Express");
    ASSERT_TRUE(run(CommandId::NextRecord));
    EXPECT_EQ(window->field("description"), "UPS Ground");
    ASSERT_TRUE(run(CommandId::NextRecord));
    EXPECT_EQ(window->shown_code(), "UPS") << "next stops at the last";
    ASSERT_TRUE(run(CommandId::PreviousRecord));
    EXPECT_EQ(window->shown_code(), "FEDEX");
    type("shipvia_id", "UPS");
    EXPECT_EQ(window->field("description"), "UPS Ground");
    type("shipvia_id", "NONE");
    EXPECT_EQ(window->field("description"), "") << "an unknown code shows nothing";
    EXPECT_FALSE(run(CommandId::EditMode)) << "nothing shown, nothing to edit";
}

TEST_F(ShipviaWindow, DeleteIsRefusedWhileADocumentNamesTheShipvia)
{
    ASSERT_TRUE(t.db().execute("INSERT INTO PO_header_table (company, fkey, doctype, docno, vendor_no, shipvia, void)"
                               " VALUES (1, '1po-7', 'po', 'PO-26-00007', 'V100', 'FEDEX', TRUE)"));
    prompter.answer_yes();
    EXPECT_FALSE(run(CommandId::Delete));
    EXPECT_EQ(prompter.records().back().text, "FEDEX is used by PO-26-00007. Can not delete.");
    EXPECT_EQ(prompter.records().at(prompter.records().size() - 2).text, "Are you sure to remove ship-via?");
    EXPECT_EQ(prompter.records().at(prompter.records().size() - 2).title, "Delete");
    EXPECT_EQ(count("Shipvia_table"), 2);

    ASSERT_TRUE(t.db().execute("UPDATE PO_header_table SET shipvia = 'UPS'"));
    prompter.answer_yes();
    ASSERT_TRUE(run(CommandId::Delete));
    EXPECT_EQ(prompter.last(), "Delete complete");
    EXPECT_EQ(count("Shipvia_table WHERE shipvia_id = 'FEDEX'"), 0);
    EXPECT_EQ(window->shown_code(), "UPS") << "the next ship-via is shown";
}

TEST_F(ShipviaWindow, PrintsTheShownShipviaAsLabelledFields)
{
    ASSERT_TRUE(t.db().execute("UPDATE Shipvia_table SET contact_person = 'Kim Lee', phone1 = '555-0101' WHERE shipvia_id = 'UPS'"));
    type("shipvia_id", "UPS");
    ASSERT_TRUE(run(CommandId::Preview));
    EXPECT_EQ(notifications.back().arg2, "Preview SHIP-VIA MASTER");
    EXPECT_TRUE(notifications.back().docnox.contains("shipvia093000")) << notifications.back().docnox.toStdString();
    const QString printed = printed_text();
    if (printed.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(printed.contains("SHIP-VIA MASTER"));
    EXPECT_TRUE(printed.contains("ship-via code : UPS"));
    EXPECT_TRUE(printed.contains("Name : UPS Ground"));
    EXPECT_TRUE(printed.contains("Description : UPS Ground"));
    EXPECT_TRUE(printed.contains("Contact Person : Kim Lee"));
    EXPECT_TRUE(printed.contains("Phone 1 : 555-0101"));
    EXPECT_TRUE(printed.contains("Web Site :"));
}

} // namespace
} // namespace zelkor::testing
