#pragma once

#include "forms/common/window_model.h"

namespace zelkor {

/// The miscellaneous charge codes that orders and bills carry as lines of type "6".
class POform_misccharge : public WindowModel {
    Q_OBJECT
public:
    explicit POform_misccharge(QObject* parent = nullptr);
};

} // namespace zelkor
