#include "core/money/decimal.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelkor {
namespace {

using u128 = unsigned __int128;
using i128 = __int128;

constexpr u128 power_of_ten(int n)
{
    u128 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

constexpr i128 Unit = static_cast<i128>(power_of_ten(Decimal::Scale));
constexpr u128 MaxMagnitude = (static_cast<u128>(1) << 127) - 1;

// A 256-bit unsigned number as two 128-bit halves.
struct Wide {
    u128 high = 0;
    u128 low = 0;
};

Wide multiply(u128 a, u128 b)
{
    const u128 mask = 0xFFFFFFFFFFFFFFFFULL;
    const u128 a_lo = a & mask, a_hi = a >> 64;
    const u128 b_lo = b & mask, b_hi = b >> 64;
    const u128 lo_lo = a_lo * b_lo;
    const u128 hi_lo = a_hi * b_lo;
    const u128 lo_hi = a_lo * b_hi;
    const u128 hi_hi = a_hi * b_hi;
    const u128 middle = (lo_lo >> 64) + (hi_lo & mask) + (lo_hi & mask);
    Wide r;
    r.low = (middle << 64) | (lo_lo & mask);
    r.high = hi_hi + (hi_lo >> 64) + (lo_hi >> 64) + (middle >> 64);
    return r;
}

// Divides a 256-bit number by a 128-bit one, rounding half to even. Returns false when the
// quotient does not fit a positive 128-bit signed value.
bool divide_rounded(Wide n, u128 divisor, u128& quotient)
{
    if (divisor == 0)
        return false;
    if (n.high == 0) {
        // The common case: the numerator fits 128 bits and the hardware-assisted division does.
        u128 q = n.low / divisor;
        const u128 r = n.low % divisor;
        const u128 rest = divisor - r;
        if (r > rest || (r == rest && (q & 1)))
            ++q;
        if (q > MaxMagnitude)
            return false;
        quotient = q;
        return true;
    }
    u128 q_high = 0, q_low = 0, rem = 0;
    for (int bit = 255; bit >= 0; --bit) {
        const bool carry = (rem >> 127) != 0;
        const u128 next = bit >= 128 ? (n.high >> (bit - 128)) & 1 : (n.low >> bit) & 1;
        rem = (rem << 1) | next;
        if (carry || rem >= divisor) {
            rem -= divisor;
            if (bit >= 128)
                q_high |= static_cast<u128>(1) << (bit - 128);
            else
                q_low |= static_cast<u128>(1) << bit;
        }
    }
    if (q_high != 0)
        return false;
    const u128 other = divisor - rem;
    if (rem > other || (rem == other && (q_low & 1)))
        ++q_low;
    if (q_low > MaxMagnitude)
        return false;
    quotient = q_low;
    return true;
}

u128 magnitude(i128 v) { return v < 0 ? static_cast<u128>(0) - static_cast<u128>(v) : static_cast<u128>(v); }

// Parses digits with an optional fraction and optional exponent (exponent only when allowed).
std::optional<i128> parse_raw(QStringView text, bool allow_grouping, bool allow_exponent)
{
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool negative = false;
    qsizetype pos = 0;
    if (text[0] == u'-' || text[0] == u'+') {
        negative = text[0] == u'-';
        ++pos;
    }
    QString digits;
    int fraction_digits = 0;
    bool seen_point = false, seen_digit = false;
    // Thousands separators only between groups of three: "1,234,567.5", never "1,2" or "1,,2".
    bool grouped = false;
    int group_digits = 0;
    auto group_complete = [&] { return !grouped || group_digits == 3; };
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c.isDigit() && c.unicode() < 128) {
            digits.append(c);
            seen_digit = true;
            if (seen_point)
                ++fraction_digits;
            else
                ++group_digits;
        } else if (c == u'.' && !seen_point) {
            if (!group_complete())
                return std::nullopt;
            seen_point = true;
        } else if (c == u',' && allow_grouping && !seen_point && seen_digit) {
            if (grouped ? group_digits != 3 : group_digits > 3)
                return std::nullopt;
            grouped = true;
            group_digits = 0;
        } else {
            break;
        }
    }
    if (!seen_digit || (!seen_point && !group_complete()))
        return std::nullopt;
    int exponent = 0;
    if (pos < text.size()) {
        if (!allow_exponent || (text[pos] != u'e' && text[pos] != u'E'))
            return std::nullopt;
        bool ok = false;
        exponent = text.mid(pos + 1).toInt(&ok);
        if (!ok || exponent > 40 || exponent < -40)
            return std::nullopt;
    }
    // Shift so that the digit string counts 10^-Scale units.
    int shift = Decimal::Scale - fraction_digits + exponent;
    bool dropped_nonzero = false;
    while (shift < -1 && !digits.isEmpty()) {
        // Keep one digit beyond the scale for rounding; the dropped ones only tell whether
        // that digit is an exact half.
        dropped_nonzero = dropped_nonzero || digits.back() != u'0';
        digits.chop(1);
        ++shift;
    }
    u128 value = 0;
    for (QChar c : digits) {
        if (value > (MaxMagnitude - 9) / 10)
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c.unicode() - u'0');
    }
    if (shift == -1) {
        const u128 last = value % 10;
        value /= 10;
        if (last > 5 || (last == 5 && (dropped_nonzero || (value & 1))))
            ++value;
    }
    for (; shift > 0; --shift) {
        if (value > MaxMagnitude / 10)
            return std::nullopt;
        value *= 10;
    }
    const i128 signed_value = static_cast<i128>(value);
    return negative ? -signed_value : signed_value;
}

