#pragma once

#include "forms/common/document_window.h"

namespace zelkor {

/// The goods receipt window: goods arriving from a vendor against one or more orders.
class POform_receipt : public DocumentWindow {
    Q_OBJECT
public:
    enum class Command : int {
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

    /// Puts the header fields back to their defaults.
    void reset_header_fields() override;
    /// Loads the open lines of the order chosen in the "pono" drop-down.
    virtual void load_order_lines();

protected:
    void on_open() override;

    [[nodiscard]] std::expected<bool, Error> load_document(const QString& key) override;
    bool save_new() override { return false; }
    bool save_edit() override { return false; }
    QString document_name() const override { return QStringLiteral("Receipt"); }
    HelpDocuments help_documents() const override { return {QStringLiteral("Receipt Entry Help.pdf")}; }
    Grid& line_grid() const override;
};

/// Receipts as the window browses them by key number.
DocumentKind receipts();

} // namespace zelkor
