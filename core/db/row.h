#pragma once

#include "core/money/decimal.h"

#include <QDate>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace zelkor {

/// The columns of one result: their names and types, and an index by name that ignores case.
/// Every row of the result shares it, so a name is looked up without scanning the columns.
class RowShape {
public:
    explicit RowShape(QSqlRecord fields);

    int count() const { return m_fields.count(); }
    /// The first column of that name, or -1.
    int index_of(QStringView column) const;
    const QSqlRecord& fields() const { return m_fields; }

private:
    struct NameHash {
        using is_transparent = void;
        size_t operator()(QStringView name) const noexcept;
    };
    struct SameName {
        using is_transparent = void;
        bool operator()(QStringView a, QStringView b) const noexcept { return a.compare(b, Qt::CaseInsensitive) == 0; }
    };
    QSqlRecord m_fields;
    std::unordered_map<QString, int, NameHash, SameName> m_index;
};

/// One row read from the database, read by column name (case-insensitive, so the same code
/// reads SQLite's and PostgreSQL's spelling). A NULL reads as empty text, zero or false where a
/// value is shown; the `*_or_null` readers keep "not set" apart where a value is tested.
class Row {
public:
    Row() = default;
    /// A row of `shape`'s columns holding `values`, one per column.
    Row(std::shared_ptr<const RowShape> shape, std::vector<QVariant> values)
        : m_shape(std::move(shape)), m_values(std::move(values))
    {
    }

    bool has(QStringView column) const { return index_of(column) >= 0; }
    bool is_null(QStringView column) const;
    QVariant value(QStringView column) const;
    QVariant value(int index) const { return index >= 0 && index < size() ? m_values[size_t(index)] : QVariant(); }
    int size() const { return int(m_values.size()); }
    QString column_name(int index) const { return m_shape->fields().fieldName(index); }
    /// Whether the column holds numbers: by the value read (SQLite) or by the column's type
    /// (PostgreSQL hands exact NUMERIC values over as text).
    bool is_number(int index) const;
    /// The column's declared type as the driver reports it (a QMetaType id).
    int column_type(int index) const;

    QString text(QStringView column) const;
    std::optional<QString> text_or_null(QStringView column) const;
    Decimal decimal(QStringView column) const;
    std::optional<Decimal> decimal_or_null(QStringView column) const;
    qint64 integer(QStringView column) const;
    bool flag(QStringView column) const;
    std::optional<bool> flag_or_null(QStringView column) const;
    /// An invalid QDate for NULL.
    QDate date(QStringView column) const;

    /// The same conversions for a value not read through a row (first column of a result, ...).
    static Decimal to_decimal(const QVariant& value);
    static bool to_flag(const QVariant& value);
    static QDate to_date(const QVariant& value);
    static QString to_text(const QVariant& value);

private:
    int index_of(QStringView column) const { return m_shape ? m_shape->index_of(column) : -1; }

    std::shared_ptr<const RowShape> m_shape;
    std::vector<QVariant> m_values;
};

using Rows = std::vector<Row>;

} // namespace zelkor