QString digits_of(u128 v)
{
    char buffer[48];
    char* end = buffer + sizeof buffer;
    char* p = end;
    do {
        *--p = static_cast<char>('0' + static_cast<int>(v % 10));
        v /= 10;
    } while (v > 0);
    return QString::fromLatin1(p, end - p);
}

/// Writes the decimal digits of `v` backwards, ending before `end`; gives the first digit. Once
/// the value fits 64 bits, the digits come from 64-bit divisions, many times cheaper than 128-bit
/// ones (every amount a save binds is formatted here).
char* write_digits(char* end, u128 v)
{
    char* p = end;
    while (v > std::numeric_limits<quint64>::max()) {
        *--p = static_cast<char>('0' + static_cast<int>(v % 10));
        v /= 10;
    }
    auto small = static_cast<quint64>(v);
    do {
        *--p = static_cast<char>('0' + static_cast<int>(small % 10));
        small /= 10;
    } while (small > 0);
    return p;
}

} // namespace

Decimal::Decimal(const char* literal)
{
    const auto parsed = parse_raw(QLatin1StringView(literal).toString(), false, false);
    Q_ASSERT_X(parsed.has_value(), "Decimal", literal);
    m_value = parsed.value_or(0);
}

std::optional<Decimal> Decimal::parse(QStringView text)
{
    const auto raw = parse_raw(text, true, false);
    if (!raw)
        return std::nullopt;
    return from_raw(*raw);
}

Decimal Decimal::from_double(double value)
{
    if (!std::isfinite(value))
        return overflow();
    const auto raw = parse_raw(QString::number(value, 'g', 15), false, true);
    return raw ? from_raw(*raw) : overflow();
}

Decimal Decimal::overflow()
{
    Decimal d;
    d.m_overflow = true;
    return d;
}

Decimal Decimal::round(int places) const
{
    Q_ASSERT(places >= 0 && places <= Scale);
    if (m_overflow || places >= Scale)
        return *this;
    const u128 step = power_of_ten(Scale - places);
    const u128 mag = magnitude(m_value);
    u128 q = mag / step;
    const u128 r = mag % step;
    const u128 other = step - r;
    if (r > other || (r == other && (q & 1)))
        ++q;
    if (q > MaxMagnitude / step)
        return overflow();
    const i128 rounded = static_cast<i128>(q * step);
    return from_raw(m_value < 0 ? -rounded : rounded);
}

Decimal Decimal::abs() const { return is_negative() ? -*this : *this; }

