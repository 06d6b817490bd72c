#pragma once

#include "forms/common/window_model.h"

namespace zelkor {

/// The goods receipt window: goods arriving from a vendor against one or more orders.
class POform_receipt : public WindowModel {
    Q_OBJECT
public:
    enum Command : int {
        PoWindow = 1001,
        VendorPurchaseHistory = 1003,
        ItemPurchaseHistory = 1004,
        Landed = 1005,
        IcRecord = 1006,
        LandedTaxDetails = 1007,
        PoRecord = 1008,
        ApRecord = 1009,
        LandedApRecord = 1010,
        BillRecord = 1011,
        ReceiptStockItemOnly = 1012,
        EnterBill = 1013,
        ShipToVendorAddress = 1014,
    };

    explicit POform_receipt(QObject* parent = nullptr);

    const QString& document_key() const { return m_key; }

    virtual void display_by_number();
    /// Puts the header fields back to their defaults.
    virtual void reset_header_fields();
    /// Enters new mode without asking anything.
    virtual void enter_new_mode();
    /// Loads the open lines of the order chosen in the "pono" drop-down.
    virtual void load_order_lines();

protected:
    void on_open() override;
    Entry check_field(const QString& name, const QString& previous) override;

    QString m_key;
};

} // namespace zelkor
