#pragma once

#include "forms/common/document_window.h"

namespace zelkor {

/// The landed-cost window: a bill of extra charges spread over received goods.
class POform_landed : public DocumentWindow {
    Q_OBJECT
public:
    enum class Command : int {
        Receipt = 1001,
        IcRecord = 1006,
        ApRecord = 1008,
        PoRecord = 1009,
        ReceiptRecord = 1010,
    };

    explicit POform_landed(QObject* parent = nullptr);

protected:
    [[nodiscard]] std::expected<bool, Error> load_document(const QString& key) override;
    bool save_new() override { return false; }
    bool save_edit() override { return false; }
    QString document_name() const override { return QStringLiteral("Landed bill"); }
    HelpDocuments help_documents() const override { return {QStringLiteral("Landed Cost Entry Help.pdf")}; }
    Grid& line_grid() const override;
};

/// Landed bills as the window browses them by key number.
DocumentKind landed_bills();

} // namespace zelkor
