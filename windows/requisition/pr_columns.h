#pragma once

#include <QLatin1String>

namespace zelkor::pr_column {

// The captions of the requisition's line grid dbgrid1, which address its columns.
inline constexpr QLatin1String ItemNo{"item no"};
inline constexpr QLatin1String ItemCode{"item code"};
inline constexpr QLatin1String ItemType{"item type"};
inline constexpr QLatin1String Description{"description"};
inline constexpr QLatin1String LongDescription{"long description"};
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
inline constexpr QLatin1String PreferredVendor{"preferred vendor"};
inline constexpr QLatin1String VendorName{"vendor name"};
inline constexpr QLatin1String Closed{"closed"};
inline constexpr QLatin1String UserCreated{"user created"};
inline constexpr QLatin1String UserUpdated{"user updated"};
inline constexpr QLatin1String CreatedDate{"created date"};
inline constexpr QLatin1String CreatedTime{"created time"};
inline constexpr QLatin1String LastModifiedDate{"last modified date"};
inline constexpr QLatin1String LastModifiedTime{"last modified time"};
inline constexpr QLatin1String ComputerId{"computer id"};

} // namespace zelkor::pr_column
