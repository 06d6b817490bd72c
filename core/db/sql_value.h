#pragma once

#include "core/money/decimal.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace zelkor {

/// One value bound to a `?` placeholder. Values are always bound, never written into SQL text.
class SqlValue {
public:
    SqlValue(std::nullopt_t) : m_value(QMetaType::fromType<QString>()) {}
    SqlValue(const QString& text) : m_value(text) {}
    SqlValue(const char* text) : m_value(QString::fromUtf8(text)) {}
    SqlValue(QStringView text) : m_value(text.toString()) {}
    SqlValue(int number) : m_value(number) {}
    SqlValue(long number) : m_value(static_cast<qlonglong>(number)) {}
    SqlValue(long long number) : m_value(number) {}
    SqlValue(bool flag) : m_value(flag) {}
    /// An invalid date binds NULL.
    SqlValue(const QDate& date) : m_value(date.isValid() ? QVariant(date) : QVariant(QMetaType::fromType<QDate>())) {}
    /// Decimals travel as exact text; both engines store them as numbers.
    SqlValue(const Decimal& number) : m_value(number.to_string()), m_overflow(number.is_overflow()) {}
    template <typename T>
    SqlValue(const std::optional<T>& value) : SqlValue(value ? SqlValue(*value) : SqlValue(std::nullopt)) {}

    const QVariant& variant() const { return m_value; }
    bool is_overflow() const { return m_overflow; }

private:
    QVariant m_value;
    bool m_overflow = false;
};

using Params = std::vector<SqlValue>;

/// A statement with its values, one of several read together (Database::select_together).
struct Statement {
    QString sql;
    Params params = {};
    bool writes = false; ///< an UPDATE ... RETURNING: a write, for the write recorder
    bool locks = false;  ///< keeps the rows read, as Database::select_for_update does
};

/// An empty text binds NULL, any other text itself.
inline SqlValue nullable(const QString& text) { return text.isEmpty() ? SqlValue(std::nullopt) : SqlValue(text); }

} // namespace zelkor
