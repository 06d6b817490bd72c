#pragma once

#include "forms/common/window_model.h"

namespace zelkor {

/// The purchase requisition window: who asks for what, for which warehouse, by when.
class POform_pr : public WindowModel {
    Q_OBJECT
public:
    enum Command : int {
        PoRecord = 1001,
        IssuePo = 1002,
        ClosePr = 1003,
        ReorderingStockItems = 1004,
    };

    explicit POform_pr(QObject* parent = nullptr);

    /// The internal key of the shown requisition; empty when none is shown.
    const QString& document_key() const { return m_key; }
    /// Shows the requisition whose number is in the number box.
    virtual void display_by_number();

protected:
    Entry check_field(const QString& name, const QString& previous) override;

    QString m_key;
};

} // namespace zelkor