Decimal Decimal::operator-() const
{
    if (m_overflow)
        return *this;
    return from_raw(-m_value);
}

Decimal& Decimal::operator+=(const Decimal& other)
{
    if (m_overflow || other.m_overflow || __builtin_add_overflow(m_value, other.m_value, &m_value))
        *this = overflow();
    return *this;
}

Decimal& Decimal::operator-=(const Decimal& other)
{
    if (m_overflow || other.m_overflow || __builtin_sub_overflow(m_value, other.m_value, &m_value))
        *this = overflow();
    return *this;
}

Decimal& Decimal::operator*=(const Decimal& other)
{
    if (m_overflow || other.m_overflow)
        return *this = overflow();
    const bool negative = (m_value < 0) != (other.m_value < 0);
    u128 q = 0;
    if (!divide_rounded(multiply(magnitude(m_value), magnitude(other.m_value)), static_cast<u128>(Unit), q))
        return *this = overflow();
    m_value = negative ? -static_cast<i128>(q) : static_cast<i128>(q);
    return *this;
}

Decimal& Decimal::operator/=(const Decimal& other)
{
    if (m_overflow || other.m_overflow || other.m_value == 0)
        return *this = overflow();
    const bool negative = (m_value < 0) != (other.m_value < 0);
    u128 q = 0;
    if (!divide_rounded(multiply(magnitude(m_value), static_cast<u128>(Unit)), magnitude(other.m_value), q))
        return *this = overflow();
    m_value = negative ? -static_cast<i128>(q) : static_cast<i128>(q);
    return *this;
}

QString Decimal::to_string() const
{
    if (m_overflow)
        return QStringLiteral("overflow");
    // Sign, at most 39 whole digits, the point and the fraction's digits, written backwards.
    char buffer[64];
    char* const end = buffer + sizeof buffer;
    char* p = end;
    const u128 mag = magnitude(m_value);
    auto fraction = static_cast<quint64>(mag % static_cast<u128>(Unit));
    if (fraction != 0) {
        int places = Scale;
        for (; fraction % 10 == 0; --places)
            fraction /= 10;
        for (int i = 0; i < places; ++i, fraction /= 10)
            *--p = static_cast<char>('0' + static_cast<int>(fraction % 10));
        *--p = '.';
    }
    p = write_digits(p, mag / static_cast<u128>(Unit));
    if (m_value < 0)
        *--p = '-';
    return QString::fromLatin1(p, end - p);
}

QString Decimal::to_fixed(int places) const
{
    if (m_overflow)
        return QStringLiteral("overflow");
    const Decimal rounded = round(places);
    if (rounded.m_overflow)
        return QStringLiteral("overflow");
    const u128 mag = magnitude(rounded.m_value);
    QString text = digits_of(mag / static_cast<u128>(Unit));
    if (places > 0)
        text += u'.' + digits_of(mag % static_cast<u128>(Unit)).rightJustified(Scale, u'0').left(places);
    return rounded.m_value < 0 ? u'-' + text : text;
}

QString Decimal::format(int places) const
{
    QString fixed = to_fixed(places);
    if (m_overflow)
        return fixed;
    const bool negative = fixed.startsWith(u'-');
    if (negative)
        fixed.remove(0, 1);
    const qsizetype point = fixed.indexOf(u'.');
    qsizetype whole_end = point < 0 ? fixed.size() : point;
    for (qsizetype i = whole_end - 3; i > 0; i -= 3)
        fixed.insert(i, u',');
    return negative ? u'-' + fixed : fixed;
}

QString Decimal::format_at_least(int places) const
{
    const QString plain = to_string();
    const qsizetype point = plain.indexOf(u'.');
    const int decimals = point < 0 ? 0 : int(plain.size() - point - 1);
    return format(std::max(places, decimals));
}

double Decimal::to_double() const
{
    if (m_overflow)
        return std::nan("");
    return to_string().toDouble();
}

long long Decimal::to_integer() const
{
    return static_cast<long long>(m_value / Unit);
}

} // namespace zelkor
