#include "core/db/row.h"

#include <QSqlField>

namespace zelkor {

RowShape::RowShape(QSqlRecord fields) : m_fields(std::move(fields))
{
    m_fields.clearValues();
    for (int index = 0; index < m_fields.count(); ++index)
        m_index.try_emplace(m_fields.fieldName(index), index);
}

size_t RowShape::NameHash::operator()(QStringView name) const noexcept
{
    // FNV-1a over the case-folded characters, so that names equal but for case hash alike.
    size_t hash = 14695981039346656037ull;
    for (QChar c : name) {
        hash ^= c.toCaseFolded().unicode();
        hash *= 1099511628211ull;
    }
    return hash;
}

int RowShape::index_of(QStringView column) const
{
    const auto found = m_index.find(column);
    return found == m_index.end() ? -1 : found->second;
}

bool Row::is_null(QStringView column) const
{
    const int index = index_of(column);
    return index < 0 || m_values[size_t(index)].isNull();
}

QVariant Row::value(QStringView column) const
{
    const int index = index_of(column);
    Q_ASSERT_X(index >= 0, "Row::value", qPrintable(column.toString()));
    return index < 0 ? QVariant() : m_values[size_t(index)];
}

namespace {

bool is_number_type(int type_id)
{
    switch (type_id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace

bool Row::is_number(int index) const
{
    return is_number_type(value(index).typeId()) || is_number_type(column_type(index));
}

int Row::column_type(int index) const { return m_shape->fields().field(index).metaType().id(); }

QString Row::to_text(const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
        return Decimal::from_double(value.toDouble()).to_string();
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return value.toString();
    }
}

Decimal Row::to_decimal(const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return Decimal::from_double(value.toDouble());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return Decimal(value.toLongLong());
    case QMetaType::Bool:
        return Decimal(value.toBool() ? 1 : 0);
    default:
        return Decimal::parse(value.toString()).value_or(Decimal());
    }
}

bool Row::to_flag(const QVariant& value)
{
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        return text == u"1" || text == u"true" || text == u"t" || text == u"yes" || text == u"-1";
    }
    if (value.typeId() == QMetaType::Double)
        return value.toDouble() != 0.0;
    return value.toLongLong() != 0 || value.toBool();
}

QDate Row::to_date(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date();
    return QDate::fromString(value.toString().left(10), Qt::ISODate);
}

QString Row::text(QStringView column) const { return to_text(value(column)); }

std::optional<QString> Row::text_or_null(QStringView column) const
{
    if (is_null(column))
        return std::nullopt;
    return text(column);
}

Decimal Row::decimal(QStringView column) const { return to_decimal(value(column)); }

std::optional<Decimal> Row::decimal_or_null(QStringView column) const
{
    if (is_null(column))
        return std::nullopt;
    return decimal(column);
}

qint64 Row::integer(QStringView column) const { return to_decimal(value(column)).to_integer(); }

bool Row::flag(QStringView column) const { return to_flag(value(column)); }

std::optional<bool> Row::flag_or_null(QStringView column) const
{
    if (is_null(column))
        return std::nullopt;
    return flag(column);
}

QDate Row::date(QStringView column) const { return to_date(value(column)); }

} // namespace zelkor
