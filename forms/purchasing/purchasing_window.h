#pragma once

#include "forms/common/window_model.h"
#include "forms/purchasing/purchase_tax.h"

#include <memory>

namespace zelkor {

/// What the requisition and the order window declare alike: their tax and stock panes and the
/// commands they share, in the order both show them.
class PurchasingWindow : public WindowModel {
    Q_OBJECT
public:
    using WindowModel::WindowModel;

protected:
    /// Saves a new document in new mode, the edited one in edit mode.
    bool save_document() override;
    virtual bool save_new() = 0;
    virtual bool save_edit() = 0;

    /// The "Tax Detail Window" and the read-only "Tax Summary Window" at the bottom.
    std::unique_ptr<TaxPanes> declare_tax_panes();
    /// The "Stock by Warehouse/Location" and "Stock By Items" panes with their read-only grids.
    void declare_stock_panes(const QStringList& by_location_columns, const QStringList& by_item_columns);
    /// Preview, New, Copy To New, Edit mode, Insert and Delete Line, Tax Details and Summary.
    void declare_editing_commands();
    /// Next, Previous and Last record, Refresh record.
    void declare_browsing_commands();
    /// The master windows, Stock On Hand, the two help documents, the toolbar option and the grid
    /// font commands.
    void declare_master_and_help_commands(const QString& window_help_caption);
};

} // namespace zelkor
