#pragma once

#include "forms/common/document_window.h"

namespace zelkor {

/// The vendor bill window: a vendor's invoice matched to what was received.
class POform_invoice : public DocumentWindow {
    Q_OBJECT
public:
    enum class Command : int {
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

    /// Puts the header fields back to their defaults.
    void reset_header_fields() override;
    /// Loads the open lines of the receipt chosen in the "receipt_no" drop-down.
    virtual void load_receipt_lines();

protected:
    void on_open() override;

    [[nodiscard]] std::expected<bool, Error> load_document(const QString& key) override;
    bool save_new() override { return false; }
    bool save_edit() override { return false; }
    QString document_name() const override { return QStringLiteral("Bill"); }
    HelpDocuments help_documents() const override { return {QStringLiteral("P/O Bill Entry Help.pdf")}; }
    Grid& line_grid() const override;
};

/// Vendor bills as the window browses them by key number.
DocumentKind vendor_bills();

} // namespace zelkor
