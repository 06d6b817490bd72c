#pragma once

#include <QLatin1String>

namespace zelkor::landed_column {

// The charge grid dbgrid1, in its stored layout order.
inline constexpr QLatin1String ItemNo{"item no"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String Description{"description"};
inline constexpr QLatin1String Quantity{"quantity"};
inline constexpr QLatin1String Uom{"unit of measurement"};
inline constexpr QLatin1String UnitCost{"unit cost"};
inline constexpr QLatin1String ExtendedCost{"extended cost"};
inline constexpr QLatin1String TaxCode{"tax code"};
inline constexpr QLatin1String TaxIncluded{"tax included"};
inline constexpr QLatin1String TaxAmount{"tax amount"};
inline constexpr QLatin1String AllocatedTax{"allocated tax"};
inline constexpr QLatin1String NetCost{"net cost"};
inline constexpr QLatin1String Expense{"expense"};
inline constexpr QLatin1String Account{"account"};
inline constexpr QLatin1String AccountName{"account name"};
// Kept with each line, never shown: every line is a charge.
inline constexpr QLatin1String ItemType{"item type"};

} // namespace zelkor::landed_column

namespace zelkor::landed_receipt_column {

// The goods vendor's receipts in the receipt pane, and the receipts a bill covers.
inline constexpr QLatin1String ReceiptNo{"receipt no"};
inline constexpr QLatin1String ReceiptDate{"receipt date"};
inline constexpr QLatin1String PoNo{"PO no"};
inline constexpr QLatin1String Currency{"currency"};
inline constexpr QLatin1String Total{"total"};

} // namespace zelkor::landed_receipt_column
