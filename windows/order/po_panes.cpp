// The order window's information panes: tax, stock and purchase history.
#include "windows/order/POform_po.h"

namespace zelkor {

void POform_po::refresh_panes()
{
    refresh_tax_panes();
    refresh_history();
    refresh_stock_panes();
}

void POform_po::refresh_history() { refresh_history_panes(*m_vendor_history, *m_item_history); }

} // namespace zelkor
