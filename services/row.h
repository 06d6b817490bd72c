#pragma once

#include "services/decimal.h"

#include <QDate>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace zelkor {

/// One row read from the database, read by column name (case-insensitive, so the same code
/// reads SQLite's and PostgreSQL's spelling). A NULL reads as empty text, zero or false where a
/// value is shown; the `*_or_null` readers keep "not set" apart where a value is tested.
class Row {
public:
    Row() = default;
    explicit Row(QSqlRecord record) : m_record(std::move(record)) {}

    bool has(QStringView column) const { return m_record.indexOf(column.toString()) >= 0; }
    bool is_null(QStringView column) const;
    QVariant value(QStringView column) const;
    QVariant value(int index) const { return m_record.value(index); }
    int size() const { return m_record.count(); }
    QString column_name(int index) const { return m_record.fieldName(index); }
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
    QSqlRecord m_record;
};

using Rows = std::vector<Row>;

} // namespace zelkor
