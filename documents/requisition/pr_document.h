#pragma once

#include "core/db/error.h"
#include "core/money/decimal.h"
#include "tax/purchase_tax.h"

#include <QDate>
#include <QString>

#include <expected>
#include <optional>
#include <vector>

namespace zelkor {

/// The header of a requisition as it is saved.
struct PrHeader {
    QString vendor_no{};
    QString purpose{};
    QString shipto{};
    QDate order_date{};
    QDate requested_date{};
    QString currency{};
    QString requested_user{};
    QString contact_person{};
    QString phone{};
    QString fax{};
    QString remark{};
    QString reference{};
    QString payment_term{};
};

/// One requisition line as it is saved: a numbered grid row with the text of the continuation
/// rows after it joined to its description.
struct PrLine {
    int itemno = 0;
    QString itemcode{};
    QString itemtype{};
    QString description{};
    QString uom{};
    std::optional<Decimal> quantity{};      ///< nothing when the cell is empty
    std::optional<Decimal> unitcost{};      ///< nothing when the cell is empty
    std::optional<Decimal> extended_cost{}; ///< nothing when the cell is empty
    Decimal net_cost{};
    Decimal tax_amount{};
    bool price_include_tax = false;
    QString tax_code{};
    QString accno{};
    QString warehouse{};
    QString location{};
    QString vendor_no{};
    bool closed = false;
    QDate date_created{};   ///< from the hidden audit columns of a saved line; invalid for a new one
    QString time_created{};
    QString user_created{};
};

/// The date format of the hidden audit date columns of the line grid.
inline constexpr Qt::DateFormat AuditDateFormat = Qt::ISODate;

} // namespace zelkor
