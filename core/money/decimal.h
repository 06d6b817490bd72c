#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <optional>

namespace zelkor {

/// An exact decimal number for amounts, quantities, rates and costs.
///
/// The value is a 128-bit integer count of 10^-12 units, so every amount a document can hold
/// (up to about 10^26) is exact, and rates keep twelve decimals through multiplication and
/// division. Results that do not fit are not wrapped: they turn the value into an overflow
/// marker that every later operation keeps, and that the database boundary refuses to write.
class Decimal {
public:
    static constexpr int Scale = 12;

    constexpr Decimal() = default;
    constexpr Decimal(int units) : m_value(static_cast<__int128>(units) * unit()) {}
    constexpr Decimal(long long units) : m_value(static_cast<__int128>(units) * unit()) {}
    /// Parses a literal such as "2.675" or "-0.125"; asserts on a malformed literal
    /// (use parse() for text a user typed).
    explicit Decimal(const char* literal);

    /// Parses text as typed: optional sign, digits with optional thousands separators ",",
    /// optional decimals. Surrounding blanks are ignored. Returns nothing for anything else.
    static std::optional<Decimal> parse(QStringView text);
    /// The exact decimal closest to a value read from a REAL column (15 significant digits).
    static Decimal from_double(double value);
    static Decimal overflow();

    bool is_overflow() const { return m_overflow; }
    bool is_zero() const { return !m_overflow && m_value == 0; }
    bool is_negative() const { return !m_overflow && m_value < 0; }

    /// Rounds to the given number of decimals, halves to the even digit (2.675 -> 2.68).
    Decimal round(int places) const;
    Decimal round2() const { return round(2); }
    Decimal abs() const;

    Decimal operator-() const;
    Decimal& operator+=(const Decimal& other);
    Decimal& operator-=(const Decimal& other);
    Decimal& operator*=(const Decimal& other);
    /// Division by zero gives the overflow marker.
    Decimal& operator/=(const Decimal& other);
    friend Decimal operator+(Decimal a, const Decimal& b) { return a += b; }
    friend Decimal operator-(Decimal a, const Decimal& b) { return a -= b; }
    friend Decimal operator*(Decimal a, const Decimal& b) { return a *= b; }
    friend Decimal operator/(Decimal a, const Decimal& b) { return a /= b; }

    friend bool operator==(const Decimal& a, const Decimal& b)
    {
        return a.m_overflow == b.m_overflow && a.m_value == b.m_value;
    }
    friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b)
    {
        if (a.m_overflow != b.m_overflow)
            return a.m_overflow <=> b.m_overflow;
        return a.m_value <=> b.m_value;
    }

    /// Plain text without grouping and without trailing zeros: "1234.5", "-3", "0".
    QString to_string() const;
    /// Text with exactly `places` decimals, rounded half to even, without grouping.
    QString to_fixed(int places) const;
    /// "#,##0.00" for places 2, "#,##0" for places 0: thousands grouped with ",".
    QString format(int places = 2) const;
    /// format(places), keeping every further decimal the value has: "45.00", "2.5032",
    /// "1,234.50" for places 2. How the windows show unit costs.
    QString format_at_least(int places = 2) const;
    double to_double() const;
    /// The whole part, truncated towards zero (only meaningful for values that fit).
    long long to_integer() const;

private:
    static constexpr __int128 unit()
    {
        __int128 u = 1;
        for (int i = 0; i < Scale; ++i)
            u *= 10;
        return u;
    }
    static Decimal from_raw(__int128 raw)
    {
        Decimal d;
        d.m_value = raw;
        return d;
    }

    __int128 m_value = 0;
    bool m_overflow = false;
};

/// Parses an amount shown as "#,##0.00" back to a number (thousands separators removed).
inline std::optional<Decimal> parse_amount(QStringView text) { return Decimal::parse(text); }

} // namespace zelkor
