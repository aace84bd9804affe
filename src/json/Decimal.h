#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// An exact base-10 number: a 96-bit magnitude, a scale (the power of ten it is divided by, 0 to
// 28) and a sign. That is the range and precision service answers are read into: 28 to 29
// significant digits, magnitudes up to 79228162514264337593543950335. The magnitude is kept in
// three 32-bit words so the type builds with every compiler we ship with.
class Decimal
{
public:
    enum class ParseStatus
    {
        Ok,
        Malformed,
        Overflow
    };

    Decimal() = default;

    // Reads [+|-]digits[.digits][(e|E)[+|-]digits] with "." as the decimal point; either side of
    // the point may be empty but not both. Digits beyond the 28th decimal place or beyond what 96
    // bits hold are rounded half to even; a magnitude whose integer part does not fit is an
    // overflow. On any status but Ok the result is zero.
    static Decimal fromText(QStringView text, ParseStatus* status);
    static Decimal fromInt64(qint64 value);

    bool isZero() const { return m_lo == 0 && m_mid == 0 && m_hi == 0; }
    bool isNegative() const { return m_negative && !isZero(); }
    int scale() const { return m_scale; }

    // Plain decimal notation without an exponent and without trailing fractional zeros
    // ("-12.5", "0", "0.0001").
    QString toString() const;
    // The nearest double (through the text, so it is correctly rounded).
    double toDouble() const;
    // Integer part when it fits in 64 bits (the fraction is cut off); *ok tells whether it fit.
    qint64 toInt64(bool* ok = nullptr) const;

    // Compares values, not representations: 1.50 equals 1.5 and -0 equals 0.
    friend bool operator==(const Decimal& a, const Decimal& b);

private:
    quint32 m_lo = 0;
    quint32 m_mid = 0;
    quint32 m_hi = 0;
    quint8 m_scale = 0;
    bool m_negative = false;
};
