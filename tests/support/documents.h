#pragma once

// Documents a test needs as its starting point, made by the module's own save routines (never
// by inserting rows by hand), so that they hold exactly what a clerk's save would write.

#include "core/db/database.h"
#include "core/numbering.h"

#include <QDate>
#include <QString>

#include <vector>

namespace zelkor::testing {

/// One line of a document to save: an item of the item master, a charge, or a free code with its
/// item type. Empty parts take what the window would fill in: the item's type, purchase unit,
/// account, default warehouse and location; the vendor's tax code, else the default code.
struct LineSpec {
    QString item;
    QString quantity;
    QString uom{};
    QString unitcost{};
    QString itemtype{};
    QString tax_code{};
};

/// A requisition of `vendor` dated `date`, saved by the requisition's save routine.
DocumentNumber saved_requisition(Database& db, const QString& vendor, const std::vector<LineSpec>& lines,
                                 const QDate& date);

/// An order of `vendor` dated `date`, saved by the order's save routine. Lines taken over from a
/// requisition name it in `requisition` (each line in turn, from line 1).
struct OrderSpec {
    QString vendor;
    std::vector<LineSpec> lines;
    QDate date;
    bool future = false;
    QDate activate_date{};
    QString requisition{}; ///< the requisition number the lines were issued from
    QString currency = QStringLiteral("USD");
    QString payment_term = QStringLiteral("30");
};
DocumentNumber saved_order(Database& db, const OrderSpec& order);

/// Records a receipt of `quantity` (in the line's unit) on an order line, as a receipt's save
/// does.
void received_on_order(Database& db, const QString& order_key, int itemno, const QString& quantity,
                       const QString& uom_received);

/// One order line received on a receipt: how much is received and cancelled, in the order
/// line's unit unless `uom` names another; at the item's default place unless one is given.
struct ReceiptLineSpec {
    int order_itemno = 0;
    QString received;
    QString cancelled{};
    QString uom{};
    QString warehouse{};
    QString location{};
};

/// A receipt of lines of one order (by number) dated `date`, saved by the receipt's save routine
/// after its checks, at the order's unit costs.
DocumentNumber saved_receipt(Database& db, const QString& order_number, const std::vector<ReceiptLineSpec>& lines,
                             const QDate& date);

} // namespace zelkor::testing
