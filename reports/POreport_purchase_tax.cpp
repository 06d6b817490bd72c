#include "reports/POreport_purchase_tax.h"

#include "core/master_lookups.h"

#include <tuple>

namespace zelkor {

namespace {

const QString RememberedDateFormat = QStringLiteral("MMM dd,yyyy");
const QString All = QStringLiteral("All");
const QString Receipts = QStringLiteral("PO_receipt_transaction_table");
const QString Bills = QStringLiteral("PO_invoice_transaction_table");

/// The slot amounts every arrangement sums.
const QStringList SlotAmounts{"tax_base", "tax_amount", "tax_recoverable", "tax_allocated", "tax_expensed"};

/// One slot of the lines of one table, as a report row.
QString slot_select(const QString& table, const QString& date, const QString& source, int slot)
{
    const QString n = QString::number(slot);
    return QStringLiteral("SELECT docno, %1 AS invoice_date, currency, '%2' AS source, itemno, landed_item, fkey, %3 AS slot,"
                          " extended_cost, tax_authority%3 AS tax_authority, taxable_amount%3 AS tax_base,"
                          " tax_rate%3 AS tax_rate, tax_amount%3 AS tax_amount, tax_recoverable%3 AS tax_recoverable,"
                          " tax_allocated%3 AS tax_allocated, tax_expensed%3 AS tax_expensed FROM %4")
        .arg(date, source, n, table);
}

QString sums(const QString& prefix)
{
    QStringList list;
    for (const QString& amount : SlotAmounts)
        list << QStringLiteral("SUM(%1%2) AS %2").arg(prefix, amount);
    return list.join(QStringLiteral(", "));
}

/// The slots grouped by line (a line's amount once, its slots' taxes added), then by `keys`.
SqlText by_line_then(const SqlText& tax_slots, const QStringList& keys)
{
    QStringList line_keys = keys;
    for (const QString& identity : {QStringLiteral("source"), QStringLiteral("fkey"), QStringLiteral("landed_item"),
                                    QStringLiteral("itemno")})
        if (!line_keys.contains(identity))
            line_keys << identity;
    SqlText text(QStringLiteral("(SELECT %1, SUM(extended_cost) AS extended_cost, %2 FROM (SELECT %3,"
                                " MAX(extended_cost) AS extended_cost, %4 FROM ")
                     .arg(keys.join(QStringLiteral(", ")), sums(QStringLiteral("l.")), line_keys.join(QStringLiteral(", ")),
                          sums(QString())));
    text.append(tax_slots);
    return text.append(QStringLiteral(" s GROUP BY %1) l GROUP BY %2)")
                           .arg(line_keys.join(QStringLiteral(", ")), keys.join(QStringLiteral(", "))));
}

ReportQuery view_query(POreport_purchase_tax::View view)
{
    using K = ColumnKind;
    using View = POreport_purchase_tax::View;
    const bool lines = view == View::ByLine;
    const bool documents = view == View::ByDocument;
    ReportQuery query;
    query.columns = {
        {"tax authority", "t.tax_authority"},
        {"document no", lines || documents ? "t.docno" : "NULL"},
        {"date", lines || documents ? "t.invoice_date" : "NULL", K::Date},
        {"line no", lines ? "t.itemno" : "NULL"},
        {"currency", lines || documents ? "t.currency" : "NULL"},
        {"source", lines || documents ? "t.source" : "NULL"},
        {"invoice amount", "t.extended_cost", K::Money, true},
        {"tax base", "t.tax_base", K::Money, true},
        {"tax amount", "t.tax_amount", K::Money, true},
        {"rate", lines ? "t.tax_rate" : "NULL", K::Quantity},
        {"recoverable tax", "t.tax_recoverable", K::Money, true},
        {"allocated tax", "t.tax_allocated", K::Money, true},
        {"expensed tax", "t.tax_expensed", K::Money, true},
        {"landed cost", lines ? "t.landed_item" : "NULL", K::Check},
    };
    query.totals_caption = QStringLiteral("source");
    switch (view) {
    case View::ByLine:
        query.default_order = {{"t.invoice_date"},          {"t.docno"},           {"t.itemno", false, false},
                               {"t.source", false, false},   {"t.fkey", false, false}, {"t.landed_item", false, false},
                               {"t.slot", false, false}};
        break;
    case View::ByDocument:
        query.default_order = {{"t.invoice_date"}, {"t.docno"}, {"t.tax_authority"}, {"t.source", false, false}};
        break;
    case View::ByAuthority: query.default_order = {{"t.tax_authority"}}; break;
    }
    return query;
}

} // namespace

POreport_purchase_tax::POreport_purchase_tax(QObject* parent)
    : ReportWindow(QStringLiteral("POreport_purchase_tax"), QStringLiteral("Purchase Tax Report"), parent)
{
    declare_field({"currency", "Currency", FieldKind::DropDown, 0});
    declare_field({"fyear", "Fiscal year", FieldKind::DropDown, 0});
    declare_field({"period", "Period", FieldKind::DropDown, 0});
    declare_field({"date_range", "Date", FieldKind::Check, 1});
    declare_field({"from_date", "From", FieldKind::Date, 1});
    declare_field({"to_date", "To", FieldKind::Date, 1});
    declare_field({"tax_authority", "Tax authority", FieldKind::DropDown, 2});
    const ReportPanel panel{false, false, false};
    declare_report_commands(panel);
    declare_command({int(ReportCommand::ByDocument), "By &Document", "&Run", false, Right::None});
    declare_command({int(ReportCommand::ByTaxAuthority), "By Tax &Authority", "&Run", false, Right::None});
    declare_report(view_query(View::ByLine), {"PURCHASE TAX REPORT", "purchase_tax"}, panel);
    results().set_column_width(results().required_column(QStringLiteral("source")), 100);
    totals().set_column_width(0, 100);
}

void POreport_purchase_tax::on_open()
{
    ReportWindow::on_open();
    load_choices("currency", pick_lists::currency());
    load_fiscal_lists(QStringLiteral("fyear"), QStringLiteral("period"));
    if (auto authorities = database()->select(QStringLiteral("SELECT tax_authority FROM Tax_authority_table ORDER BY tax_authority"))) {
        QStringList names{All};
        for (const Row& row : *authorities)
            names << row.text(u"tax_authority");
        set_field_choices("tax_authority", Choices::of(names));
    }
    set_field("currency", settings().BASE_CURRENCY);
    set_field("fyear", recall(QStringLiteral("cmbfyear")));
    set_field("period", recall(QStringLiteral("cmbperiod")));
    set_field("tax_authority", recall(QStringLiteral("cmbautho")));
    for (const auto& [name, control] : {std::pair{"from_date", "date1"}, std::pair{"to_date", "date2"}})
        set_field_date(QString::fromLatin1(name), QDate::fromString(recall(QString::fromLatin1(control)), RememberedDateFormat));
}

void POreport_purchase_tax::on_closing()
{
    remember(QStringLiteral("cmbfyear"), field("fyear").trimmed());
    remember(QStringLiteral("cmbperiod"), field("period").trimmed());
    remember(QStringLiteral("cmbautho"), field("tax_authority").trimmed());
    for (const auto& [name, control] : {std::pair{"from_date", "date1"}, std::pair{"to_date", "date2"}})
        if (auto date = field_date(QString::fromLatin1(name)); date && date->isValid())
            remember(QString::fromLatin1(control), date->toString(RememberedDateFormat));
    ReportWindow::on_closing();
}

std::expected<SqlText, QString> POreport_purchase_tax::tax_slots() const
{
    auto dates = date_range(QStringLiteral("date_range"), QStringLiteral("from_date"), QStringLiteral("to_date"));
    if (!dates)
        return std::unexpected(dates.error());
    const QString year = field("fyear").trimmed();
    const QString period = field("period").trimmed();
    const QString currency = field("currency").trimmed();
    if (!*dates && year.isEmpty())
        return std::unexpected(QStringLiteral("please specify fiscal year"));
    if (!*dates && period.isEmpty())
        return std::unexpected(QStringLiteral("please specify period"));
    if (currency.isEmpty())
        return std::unexpected(QStringLiteral("please specify currency"));
    const QString authority = field("tax_authority").trimmed();
    const bool one_authority = !authority.isEmpty() && authority.compare(All, Qt::CaseInsensitive) != 0;
    // Every slot of every line once (UNION ALL keeps two equal slots of a line apart), lines of
    // void documents left out.
    SqlText text(QStringLiteral("("));
    bool first = true;
    for (const auto& [table, date, source, in_range] :
         {std::tuple{Receipts, QStringLiteral("receipt_date"), QStringLiteral("PO-RECEIPT"),
                     QStringLiteral(" WHERE receipt_date >= ? AND receipt_date <= ?")},
          std::tuple{Bills, QStringLiteral("invoice_date"), QStringLiteral("PO-INVOICE"),
                     QStringLiteral(" WHERE invoice_date >= ? AND invoice_date <= ?")}})
        for (int slot = 1; slot <= 5; ++slot) {
            const QString n = QString::number(slot);
            text.append((first ? QString() : QStringLiteral(" UNION ALL ")) + slot_select(table, date, source, slot));
            first = false;
            if (*dates)
                text.append(in_range, {(*dates)->from, (*dates)->to});
            else
                text.append(QStringLiteral(" WHERE fyear = ? AND period = ?"), {year, period.toInt()});
            if (one_authority)
                text.append(QStringLiteral(" AND tax_authority%1 = ?").arg(n), {authority});
            text.append(QStringLiteral(" AND currency = ? AND tax_amount%1 > 0 AND void = FALSE").arg(n), {currency});
        }
    return text.append(QStringLiteral(")"));
}

std::expected<ReportSelection, QString> POreport_purchase_tax::selection()
{
    auto chosen_slots = tax_slots();
    if (!chosen_slots)
        return std::unexpected(chosen_slots.error());
    ReportSelection selection;
    selection.order = chosen_order();
    SqlText from;
    switch (m_view) {
    case View::ByLine: from = *chosen_slots; break;
    case View::ByDocument:
        from = by_line_then(*chosen_slots, {"source", "docno", "invoice_date", "currency", "tax_authority"});
        break;
    case View::ByAuthority: from = by_line_then(*chosen_slots, {"tax_authority"}); break;
    }
    selection.from = from.append(QStringLiteral(" t"));
    m_dates_used.reset();
    if (find_field("date_range")->checked())
        m_dates_used = *date_range(QStringLiteral("date_range"), QStringLiteral("from_date"), QStringLiteral("to_date"));
    return selection;
}

SqlText POreport_purchase_tax::totals_sql(const ReportSelection&) const
{
    // Per source: the tax rows, each line's amount once, the slots' taxes added.
    auto chosen_slots = tax_slots();
    SqlText text(QStringLiteral("SELECT source, SUM(rows_of_line), SUM(extended_cost), ") + sums(QString())
                 + QStringLiteral(" FROM (SELECT source, fkey, landed_item, itemno, COUNT(*) AS rows_of_line,"
                                  " MAX(extended_cost) AS extended_cost, ")
                 + sums(QString()) + QStringLiteral(" FROM "));
    text.append(*chosen_slots);
    return text.append(QStringLiteral(" s GROUP BY source, fkey, landed_item, itemno) l GROUP BY source ORDER BY source"));
}

bool POreport_purchase_tax::run_view(View view)
{
    m_view = view;
    set_query(view_query(view));
    if (!ReportWindow::run_inquiry())
        return false;
    if (results().row_count() == 0)
        message(QStringLiteral("No data"));
    return true;
}

bool POreport_purchase_tax::run_inquiry() { return run_view(View::ByLine); }

bool POreport_purchase_tax::run_command(int id)
{
    if (id == int(ReportCommand::ByDocument))
        return run_view(View::ByDocument);
    if (id == int(ReportCommand::ByTaxAuthority))
        return run_view(View::ByAuthority);
    return ReportWindow::run_command(id);
}

std::vector<std::pair<QString, QString>> POreport_purchase_tax::printed_fields() const
{
    std::vector<std::pair<QString, QString>> printed{{QStringLiteral("Currency"), field("currency")}};
    if (!m_dates_used) {
        printed.emplace_back(QStringLiteral("Fiscal year"), field("fyear"));
        printed.emplace_back(QStringLiteral("Period"), field("period"));
    }
    const QString authority = field("tax_authority").trimmed();
    printed.emplace_back(QStringLiteral("Tax authority"), authority.isEmpty() ? All : authority);
    return printed;
}

} // namespace zelkor
