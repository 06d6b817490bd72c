// The checks a save makes before anything is written: the header (in the order the window asks
// them) and every line (verify_detail), which also fills in default warehouses and locations.
#include "forms/purchasing/POform_po.h"

#include "forms/purchasing/purchasing_lines.h"
#include "services/units.h"

namespace zelkor {

namespace {

/// The number of decimals `value` needs.
int decimals_of(const Decimal& value)
{
    for (int places = 0; places < Decimal::Scale; ++places)
        if (value.round(places) == value)
            return places;
    return Decimal::Scale;
}

} // namespace

bool POform_po::verify_header(Mode saving)
{
    Database& db = *database();
    if (saving == Mode::New) {
        const QString vendor = field("vendor_no").trimmed();
        if (vendor.isEmpty()) {
            message(QStringLiteral("please specify vendor"));
            return false;
        }
        auto row = db.first(QStringLiteral("SELECT active FROM Vendor_table WHERE vendor_no = ?"), {vendor});
        if (!row || !*row) {
            message(QStringLiteral("Vendor is invalid."));
            return false;
        }
        if (!(*row)->flag(u"active")) {
            message(QStringLiteral("Vendor(") + vendor + QStringLiteral(") is inactive."));
            return false;
        }
    }
    const int current = std::max(m_lines->current_row(), 0);
    if (m_lines->cell(current, "item code").trimmed().isEmpty()
        && m_lines->cell(current, "description").trimmed().isEmpty()) {
        message(QStringLiteral("No detail line"));
        return false;
    }
    if (field("currency").trimmed().isEmpty()) {
        message(QStringLiteral("please specify currency"));
        return false;
    }
    if (field("order_date").trimmed().isEmpty())
        set_field_date("order_date", today());
    for (const char* date : {"order_date", "arrival_date", "activate_date", "rate_date"})
        if (auto typed = field_date(date); !typed) {
            message(typed.error().message);
            return false;
        }
    if (field("payment_term").trimmed().isEmpty()) {
        message(QStringLiteral("please specify payment term"));
        return false;
    }
    if (saving == Mode::New && find_field("future_po")->checked() && field("activate_date").trimmed().isEmpty()) {
        message(QStringLiteral("please specify activate date for future PO"));
        return false;
    }
    return true;
}

bool POform_po::verify_detail()
{
    Database& db = *database();
    auto refuse = [this](const QString& text) {
        message(text);
        return false;
    };
    for (int row = 0; row < m_lines->row_count(); ++row) {
        const QString code = m_lines->cell(row, "item code").trimmed();
        if (code.isEmpty())
            continue;
        const QString type = m_lines->cell(row, "item type").trimmed();
        std::optional<Row> item;
        if (type == u"1" || type == u"2") {
            auto found = db.first(QStringLiteral("SELECT * FROM Item_master_table WHERE itemcode = ?"), {code});
            if (!found || !*found)
                return refuse(code + QStringLiteral(" is invalid."));
            item = **found;
        } else if (type == u"6") {
            auto found = db.first(QStringLiteral("SELECT itemcode FROM Vendor_miscellaneous_charge_table WHERE itemcode = ?"),
                                  {code});
            if (!found || !*found)
                return refuse(code + QStringLiteral(" is invalid."));
        } else if (type != u"3" && type != u"4" && type != u"5") {
            return refuse(QStringLiteral("item type is invalid."));
        }
        const QString extended = m_lines->cell(row, "extended cost").trimmed();
        if (extended.isEmpty())
            return refuse(QStringLiteral("please specify extended cost for ") + code);
        if (!Decimal::parse(extended))
            return refuse(code + QStringLiteral(" extended cost is invalid."));
        const QString account = m_lines->cell(row, "account").trimmed();
        if (type == u"1" && !account.isEmpty()) {
            auto found = db.first(QStringLiteral("SELECT accno FROM Account_master_table WHERE accno = ?"), {account});
            if (!found || !*found)
                return refuse(QStringLiteral("account number for ") + code + QStringLiteral(" is invalid."));
        }
        const QString quantity_text = m_lines->cell(row, "quantity order").trimmed();
        if (quantity_text.isEmpty())
            return refuse(QStringLiteral("please specify quantity for ") + code);
        const auto quantity = Decimal::parse(quantity_text);
        if (!quantity || quantity->is_negative() || quantity->is_zero())
            return refuse(code + QStringLiteral(": quantity order is invalid."));
        if (item) {
            const int quantity_decimals = int(item->integer(u"quantity_decimals"));
            if (quantity_decimals == 0 && quantity->round(0) != *quantity)
                return refuse(code + QStringLiteral(" : not allow fractional quantity."));
            if (quantity->round(quantity_decimals) != *quantity)
                return refuse(code + QStringLiteral(" : quantity decimal place is ") + QString::number(quantity_decimals));
            const QString uom = m_lines->cell(row, "uom").trimmed();
            if (uom.isEmpty())
                return refuse(QStringLiteral("please specify unit of measurement for ") + code);
            if (uom != item->text(u"stock_uom")) {
                if (auto pair = conversion_pair(db, code, uom, item->text(u"stock_uom")); !pair)
                    return refuse(uom + QStringLiteral(" has no conversion factor for ") + code);
            }
            const QString unitcost_text = m_lines->cell(row, "unit cost").trimmed();
            if (unitcost_text.isEmpty())
                return refuse(QStringLiteral("please specify unit cost for ") + code);
            const auto unitcost = Decimal::parse(unitcost_text);
            if (!unitcost || unitcost->is_negative())
                return refuse(code + QStringLiteral(": unit cost is invalid."));
            const int unitcost_decimals = int(item->integer(u"unitcost_decimals"));
            if (decimals_of(*unitcost) > unitcost_decimals)
                return refuse(code + QStringLiteral(" : unit cost decimal place is ") + QString::number(unitcost_decimals));
            fill_item_default_place(*database(), *m_lines, row);
            if (m_lines->cell(row, "warehouse").trimmed().isEmpty()) {
                return refuse(QStringLiteral("Default warehouse for item (") + code + QStringLiteral(") has not been set"));
            }
            if (m_lines->cell(row, "location").trimmed().isEmpty())
                return refuse(QStringLiteral("warehouse ") + m_lines->cell(row, "warehouse")
                              + QStringLiteral(" for item (") + code + QStringLiteral(") has not been set"));
        }
        if (account.isEmpty())
            return refuse(QStringLiteral("please specify account for item ") + code);
    }
    return verify_quantities_received();
}

bool POform_po::verify_quantities_received()
{
    for (int row = 0; row < m_lines->row_count(); ++row) {
        if (m_lines->cell(row, "item no").trimmed().isEmpty())
            continue;
        auto number = [&](const char* column) {
            return Decimal::parse(m_lines->cell(row, column).trimmed()).value_or(Decimal());
        };
        const Decimal received = number("quantity received");
        if (number("quantity order") < received + number("quantity canceled")) {
            message(QStringLiteral("quantity order cannot less than quantity received + quantity canceled.") + QChar(10)
                    + QStringLiteral("You have received ") + received.to_string() + u' '
                    + m_lines->cell(row, "uom received") + QStringLiteral(" of ") + m_lines->cell(row, "item code"));
            return false;
        }
    }
    return true;
}

} // namespace zelkor
