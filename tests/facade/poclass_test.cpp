#include "facade/POclass.h"

#include "core/clock.h"
#include "tests/support/printers.h"
#include "tests/support/test_database.h"

#include <QMetaProperty>

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

class FacadeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        facade.set_prompter(&prompter);
        facade.set_cnx(&database.db());
        facade.set_dbe(&database.db());
        facade.set_abcdb(&database.db());
        facade.set_ZELKOR_USER("ADMIN");
        facade.set_ZELKOR_DATE_FORMAT("dd/mm/yyyy");
        facade.set_BASE_CURRENCY("USD");
    }

    zelkor::testing::TestDatabase database;
    ScriptedPrompter prompter;
    POclass facade;
};

TEST_F(FacadeTest, HasTheSixteenHostSettingsByTheirNames)
{
    const QStringList names{"cnx", "dbe", "abcdb", "OPEN_DATABASE", "BASE_CURRENCY", "ZELKOR_COMPANY_NAME",
                            "ZELKOR_PATH", "ZELKOR_USER", "ZELKOR_THEME", "ZELKOR_DATE_FORMAT", "ZELKOR_NO_PERIODS",
                            "ZELKOR_FONT_NAME", "ZELKOR_FONT_SIZE", "docnox", "itemx", "statusx"};
    for (const QString& name : names) {
        const int index = facade.metaObject()->indexOfProperty(name.toLatin1());
        ASSERT_GE(index, 0) << name.toStdString();
        EXPECT_TRUE(facade.metaObject()->property(index).isWritable()) << name.toStdString();
    }
    facade.OPENdb("/data/company.db");
    facade.basecurrency("CAD");
    facade.ZKuser("JSMITH");
    facade.ZKtheme(2);
    EXPECT_EQ(facade.property("OPEN_DATABASE").toString(), "/data/company.db");
    EXPECT_EQ(facade.BASE_CURRENCY(), "CAD");
    EXPECT_EQ(facade.ZELKOR_USER(), "JSMITH");
    EXPECT_EQ(facade.ZELKOR_THEME().toInt(), 2);
}

TEST_F(FacadeTest, SettingsAreCopiedAtOpeningAndLaterChangesDoNotReachTheWindow)
{
    facade.set_ZELKOR_COMPANY_NAME("Fixture Trading Co.");
    facade.showform_POform_po();
    POform_po* order = facade.frm_po();
    ASSERT_NE(order, nullptr);

    facade.set_ZELKOR_COMPANY_NAME("Renamed");
    facade.set_ZELKOR_DATE_FORMAT("mm/dd/yyyy");
    facade.class_terminate();

    EXPECT_EQ(order->settings().ZELKOR_COMPANY_NAME, "Fixture Trading Co.");
    EXPECT_EQ(order->settings().ZELKOR_DATE_FORMAT, "dd/mm/yyyy");
    EXPECT_EQ(order->database(), &database.db()) << "an open window keeps its own reference";
    EXPECT_EQ(facade.abcdb(), nullptr);
    EXPECT_EQ(facade.dbe(), nullptr);
}

