#pragma once

#include <QString>

namespace zelkor {

/// The print query of a bill (a vendor bill or a landed bill): header joined with its lines in
/// line order and the vendor's name. The bill is named by a `docno = ?` placeholder that the
/// host binds from the report argument.
QString bill_print_query();

} // namespace zelkor
