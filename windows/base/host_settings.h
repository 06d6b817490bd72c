#pragma once

#include <QString>
#include <QVariant>

namespace zelkor {

class Database;

/// The thirteen settings the host hands to every window when it opens, in the order they are
/// copied. The three database handles all refer to the host's company database, which the host
/// owns: a window never closes it.
struct HostSettings {
    Database* cnx = nullptr;   ///< connection the grids read through
    Database* dbe = nullptr;   ///< owner of the transactions of a save
    Database* abcdb = nullptr; ///< the company database every read and write goes through
    QString OPEN_DATABASE{};
    QString BASE_CURRENCY{};
    QString ZELKOR_COMPANY_NAME{};
    QString ZELKOR_PATH{};
    QString ZELKOR_USER{};
    QVariant ZELKOR_THEME{};
    QString ZELKOR_DATE_FORMAT{};
    QString ZELKOR_NO_PERIODS{};
    QString ZELKOR_FONT_NAME{};
    QVariant ZELKOR_FONT_SIZE{};
};

} // namespace zelkor