TEST_F(FacadeTest, TwoOpeningsGiveTwoWindowsAndExitClosesOnlyTheNewest)
{
    Heard notified;
    QObject::connect(&facade, &POclass::NotifyClients, std::ref(notified));
    facade.showform_POform_po();
    QPointer<POform_po> first = facade.frm_po();
    facade.showform_POform_po();
    QPointer<POform_po> second = facade.frm_po();
    ASSERT_NE(first, second);

    facade.frm_po_Exit();

    ASSERT_TRUE(first);
    EXPECT_FALSE(first->is_closed());
    EXPECT_TRUE(!second || second->is_closed());
    EXPECT_EQ(notified.all, QStringList{"Next App||"});

    // The earlier window keeps working, but the host no longer hears it.
    EXPECT_TRUE(first->execute(CommandId::Exit));
    EXPECT_EQ(notified.all.size(), 1);
    facade.frm_po_Exit(); // the newest is already closed: nothing happens
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(FacadeTest, RelaysPassTheStringsUnchangedAndAHandlerMayCloseTheSender)
{
    facade.showform_POform_receipt();
    QPointer<POform_receipt> receipt = facade.frm_receipt();
    QStringList heard;
    QObject::connect(&facade, &POclass::NotifyClients, &facade,
            [&](const QString& formx, const QString& docnox, const QString& arg2) {
                heard << formx + "|" + docnox + "|" + arg2;
                if (formx == u"Invoice This Receipt")
                    facade.frm_receipt_Exit();
            });

    facade.frm_receipt_NotifyClients("Invoice This Receipt", "RO-26-00001", " two words ");

    EXPECT_EQ(heard, (QStringList{"Invoice This Receipt|RO-26-00001| two words ", "Next App||"}));
    EXPECT_TRUE(!receipt || receipt->is_closed());
}

TEST_F(FacadeTest, OperationsOnWindowsNeverOpenedOrClosedDoNothingAndSayNothing)
{
    Heard notified;
    QObject::connect(&facade, &POclass::NotifyClients, std::ref(notified));
    auto everything = [&] {
        facade.POform_pr_goto_docno("PR-26-00001");
        facade.POform_po_goto_docno("PO-26-00001");
        facade.POform_receipt_goto_docno("RO-26-00001");
        facade.POform_invoice_goto_docno("VI-26-00001");
        facade.Issue_PO();
        facade.PO_receive_Goods();
        facade.Invoice_this_receipt();
        facade.frm_pr_Exit();
        facade.frm_po_Exit();
        facade.frm_receipt_Exit();
        facade.frm_invoice_Exit();
        facade.frm_shipvia_Exit();
        facade.frm_vendor_list_Exit();
    };
    everything();
    EXPECT_TRUE(notified.all.empty());

    facade.showform_POform_po();
    facade.showform_POform_receipt();
    facade.frm_po_Exit();
    facade.frm_receipt_Exit();
    notified.all.clear();
    everything();
    EXPECT_TRUE(notified.all.empty());
    EXPECT_TRUE(prompter.records().empty());
}

TEST_F(FacadeTest, IssuePoStartsANewOrderOnTheRequisitionAndEmptiesTheReferenceField)
{
    facade.showform_POform_pr();
    facade.frm_pr()->set_field("docno", "PR-26-00007");
    facade.frm_pr()->set_field("shipto", "MAIN");
    facade.showform_POform_po();

    facade.Issue_PO();

    POform_po* order = facade.frm_po();
    EXPECT_EQ(order->mode(), WindowModel::Mode::New);
    EXPECT_TRUE(order->find_command(105)->checked);
    EXPECT_EQ(order->field("prno"), "PR-26-00007");
    EXPECT_EQ(order->find_field("prno")->choices.rows.size(), 1u);
    EXPECT_EQ(order->field("shipto"), "MAIN");
    EXPECT_EQ(order->field("requisition_key"), "");
}

TEST_F(FacadeTest, ReceiveGoodsAndInvoiceThisReceiptLockTheVendor)
{
    FixedClock clock(QDate(2026, 3, 15));
    facade.showform_POform_po();
    facade.frm_po()->set_field("docno", "PO-26-00003");
    facade.frm_po()->set_field("vendor_no", "V100");
    facade.showform_POform_receipt();

    facade.PO_receive_Goods();

    POform_receipt* receipt = facade.frm_receipt();
    EXPECT_EQ(receipt->mode(), WindowModel::Mode::New);
    EXPECT_EQ(receipt->field("vendor_no"), "V100");
    EXPECT_EQ(receipt->field("pono"), "PO-26-00003");
    EXPECT_EQ(receipt->field("receipt_date"), "15/03/2026");
    EXPECT_TRUE(receipt->find_field("vendor_no")->read_only);
    EXPECT_TRUE(receipt->find_field("vendor_name")->read_only);

    receipt->set_field("docno", "RO-26-00002");
    facade.showform_POform_invoice();
    facade.Invoice_this_receipt();

    POform_invoice* bill = facade.frm_invoice();
    EXPECT_EQ(bill->mode(), WindowModel::Mode::New);
    EXPECT_EQ(bill->field("vendor_no"), "V100");
    EXPECT_EQ(bill->field("receipt_no"), "RO-26-00002");
    EXPECT_TRUE(bill->find_field("vendor_no")->read_only);
}

TEST_F(FacadeTest, PendingInquiriesPresetTheirFiltersAndRun)
{
    FixedClock clock(QDate(2026, 3, 15));
    facade.showform_POform_pr_transaction("pending");
    POreport_pr_transaction* requisitions = facade.frm_pr_transaction();
    EXPECT_EQ(requisitions->field("from_date"), "01/01/2000");
    EXPECT_EQ(requisitions->field("to_date"), "15/03/2026");
    EXPECT_EQ(requisitions->field("status"), "Open");
    EXPECT_EQ(requisitions->inquiries_run(), 1);

    facade.showform_POform_pr_transaction("later");
    EXPECT_EQ(facade.frm_pr_transaction()->field("status"), "");
    EXPECT_EQ(facade.frm_pr_transaction()->inquiries_run(), 0);

    facade.set_docnox("PR-26-00001");
    facade.set_statusx("Closed");
    facade.showform_POform_po_transaction();
    EXPECT_EQ(facade.frm_po_transaction()->field("prno"), "PR-26-00001");
    EXPECT_EQ(facade.frm_po_transaction()->field("item_from"), "");
    EXPECT_EQ(facade.frm_po_transaction()->field("status"), "Closed");
    EXPECT_EQ(facade.frm_po_transaction()->inquiries_run(), 1);

    facade.showform_POform_invoice_transaction("", "");
    EXPECT_EQ(facade.frm_invoice_transaction()->inquiries_run(), 0);
    facade.showform_POform_invoice_transaction("PO-26-00001", "");
    EXPECT_EQ(facade.frm_invoice_transaction()->field("pono"), "PO-26-00001");
    EXPECT_EQ(facade.frm_invoice_transaction()->inquiries_run(), 1);
}

TEST_F(FacadeTest, EveryWindowOpensWithItsCaptionAndAnExitCommand)
{
    std::vector<WindowModel*> shown;
    facade.set_view_factory([&](WindowModel& window) { shown.push_back(&window); });
    for (const auto& kind : window_kinds) {
        const QString operation = to_qstring(kind.showform);
        if (operation == u"showform_POform_invoice_transaction")
            facade.showform_POform_invoice_transaction("", "");
        else
            ASSERT_TRUE(QMetaObject::invokeMethod(&facade, operation.toLatin1().constData()))
                << operation.toStdString();
        WindowModel* window = facade.window(to_qstring(kind.reference));
        ASSERT_NE(window, nullptr) << operation.toStdString();
        EXPECT_EQ(window->class_name(), to_qstring(kind.class_name));
        EXPECT_FALSE(window->caption().isEmpty());
        EXPECT_TRUE(window->has_command(100));
    }
    EXPECT_EQ(shown.size(), window_kinds.size());
}

} // namespace
