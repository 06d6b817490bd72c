#pragma once

// Lets GoogleTest print Qt and project values in failure messages.
#include "core/money/decimal.h"

#include <QString>
#include <QVariant>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QVariant& value, std::ostream* os) { *os << value.toString().toStdString(); }
QT_END_NAMESPACE

namespace zelkor {
inline void PrintTo(const Decimal& value, std::ostream* os) { *os << value.to_string().toStdString(); }
} // namespace zelkor
