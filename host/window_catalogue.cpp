#include "host/window_catalogue.h"

#include "facade/POclass.h"

namespace zelkor::host {

const std::vector<CatalogueEntry>& window_catalogue()
{
    const QString purchasing = QStringLiteral("&Purchasing");
    const QString receiving = QStringLiteral("Receivin&g");
    const QString payables = QStringLiteral("Pa&yables");
    const QString masters = QStringLiteral("&Masters");
    const QString reports = QStringLiteral("Report&s");
    static const std::vector<CatalogueEntry> entries{
        {QStringLiteral("POform_pr"), purchasing, QStringLiteral("Purchase &Requisition"), [](POclass& c) { c.showform_POform_pr(); }},
        {QStringLiteral("POform_po"), purchasing, QStringLiteral("Purchase &Order"), [](POclass& c) { c.showform_POform_po(); }},
        {QStringLiteral("POform_receipt"), receiving, QStringLiteral("Goods &Receipt"), [](POclass& c) { c.showform_POform_receipt(); }},
        {QStringLiteral("POform_landed"), receiving, QStringLiteral("&Landed Cost"), [](POclass& c) { c.showform_POform_landed(); }},
        {QStringLiteral("POform_invoice"), payables, QStringLiteral("Vendor &Bill"), [](POclass& c) { c.showform_POform_invoice(); }},
        {QStringLiteral("POform_misccharge"), masters, QStringLiteral("Vendor &Miscellaneous Charges"), [](POclass& c) { c.showform_POform_misccharge(); }},
        {QStringLiteral("POform_shipvia"), masters, QStringLiteral("&Ship Via"), [](POclass& c) { c.showform_POform_shipvia(); }},
        {QStringLiteral("POform_vendor_group"), masters, QStringLiteral("Vendor &Groups"), [](POclass& c) { c.showform_POform_vendor_group(); }},
        {QStringLiteral("POreport_vendor_list"), reports, QStringLiteral("&Vendor List"), [](POclass& c) { c.showform_POform_vendor_list(); }},
        {QStringLiteral("POreport_pr_transaction"), reports, QStringLiteral("&Requisition Transactions"), [](POclass& c) { c.showform_POform_pr_transaction(); }},
        {QStringLiteral("POreport_po_transaction"), reports, QStringLiteral("&Order Transactions"), [](POclass& c) { c.showform_POform_po_transaction(); }},
        {QStringLiteral("POreport_receipt_transaction"), reports, QStringLiteral("R&eceipt Transactions"), [](POclass& c) { c.showform_POform_receipt_transaction(); }},
        {QStringLiteral("POreport_invoice_transaction"), reports, QStringLiteral("&Bill Transactions"),
         [](POclass& c) { c.showform_POform_invoice_transaction(QString(), QString()); }},
        {QStringLiteral("POreport_payable_clearing"), reports, QStringLiteral("Payable &Clearing"), [](POclass& c) { c.showform_POform_payable_clearing(); }},
        {QStringLiteral("POreport_purchase_tax"), reports, QStringLiteral("Purchase &Tax"), [](POclass& c) { c.showform_POform_purchase_tax(); }},
    };
    return entries;
}

} // namespace zelkor::host
