#include "json/Decimal.h"

#include <algorithm>
#include <string>
#include <tuple>

namespace {

// A 96-bit unsigned magnitude in three 32-bit words, low word first.
struct U96
{
    quint32 w[3] = {0, 0, 0};

    bool isZero() const { return w[0] == 0 && w[1] == 0 && w[2] == 0; }
    bool isOdd() const { return (w[0] & 1u) != 0; }

    // this = this * 10 + digit; false (and this unchanged) when the result needs more than 96 bits.
    bool mulAdd10(unsigned digit)
    {
        quint64 carry = digit;
        quint32 out[3];
        for (int i = 0; i < 3; ++i) {
            const quint64 v = quint64(w[i]) * 10u + carry;
            out[i] = quint32(v);
            carry = v >> 32;
        }
        if (carry != 0)
            return false;
        std::copy(out, out + 3, w);
        return true;
    }

    // this = this / 10; returns the remainder.
    unsigned divMod10()
    {
        quint64 rest = 0;
        for (int i = 2; i >= 0; --i) {
            const quint64 v = (rest << 32) | w[i];
            w[i] = quint32(v / 10u);
            rest = v % 10u;
        }
        return unsigned(rest);
    }

    // this = this + 1; false when it wraps past 96 bits.
    bool increment()
    {
        for (quint32& word : w) {
            if (++word != 0)
                return true;
        }
        return false;
    }
};

U96 magnitudeOf(quint32 lo, quint32 mid, quint32 hi)
{
    U96 m;
    m.w[0] = lo;
    m.w[1] = mid;
    m.w[2] = hi;
    return m;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Largest exponent magnitude taken literally; anything larger over- or underflows the same way.
constexpr qint64 ExponentCap = 1'000'000'000;

} // namespace

Decimal Decimal::fromText(QStringView text, ParseStatus* status)
{
    *status = ParseStatus::Malformed;
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    // Significant digits (leading zeros dropped) and the count of fraction digits seen.
    std::string digits;
    qint64 fractionDigits = 0;
    bool anyDigit = false;
    for (; i < n && isDigit(text[i]); ++i) {
        anyDigit = true;
        if (!digits.empty() || text[i] != u'0')
            digits.push_back(char(text[i].unicode()));
    }
    if (i < n && text[i] == u'.') {
        for (++i; i < n && isDigit(text[i]); ++i) {
            anyDigit = true;
            ++fractionDigits;
            if (!digits.empty() || text[i] != u'0')
                digits.push_back(char(text[i].unicode()));
        }
    }
    if (!anyDigit)
        return {};

    qint64 exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        if (i == n || !isDigit(text[i]))
            return {};
        for (; i < n && isDigit(text[i]); ++i)
            exponent = std::min(ExponentCap, exponent * 10 + (text[i].unicode() - u'0'));
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != n)
        return {};

    *status = ParseStatus::Ok;
    if (digits.empty())
        return {};

    // Value = digits × 10^(top − count + 1); top is the power of ten of the first digit.
    const qint64 count = qint64(digits.size());
    const qint64 top = count + exponent - fractionDigits - 1;
    if (top >= 29) {
        *status = ParseStatus::Overflow;
        return {};
    }

    U96 m;
    qint64 kept = 0;
    for (; kept < count; ++kept) {
        const qint64 power = top - kept;
        if (power < -28)
            break;
        if (!m.mulAdd10(unsigned(digits[size_t(kept)] - '0'))) {
            if (power >= 0) {
                *status = ParseStatus::Overflow;
                return {};
            }
            break;
        }
    }

    qint64 units = kept > 0 ? top - kept + 1 : -28; // power of ten of m's last digit
    if (kept == count) {
        for (; units > 0; --units) {
            if (!m.mulAdd10(0)) {
                *status = ParseStatus::Overflow;
                return {};
            }
        }
    } else {
        // Round half to even on the digit just below the units.
        const qint64 next = top - (units - 1);
        unsigned roundDigit = 0;
        bool sticky = false;
        if (next >= 0 && next < count) {
            roundDigit = unsigned(digits[size_t(next)] - '0');
            sticky = digits.find_first_not_of('0', size_t(next) + 1) != std::string::npos;
        }
        if (roundDigit > 5 || (roundDigit == 5 && (sticky || m.isOdd()))) {
            if (!m.increment()) {
                // Carried past 96 bits: m is now 2^96, one digit too long; drop one digit.
                m.w[0] = m.w[1] = m.w[2] = 0xFFFFFFFFu;
                m.divMod10();
                m.increment(); // 2^96 / 10 = ...033.6 rounds up
                ++units;
                if (units > 0) {
                    *status = ParseStatus::Overflow;
                    return {};
                }
            }
        }
    }

    Decimal d;
    d.m_lo = m.w[0];
    d.m_mid = m.w[1];
    d.m_hi = m.w[2];
    d.m_scale = quint8(-units);
    d.m_negative = negative && !m.isZero();
    return d;
}

Decimal Decimal::fromInt64(qint64 value)
{
    Decimal d;
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    d.m_lo = quint32(magnitude);
    d.m_mid = quint32(magnitude >> 32);
    d.m_negative = value < 0;
    return d;
}

QString Decimal::toString() const
{
    U96 m = magnitudeOf(m_lo, m_mid, m_hi);
    std::string reversed;
    while (!m.isZero() || int(reversed.size()) <= m_scale)
        reversed.push_back(char('0' + m.divMod10()));
    std::string text(reversed.rbegin(), reversed.rend());
    if (m_scale > 0) {
        text.insert(text.size() - m_scale, 1, '.');
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (isNegative() && text != "0")
        text.insert(0, 1, '-');
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

double Decimal::toDouble() const
{
    return toString().toDouble();
}

qint64 Decimal::toInt64(bool* ok) const
{
    U96 m = magnitudeOf(m_lo, m_mid, m_hi);
    for (int i = 0; i < m_scale; ++i)
        m.divMod10();
    const quint64 low = quint64(m.w[1]) << 32 | m.w[0];
    const quint64 limit = isNegative() ? quint64(1) << 63 : (quint64(1) << 63) - 1;
    const bool fits = m.w[2] == 0 && low <= limit;
    if (ok)
        *ok = fits;
    if (!fits)
        return 0;
    return isNegative() ? qint64(0 - low) : qint64(low);
}

bool operator==(const Decimal& a, const Decimal& b)
{
    const auto normal = [](const Decimal& d) {
        U96 m = magnitudeOf(d.m_lo, d.m_mid, d.m_hi);
        int scale = d.m_scale;
        while (scale > 0) {
            U96 q = m;
            if (q.divMod10() != 0)
                break;
            m = q;
            --scale;
        }
        return std::tuple(m.w[0], m.w[1], m.w[2], scale, d.isNegative());
    };
    return normal(a) == normal(b);
}
