#pragma once

#include <QLatin1String>

// The captions of the panes every document window shares, which address their columns.

namespace zelkor::tax_detail_column {

// The "Tax Detail Window" grid grid_tax.
inline constexpr QLatin1String TaxAuthority{"tax authority"};
inline constexpr QLatin1String TaxableAmount{"taxable amount"};
inline constexpr QLatin1String TaxRate{"tax rate"};
inline constexpr QLatin1String TaxAmount{"tax amount"};
inline constexpr QLatin1String Taxable{"taxable"};
inline constexpr QLatin1String Allocated{"allocated"};
inline constexpr QLatin1String Recoverable{"recoverable"};
inline constexpr QLatin1String Expensed{"expensed"};

} // namespace zelkor::tax_detail_column

namespace zelkor::tax_summary_column {

// The "Tax Summary Window" grid grid_tax_summary.
inline constexpr QLatin1String TaxAuthority{"tax authority"};
inline constexpr QLatin1String TaxableAmount{"taxable amount"};
inline constexpr QLatin1String TaxAmount{"tax amount"};
inline constexpr QLatin1String Recoverable{"recoverable"};
inline constexpr QLatin1String Allocated{"allocated"};
inline constexpr QLatin1String Expensed{"expensed"};

} // namespace zelkor::tax_summary_column

namespace zelkor::stock_column {

// The stock panes' grids grid_stock_location and grid_stock_item.
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String Warehouse{"warehouse"};
inline constexpr QLatin1String Location{"location"};
inline constexpr QLatin1String Quantity{"quantity"};
inline constexpr QLatin1String OrderQuantity{"order quantity"};
inline constexpr QLatin1String PoQuantity{"po quantity"};

} // namespace zelkor::stock_column

namespace zelkor::history_column {

// The purchase history panes' grids: the order lines of a vendor or of an item.
inline constexpr QLatin1String VendorName{"vendor name"};
inline constexpr QLatin1String PoNo{"PO no"};
inline constexpr QLatin1String OrderDate{"order date"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String Quantity{"quantity"};
inline constexpr QLatin1String Uom{"uom"};
inline constexpr QLatin1String UnitCost{"unit cost"};
inline constexpr QLatin1String ExtendedCost{"extended cost"};
inline constexpr QLatin1String TaxIncluded{"tax included"};

} // namespace zelkor::history_column
