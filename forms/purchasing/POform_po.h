#pragma once

#include "forms/common/window_model.h"

namespace zelkor {

/// The purchase order window: what is ordered from one vendor.
class POform_po : public WindowModel {
    Q_OBJECT
public:
    enum Command : int {
        PrWindow = 1001,
        PrRecord = 1002,
        VendorPurchaseHistory = 1003,
        ItemPurchaseHistory = 1004,
        NewTemplate = 1005,
        EditTemplate = 1006,
        SaveAsTemplate = 1007,
        ReceiptRecord = 1008,
        BillRecord = 1009,
        ReceivingGoods = 1010,
        EnterBill = 1011,
        ClosePo = 1012,
        ActivateThisFuturePo = 1013,
        ActivateAllFuturePos = 1014,
        ReorderingStockItems = 1016,
        ShipToVendorAddress = 1017,
        CopyToNewTemplate = 1018,
        DeleteTemplate = 1019,
    };

    explicit POform_po(QObject* parent = nullptr);

    const QString& document_key() const { return m_key; }

    /// Shows the order whose number is in the number box.
    virtual void display_by_number();
    /// Puts the header fields back to their defaults (default warehouse, today's date).
    virtual void reset_header_fields();
    /// Enters new mode on a cleared window without asking anything.
    virtual void enter_new_mode();
    /// Fills the lines from the requisition whose key is in the "requisition_key" field.
    virtual void fill_lines_from_requisition();
    /// Recomputes the footer totals from the lines.
    virtual void calculate_totals();

protected:
    Entry check_field(const QString& name, const QString& previous) override;

    QString m_key;
};

} // namespace zelkor
