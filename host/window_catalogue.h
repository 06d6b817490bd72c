#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace zelkor {
class POclass;
}

namespace zelkor::host {

/// One item of the host's window menus: where it sits and which opening operation it calls.
struct CatalogueEntry {
    QString class_name;
    QString menu;
    QString caption;
    std::function<void(POclass&)> open;
};

/// The fifteen windows of the module, grouped by the part of the purchasing cycle they serve.
const std::vector<CatalogueEntry>& window_catalogue();

} // namespace zelkor::host
