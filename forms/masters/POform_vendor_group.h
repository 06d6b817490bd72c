#pragma once

#include "forms/common/window_model.h"

namespace zelkor {

/// Named groups of vendors and their members.
class POform_vendor_group : public WindowModel {
    Q_OBJECT
public:
    enum Command : int { Back = 125 };
    explicit POform_vendor_group(QObject* parent = nullptr);
};

} // namespace zelkor
