#include "reports/POreport_payable_clearing.h"

#include "core/master_lookups.h"

namespace zelkor {

namespace {

const QString Line = QStringLiteral("GL_transaction_table.");
/// The line's amount in the account's own direction: debit accounts as posted, the others negated.
const QString Signed = QStringLiteral("GL_transaction_table.amount * CASE WHEN Account_master_table.debit THEN 1 ELSE -1 END");

ReportQuery clearing_query()
{
    using K = ColumnKind;
    ReportQuery query;
    query.from = QStringLiteral("GL_transaction_table INNER JOIN Account_master_table"
                                " ON Account_master_table.accno = GL_transaction_table.accno"
                                " LEFT JOIN Vendor_table ON Vendor_table.vendor_no = GL_transaction_table.vendor_no");
    query.columns = {
        {"account no", Line + "accno"},
        {"document no", Line + "source_docno"},
        {"date", Line + "gldate", K::Date},
        {"GL document no", Line + "docno"},
        {"vendor no", Line + "vendor_no"},
        {"vendor name", "Vendor_table.vendor_name"},
        {"debit", "CASE WHEN " + Signed + " > 0 THEN " + Signed + " END", K::Money, true},
        {"credit", "CASE WHEN " + Signed + " < 0 THEN -(" + Signed + ") END", K::Money, true},
        {"source", Line + "Source"},
        {"fiscal year", Line + "fyear"},
        {"period", Line + "period"},
        {"currency", Line + "currency"},
    };
    query.currency = Line + "currency";
    query.void_flag = Line + "void";
    query.default_order = {{Line + "docno", false, false}, {Line + "lineno", false, false}, {Line + "fkey", false, false}};
    return query;
}

} // namespace

POreport_payable_clearing::POreport_payable_clearing(QObject* parent)
    : ReportWindow(QStringLiteral("POreport_payable_clearing"), QStringLiteral("Payable Clearing Report"), parent)
{
    declare_field({"accno", "Account", FieldKind::DropDown, 0});
    declare_field({"fyear", "Fiscal year", FieldKind::DropDown, 0});
    declare_field({"period", "Period", FieldKind::DropDown, 0});
    const ReportPanel panel{false, false, false};
    declare_report_commands(panel);
    declare_report(clearing_query(), {"PAYABLE CLEARING REPORT", "payable_clearing"}, panel);
}

void POreport_payable_clearing::on_open()
{
    ReportWindow::on_open();
    auto configured = database()->scalar(QStringLiteral("SELECT COUNT(*) FROM COA_config_table"));
    if (configured && configured->toLongLong() == 0)
        message(QStringLiteral("No record in COA_config_table"));
    load_choices("accno", pick_lists::account(AccountList::CurrentLiability));
    load_fiscal_lists(QStringLiteral("fyear"), QStringLiteral("period"));
    set_field("fyear", recall(QStringLiteral("cmbfyear")));
    set_field("period", recall(QStringLiteral("cmbperiod")));
}

void POreport_payable_clearing::on_closing()
{
    remember(QStringLiteral("cmbfyear"), field("fyear").trimmed());
    remember(QStringLiteral("cmbperiod"), field("period").trimmed());
    ReportWindow::on_closing();
}

std::expected<ReportSelection, QString> POreport_payable_clearing::selection()
{
    const QString year = field("fyear").trimmed();
    const QString account = field("accno").trimmed();
    if (year.isEmpty())
        return std::unexpected(QStringLiteral("please specify fiscal year"));
    if (account.isEmpty())
        return std::unexpected(QStringLiteral("please specify account no"));
    ReportSelection selection;
    selection.order = chosen_order();
    // Company 1 is every line's: the index leading with it must not drive the plan.
    selection.where.add(u'+' + Line + QStringLiteral("company = 1"));
    selection.where.add(Line + QStringLiteral("fyear = ?"), {year});
    if (const QString period = field("period").trimmed(); !period.isEmpty())
        selection.where.add(Line + QStringLiteral("period = ?"), {period.toInt()});
    selection.where.add(Line + QStringLiteral("accno = ?"), {account});
    return selection;
}

bool POreport_payable_clearing::run_inquiry()
{
    if (!ReportWindow::run_inquiry())
        return false;
    if (results().row_count() == 0)
        message(QStringLiteral("No data"));
    return true;
}

std::vector<std::pair<QString, QString>> POreport_payable_clearing::printed_fields() const
{
    return {{QStringLiteral("Account"), field("accno")},
            {QStringLiteral("Fiscal year"), field("fyear")},
            {QStringLiteral("Period"), field("period").isEmpty() ? QStringLiteral("All") : field("period")}};
}

} // namespace zelkor
