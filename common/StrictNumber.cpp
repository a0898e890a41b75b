#include "StrictNumber.h"

#include <limits>

namespace {

// Up to 18 ASCII digits fit a qint64 without overflow checks.
constexpr int kMaxDigits = 18;

bool digitsValue(QStringView digits, qint64& value)
{
    if (digits.isEmpty())
        return false;
    // Leading zeros do not count toward the length limit.
    qsizetype i = 0;
    while (i + 1 < digits.size() && digits[i] == u'0')
        ++i;
    if (digits.size() - i > kMaxDigits)
        return false;
    value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c.unicode() - '0');
    }
    return true;
}

} // namespace

bool ParseStrictInt(const QString& text, qint64 lo, qint64 hi, qint64* value, QString* canonical)
{
    QStringView view(text);
    const bool negative = view.startsWith(u'-');
    if (negative)
        view = view.mid(1);
    qint64 v = 0;
    if (!digitsValue(view, v))
        return false;
    if (negative)
        v = -v;
    if (v < lo || v > hi)
        return false;
    if (value)
        *value = v;
    if (canonical)
        *canonical = QString::number(v);
    return true;
}

bool ParseStrictTenths(const QString& text, qint64 loTenths, qint64 hiTenths, qint64* tenths, QString* canonical)
{
    // Exactly one digit after a point: "15.40" is refused here.
    const qsizetype dot = text.indexOf(u'.');
    if (dot >= 0 && text.size() - dot != 2)
        return false;
    return ParseStrictDecimal(text, 1, loTenths, hiTenths, tenths, canonical);
}

bool ParseStrictDecimal(const QString& text, int nFractionDigits, qint64 loScaled, qint64 hiScaled, qint64* scaled,
                        QString* canonical)
{
    if (nFractionDigits < 1 || nFractionDigits > 9)
        return false;
    const qsizetype dot = text.indexOf(u'.');
    const QStringView wholeText = dot < 0 ? QStringView(text) : QStringView(text).left(dot);
    QStringView fractionText = dot < 0 ? QStringView() : QStringView(text).mid(dot + 1);
    qint64 whole = 0;
    if (!digitsValue(wholeText, whole) || (dot >= 0 && fractionText.isEmpty()))
        return false;
    qint64 unit = 1;
    for (int i = 0; i < nFractionDigits; ++i)
        unit *= 10;
    if (whole > (std::numeric_limits<qint64>::max() - unit) / unit)
        return false;
    for (qsizetype i = nFractionDigits; i < fractionText.size(); ++i)
        if (fractionText[i] != u'0')
            return false;
    fractionText = fractionText.left(nFractionDigits);
    qint64 fraction = 0;
    if (!fractionText.isEmpty() && !digitsValue(fractionText, fraction))
        return false;
    for (qsizetype i = fractionText.size(); i < nFractionDigits; ++i)
        fraction *= 10;
    const qint64 v = whole * unit + fraction;
    if (v < loScaled || v > hiScaled)
        return false;
    if (scaled)
        *scaled = v;
    if (canonical) {
        QString digits = QString::number(v % unit).rightJustified(nFractionDigits, u'0');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        *canonical = digits.isEmpty() ? QString::number(v / unit) : QString::number(v / unit) + u'.' + digits;
    }
    return true;
}
