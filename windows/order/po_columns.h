#pragma once

#include <QLatin1String>

// The captions of the order window's grids, which address their columns.

namespace zelkor::po_column {

// The line grid dbgridpo.
inline constexpr QLatin1String ItemNo{"item no"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String VendorItemCode{"vendor item code"};
inline constexpr QLatin1String ItemType{"item type"};
inline constexpr QLatin1String Description{"description"};
inline constexpr QLatin1String LongDescription{"long description"};
inline constexpr QLatin1String QuantityOrder{"quantity order"};
inline constexpr QLatin1String QuantityOpen{"quantity open"};
inline constexpr QLatin1String QuantityReceived{"quantity received"};
inline constexpr QLatin1String QuantityBilled{"quantity billed"};
inline constexpr QLatin1String QuantityOpenForBill{"quantity open for bill"};
inline constexpr QLatin1String QuantityCanceled{"quantity canceled"};
inline constexpr QLatin1String Uom{"uom"};
inline constexpr QLatin1String UomOpen{"uom open"};
inline constexpr QLatin1String UomReceived{"uom received"};
inline constexpr QLatin1String UnitCost{"unit cost"};
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
inline constexpr QLatin1String PrNo{"PR no"};
inline constexpr QLatin1String PrItemNo{"PR item no"};
inline constexpr QLatin1String Cancel{"cancel"};
inline constexpr QLatin1String UserCreated{"user created"};
inline constexpr QLatin1String UserUpdated{"user updated"};
inline constexpr QLatin1String CreatedDate{"created date"};
inline constexpr QLatin1String CreatedTime{"created time"};
inline constexpr QLatin1String LastModifiedDate{"last modified date"};
inline constexpr QLatin1String LastModifiedTime{"last modified time"};
inline constexpr QLatin1String ComputerId{"computer id"};

} // namespace zelkor::po_column

namespace zelkor::po_requisition_column {

// The requisition pane's grid grid_pr.
inline constexpr QLatin1String ItemNo{"item no"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String ItemType{"item type"};
inline constexpr QLatin1String Description{"description"};
inline constexpr QLatin1String Uom{"uom"};
inline constexpr QLatin1String Quantity{"quantity"};
inline constexpr QLatin1String UnitCost{"unit cost"};
inline constexpr QLatin1String ExtendedCost{"extended cost"};
inline constexpr QLatin1String TaxCode{"tax code"};
inline constexpr QLatin1String TaxAmount{"tax amount"};
inline constexpr QLatin1String NetCost{"net cost"};
inline constexpr QLatin1String TaxIncluded{"tax included"};
inline constexpr QLatin1String Account{"account"};
inline constexpr QLatin1String AccountName{"account name"};
inline constexpr QLatin1String Warehouse{"warehouse"};
inline constexpr QLatin1String Location{"location"};
inline constexpr QLatin1String Closed{"closed"};

} // namespace zelkor::po_requisition_column
