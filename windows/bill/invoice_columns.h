#pragma once

#include <QLatin1String>

// The captions of the bill window's grids, which address their columns.

namespace zelkor::bill_column {

// The bill lines dbgrid1.
inline constexpr QLatin1String ItemNo{"item no"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String ItemType{"item type"};
inline constexpr QLatin1String Complete{"complete"};
inline constexpr QLatin1String Quantity{"quantity"};
inline constexpr QLatin1String ReceiptNo{"receipt no"};
inline constexpr QLatin1String QuantityReceived{"quantity received"};
inline constexpr QLatin1String QuantityOpen{"quantity open for bill"};
inline constexpr QLatin1String UomReceived{"uom received"};
inline constexpr QLatin1String AmountReceived{"amount received"};
inline constexpr QLatin1String ReceiptItemNo{"receipt item no"};
inline constexpr QLatin1String PoNo{"po no"};
inline constexpr QLatin1String PoItemNo{"po item no"};
inline constexpr QLatin1String PoUom{"PO uom"};
inline constexpr QLatin1String UnitCost{"unit cost"};
inline constexpr QLatin1String UnitCostReceived{"unit cost received"};
inline constexpr QLatin1String ExtendedCost{"extended cost"};
inline constexpr QLatin1String TaxCode{"tax code"};
inline constexpr QLatin1String TaxAmount{"tax amount"};
inline constexpr QLatin1String AllocatedTax{"allocated tax"};
inline constexpr QLatin1String NetCost{"net cost"};
inline constexpr QLatin1String TaxIncluded{"tax included"};
inline constexpr QLatin1String Account{"account"};
inline constexpr QLatin1String AccountName{"account name"};
inline constexpr QLatin1String Warehouse{"warehouse"};
inline constexpr QLatin1String Location{"location"};
inline constexpr QLatin1String QuantityCanceled{"quantity canceled"};
inline constexpr QLatin1String Description{"description"};
inline constexpr QLatin1String CreatedDate{"created date"};
inline constexpr QLatin1String CreatedTime{"created time"};
inline constexpr QLatin1String ModifiedDate{"last modified date"};
inline constexpr QLatin1String ModifiedTime{"last modified time"};
inline constexpr QLatin1String LandedItem{"landed item"};
inline constexpr QLatin1String LandedItemNo{"landed item no"};
inline constexpr QLatin1String TaxArrayNo{"tax array no"};
inline constexpr QLatin1String ComputerId{"computer id"};
inline constexpr QLatin1String TaxAmountReceived{"tax amount received"};
inline constexpr QLatin1String AllocatedTaxReceived{"allocated tax received"};
inline constexpr QLatin1String Expense{"expense"};
inline constexpr QLatin1String VendorItemCode{"vendor item code"};
inline constexpr QLatin1String QuantityBilled{"quantity billed"};
inline constexpr QLatin1String RateReceived{"rate received"};
inline constexpr QLatin1String IncludeTaxReceived{"include tax received"};

} // namespace zelkor::bill_column

namespace zelkor::bill_receipt_column {

// The open lines of the receipts taken into the bill, dbgridrc; dbgrid_landed shows the same
// columns for every landed charge of those receipts, whoever billed it.
inline constexpr QLatin1String ReceiptNo{"receipt no"};
inline constexpr QLatin1String ItemNo{"item no"};
inline constexpr QLatin1String LandedItem{"landed item"};
inline constexpr QLatin1String VendorNo{"vendor no"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String ItemType{"item type"};
inline constexpr QLatin1String Description{"description"};
inline constexpr QLatin1String QuantityReceived{"quantity received"};
inline constexpr QLatin1String QuantityBilled{"quantity billed"};
inline constexpr QLatin1String QuantityOpen{"quantity open for bill"};
inline constexpr QLatin1String Uom{"uom"};
inline constexpr QLatin1String UnitCost{"unit cost"};
inline constexpr QLatin1String ExtendedCost{"extended cost"};
inline constexpr QLatin1String TaxCode{"tax code"};
inline constexpr QLatin1String TaxAmount{"tax amount"};
inline constexpr QLatin1String Account{"account"};
inline constexpr QLatin1String PoNo{"po no"};
inline constexpr QLatin1String PoItemNo{"po item no"};

} // namespace zelkor::bill_receipt_column

namespace zelkor::bill_order_column {

// The lines of the chosen order, dbgridpo.
inline constexpr QLatin1String PoNo{"po no"};
inline constexpr QLatin1String ItemNo{"item no"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String ItemType{"item type"};
inline constexpr QLatin1String Description{"description"};
inline constexpr QLatin1String QuantityOrder{"quantity order"};
inline constexpr QLatin1String QuantityBilled{"quantity billed"};
inline constexpr QLatin1String QuantityOpen{"quantity open for bill"};
inline constexpr QLatin1String Uom{"uom"};
inline constexpr QLatin1String UnitCost{"unit cost"};
inline constexpr QLatin1String TaxCode{"tax code"};
inline constexpr QLatin1String TaxIncluded{"tax included"};
inline constexpr QLatin1String Account{"account"};
inline constexpr QLatin1String Closed{"closed"};

} // namespace zelkor::bill_order_column

namespace zelkor::bill_history_column {

// The vendor's receipt lines, dbgrid_rchistory, and bill lines, grid_vi_history.
inline constexpr QLatin1String ReceiptNo{"receipt no"};
inline constexpr QLatin1String ReceiptDate{"receipt date"};
inline constexpr QLatin1String BillNo{"bill no"};
inline constexpr QLatin1String BillDate{"bill date"};
inline constexpr QLatin1String InvoiceNo{"invoice no"};
inline constexpr QLatin1String ItemNo{"item no"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String Description{"description"};
inline constexpr QLatin1String Quantity{"quantity"};
inline constexpr QLatin1String QuantityReceived{"quantity received"};
inline constexpr QLatin1String QuantityOpen{"quantity open for bill"};
inline constexpr QLatin1String Uom{"uom"};
inline constexpr QLatin1String UnitCost{"unit cost"};
inline constexpr QLatin1String ExtendedCost{"extended cost"};
inline constexpr QLatin1String Billed{"billed"};
inline constexpr QLatin1String PoNo{"po no"};

} // namespace zelkor::bill_history_column
