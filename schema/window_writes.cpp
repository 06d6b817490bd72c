#include "schema/window_writes.h"

namespace zelkor::schema {
namespace {

using Writes = std::vector<TableWrite>;

const QString All = QStringLiteral("INSERT, UPDATE, DELETE");

Writes joined(std::initializer_list<Writes> parts)
{
    Writes all;
    for (const Writes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

/// The counters of document numbers and keys.
Writes numbering()
{
    return {{QStringLiteral("Docno_master_table"), QStringLiteral("UPDATE")},
            {QStringLiteral("Next_number_fkey_table"), QStringLiteral("UPDATE")}};
}

/// The quantities on order of an item.
Writes on_order() { return {{QStringLiteral("Item_onhand_table"), QStringLiteral("INSERT, UPDATE")}}; }

/// Stock, cost layers and the inventory documents. The inventory history is kept: an
/// inventory document is only ever marked void, and its lines and the layers' history only added.
Writes stock()
{
    return {{QStringLiteral("Item_onhand_table"), QStringLiteral("INSERT, UPDATE")},
            {QStringLiteral("Item_warehouse_table"), QStringLiteral("UPDATE (last_cost, last_cost_plus)")},
            {QStringLiteral("FIFO_table"), All},
            {QStringLiteral("FIFO_history_table"), QStringLiteral("INSERT")},
            {QStringLiteral("IN_header_table"),
             QStringLiteral("INSERT, UPDATE (void, date_lastmodified, time_lastmodified, user_updated)")},
            {QStringLiteral("IN_transaction_table"), QStringLiteral("INSERT")}};
}

/// Journal entries and the ledger balances. Journal lines are only added; a reversed entry's
/// header is marked.
Writes journal()
{
    return {{QStringLiteral("GL_header_table"), QStringLiteral("INSERT, UPDATE (Description, Reverse, remark)")},
            {QStringLiteral("GL_transaction_table"), QStringLiteral("INSERT")},
            {QStringLiteral("Balance_table"), QStringLiteral("INSERT, UPDATE")},
            {QStringLiteral("Balance_period_table"), QStringLiteral("INSERT, UPDATE")},
            {QStringLiteral("Account_currency_table"), QStringLiteral("INSERT")}};
}

/// Payables, payments, prepayments and the vendor's owing. A payable's header changes only in
/// the columns a void or an edit of its bill sets. An edited bill still writes its payable's
/// lines anew, and taking back a prepayment's application removes it: those two deletions remain.
Writes payables()
{
    return {{QStringLiteral("AP_header_table"),
             QStringLiteral("INSERT, UPDATE (GLFKEY, invoice_no, payment_term, duedays, early_days, early_discount, due_date,"
                            " discount_date, void, date_lastmodified, time_lastmodified, user_updated)")},
            {QStringLiteral("AP_transaction_table"),
             QStringLiteral("INSERT, DELETE, UPDATE (void, date_lastmodified, time_lastmodified, user_updated)")},
            {QStringLiteral("Payment_header_table"), QStringLiteral("INSERT, UPDATE (GLFKEY, billed, void)")},
            {QStringLiteral("Payment_transaction_table"), QStringLiteral("INSERT, DELETE, UPDATE (void)")},
            {QStringLiteral("Prepayment_waiting_PO_table"), All},
            {QStringLiteral("Vendor_table"), QStringLiteral("UPDATE (owing_balance)")}};
}

/// A bill's own rows and what it marks billed on its receipts and orders.
Writes bills()
{
    return {{QStringLiteral("PO_invoice_header_table"), All},
            {QStringLiteral("PO_invoice_transaction_table"), All},
            {QStringLiteral("PO_receipt_header_table"), QStringLiteral("UPDATE")},
            {QStringLiteral("PO_receipt_transaction_table"), QStringLiteral("UPDATE")},
            {QStringLiteral("PO_header_table"), QStringLiteral("UPDATE")},
            {QStringLiteral("PO_transaction_table"), QStringLiteral("UPDATE")}};
}

std::vector<WriteRole> make_write_roles()
{
    const QString update = QStringLiteral("update");
    return {
        {QStringLiteral("pr_update"), QStringLiteral("POform_pr"), update,
         joined({{{QStringLiteral("PR_header_table"), All}, {QStringLiteral("PR_transaction_table"), All}}, numbering()})},
        // The order window also issues the orders of requisitions (closing their lines) and of
        // templates.
        {QStringLiteral("po_update"), QStringLiteral("POform_po"), update,
         joined({{{QStringLiteral("PO_header_table"), All},
                  {QStringLiteral("PO_transaction_table"), All},
                  {QStringLiteral("PO_header_template_table"), All},
                  {QStringLiteral("PO_transaction_template_table"), All},
                  {QStringLiteral("PR_header_table"), QStringLiteral("UPDATE")},
                  {QStringLiteral("PR_transaction_table"), QStringLiteral("UPDATE")},
                  {QStringLiteral("Vendor_table"), QStringLiteral("UPDATE (Address)")},
                  // An order changes no stock row, but its items' rows are locked while their
                  // quantities on order change (a lock needs the right to update some column).
                  {QStringLiteral("Item_warehouse_table"), QStringLiteral("UPDATE (last_cost, last_cost_plus)")}},
                 numbering(), on_order()})},
        // A receipt may be billed and paid as it is saved: it writes what a bill writes.
        {QStringLiteral("receipt_update"), QStringLiteral("POform_receipt"), update,
         joined({{{QStringLiteral("PO_receipt_header_table"), All}, {QStringLiteral("PO_receipt_transaction_table"), All}},
                 bills(), stock(), journal(), payables(), numbering()})},
        {QStringLiteral("invoice_update"), QStringLiteral("POform_invoice"), update,
         joined({bills(), stock(), journal(), payables(), numbering()})},
        {QStringLiteral("landed_update"), QStringLiteral("POform_landed"), update,
         joined({{{QStringLiteral("PO_landed_multi_receipt_table"), All}}, bills(), stock(), journal(), payables(),
                 numbering()})},
        {QStringLiteral("misccharge_update"), QStringLiteral("POform_misccharge"), update,
         {{QStringLiteral("Vendor_miscellaneous_charge_table"), All}}},
        {QStringLiteral("shipvia_update"), QStringLiteral("POform_shipvia"), update, {{QStringLiteral("Shipvia_table"), All}}},
        {QStringLiteral("vendor_group_update"), QStringLiteral("POform_vendor_group"), update,
         {{QStringLiteral("Vendor_group_master_table"), All}, {QStringLiteral("Vendor_table"), QStringLiteral("UPDATE (vendor_group)")}}},
        {QStringLiteral("print"), QString(), QStringLiteral("print"), {{QStringLiteral("Report_format_table"), All}}},
        {QStringLiteral("design"), QString(), QStringLiteral("design"), {{QStringLiteral("Grid_property"), All}}},
    };
}

} // namespace

const std::vector<WriteRole>& write_roles()
{
    static const std::vector<WriteRole> roles = make_write_roles();
    return roles;
}

const std::vector<TableWrite>& settings_writes()
{
    static const Writes writes{{QStringLiteral("Form_property_table"), All}, {QStringLiteral("Recent_value_table"), All}};
    return writes;
}

const WriteRole* write_role_of(const QString& form, const QString& right)
{
    for (const WriteRole& role : write_roles())
        if (role.right == right && (role.form.isEmpty() || role.form == form))
            return &role;
    return nullptr;
}

std::vector<const WriteRole*> write_roles_of(const QString& form, bool update, bool print, bool design)
{
    std::vector<const WriteRole*> roles;
    for (const auto& [right, given] : {std::pair{"update", update}, {"print", print}, {"design", design}})
        if (const WriteRole* role = given ? write_role_of(form, QString::fromLatin1(right)) : nullptr)
            roles.push_back(role);
    return roles;
}

} // namespace zelkor::schema
