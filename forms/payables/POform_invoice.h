#pragma once

#include "forms/common/window_model.h"

namespace zelkor {

/// The vendor bill window: a vendor's invoice matched to what was received.
class POform_invoice : public WindowModel {
    Q_OBJECT
public:
    enum Command : int {
        ReceiptWindow = 1001,
        PoWindow = 1002,
        ReceiptHistory = 1004,
        IcRecord = 1006,
        ApRecord = 1008,
        PoRecord = 1009,
        ReceiptRecord = 1010,
        InvoiceHistory = 1011,
        VendorAddress = 1012,
    };

    explicit POform_invoice(QObject* parent = nullptr);

    const QString& document_key() const { return m_key; }

    virtual void display_by_number();
    /// Puts the header fields back to their defaults.
    virtual void reset_header_fields();
    /// Enters new mode without asking anything.
    virtual void enter_new_mode();
    /// Loads the open lines of the receipt chosen in the "receipt_no" drop-down.
    virtual void load_receipt_lines();

protected:
    void on_open() override;
    Entry check_field(const QString& name, const QString& previous) override;

    QString m_key;
};

} // namespace zelkor
