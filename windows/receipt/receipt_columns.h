#pragma once

#include <QLatin1String>

// The captions of the receipt window's grids, which address their columns.

namespace zelkor::receipt_column {

// The receipt lines dbgridrc.
inline constexpr QLatin1String ItemNo{"item no"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String ItemType{"item type"};
inline constexpr QLatin1String Description{"description"};
inline constexpr QLatin1String VendorItemCode{"vendor item code"};
inline constexpr QLatin1String Warehouse{"warehouse"};
inline constexpr QLatin1String Location{"location"};
inline constexpr QLatin1String QuantityOrdered{"quantity ordered"};
inline constexpr QLatin1String QuantityOpen{"quantity open"};
inline constexpr QLatin1String QuantityReceived{"quantity received"};
inline constexpr QLatin1String QuantityCanceled{"quantity canceled"};
inline constexpr QLatin1String Uom{"uom"};
inline constexpr QLatin1String UnitCost{"unit cost"};
inline constexpr QLatin1String ExtendedCost{"extended cost"};
inline constexpr QLatin1String NetCost{"net cost"};
inline constexpr QLatin1String TaxCode{"tax code"};
inline constexpr QLatin1String TaxIncluded{"tax included"};
inline constexpr QLatin1String TaxAmount{"tax amount"};
inline constexpr QLatin1String AllocatedTax{"allocated tax"};
inline constexpr QLatin1String Account{"account"};
inline constexpr QLatin1String PoNo{"po no"};
inline constexpr QLatin1String PoItemNo{"po item no"};
inline constexpr QLatin1String PoUom{"PO uom"};
inline constexpr QLatin1String UomOpen{"uom open"};
inline constexpr QLatin1String PoWarehouse{"PO warehouse"};
inline constexpr QLatin1String PoLocation{"PO location"};

} // namespace zelkor::receipt_column

namespace zelkor::receipt_order_column {

// The open order lines to pick from, dbgridpo.
inline constexpr QLatin1String PoNo{"po no"};
inline constexpr QLatin1String PoItemNo{"po item no"};
inline constexpr QLatin1String ItemNo{"item no"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String ItemType{"item type"};
inline constexpr QLatin1String Description{"description"};
inline constexpr QLatin1String VendorItemCode{"vendor item code"};
inline constexpr QLatin1String QuantityOrdered{"quantity ordered"};
inline constexpr QLatin1String QuantityOpen{"quantity open"};
inline constexpr QLatin1String PoUom{"PO uom"};
inline constexpr QLatin1String UomOpen{"uom open"};
inline constexpr QLatin1String UnitCost{"unit cost"};
inline constexpr QLatin1String TaxIncluded{"tax included"};
inline constexpr QLatin1String TaxCode{"tax code"};
inline constexpr QLatin1String Account{"account"};
inline constexpr QLatin1String AccountName{"account name"};
inline constexpr QLatin1String Warehouse{"warehouse"};
inline constexpr QLatin1String Location{"location"};
inline constexpr QLatin1String PoWarehouse{"PO warehouse"};
inline constexpr QLatin1String PoLocation{"PO location"};
inline constexpr QLatin1String Cancelled{"cancelled"};
inline constexpr QLatin1String Closed{"closed"};

} // namespace zelkor::receipt_order_column

namespace zelkor::receipt_landed_column {

// The landed charges dbgrid_landed.
inline constexpr QLatin1String VendorNo{"vendor no"};
inline constexpr QLatin1String BillNo{"bill no"};
inline constexpr QLatin1String BillDate{"bill date"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String Description{"description"};
inline constexpr QLatin1String Quantity{"quantity"};
inline constexpr QLatin1String UnitCost{"unit cost"};
inline constexpr QLatin1String ExtendedCost{"extended cost"};
inline constexpr QLatin1String TaxCode{"tax code"};
inline constexpr QLatin1String TaxAmount{"tax amount"};
inline constexpr QLatin1String Expense{"expense"};
inline constexpr QLatin1String Account{"account"};
// Kept with each charge, never shown: its line number and the key of the payable it was billed on.
inline constexpr QLatin1String ItemNo{"item no"};
inline constexpr QLatin1String PayableKey{"payable key"};

} // namespace zelkor::receipt_landed_column
